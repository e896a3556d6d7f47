#include "measure.h"
#include "support/wait.h"
#include <cstdio>

double NowMicroseconds() {
    static LARGE_INTEGER frequency = {};
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (double)now.QuadPart * 1e6 / (double)frequency.QuadPart;
}

static double CpuSeconds(HANDLE process) {
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user))
        return 0;
    ULARGE_INTEGER k = {{kernel.dwLowDateTime, kernel.dwHighDateTime}};
    ULARGE_INTEGER u = {{user.dwLowDateTime, user.dwHighDateTime}};
    return (double)(k.QuadPart + u.QuadPart) / 1e7;
}

double CpuPercentOver(HANDLE process, DWORD ms) {
    double before = CpuSeconds(process);
    double start = NowMicroseconds();
    PumpMessagesFor(ms);
    double seconds = (NowMicroseconds() - start) / 1e6;
    return (CpuSeconds(process) - before) / seconds * 100.0;
}

std::string Kilobytes(SIZE_T bytes) {
    char text[64];
    snprintf(text, sizeof text, "%llu KiB", (unsigned long long)(bytes / 1024));
    return text;
}

std::string Format(const char* format, double value) {
    char text[64];
    snprintf(text, sizeof text, format, value);
    return text;
}

HANDLE StartBeside(const char* exeName, const char* arguments) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string exe(path);
    exe = exe.substr(0, exe.find_last_of('\\') + 1) + exeName;
    std::string commandLine = "\"" + exe + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return nullptr;
    CloseHandle(info.hThread);
    WaitForInputIdle(info.hProcess, 5000);
    return info.hProcess;
}

void EndProcess(HANDLE process) {
    if (!process)
        return;
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
}
