// Switching the accessibility shortcuts off while locked, the way Windows'
// guidance for full-screen games does: only the hotkey and its confirmation
// are cleared, only for a feature that is off (one that is on is in use and
// is left alone), and nothing is written to the user profile, so a crash that
// skips the restore still loses the change at the end of the session.
#include "accessibility_shortcuts.h"

static BOOL WINAPI CallSystemParametersInfo(UINT action, UINT param, PVOID data, UINT winIni) {
    return SystemParametersInfoA(action, param, data, winIni);
}
// Constant initialisation: valid before any constructor runs.
SystemParametersFunction AccessibilityParameters = CallSystemParametersInfo;

// The settings as found at the suspension, and whether each was changed.
static STICKYKEYS KeptStickyKeys;
static FILTERKEYS KeptFilterKeys;
static TOGGLEKEYS KeptToggleKeys;
static MOUSEKEYS KeptMouseKeys;
static HIGHCONTRASTA KeptHighContrast;
// The scheme name the system handed out with High Contrast points into memory
// of its own, which a later read may reuse; a copy goes back with the rest.
static char KeptContrastScheme[MAX_PATH];
static bool StickyKeysChanged = false;
static bool FilterKeysChanged = false;
static bool ToggleKeysChanged = false;
static bool MouseKeysChanged = false;
static bool HighContrastChanged = false;
static bool ShortcutsSuspended = false;

static void KeepContrastScheme(HIGHCONTRASTA* kept) {
    if (!kept->lpszDefaultScheme)
        return;
    lstrcpynA(KeptContrastScheme, kept->lpszDefaultScheme, sizeof KeptContrastScheme);
    kept->lpszDefaultScheme = KeptContrastScheme;
}

// Reads one setting, and writes it back without its hotkey flags when the
// feature is off and a hotkey is active. True when it wrote.
template <typename Setting>
static bool ClearHotkey(UINT getAction, UINT setAction, Setting* kept, DWORD featureOn,
                        DWORD hotkeyFlags) {
    *kept = {};
    kept->cbSize = sizeof(Setting);
    if (!AccessibilityParameters(getAction, sizeof(Setting), kept, 0))
        return false;
    if ((kept->dwFlags & featureOn) || !(kept->dwFlags & hotkeyFlags))
        return false;
    Setting cleared = *kept;
    cleared.dwFlags &= ~hotkeyFlags;
    return AccessibilityParameters(setAction, sizeof(Setting), &cleared, 0) != FALSE;
}

void SuspendAccessibilityShortcuts() {
    if (ShortcutsSuspended)
        return;
    ShortcutsSuspended = true;
    StickyKeysChanged = ClearHotkey(SPI_GETSTICKYKEYS, SPI_SETSTICKYKEYS, &KeptStickyKeys,
                                    SKF_STICKYKEYSON, SKF_HOTKEYACTIVE | SKF_CONFIRMHOTKEY);
    FilterKeysChanged = ClearHotkey(SPI_GETFILTERKEYS, SPI_SETFILTERKEYS, &KeptFilterKeys,
                                    FKF_FILTERKEYSON, FKF_HOTKEYACTIVE | FKF_CONFIRMHOTKEY);
    ToggleKeysChanged = ClearHotkey(SPI_GETTOGGLEKEYS, SPI_SETTOGGLEKEYS, &KeptToggleKeys,
                                    TKF_TOGGLEKEYSON, TKF_HOTKEYACTIVE | TKF_CONFIRMHOTKEY);
    MouseKeysChanged = ClearHotkey(SPI_GETMOUSEKEYS, SPI_SETMOUSEKEYS, &KeptMouseKeys,
                                   MKF_MOUSEKEYSON, MKF_HOTKEYACTIVE | MKF_CONFIRMHOTKEY);
    HighContrastChanged = ClearHotkey(SPI_GETHIGHCONTRAST, SPI_SETHIGHCONTRAST, &KeptHighContrast,
                                      HCF_HIGHCONTRASTON, HCF_HOTKEYACTIVE | HCF_CONFIRMHOTKEY);
    KeepContrastScheme(&KeptHighContrast);
}

void RestoreAccessibilityShortcuts() {
    if (!ShortcutsSuspended)
        return;
    if (StickyKeysChanged)
        AccessibilityParameters(SPI_SETSTICKYKEYS, sizeof KeptStickyKeys, &KeptStickyKeys, 0);
    if (FilterKeysChanged)
        AccessibilityParameters(SPI_SETFILTERKEYS, sizeof KeptFilterKeys, &KeptFilterKeys, 0);
    if (ToggleKeysChanged)
        AccessibilityParameters(SPI_SETTOGGLEKEYS, sizeof KeptToggleKeys, &KeptToggleKeys, 0);
    if (MouseKeysChanged)
        AccessibilityParameters(SPI_SETMOUSEKEYS, sizeof KeptMouseKeys, &KeptMouseKeys, 0);
    if (HighContrastChanged)
        AccessibilityParameters(SPI_SETHIGHCONTRAST, sizeof KeptHighContrast, &KeptHighContrast, 0);
    StickyKeysChanged = FilterKeysChanged = ToggleKeysChanged = false;
    MouseKeysChanged = HighContrastChanged = false;
    ShortcutsSuspended = false;
}
