// The real program against a display that has gamma: an Xorg server with the
// dummy video driver, started here when it is installed (the usual virtual
// display has no gamma at all). The ramps are read back by this executable
// itself, run again as a small probe on that display.
#include "support/morrowby_process.h"
#include "support/product_settings.h"
#include "support/program_test.h"
#include "support/wait.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Ramp {
    WORD Red[256];
    WORD Green[256];
    WORD Blue[256];
};

const char* const ProbeVariable = "MORROWBY_GAMMA_PROBE";
// Where the program keeps the displays' own ramps while a tint is on, a key
// for each session below it.
const char* const GammaRecordKey = "Software\\Orvane\\Morrowby\\SavedGamma";

bool KeyPresent(const char* path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// Probe run: "read <file>" writes the screen's ramp to the file, "curve" sets
// a ramp of the display's own that is not the identity, "reset" puts the
// identity back (the server keeps a ramp after its writer has gone).
int RunGammaProbeIfAsked() {
    char mode[MAX_PATH] = {};
    if (!GetEnvironmentVariableA(ProbeVariable, mode, sizeof mode))
        return 0;
    HDC screen = GetDC(nullptr);
    Ramp ramp;
    int result = 2;
    if (strncmp(mode, "read ", 5) == 0 && GetDeviceGammaRamp(screen, &ramp)) {
        FILE* file = fopen(mode + 5, "wb");
        if (file && fwrite(&ramp, sizeof ramp, 1, file) == 1)
            result = 0;
        if (file)
            fclose(file);
    } else if (strcmp(mode, "reset") == 0 || strcmp(mode, "curve") == 0) {
        for (int i = 0; i < 256; i++)
            ramp.Red[i] = ramp.Green[i] = ramp.Blue[i] = (WORD)(i * 256);
        if (mode[0] == 'c')
            for (int i = 0; i < 256; i++) // a gamma of 2, as a display profile might set
                ramp.Red[i] = ramp.Green[i] = ramp.Blue[i] = (WORD)(i * i + i);
        result = SetDeviceGammaRamp(screen, &ramp) ? 0 : 2;
    }
    ReleaseDC(nullptr, screen);
    ExitProcess(result);
}
// Runs before the test runner starts, only in a probe run.
const int probeRun = RunGammaProbeIfAsked();

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The Unix name of a file, from Wine's own mapping; empty outside Wine.
std::string UnixPath(const std::string& windowsPath) {
    typedef char*(CDECL * UnixNameFunction)(const WCHAR*);
    UnixNameFunction toUnix = (UnixNameFunction)(void*)GetProcAddress(
        GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
    if (!toUnix)
        return "";
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH);
    char* name = toUnix(wide);
    if (!name)
        return "";
    std::string result = name;
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

// Wine starts Unix programs as well as Windows ones, but hands back no handle
// to wait on: callers wait for what the script leaves behind. A Windows
// program started from here would stay on this process's display, so other
// displays are reached through the shell.
void StartShell(const std::string& script) {
    std::string line = "sh -c \"PATH=/usr/sbin:/usr/bin:/sbin:/bin; export PATH; " + script + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (CreateProcessA("Z:\\bin\\sh", &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &info)) {
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
    }
}

std::string Variable(const char* name) {
    char value[MAX_PATH] = {};
    GetEnvironmentVariableA(name, value, sizeof value);
    return value;
}

class RealGamma : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        std::string display = Variable("DISPLAY");
        int number = (display.size() > 1 && display[0] == ':') ? atoi(display.c_str() + 1) : 150;
        std::string tag = std::to_string(number + 10);
        gammaDisplay = ":" + tag;
        // The server's lock file: Wine does not see the socket as a file.
        lockPath = "Z:\\tmp\\.X" + tag + "-lock";
        configPath = "Z:\\tmp\\morrowby-gamma-xorg-" + tag + ".conf";
        pidPath = "Z:\\tmp\\morrowby-gamma-xorg-" + tag + ".pid";
        rampPath = "Z:\\tmp\\morrowby-gamma-ramp-" + tag + ".bin";
        donePath = "Z:\\tmp\\morrowby-gamma-done-" + tag;
    }
    void TearDown() override {
        KillAllMorrowby();
        if (serverStarted) {
            Probe("reset");
            StartShell("kill $(cat '" + UnixPath(pidPath) + "') 2>/dev/null");
            WaitUntil([&] { return !FileExists(lockPath); }, 10000);
        }
        for (const std::string* path : {&configPath, &pidPath, &rampPath, &donePath})
            DeleteFileA(path->c_str());
        ProgramTest::TearDown();
    }

    // The environment a Windows program needs to run on the gamma display.
    std::string WineOnGammaDisplay(const std::string& extra) {
        return "WINEPREFIX='" + Variable("WINEPREFIX") +
               "' WINEDEBUG=-all DISPLAY=" + gammaDisplay + " " + extra + " wine ";
    }

    // Empty when the server runs; otherwise why it cannot.
    std::string StartGammaServer() {
        if (UnixPath("C:\\").empty())
            return "not running under Wine";
        if (!FileExists("Z:\\usr\\bin\\Xorg") ||
            !FileExists("Z:\\usr\\lib\\xorg\\modules\\drivers\\dummy_drv.so"))
            return "Xorg with the dummy video driver is not installed "
                   "(xserver-xorg-core, xserver-xorg-video-dummy)";
        if (FileExists(lockPath))
            return "display " + gammaDisplay + " is already taken";
        FILE* config = fopen(configPath.c_str(), "w");
        if (!config)
            return "cannot write the server's configuration";
        fputs("Section \"Device\"\n Identifier \"dummy\"\n Driver \"dummy\"\n VideoRam 16384\n"
              "EndSection\nSection \"Monitor\"\n Identifier \"monitor\"\n HorizSync 5.0-1000.0\n"
              " VertRefresh 5.0-200.0\nEndSection\nSection \"Screen\"\n Identifier \"screen\"\n"
              " Device \"dummy\"\n Monitor \"monitor\"\n DefaultDepth 24\n SubSection "
              "\"Display\"\n  Depth 24\n  Modes \"1024x768\"\n EndSubSection\nEndSection\n",
              config);
        fclose(config);
        // The shell leaves the server running on its own and notes its process
        // id for the clean-up.
        StartShell("setsid Xorg " + gammaDisplay + " -config '" + UnixPath(configPath) +
                   "' -noreset -nolisten tcp -logfile /dev/null </dev/null >/dev/null 2>&1 & "
                   "echo $! > '" +
                   UnixPath(pidPath) + "'");
        serverStarted = true;
        if (!WaitUntil([&] { return FileExists(lockPath); }, 15000))
            return "the Xorg server did not come up (it needs root rights here)";
        if (!WaitUntil([&] { return Probe("reset") == 0; }, 15000))
            return "the dummy display does not take a gamma ramp";
        return "";
    }

    // Runs this executable as a probe on the gamma display; its exit code, or -1.
    int Probe(const std::string& mode) {
        DeleteFileA(donePath.c_str());
        StartShell(WineOnGammaDisplay(std::string(ProbeVariable) + "='" + mode + "'") + "'" +
                   UnixPath(OwnPath()) + "' >/dev/null 2>&1; echo $? > '" + UnixPath(donePath) +
                   "'");
        if (!WaitUntil([&] { return FileExists(donePath); }, 20000))
            return -1;
        PumpMessagesFor(100); // the shell may still be writing the code
        FILE* file = fopen(donePath.c_str(), "r");
        int code = -1;
        if (file) {
            if (fscanf(file, "%d", &code) != 1)
                code = -1;
            fclose(file);
        }
        return code;
    }

    bool ReadDisplayRamp(Ramp* ramp) {
        DeleteFileA(rampPath.c_str());
        if (Probe("read " + rampPath) != 0)
            return false;
        FILE* file = fopen(rampPath.c_str(), "rb");
        if (!file)
            return false;
        bool read = fread(ramp, sizeof *ramp, 1, file) == 1;
        fclose(file);
        return read;
    }

    // Starts the program on the gamma display; its main window once the
    // message loop answers (start-up pauses about nine seconds first).
    HWND StartProgram() {
        StartShell(WineOnGammaDisplay("") + "'" + UnixPath(MorrowbyExePath()) +
                   "' >/dev/null 2>&1 &");
        HWND program = nullptr;
        if (!WaitUntil([&] { return (program = FindMorrowbyWindow()) != nullptr; }, 20000))
            return nullptr;
        ULONGLONG start = GetTickCount64();
        bool ready = WaitUntil(
            [&] {
                DWORD_PTR answer = 0;
                return GetTickCount64() - start >= 9500 &&
                       SendMessageTimeoutA(program, WM_NULL, 0, 0, SMTO_NORMAL, 200, &answer) != 0;
            },
            30000);
        return ready ? program : nullptr;
    }

    static void ExitProgram(HWND program) {
        DWORD processId = 0;
        GetWindowThreadProcessId(program, &processId);
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
        ASSERT_NE(nullptr, process);
        PostMessageA(program, WM_COMMAND, 105, 0); // Exit
        // The last restores run after the window has gone, until the process ends.
        DWORD ended = WaitForSingleObject(process, 15000);
        CloseHandle(process);
        ASSERT_EQ(WAIT_OBJECT_0, ended);
    }

    static std::string OwnPath() {
        char path[MAX_PATH];
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        return path;
    }

    std::string gammaDisplay, lockPath, configPath, pidPath, rampPath, donePath;
    bool serverStarted = false;
};

// The server resamples ramps slightly: entries match within about 1 %.
::testing::AssertionResult CloseTo(const Ramp& expected, const Ramp& actual) {
    const WORD* want = &expected.Red[0];
    const WORD* got = &actual.Red[0];
    for (int i = 0; i < 3 * 256; i++)
        if (abs((int)want[i] - (int)got[i]) > 700)
            return ::testing::AssertionFailure() << "channel " << i / 256 << " entry " << i % 256
                                                 << ": expected " << want[i] << ", got " << got[i];
    return ::testing::AssertionSuccess();
}

// The program saves the display's ramp before anything else and writes it back
// on the way out. Something else changes the ramp while it runs; Exit must put
// back the ramp the display had when the program started. (Wine's X11 driver
// turns down ramps with a flat channel, so the reduced ramp itself, blue all
// zero, cannot be seen on this display; the unit tests check it.)
TEST_F(RealGamma, ExitGivesTheDisplayTheRampItHadAtStart) {
    std::string why = StartGammaServer();
    if (!why.empty())
        GTEST_SKIP() << "no display with gamma support: " << why;
    ASSERT_EQ(0, Probe("curve"));
    Ramp own, identity;
    ASSERT_TRUE(ReadDisplayRamp(&own));
    for (int i = 0; i < 256; i++)
        identity.Red[i] = identity.Green[i] = identity.Blue[i] = (WORD)(i * 256);
    ASSERT_FALSE(CloseTo(identity, own)) << "the display did not take its own curve";

    WriteProductSettings({{"EnableBlueLightReduction", "1"},
                          {"BlueMenu", "1"},
                          {"GreenGamma", "64"},
                          {"DisableKeyboard", "0"}});
    HWND program = StartProgram();
    ASSERT_NE(nullptr, program);
    ASSERT_EQ(0, Probe("reset"));
    ExitProgram(program);
    Ramp seen = {};
    ASSERT_TRUE(ReadDisplayRamp(&seen));
    EXPECT_TRUE(CloseTo(own, seen));
}

// Ending the process from outside (Task Manager) runs none of its ways out, so
// the tint stays. The next start must put back the ramp the display had
// before, not save the tint as the display's own. (Wine turns the reduced ramp
// down on this display, so before the kill the display is given a stand-in
// for the tint: any ramp but its own, here the identity.)
TEST_F(RealGamma, AStartAfterAKillGivesTheDisplayTheRampOfBeforeTheKill) {
    std::string why = StartGammaServer();
    if (!why.empty())
        GTEST_SKIP() << "no display with gamma support: " << why;
    ASSERT_EQ(0, Probe("curve"));
    Ramp own;
    ASSERT_TRUE(ReadDisplayRamp(&own));
    WriteProductSettings({{"EnableBlueLightReduction", "1"},
                          {"BlueMenu", "1"},
                          {"GreenGamma", "64"},
                          {"DisableKeyboard", "0"}});
    HWND first = StartProgram();
    ASSERT_NE(nullptr, first);
    EXPECT_TRUE(KeyPresent(GammaRecordKey)) << "the tint is on, its undoing must be on record";
    // The probe is this executable, which links the program's code: started
    // after the kill, it would take the record itself, as the program does.
    ASSERT_EQ(0, Probe("reset"));
    DWORD processId = 0;
    GetWindowThreadProcessId(first, &processId);
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    ASSERT_NE(nullptr, process);
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 15000);
    CloseHandle(process);

    HWND second = StartProgram();
    ASSERT_NE(nullptr, second);
    ExitProgram(second);
    Ramp seen = {};
    ASSERT_TRUE(ReadDisplayRamp(&seen));
    EXPECT_TRUE(CloseTo(own, seen));
    EXPECT_FALSE(KeyPresent(GammaRecordKey));
}

} // namespace
