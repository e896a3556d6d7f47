// The name a screen reader announces for a window, given without touching the
// window's title: a dynamic annotation of the window's accessible object.
#pragma once
#include <windows.h>

// Names the window (its client area, as assistive technology sees it); a null
// name takes the annotation away again, which the window must have before it
// is destroyed. False where the system has no annotation service.
typedef bool (*AnnotateNameFunction)(HWND window, const wchar_t* name);
// Set to the system's annotation service; a test may record the calls instead
// (Wine has the service but does not implement it).
extern AnnotateNameFunction AnnotateAccessibleName;
