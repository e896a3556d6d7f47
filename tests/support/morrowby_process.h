// Starts the real morrowby.exe and drives it from outside, as the shell and a
// user would: posted tray callbacks and menu commands, and reading its windows.
#pragma once
#include <windows.h>
#include <string>

// Full path of morrowby.exe, which is built next to the test executables.
std::string MorrowbyExePath();
// Path of a file in the folder where tests leave screenshots for people to see.
std::string ArtifactPath(const char* fileName);
// Finds the running program's hidden main window by its class.
HWND FindMorrowbyWindow();
// Ends every running copy of the program (left over from a failed test).
void KillAllMorrowby();
// Ends every running copy and removes all the program keeps in the registry
// (its settings, limits and record of the displays' own gamma ramps), so that
// the next start is a first start whatever ran before.
void ClearProgramTraces();
// The first top-level window of the class that belongs to the process, or none.
HWND FindProcessWindowOfClass(DWORD processId, const char* className);

class MorrowbyProcess {
  public:
    MorrowbyProcess() = default;
    ~MorrowbyProcess();
    MorrowbyProcess(const MorrowbyProcess&) = delete;
    MorrowbyProcess& operator=(const MorrowbyProcess&) = delete;

    // suspended: created with its first thread not yet running, until Resume.
    bool Start(bool suspended = false);
    void Resume();
    // Waits for the main window; start-up takes about 9 seconds before the
    // message loop runs, so the default wait is generous.
    HWND WaitForMainWindow(DWORD timeoutMs = 20000);
    // Waits until the splash has closed and the message loop answers.
    bool WaitUntilReady(DWORD timeoutMs = 30000);
    HWND Window() const { return window; }
    DWORD ProcessId() const { return info.dwProcessId; }
    HANDLE Process() const { return info.hProcess; }

    void PostTrayMessage(LPARAM mouseMessage);
    void PostCommand(WORD command);
    // True when the process ended within the time; its exit code goes to *code.
    bool WaitForExit(DWORD timeoutMs, DWORD* code = nullptr);
    bool Running() const;
    void Kill();

  private:
    PROCESS_INFORMATION info = {};
    HWND window = nullptr;
};
