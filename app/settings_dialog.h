// The settings dialog (resource 141).
#pragma once
#include <windows.h>

const UINT FadeInIntervalMs = 80;
// Pure green pixels of the dialog are never drawn.
const COLORREF SettingsDialogColorKey = RGB(0, 255, 0);
const char* const OriginalProcProperty = "_Picture_Original_Proc_";

struct SettingsDialogState {
    HWND Window;           // SettingsDialogWindow: the open dialog, or none
    BYTE FadeStep;         // fade-in step in percent, 20 to 100
    int SavedPasswordChar; // masking character of edit 1000 when the eye was pressed
    int LastPasswordChar;  // last non-zero masking character seen
};
extern SettingsDialogState SettingsDialog;

// Runs the settings dialog modally; while one is open, only brings it to the front.
void OpenSettingsDialog(HWND owner);
INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void CALLBACK FadeInTimerProc(HWND dialog, UINT message, UINT_PTR id, DWORD time);
void FillSettingsControls(HWND dialog);
// What CheckUnlockWords returns.
enum class UnlockWords {
    Agree = 0, // or no word is asked for
    Differ = 4,
};
UnlockWords CheckUnlockWords(HWND dialog);
// Takes the controls into the record; the slider's level only where a mode
// that uses it is chosen.
void ReadSettingsControls(HWND dialog);

// Subclasses the eye picture so that pressing it shows the unlock words.
void AttachRevealIcon(HWND dialog, int controlId);
LRESULT CALLBACK RevealIconProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
