// The process-wide object that lives from before WinMain to after it: it puts
// the crash and terminate handlers in place first and restores the displays'
// ramps last. It is defined beside the other objects whose order of
// construction matters (process_objects.cpp); nothing else needs to name it.
#pragma once

class SettingsController {
  public:
    SettingsController();
    ~SettingsController();
    SettingsController(const SettingsController&) = delete;
    SettingsController& operator=(const SettingsController&) = delete;
};
