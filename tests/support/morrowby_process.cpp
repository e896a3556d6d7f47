#include "morrowby_process.h"
#include "wait.h"
#include "settings/key_path.h"

std::string MorrowbyExePath() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder = folder.substr(0, folder.find_last_of('\\') + 1);
    return folder + "morrowby.exe";
}

std::string ArtifactPath(const char* fileName) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder = folder.substr(0, folder.find_last_of('\\'));
    folder = folder.substr(0, folder.find_last_of('\\') + 1) + "artifacts";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\" + fileName;
}

HWND FindMorrowbyWindow() {
    return FindWindowA("MORROWBY", nullptr);
}

void KillAllMorrowby() {
    for (int attempt = 0; attempt < 10; attempt++) {
        HWND window = FindMorrowbyWindow();
        if (!window)
            return;
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
        if (process) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
        WaitUntil([&] { return !IsWindow(window); }, 2000);
    }
}

void ClearProgramTraces() {
    KillAllMorrowby();
    std::string productKey = ProductKeyPath("");
    productKey.pop_back(); // the trailing backslash
    RegDeleteTreeA(HKEY_CURRENT_USER, productKey.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, productKey.c_str());
}

MorrowbyProcess::~MorrowbyProcess() {
    Kill();
}

bool MorrowbyProcess::Start(bool suspended) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string exe = MorrowbyExePath();
    std::string commandLine = "\"" + exe + "\"";
    return CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                          suspended ? CREATE_SUSPENDED : 0, nullptr, nullptr, &startup,
                          &info) != FALSE;
}

void MorrowbyProcess::Resume() {
    ResumeThread(info.hThread);
}

HWND MorrowbyProcess::WaitForMainWindow(DWORD timeoutMs) {
    WaitUntil(
        [&] {
            HWND found = FindMorrowbyWindow();
            DWORD owner = 0;
            if (found)
                GetWindowThreadProcessId(found, &owner);
            if (found && owner == info.dwProcessId)
                window = found;
            return window != nullptr || !Running();
        },
        timeoutMs);
    return window;
}

HWND FindProcessWindowOfClass(DWORD processId, const char* className) {
    for (HWND w = FindWindowA(className, nullptr); w;
         w = FindWindowExA(nullptr, w, className, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == processId)
            return w;
    }
    return nullptr;
}

static HWND SplashOf(DWORD processId) {
    return FindProcessWindowOfClass(processId, "SplashScreen");
}

bool MorrowbyProcess::WaitUntilReady(DWORD timeoutMs) {
    DWORD start = GetTickCount();
    if (!WaitForMainWindow(timeoutMs))
        return false;
    // The program answers sent messages while it sleeps through its splash
    // sequence (the splash pumps them), so an answer alone proves nothing:
    // the message loop runs once the splash has come and gone.
    DWORD processId = info.dwProcessId;
    WaitUntil([&] { return SplashOf(processId) != nullptr || !Running(); }, 8000);
    DWORD spent = GetTickCount() - start;
    if (!WaitUntil([&] { return SplashOf(processId) == nullptr || !Running(); },
                   timeoutMs > spent ? timeoutMs - spent : 0))
        return false;
    DWORD_PTR result = 0;
    while (Running()) {
        if (SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 200, &result))
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(50);
    }
    return false;
}

void MorrowbyProcess::PostTrayMessage(LPARAM mouseMessage) {
    PostMessageA(window, WM_APP + 10, 143, mouseMessage);
}

void MorrowbyProcess::PostCommand(WORD command) {
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

bool MorrowbyProcess::WaitForExit(DWORD timeoutMs, DWORD* code) {
    if (!info.hProcess)
        return true;
    DWORD start = GetTickCount();
    // Keep this thread's own windows (if any) responsive while waiting.
    while (WaitForSingleObject(info.hProcess, 20) == WAIT_TIMEOUT) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        PumpMessagesFor(0);
    }
    if (code)
        GetExitCodeProcess(info.hProcess, code);
    return true;
}

bool MorrowbyProcess::Running() const {
    return info.hProcess && WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT;
}

void MorrowbyProcess::Kill() {
    if (!info.hProcess)
        return;
    if (Running()) {
        TerminateProcess(info.hProcess, 1);
        WaitForSingleObject(info.hProcess, 5000);
    }
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    info = {};
    window = nullptr;
}
