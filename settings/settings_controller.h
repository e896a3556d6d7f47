// The process-wide object that lives from before WinMain to after it: it saves
// the display's gamma ramp first and restores it last.
#pragma once
#include <windows.h>

// What SettingsController::PromptForUnlockWord returns.
const int UnlockWordAccepted = 0;
const int UnlockWordRefused = 1;

class SettingsController {
  public:
    SettingsController();
    ~SettingsController();
    SettingsController(const SettingsController&) = delete;
    SettingsController& operator=(const SettingsController&) = delete;

    // UnlockWordAccepted when the typed word matched the stored unlock word,
    // UnlockWordRefused otherwise.
    int PromptForUnlockWord(HWND owner);
    void OpenSettingsDialog(HWND owner);

    bool UnlockPromptOpen;
};

extern SettingsController AppController;
