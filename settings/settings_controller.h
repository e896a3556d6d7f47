// The process-wide object that lives from before WinMain to after it: it saves
// the display's gamma ramp first and restores it last.
#pragma once
#include <windows.h>

class SettingsController {
  public:
    SettingsController();
    ~SettingsController();
    SettingsController(const SettingsController&) = delete;
    SettingsController& operator=(const SettingsController&) = delete;

    void InitSettingsKeyPath(const char* maker, const char* product);
    // 0 when the typed word matched the stored unlock word, 1 otherwise.
    int PromptForUnlockWord(HWND owner);
    void OpenSettingsDialog(HWND owner);

    bool UnlockPromptOpen;
};

extern SettingsController AppController;
