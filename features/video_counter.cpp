// Placeholder until the video counter lands.
#include "video_counter.h"

int VideoCount = 0;
char LastWindowTitle[WindowTitleSize];

void CALLBACK CountVideosTick(HWND, UINT, UINT_PTR, DWORD) {}
void StopVideoAtLimit(HWND) {}
