// Low-level keyboard and mouse hooks that hold input while locked.
#pragma once
#include <windows.h>

LRESULT CALLBACK BlockAllKeysProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK UnlockWordKeyFilterProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MouseConfineProc(int code, WPARAM wParam, LPARAM lParam);
