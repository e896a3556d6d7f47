// Entry point of morrowby.exe. The program ignores its command line.
#include <windows.h>
#include "startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return RunMorrowby(instance);
}
