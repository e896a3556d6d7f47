// Placeholder until the settings dialog lands: opens nothing.
#include "settings_dialog.h"
#include "settings_controller.h"

HWND SettingsDialogWindow = nullptr;

void SettingsController::OpenSettingsDialog(HWND) {}
INT_PTR CALLBACK SettingsDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
