// Objects that exist before WinMain runs. They live in this one file because
// C++ constructs globals of one file in the order written, and that order
// matters: the display's gamma ramp must be saved before anything else happens,
// and at exit the tray icon goes before the ramp is put back for the last time.
#include "app_state.h"
#include "system_tray.h"
#include "../settings/settings_controller.h"

UINT TaskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
SettingsController AppController;
CSystemTray Tray;
// The mouse region's corner while locked; display changes move it later.
int PointerCornerX = GetSystemMetrics(SM_CXMAXIMIZED) - 170;
int PointerCornerY = GetSystemMetrics(SM_CYMAXIMIZED) - 120;
