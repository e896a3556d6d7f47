// Costs of the running morrowby.exe, measured from outside as a user's machine
// would see them, beside the same figures for the floor program.
#include "budgets.h"
#include "measure.h"
#include "support/morrowby_process.h"
#include "support/product_settings.h"
#include "support/wait.h"
#include <atomic>
#include <thread>

static const DWORD IdleMeasureMs = 60000;

static HWND CoverOf(DWORD processId) {
    HWND found = nullptr;
    for (HWND w = FindWindowA("Cover", nullptr); w;
         w = FindWindowExA(nullptr, w, "Cover", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == processId)
            found = w;
    }
    return found;
}

static bool LockByDoubleTap(MorrowbyProcess& program) {
    program.PostTrayMessage(WM_LBUTTONDBLCLK);
    // Ten seconds of countdown, then the cover comes up.
    return WaitUntil([&] { return CoverOf(program.ProcessId()) != nullptr; }, 20000);
}

void MeasureIdleAndMemory(std::vector<BudgetRow>& rows) {
    KillAllMorrowby();
    WriteProductSettings({{"DisableKeyboard", "0"}, {"EnableTouchShield", "1"}});
    MorrowbyProcess program;
    program.Start();
    bool ready = program.WaitUntilReady();
    SIZE_T startMemory = PrivateBytes(program.Process());
    double unlockedCpu = CpuPercentOver(program.Process(), IdleMeasureMs);
    bool locked = ready && LockByDoubleTap(program);
    double lockedCpu = CpuPercentOver(program.Process(), IdleMeasureMs);
    program.PostTrayMessage(WM_LBUTTONDBLCLK);
    WaitUntil([&] { return CoverOf(program.ProcessId()) == nullptr; }, 5000);
    SIZE_T afterLockMemory = PrivateBytes(program.Process());
    program.PostCommand(105);
    program.WaitForExit(10000);

    HANDLE floor = StartBeside("bench_floor.exe", "");
    PumpMessagesFor(2000);
    SIZE_T floorMemory = PrivateBytes(floor);
    double floorCpu = CpuPercentOver(floor, IdleMeasureMs);
    EndProcess(floor);

    // Under Wine an idle process has a cost of its own (the floor shows it);
    // the budget is for what the program adds.
    rows.push_back({"Idle CPU over 60 s, unlocked (% of one core)", Format("%.3f %%", unlockedCpu),
                    Format("%.3f %%", floorCpu), "< 0.1 % over the floor",
                    ready && unlockedCpu - floorCpu < 0.1});
    rows.push_back({"Idle CPU over 60 s, locked (% of one core)", Format("%.3f %%", lockedCpu),
                    Format("%.3f %%", floorCpu), "< 0.1 % over the floor",
                    locked && lockedCpu - floorCpu < 0.1});
    rows.push_back({"Private memory after start-up", Kilobytes(startMemory), Kilobytes(floorMemory),
                    "(reported)", ready});
    rows.push_back({"Private memory after a lock and an unlock", Kilobytes(afterLockMemory), "",
                    "(reported)", locked});
}

void MeasureStallWhileClosingHungWindow(std::vector<BudgetRow>& rows) {
    KillAllMorrowby();
    WriteProductSettings({{"DisableKeyboard", "0"},
                          {"EnableTouchShield", "1"},
                          {"EnableYouTubeCount", "1"},
                          {"YouTubeMax", "1"}});
    HANDLE browser = StartBeside("bench_floor.exe", "--video");
    HWND video = nullptr;
    WaitUntil([&] { return (video = FindWindowA("MorrowbyBenchVideo", nullptr)) != nullptr; },
              10000);
    MorrowbyProcess program;
    program.Start();
    bool ready = program.WaitUntilReady();
    SetForegroundWindow(video);
    bool locked = ready && LockByDoubleTap(program);

    // A second thread pings the program's main window every 10 ms; the longest
    // answer is the longest time its one thread was not pumping messages.
    std::atomic<bool> pinging(true);
    std::atomic<double> longest(0.0);
    HWND target = program.Window();
    std::thread pinger([&] {
        while (pinging) {
            double start = NowMicroseconds();
            DWORD_PTR result;
            SendMessageTimeoutA(target, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
            double took = (NowMicroseconds() - start) / 1000.0;
            if (took > longest)
                longest = took;
            Sleep(10);
        }
    });
    // Two title changes: the first counts as the next video, the second is
    // past the limit and makes the program close the (hanging) window.
    SetWindowTextA(video, "Song B - YouTube");
    PumpMessagesFor(3000);
    SetWindowTextA(video, "Song C - YouTube");
    PumpMessagesFor(8000);
    pinging = false;
    pinger.join();
    BYTE alpha = 0;
    HWND cover = CoverOf(program.ProcessId());
    if (cover)
        GetLayeredWindowAttributes(cover, nullptr, &alpha, nullptr);

    program.PostTrayMessage(WM_LBUTTONDBLCLK);
    PumpMessagesFor(500);
    program.PostCommand(105);
    program.WaitForExit(10000);
    EndProcess(browser);
    rows.push_back({"Longest stall of the program's thread while closing a hung window",
                    Format("%.1f ms", longest.load()) + (alpha == 255 ? "" : " (cover not opaque)"),
                    "", "< 50 ms", locked && alpha == 255 && longest.load() < 50.0});
}
