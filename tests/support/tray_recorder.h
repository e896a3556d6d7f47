// Records what the tray sends to the shell, instead of (or as well as) sending
// it. Tests compare whole sequences of calls, each written as one line, the
// way Wine's own tests compare message sequences:
//   add callback=32778 icon=129 tip="Tap icon for menu - Double-tap to Lock"
//   modify icon=131
//   modify tip="Double-Tap icon to UnLock"
//   modify balloon=" Now locked " timeout=10000
//   delete
// Only the fields the call's flags name appear; an icon is named by the
// resource it shows (129, 131, or "other"), read when the call was made.
#pragma once
#include <windows.h>
#include <shellapi.h>
#include <string>
#include <vector>

struct NotifyCall {
    DWORD message; // NIM_ADD, NIM_MODIFY, NIM_DELETE
    NOTIFYICONDATAW data;
    std::string line; // the call as a line of the sequence
};

// Starts recording; with passToShell the calls also reach the real shell.
// shellResult is what the recorder answers when it does not pass calls on.
void StartTrayRecording(bool passToShell = false, BOOL shellResult = TRUE);
void StopTrayRecording();
std::vector<NotifyCall>& RecordedTrayCalls();
// The calls so far, one line each.
std::vector<std::string> RecordedTraySequence();
// Balloon texts sent so far, in order (NIF_INFO calls), in UTF-8 as in the lines.
std::vector<std::string> RecordedBalloons();

// A text of the tray's wide calls in UTF-8, as the lines show it.
std::string Utf8(const wchar_t* text);

// The icon's color pixels; empty when the handle is not a live icon.
std::vector<BYTE> IconPixels(HICON icon);
// Pixels of an icon resource of this module at the default icon size.
std::vector<BYTE> ResourceIconPixels(UINT id);
