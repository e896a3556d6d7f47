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

    void OpenSettingsDialog(HWND owner);
};

extern SettingsController AppController;
