// Counts videos in the browser window while locked and ends viewing at the limit.
#pragma once
#include <windows.h>

const char* const VideoTitleMarker = "- YouTube";
const int WindowTitleSize = 512;

extern int VideoCount;
extern char LastWindowTitle[WindowTitleSize];

void CALLBACK CountVideosTick(HWND window, UINT message, UINT_PTR id, DWORD time);
void StopVideoAtLimit(HWND window);
