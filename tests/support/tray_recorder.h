// Records what the tray sends to the shell, instead of (or as well as) sending it.
#pragma once
#include <windows.h>
#include <shellapi.h>
#include <string>
#include <vector>

struct NotifyCall {
    DWORD message; // NIM_ADD, NIM_MODIFY, NIM_DELETE
    NOTIFYICONDATAA data;
};

// Starts recording; with passToShell the calls also reach the real shell.
// shellResult is what the recorder answers when it does not pass calls on.
void StartTrayRecording(bool passToShell = false, BOOL shellResult = TRUE);
void StopTrayRecording();
std::vector<NotifyCall>& RecordedTrayCalls();
// Balloon texts sent so far, in order (NIF_INFO calls).
std::vector<std::string> RecordedBalloons();
