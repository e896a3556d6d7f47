// Placeholder until the unlock word prompt lands: every word is accepted.
#include "unlock_prompt.h"
#include "settings_controller.h"

int UnlockPromptResult = 0;

int SettingsController::PromptForUnlockWord(HWND) { return 0; }
INT_PTR CALLBACK UnlockWordDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
