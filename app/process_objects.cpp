// Objects that exist before WinMain runs. They live in this one file because
// C++ constructs globals of one file in the order written, and that order
// matters: the crash and terminate handlers must be in place before anything
// else happens, and at exit the main window goes first, then the tray icon, before the ramp
// is put back for the last time.
#include "main_window.h"
#include "settings_controller.h"

static SettingsController AppController;
CSystemTray Tray;
OwnedWindow MainWindow;
