// The settings dialog: shows the settings record in its controls, previews blue
// light reduction while it is open, and takes the controls back into the record
// on OK. A small eye next to the unlock word fields shows them while pressed.
#include "settings_dialog.h"
#include "blue_light_item.h"
#include "viewing_limit_choices.h"
#include "../features/blue_light.h"
#include "../res/resource.h"
#include "../res/timer_ids.h"
#include "../settings/settings_store.h"
#include "../win/dialog_placement.h"
#include "../win/dpi.h"
#include "../win/accessibility.h"
#include "../win/png_image.h"
#include "../win/string_table.h"
#include "../win/system_call.h"
#include <commctrl.h>
#include <windowsx.h>
#include <cstring>
#include <utility>

static INT_PTR HandleInitDialog(HWND dialog);
static INT_PTR HandleCommand(HWND dialog, int id);
static void FillComboBox(HWND dialog, int id, const std::wstring* items, int count);
static void EnableBlueLightControls(HWND dialog, bool enable);
static void EnableUnlockWordControls(HWND dialog, bool enable);
static void EnableControl(HWND dialog, int id, bool enable);
static bool IsTicked(HWND dialog, int id);
static void SetTicked(HWND dialog, int id, bool ticked);
static int SliderPosition(HWND dialog);
static void SetMaskingCharacter(HWND dialog, int character);
static void RegisterTouchInput(HWND dialog);
static DWORD FadeFlags();
static void ShowUnlockWordHint(HWND dialog);
static void FitRevealIconToDpi(HWND dialog, int dpi);

// The eye as the open dialog shows it, when drawn for a scale other than 100 %.
static ImageBitmap ScaledRevealEye;

SettingsDialogState SettingsDialog = {nullptr, 20, 0, 0x25CF}; // the black circle

// The lists are inserted at the front in reverse order, so they read in this
// order although both boxes sort (and in every language).
static const UINT BlueMenuItemTexts[] = {IDS_BLUE_ALWAYS, IDS_BLUE_MENU, IDS_BLUE_WITH_SHIELD};

void OpenSettingsDialog(HWND owner) {
    if (SettingsDialog.Window) {
        SetForegroundWindow(SettingsDialog.Window);
        return;
    }
    // The strength slider is a common control; the class must be registered
    // before the template that names it is created.
    INITCOMMONCONTROLSEX classes = {};
    classes.dwSize = sizeof classes;
    classes.dwICC = ICC_BAR_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&classes);
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SETTINGS), owner,
                    SettingsDialogProc, 0);
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return HandleInitDialog(dialog);
    case WM_COMMAND:
        // Only the control matters: the combo boxes preview on any notification.
        return HandleCommand(dialog, LOWORD(wParam));
    case WM_HSCROLL:
        // TB_LINEUP .. TB_THUMBTRACK; TB_TOP, TB_BOTTOM and TB_ENDTRACK add nothing.
        if (LOWORD(wParam) <= TB_THUMBTRACK) {
            ApplyBlueLight(SliderPosition(dialog));
            return TRUE;
        }
        return FALSE;
    case WM_DISPLAYCHANGE:
        CentreOnPrimaryScreen(dialog);
        return TRUE;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        if (ColorsChanged(message, wParam)) {
            // A theme switched on or off while open: the key follows it.
            BYTE alpha = 255;
            GetLayeredWindowAttributes(dialog, nullptr, &alpha, nullptr);
            SetLayeredWindowAttributes(dialog, SettingsDialogColorKey, alpha, FadeFlags());
        }
        return FALSE;
    case WM_DPICHANGED:
        // Windows scales the dialog's font and controls to the new monitor
        // (FALSE lets it); the eye, a bitmap, it leaves as it was.
        FitRevealIconToDpi(dialog, HIWORD(wParam));
        return FALSE;
    case WM_DESTROY:
        // Normally cleared when the dialog ends; a dialog torn down with its
        // owner must not leave a handle that keeps the next one from opening.
        if (SettingsDialog.Window == dialog)
            SettingsDialog.Window = nullptr;
        FitRevealIconToDpi(dialog, DefaultDpi);
        return FALSE;
    default:
        return FALSE;
    }
}

static INT_PTR HandleInitDialog(HWND dialog) {
    SettingsDialog.Window = dialog;
    AttachRevealIcon(dialog, IDC_REVEAL_EYE);
    FitRevealIconToDpi(dialog, WindowDpi(dialog));
    SetActiveWindow(dialog);
    LoadSettings();
    SendDlgItemMessageA(dialog, IDC_GREEN_GAMMA, TBM_SETRANGEMAX, TRUE, MostGreenReduction);
    SendDlgItemMessageA(dialog, IDC_GREEN_GAMMA, TBM_SETRANGEMIN, TRUE, LeastGreenReduction);
    FillSettingsControls(dialog);
    ShowUnlockWordHint(dialog);
    ShowViewingLimitChoices(dialog);

    SettingsDialog.FadeStep = 20;
    LONG exStyle = GetWindowLongA(dialog, GWL_EXSTYLE);
    SetWindowLongA(dialog, GWL_EXSTYLE, exStyle | WS_EX_LAYERED | WS_EX_TOOLWINDOW);
    SetLayeredWindowAttributes(dialog, SettingsDialogColorKey, 0, FadeFlags());
    SetTimer(dialog, FadeInTimerId, FadeInIntervalMs, FadeInTimerProc);
    // Fails where the system has no touch support; the dialog works without it.
    RegisterTouchInput(dialog);
    return TRUE;
}

void FillSettingsControls(HWND dialog) {
    const std::wstring youTubeMaxItems[] = {L"1", L"2", L"3", L"4", L"5"};
    FillComboBox(dialog, IDC_YOUTUBE_MAX, youTubeMaxItems, 5);
    if (Settings.YouTubeMax < 1)
        Settings.YouTubeMax = 1;
    // An index past the list clears the selection.
    SendDlgItemMessageA(dialog, IDC_YOUTUBE_MAX, CB_SETCURSEL, Settings.YouTubeMax - 1, 0);
    SetTicked(dialog, IDC_YOUTUBE_COUNT, Settings.EnableYouTubeCount);
    EnableControl(dialog, IDC_YOUTUBE_MAX, Settings.EnableYouTubeCount);

    SetTicked(dialog, IDC_LOCK_AT_STARTUP, Settings.EnableLockAtStartup);
    SetTicked(dialog, IDC_TOUCH_SHIELD, Settings.EnableTouchShield);
    SetTicked(dialog, IDC_BLUE_LIGHT, Settings.EnableBlueLightReduction);
    SetTicked(dialog, IDC_DISABLE_MOUSE, Settings.DisableMouse);
    SetTicked(dialog, IDC_DISABLE_KEYBOARD, Settings.DisableKeyboard);
    SetTicked(dialog, IDC_PROMPT, Settings.Prompt);

    SetDlgItemTextA(dialog, IDC_PASSWORD, Settings.Password.c_str());
    SetDlgItemTextA(dialog, IDC_PASSWORD_AGAIN, Settings.Password.c_str());
    EnableUnlockWordControls(dialog, Settings.Prompt);

    std::wstring blueMenuItems[3];
    for (int i = 0; i < 3; i++)
        blueMenuItems[i] = LoadText(BlueMenuItemTexts[i]);
    FillComboBox(dialog, IDC_BLUE_MODE, blueMenuItems, 3);
    if (Settings.BlueMenu < BlueAlways)
        Settings.BlueMenu = BlueAlways;
    SendDlgItemMessageA(dialog, IDC_BLUE_MODE, CB_SETCURSEL, Settings.BlueMenu - 1, 0);

    SendDlgItemMessageA(dialog, IDC_GREEN_GAMMA, TBM_SETPOS, TRUE, Settings.GreenGamma);
    EnableBlueLightControls(dialog, Settings.EnableBlueLightReduction);
}

void CALLBACK FadeInTimerProc(HWND dialog, UINT, UINT_PTR, DWORD) {
    BYTE alpha = (BYTE)(SettingsDialog.FadeStep * 255 / 100);
    SetLayeredWindowAttributes(dialog, SettingsDialogColorKey, alpha, FadeFlags());
    SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    SettingsDialog.FadeStep += 10;
    if (SettingsDialog.FadeStep > 100) {
        KillTimer(dialog, FadeInTimerId);
        SettingsDialog.FadeStep = 20;
        // Shown only now, so the tint does not flash in while the dialog is
        // still transparent.
        if (Settings.EnableBlueLightReduction)
            ApplyBlueLight(Settings.GreenGamma);
    }
}

static INT_PTR HandleCommand(HWND dialog, int id) {
    switch (id) {
    case IDOK:
        if (CheckUnlockWords(dialog) != UnlockWords::Agree) {
            MessageBoxW(dialog, LoadText(IDS_WORDS_DIFFER).c_str(),
                        LoadText(IDS_UNLOCK_WORD_CHECK).c_str(), MB_OK | MB_SETFOREGROUND);
            return TRUE;
        }
        ReadSettingsControls(dialog);
        // Outside "Always" the screen goes back to normal until the mode applies it.
        ApplyBlueLightPolicy(BlueLightEvent::DialogOk);
        SaveSettings();
        SaveViewingLimitChoices(dialog);
        EndDialog(dialog, 1);
        SettingsDialog.Window = nullptr;
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, 2);
        SettingsDialog.Window = nullptr;
        // The record still holds what was loaded when the dialog opened.
        ApplyBlueLightPolicy(BlueLightEvent::DialogCancel);
        return TRUE;
    case IDC_TOUCH_SHIELD:
        // The touch/mouse shield and the mouse lock exclude each other here;
        // a record with both set is still shown as it is.
        if (IsTicked(dialog, IDC_TOUCH_SHIELD))
            SetTicked(dialog, IDC_DISABLE_MOUSE, false);
        return TRUE;
    case IDC_DISABLE_MOUSE:
        if (IsTicked(dialog, IDC_DISABLE_MOUSE))
            SetTicked(dialog, IDC_TOUCH_SHIELD, false);
        return TRUE;
    case IDC_YOUTUBE_COUNT:
        EnableControl(dialog, IDC_YOUTUBE_MAX, IsTicked(dialog, IDC_YOUTUBE_COUNT));
        return TRUE;
    case IDC_PROMPT:
        EnableUnlockWordControls(dialog, IsTicked(dialog, IDC_PROMPT));
        return TRUE;
    case IDC_VIEWING_MINUTES:
        FollowViewingLimitChoice(dialog);
        return TRUE;
    case IDC_BLUE_MODE:
        // The list holds the modes in order, "Always" first.
        if (SendDlgItemMessageA(dialog, IDC_BLUE_MODE, CB_GETCURSEL, 0, 0) + 1 == BlueAlways)
            ApplyBlueLight(SliderPosition(dialog));
        return TRUE;
    case IDC_BLUE_LIGHT:
        if (!IsTicked(dialog, IDC_BLUE_LIGHT)) {
            RestoreGamma();
            EnableBlueLightControls(dialog, false);
        } else if (CheckGammaRangeSetting() == GammaRange::Usable) {
            EnableBlueLightControls(dialog, true);
            ApplyBlueLight(SliderPosition(dialog));
        } else {
            // Without the machine-wide range setting the system refuses the
            // reduced ramp; the setting takes effect only after a restart.
            MessageBoxW(dialog, LoadText(IDS_RESTART_NEEDED).c_str(),
                        LoadText(IDS_RESTART_CAPTION).c_str(), MB_OK | MB_TOPMOST);
            SetTicked(dialog, IDC_BLUE_LIGHT, false);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

UnlockWords CheckUnlockWords(HWND dialog) {
    if (!IsTicked(dialog, IDC_PROMPT))
        return UnlockWords::Agree;
    char word[UnlockWordBufferSize] = {};
    char again[UnlockWordBufferSize] = {};
    GetDlgItemTextA(dialog, IDC_PASSWORD, word, UnlockWordBufferSize);
    GetDlgItemTextA(dialog, IDC_PASSWORD_AGAIN, again, UnlockWordBufferSize);
    if (strlen(word) == strlen(again) && memcmp(word, again, strlen(word)) == 0)
        return UnlockWords::Agree;
    SetTicked(dialog, IDC_PROMPT, false);
    return UnlockWords::Differ;
}

void ReadSettingsControls(HWND dialog) {
    // CB_ERR (-1) for a box without a selection gives 0.
    Settings.YouTubeMax = (int)SendDlgItemMessageA(dialog, IDC_YOUTUBE_MAX, CB_GETCURSEL, 0, 0) + 1;
    Settings.BlueMenu = (int)SendDlgItemMessageA(dialog, IDC_BLUE_MODE, CB_GETCURSEL, 0, 0) + 1;

    Settings.EnableYouTubeCount = IsTicked(dialog, IDC_YOUTUBE_COUNT);
    Settings.EnableLockAtStartup = IsTicked(dialog, IDC_LOCK_AT_STARTUP);
    Settings.EnableBlueLightReduction = IsTicked(dialog, IDC_BLUE_LIGHT);
    Settings.EnableTouchShield = IsTicked(dialog, IDC_TOUCH_SHIELD);
    Settings.DisableMouse = IsTicked(dialog, IDC_DISABLE_MOUSE);
    Settings.DisableKeyboard = IsTicked(dialog, IDC_DISABLE_KEYBOARD);
    Settings.Prompt = IsTicked(dialog, IDC_PROMPT);

    char word[UnlockWordBufferSize] = {};
    if (Settings.Prompt)
        GetDlgItemTextA(dialog, IDC_PASSWORD, word, UnlockWordBufferSize);
    Settings.Password = word;

    // The slider is previewed in every mode, and locking in "w/ Shield" mode
    // applies the stored level, so that mode keeps the level set here too.
    if (BlueLightMode(Settings, BlueAlways) || BlueLightMode(Settings, BlueFromMenu) ||
        BlueLightMode(Settings, BlueWithShield))
        Settings.GreenGamma = SliderPosition(dialog);
}

void AttachRevealIcon(HWND dialog, int controlId) {
    HWND control = GetDlgItem(dialog, controlId);
    if (!control)
        return;
    // A static control ignores the mouse unless it notifies.
    SetWindowLongA(control, GWL_STYLE, GetWindowLongA(control, GWL_STYLE) | SS_NOTIFY);
    SetPropA(control, OriginalProcProperty, (HANDLE)GetWindowLongPtrW(control, GWLP_WNDPROC));
    SetWindowLongPtrW(control, GWLP_WNDPROC, (LONG_PTR)RevealIconProc);
}

LRESULT CALLBACK RevealIconProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC original = (WNDPROC)GetPropA(control, OriginalProcProperty);
    if (!original)
        return DefWindowProcW(control, message, wParam, lParam);
    HWND dialog = GetParent(control);
    switch (message) {
    case WM_SETCURSOR: {
        HCURSOR hand = LoadCursor(nullptr, IDC_HAND);
        SetCursor(hand ? hand : LoadCursor(nullptr, IDC_ARROW));
        return TRUE;
    }
    case WM_MOUSEMOVE:
        // Hover is tracked by holding the capture while the pointer is over
        // the eye. While the button is down the capture stays, so that the
        // release reaches the eye and masks the words again wherever it happens.
        if (GetCapture() != control) {
            InvalidateRect(control, nullptr, FALSE);
            SetCapture(control);
        } else if (!(wParam & MK_LBUTTON)) {
            POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ClientToScreen(control, &point);
            RECT area;
            GetWindowRect(control, &area);
            if (!PtInRect(&area, point)) {
                InvalidateRect(control, nullptr, FALSE);
                ReleaseCapture();
            }
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_POINTERDOWN:
        if (IsTicked(dialog, IDC_PROMPT)) {
            // The wide form: the black circle has no ANSI equivalent.
            SettingsDialog.SavedPasswordChar =
                (int)SendDlgItemMessageW(dialog, IDC_PASSWORD, EM_GETPASSWORDCHAR, 0, 0);
            if (SettingsDialog.SavedPasswordChar != 0)
                SettingsDialog.LastPasswordChar = SettingsDialog.SavedPasswordChar;
            SetMaskingCharacter(dialog, 0);
        }
        break;
    case WM_LBUTTONUP:
    case WM_POINTERUP:
        if (IsTicked(dialog, IDC_PROMPT)) {
            if (SettingsDialog.LastPasswordChar == 0)
                SettingsDialog.LastPasswordChar = 0x25CF;
            if (SettingsDialog.SavedPasswordChar == 0)
                SettingsDialog.SavedPasswordChar = SettingsDialog.LastPasswordChar;
            SetMaskingCharacter(dialog, SettingsDialog.SavedPasswordChar);
        }
        break;
    case WM_DESTROY:
        SetWindowLongPtrW(control, GWLP_WNDPROC, (LONG_PTR)original);
        RemovePropA(control, OriginalProcProperty);
        break;
    }
    return CallWindowProcW(original, control, message, wParam, lParam);
}

static void FillComboBox(HWND dialog, int id, const std::wstring* items, int count) {
    for (int i = count - 1; i >= 0; i--)
        SendDlgItemMessageW(dialog, id, CB_INSERTSTRING, 0, (LPARAM)items[i].c_str());
}

static void EnableBlueLightControls(HWND dialog, bool enable) {
    EnableControl(dialog, IDC_BLUE_MODE, enable);
    EnableControl(dialog, IDC_GREEN_GAMMA, enable);
    EnableControl(dialog, IDC_LESS_LABEL, enable);
    EnableControl(dialog, IDC_MORE_LABEL, enable);
}

static void EnableUnlockWordControls(HWND dialog, bool enable) {
    EnableControl(dialog, IDC_PASSWORD, enable);
    EnableControl(dialog, IDC_PASSWORD_AGAIN, enable);
    EnableControl(dialog, IDC_REVEAL_EYE, enable);
}

static void EnableControl(HWND dialog, int id, bool enable) {
    EnableWindow(GetDlgItem(dialog, id), enable ? TRUE : FALSE);
}

static bool IsTicked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

static void SetTicked(HWND dialog, int id, bool ticked) {
    CheckDlgButton(dialog, id, ticked ? BST_CHECKED : BST_UNCHECKED);
}

static int SliderPosition(HWND dialog) {
    return (int)SendDlgItemMessageA(dialog, IDC_GREEN_GAMMA, TBM_GETPOS, 0, 0);
}

static void SetMaskingCharacter(HWND dialog, int character) {
    SendDlgItemMessageW(dialog, IDC_PASSWORD, EM_SETPASSWORDCHAR, (WPARAM)character, 0);
    SendDlgItemMessageW(dialog, IDC_PASSWORD_AGAIN, EM_SETPASSWORDCHAR, (WPARAM)character, 0);
    InvalidateRect(dialog, nullptr, TRUE);
}

// Pure green is see-through while the dialog fades in. A high-contrast theme
// may draw its texts in that very green, so there the key is left out.
static DWORD FadeFlags() {
    return Accessibility.HighContrastOn() ? LWA_ALPHA : LWA_COLORKEY | LWA_ALPHA;
}

// The template's eye is drawn for 100 % and a static control does not scale
// its bitmap with the dialog: at another scale the eye is stretched to match.
// At 100 % (also as the dialog goes) the control keeps or gets back the eye
// it loaded itself, which it deletes when it goes.
static void FitRevealIconToDpi(HWND dialog, int dpi) {
    HWND eye = GetDlgItem(dialog, IDC_REVEAL_EYE);
    ImageBitmap scaled;
    if (dpi != DefaultDpi)
        scaled = LoadBitmapAtDpi(GetModuleHandleA(nullptr), IDB_EYE, dpi);
    if (!eye || (dpi != DefaultDpi && !scaled) || (dpi == DefaultDpi && !ScaledRevealEye))
        return;
    static HBITMAP templateEye = nullptr;
    HBITMAP shown = scaled ? scaled.Get() : templateEye;
    HBITMAP previous = (HBITMAP)SendMessageW(eye, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)shown);
    if (previous != ScaledRevealEye.Get())
        templateEye = previous;
    ScaledRevealEye = std::move(scaled);
}

// Looked up at run time: user32 has it from Windows 7 on.
static void RegisterTouchInput(HWND dialog) {
    typedef BOOL(WINAPI * RegisterTouchWindowFunction)(HWND, ULONG);
    RegisterTouchWindowFunction registerTouch =
        LookUpSystemCall<RegisterTouchWindowFunction>("user32.dll", "RegisterTouchWindow");
    if (registerTouch)
        registerTouch(dialog, 0);
}

// A word of four or more characters, typed anywhere while the keyboard is
// locked, unlocks: the field says so while it is empty, also while focused.
static void ShowUnlockWordHint(HWND dialog) {
    const std::wstring hint = LoadText(IDS_UNLOCK_WORD_HINT);
    SendDlgItemMessageW(dialog, IDC_PASSWORD, EM_SETCUEBANNER, TRUE,
                        reinterpret_cast<LPARAM>(hint.c_str()));
}
