#include "tray_recorder.h"
#include "app/system_tray.h"

static std::vector<NotifyCall> calls;
static bool passCalls = false;
static BOOL answer = TRUE;
static ShellNotifyIconFunction realShell = nullptr;

static BOOL WINAPI RecordingShell(DWORD message, PNOTIFYICONDATAA data) {
    NotifyCall call = {};
    call.message = message;
    call.data = *data;
    calls.push_back(call);
    return passCalls ? realShell(message, data) : answer;
}

void StartTrayRecording(bool passToShell, BOOL shellResult) {
    if (!realShell)
        realShell = ShellNotifyIcon;
    calls.clear();
    passCalls = passToShell;
    answer = shellResult;
    ShellNotifyIcon = RecordingShell;
}

void StopTrayRecording() {
    if (realShell)
        ShellNotifyIcon = realShell;
}

std::vector<NotifyCall>& RecordedTrayCalls() {
    return calls;
}

std::vector<std::string> RecordedBalloons() {
    std::vector<std::string> texts;
    for (const NotifyCall& call : calls)
        if (call.data.uFlags & NIF_INFO)
            texts.push_back(call.data.szInfo);
    return texts;
}
