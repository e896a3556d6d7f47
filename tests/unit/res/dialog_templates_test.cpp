// The two dialog templates create every control the dialogs' code expects.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include "res/resource.h"

namespace {

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

struct ControlCase {
    int dialog;
    int id;
    const char* className;
    const char* text;
    DWORD styleBits;
};

std::string ClassOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

TEST(DialogTemplates, EveryControlIsCreatedWithItsClassTextAndStyle) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const ControlCase cases[] = {
        {IDD_SETTINGS, IDOK, "Button", "OK", BS_DEFPUSHBUTTON},
        {IDD_SETTINGS, IDCANCEL, "Button", "Cancel", 0},
        {IDD_SETTINGS, IDC_PASSWORD, "Edit", "", ES_PASSWORD | WS_DISABLED},
        {IDD_SETTINGS, IDC_PASSWORD_AGAIN, "Edit", "", ES_PASSWORD | WS_DISABLED},
        {IDD_SETTINGS, IDC_TOUCH_SHIELD, "Button", " Enable Touch/Mouse Shield", BS_AUTOCHECKBOX},
        {IDD_SETTINGS, IDC_YOUTUBE_COUNT, "Button", " Enable Youtube Video Counter",
         BS_AUTOCHECKBOX},
        {IDD_SETTINGS, IDC_YOUTUBE_MAX, "ComboBox", "", CBS_DROPDOWN | WS_DISABLED},
        {IDD_SETTINGS, IDC_DISABLE_KEYBOARD, "Button", " Disable Keyboard Input", BS_AUTOCHECKBOX},
        {IDD_SETTINGS, IDC_DISABLE_MOUSE, "Button", " Disable Mouse Input", BS_AUTOCHECKBOX},
        {IDD_SETTINGS, IDC_PROMPT, "Button", " Prompt for Secret Word to Unlock or Change Settings",
         BS_AUTOCHECKBOX},
        {IDD_SETTINGS, IDC_LOCK_AT_STARTUP, "Button", " Enable Shield at Startup", BS_AUTOCHECKBOX},
        {IDD_SETTINGS, IDC_BLUE_LIGHT, "Button", " Blue Light Reduction", BS_AUTOCHECKBOX},
        {IDD_SETTINGS, IDC_GREEN_GAMMA, "msctls_trackbar32", "", TBS_AUTOTICKS},
        {IDD_SETTINGS, IDC_BLUE_MODE, "ComboBox", "", CBS_DROPDOWNLIST},
        {IDD_SETTINGS, IDC_REVEAL_EYE, "Static", nullptr, SS_BITMAP | SS_NOTIFY},
        {IDD_SETTINGS, IDC_LESS_LABEL, "Static", "Less", SS_CENTER},
        {IDD_SETTINGS, IDC_MORE_LABEL, "Static", "More", SS_CENTER},
        {IDD_UNLOCKWORD, IDOK, "Button", "OK", BS_DEFPUSHBUTTON},
        {IDD_UNLOCKWORD, IDC_UNLOCK_WORD, "Edit", "", ES_PASSWORD | ES_AUTOHSCROLL},
    };
    for (int dialogId : {IDD_SETTINGS, IDD_UNLOCKWORD}) {
        HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(dialogId),
                                         nullptr, QuietDialogProc, 0);
        ASSERT_NE(dialog, nullptr) << "dialog " << dialogId;
        for (const ControlCase& c : cases) {
            if (c.dialog != dialogId)
                continue;
            HWND control = GetDlgItem(dialog, c.id);
            ASSERT_NE(control, nullptr) << "control " << c.id;
            EXPECT_STRCASEEQ(ClassOf(control).c_str(), c.className) << "control " << c.id;
            if (c.text) {
                char text[100] = "";
                GetWindowTextA(control, text, sizeof text);
                EXPECT_STREQ(text, c.text) << "control " << c.id;
            }
            LONG style = GetWindowLongA(control, GWL_STYLE);
            EXPECT_EQ(style & (LONG)c.styleBits, (LONG)c.styleBits) << "control " << c.id;
        }
        DestroyWindow(dialog);
    }
}

TEST(DialogTemplates, UnlockPromptIsTopmostWithoutCaption) {
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_UNLOCKWORD),
                                     nullptr, QuietDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE((GetWindowLongA(dialog, GWL_STYLE) & WS_CAPTION) == WS_CAPTION);
    DestroyWindow(dialog);
}

} // namespace
