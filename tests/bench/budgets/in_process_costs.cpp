// Costs measured on the program's code linked into this process: the hook
// procedures per event, the video counter's tick, and memory over lock cycles.
#include "budgets.h"
#include "measure.h"
#include "app/app_state.h"
#include "features/video_counter.h"
#include "lock/input_hooks.h"
#include "lock/lock_controller.h"
#include "settings/settings_store.h"
#include "support/in_process_app.h"
#include "support/wait.h"
#include <cstring>

static double MicrosecondsPerCall(HOOKPROC procedure, WPARAM wParam, LPARAM lParam) {
    const int calls = 20000;
    double start = NowMicroseconds();
    for (int i = 0; i < calls; i++)
        procedure(HC_ACTION, wParam, lParam);
    return (NowMicroseconds() - start) / calls;
}

void MeasureHookCosts(std::vector<BudgetRow>& rows) {
    KBDLLHOOKSTRUCT key = {};
    key.vkCode = 'A';
    MSLLHOOKSTRUCT inside = {};
    inside.pt = {PointerCornerX, PointerCornerY};
    MSLLHOOKSTRUCT outside = {};
    outside.pt = {0, 0};
    struct Case {
        const char* name;
        HOOKPROC procedure;
        WPARAM wParam;
        LPARAM lParam;
    };
    const Case cases[] = {
        {"BlockAllKeysProc, per key event", BlockAllKeysProc, WM_KEYDOWN, (LPARAM)&key},
        {"UnlockWordKeyFilterProc, per letter", UnlockWordKeyFilterProc, WM_KEYDOWN,
         (LPARAM)&key},
        {"MouseConfineProc, move inside the region", MouseConfineProc, WM_MOUSEMOVE,
         (LPARAM)&inside},
        {"MouseConfineProc, move outside (cursor put back)", MouseConfineProc, WM_MOUSEMOVE,
         (LPARAM)&outside},
    };
    for (const Case& c : cases) {
        double cost = MicrosecondsPerCall(c.procedure, c.wParam, c.lParam);
        rows.push_back({c.name, Format("%.2f us", cost), "", "< 10 us", cost < 10.0});
    }
}

void MeasureVideoTick(std::vector<BudgetRow>& rows) {
    HANDLE filler = StartBeside("bench_floor.exe", "--windows 1000");
    int count = 0;
    WaitUntil(
        [&] {
            count = 0;
            for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
                count++;
            return count >= 1000;
        },
        30000);
    Settings.YouTubeMax = 1;
    double worst = 0, total = 0;
    const int ticks = 20;
    for (int i = 0; i < ticks; i++) {
        LastWindowTitle[0] = 0;
        VideoCount = 0;
        double start = NowMicroseconds();
        CountVideosTick(nullptr, WM_TIMER, VideoTimerId, 0);
        double took = (NowMicroseconds() - start) / 1000.0;
        total += took;
        if (took > worst)
            worst = took;
    }
    EndProcess(filler);
    rows.push_back({Format("Video counter tick, %.0f top-level windows (mean / worst)", count),
                    Format("%.2f ms", total / ticks) + " / " + Format("%.2f ms", worst), "",
                    "< 20 ms", worst < 20.0});
}

void MeasureLockCycles(std::vector<BudgetRow>& rows) {
    StartInProcessApp();
    Settings.DisableKeyboard = true;
    Settings.DisableMouse = true;
    Settings.EnableTouchShield = true;
    Settings.EnableYouTubeCount = true;
    Settings.Prompt = false;
    auto cycle = [] {
        ImmediateLock = true;
        StartLockCountdown();
        WaitUntil([] { return CoverWindow != nullptr; }, 2000);
        RequestUnlock();
    };
    for (int i = 0; i < 10; i++)
        cycle(); // settle allocator and caches first
    SIZE_T before = PrivateBytes(GetCurrentProcess());
    for (int i = 0; i < 200; i++)
        cycle();
    SIZE_T after = PrivateBytes(GetCurrentProcess());
    StopInProcessApp();
    SIZE_T growth = after > before ? after - before : 0;
    rows.push_back({"Private memory growth over 200 lock/unlock cycles (all options)",
                    Kilobytes(growth) + " (" + Kilobytes(before) + " -> " + Kilobytes(after) + ")",
                    "", "no growth (< 64 KiB)", growth < 64 * 1024});
}
