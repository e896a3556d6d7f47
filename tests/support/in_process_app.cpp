#include "in_process_app.h"
#include "tray_recorder.h"
#include "app/main_window.h"
#include "app/resource_texts.h"
#include "app/splash.h"
#include "app/startup.h"
#include "lock/lock_controller.h"
#include "lock/mouse_region.h"
#include "lock/shield.h"
#include "settings/settings_store.h"

const char* const TestSettingsKeyPath = "Software\\Orvane\\MorrowbyTest\\Settings\\";
const char* const TestLimitsKeyPath = "Software\\Orvane\\MorrowbyTest\\Limits";

void DeleteRegistryTree(const char* path) {
    std::string trimmed(path);
    while (!trimmed.empty() && trimmed.back() == '\\')
        trimmed.pop_back();
    RegDeleteTreeA(HKEY_CURRENT_USER, trimmed.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, trimmed.c_str());
}

// Process-wide state a test may change and the next test must not inherit:
// the tests of one folder share one process, in any order.
static POINT SavedCorner = {};

HWND StartInProcessApp(BOOL shellAnswer) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    SavedCorner = PointerRegion.Corner();
    Lock.ImmediateLock = false;
    DeleteRegistryTree(TestSettingsKeyPath);
    DeleteRegistryTree(TestLimitsKeyPath);
    SettingsKeyPath = TestSettingsKeyPath;
    Settings = SettingsRecord();
    LoadResourceTexts(instance);
    RegisterMainWindowClass(instance);
    RegisterCoverClass(instance);
    RegisterUnlockImageClass(instance, MainWindowProc);
    StartTrayRecording(false, shellAnswer);
    CreateMainWindow(instance);
    return MainWindow;
}

void StopInProcessApp() {
    if (!Lock.Unlocked) {
        Settings.Prompt = false;
        RequestUnlock();
    }
    CloseSplash(); // an About splash, before its owner goes
    MainWindow.Reset();
    Tray.RemoveFromTray();
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    StopTrayRecording();
    Lock.ImmediateLock = false;
    PointerRegion.MoveCorner(SavedCorner);
}
