#include "in_process_app.h"
#include "tray_recorder.h"
#include "app/app_state.h"
#include "app/main_window.h"
#include "app/splash.h"
#include "app/startup.h"
#include "app/system_tray.h"
#include "lock/cover_windows.h"
#include "lock/lock_controller.h"
#include "res/resource.h"
#include "settings/settings_store.h"
#include <cstring>

const char* const TestSettingsKeyPath = "Software\\Orvane\\MorrowbyTest\\Settings\\";

void DeleteRegistryTree(const char* path) {
    std::string trimmed(path);
    while (!trimmed.empty() && trimmed.back() == '\\')
        trimmed.pop_back();
    RegDeleteTreeA(HKEY_CURRENT_USER, trimmed.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, trimmed.c_str());
}

// Process-wide state a test may change and the next test must not inherit:
// the tests of one folder share one process, in any order.
static int SavedCornerX = 0, SavedCornerY = 0;

HWND StartInProcessApp(BOOL shellAnswer) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    SavedCornerX = PointerCornerX;
    SavedCornerY = PointerCornerY;
    ImmediateLock = false;
    DeleteRegistryTree(TestSettingsKeyPath);
    strcpy(SettingsKeyPath, TestSettingsKeyPath);
    Settings = SettingsRecord();
    LoadResourceTexts(instance);
    RegisterMainWindowClass(instance);
    RegisterCoverClass(instance);
    RegisterUnlockImageClass(instance);
    StartTrayRecording(false, shellAnswer);
    CreateMainWindow(instance);
    return MainWindow;
}

void StopInProcessApp() {
    if (!Unlocked) {
        Settings.Prompt = false;
        RequestUnlock();
    }
    CloseSplash(); // an About splash, before its owner goes
    if (MainWindow) {
        HWND window = MainWindow;
        DestroyWindow(window);
        MainWindow = nullptr;
    }
    Tray.RemoveFromTray();
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    StopTrayRecording();
    ImmediateLock = false;
    PointerCornerX = SavedCornerX;
    PointerCornerY = SavedCornerY;
}
