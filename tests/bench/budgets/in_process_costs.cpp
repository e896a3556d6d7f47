// Costs measured on the program's code linked into this process: the hook
// procedures per event, the video counter's tick, and memory over lock cycles.
#include "budgets.h"
#include "measure.h"
#include "res/timer_ids.h"
#include "app/main_window.h"
#include "features/video_counter.h"
#include "features/video_title.h"
#include "lock/shield.h"
#include "lock/input_hooks.h"
#include "lock/lock_controller.h"
#include "lock/mouse_region.h"
#include "lock/typed_word.h"
#include "settings/settings_store.h"
#include "support/in_process_app.h"
#include "support/tray_recorder.h"
#include "support/wait.h"
#include <cstring>

// The least a low-level hook can do: hand the event on. Its cost is the
// platform's, and the floor for the program's own procedures.
static LRESULT CALLBACK PassThroughProc(int code, WPARAM wParam, LPARAM lParam) {
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

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
    inside.pt = PointerRegion.Corner();
    MSLLHOOKSTRUCT outside = {};
    outside.pt = {0, 0};
    struct Case {
        const char* name;
        HOOKPROC procedure;
        WPARAM wParam;
        LPARAM lParam;
        const char* unlockWord; // listened for while typed anywhere, or none
    };
    const Case cases[] = {
        {"BlockAllKeysProc, per key event", BlockAllKeysProc, WM_KEYDOWN, (LPARAM)&key, nullptr},
        {"BlockAllKeysProc, per letter, unlock word set (read and matched)", BlockAllKeysProc,
         WM_KEYDOWN, (LPARAM)&key, "tiger"},
        {"UnlockWordKeyFilterProc, per letter", UnlockWordKeyFilterProc, WM_KEYDOWN, (LPARAM)&key,
         nullptr},
        {"MouseConfineProc, move inside the region", MouseConfineProc, WM_MOUSEMOVE,
         (LPARAM)&inside, nullptr},
        {"MouseConfineProc, move outside (cursor put back)", MouseConfineProc, WM_MOUSEMOVE,
         (LPARAM)&outside, nullptr},
    };
    double floor = MicrosecondsPerCall(PassThroughProc, WM_KEYDOWN, (LPARAM)&key);
    for (const Case& c : cases) {
        SettingsRecord settings;
        settings.Password = c.unlockWord ? c.unlockWord : "";
        TypedWord.Listen(settings, nullptr, nullptr);
        double cost = MicrosecondsPerCall(c.procedure, c.wParam, c.lParam);
        TypedWord.StopListening();
        rows.push_back({c.name, Format("%.2f us", cost), Format("%.2f us", floor),
                        "< 10 us over the floor", cost - floor < 10.0});
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
    double worst = 0, total = 0, floorTotal = 0;
    const int ticks = 20;
    for (int i = 0; i < ticks; i++) {
        // The floor: the same walk reading the same titles, doing nothing else.
        double floorStart = NowMicroseconds();
        wchar_t title[VideoTitleSize];
        for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
            GetWindowTextW(w, title, VideoTitleSize);
        floorTotal += (NowMicroseconds() - floorStart) / 1000.0;

        Videos.LastWindowTitle.clear();
        Videos.VideoCount = 0;
        double start = NowMicroseconds();
        CountVideosTick(nullptr, WM_TIMER, VideoTimerId, 0);
        double took = (NowMicroseconds() - start) / 1000.0;
        total += took;
        if (took > worst)
            worst = took;
    }
    EndProcess(filler);
    rows.push_back({Format("Video counter tick, %.0f top-level windows (mean / worst)", count),
                    Format("%.2f ms", total / ticks) + " / " + Format("%.2f ms", worst),
                    Format("%.2f ms", floorTotal / ticks) + " (the walk and titles alone)",
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
        Lock.ImmediateLock = true;
        StartLockCountdown();
        WaitUntil([] { return Shield.CoverWindow() != nullptr; }, 2000);
        RequestUnlock();
        // The tray here is a recorder that keeps every call; drop them so the
        // figure is the program's own.
        RecordedTrayCalls().clear();
    };
    for (int i = 0; i < 10; i++)
        cycle(); // settle allocator and caches first
    // Two batches of 200: the heap may take one more block of address space
    // early on; a leak grows in every batch.
    SIZE_T before = PrivateBytes(GetCurrentProcess());
    for (int i = 0; i < 200; i++)
        cycle();
    SIZE_T middle = PrivateBytes(GetCurrentProcess());
    for (int i = 0; i < 200; i++)
        cycle();
    SIZE_T after = PrivateBytes(GetCurrentProcess());
    StopInProcessApp();
    SIZE_T first = middle > before ? middle - before : 0;
    SIZE_T second = after > middle ? after - middle : 0;
    rows.push_back(
        {"Private memory growth over 200 lock/unlock cycles, then 200 more (all options)",
         Kilobytes(first) + ", then " + Kilobytes(second) + " (" + Kilobytes(before) + " -> " +
             Kilobytes(after) + ")",
         "", "no growth (< 64 KiB a batch)", first <= 64 * 1024 && second <= 64 * 1024});
}
