// What a parent sees in the display language Windows runs in: the tray menu,
// the settings dialog and the unlock word prompt come from that language's
// block of the resources (English where there is none), and no text is cut.
// Run once in the main session and once more under German, Chinese and
// Japanese Unix locales, from which Wine takes the display language.
#include "dialog_fixture.h"
#include "app/main_window.h"
#include "app/tray_icon.h"
#include "lock/unlock_prompt.h"
#include "res/resource.h"
#include "support/language_resources.h"
#include "support/text_fit.h"
#include "support/wait.h"
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The block the resource loader picks for the user's display language: the
// language itself, else its language with no region, else English.
const Language& DisplayLanguage() {
    const LANGID shown = GetUserDefaultUILanguage();
    for (const Language& language : Languages())
        if (language.id == shown || (PRIMARYLANGID(language.id) == PRIMARYLANGID(shown) &&
                                     SUBLANGID(language.id) == SUBLANG_NEUTRAL))
            return language;
    return Languages()[0];
}

HMODULE Module() {
    return GetModuleHandleW(nullptr);
}

// The texts of a dialog's buttons and labels, in order (the lists and the
// word fields are filled at run time).
std::vector<std::string> TextsOf(HWND dialog) {
    std::vector<std::string> texts;
    for (HWND control = GetWindow(dialog, GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT)) {
        wchar_t kind[32] = L"", text[512] = L"";
        GetClassNameW(control, kind, 32);
        GetWindowTextW(control, text, 512);
        if (lstrcmpiW(kind, L"Button") == 0 || lstrcmpiW(kind, L"Static") == 0)
            texts.push_back(Utf8(text));
    }
    return texts;
}

// A dialog the program shows has the texts of the language's own template.
void ExpectTextsOfLanguage(HWND shown, int dialogId, const Language& language) {
    HWND expected = CreateDialogIn(Module(), dialogId, language.id);
    ASSERT_NE(expected, nullptr);
    EXPECT_EQ(TextsOf(shown), TextsOf(expected)) << language.name;
    DestroyWindow(expected);
}

void ExpectNothingClipped(HWND dialog) {
    // No stand-in font: what this session's fonts cannot show counts as cut.
    for (const ClippedText& clipped : ClippedTexts(dialog, DEFAULT_CHARSET))
        ADD_FAILURE() << Describe(clipped);
}

class UiLanguage : public SettingsDialogTest {};

TEST_F(UiLanguage, TrayMenuIsInTheDisplayLanguage) {
    const Language& language = DisplayLanguage();
    // The session says which language it runs in; the main one runs in English.
    const char* session = getenv("MORROWBY_EXPECTED_LANGUAGE");
    EXPECT_STREQ(language.name, session ? session : "English");
    std::vector<MenuItemText> expected = MenuItemsIn(Module(), IDR_TRAYMENU, language.id);
    ASSERT_GT(expected.size(), 1u);
    HMENU popup = GetSubMenu(Tray.Menu(), 0);
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ((size_t)GetMenuItemCount(popup), expected.size() - 1);
    for (int i = 0; i < GetMenuItemCount(popup); i++) {
        wchar_t text[200] = L"";
        GetMenuStringW(popup, (UINT)i, text, 200, MF_BYPOSITION);
        EXPECT_EQ(Utf8(text), Utf8(expected[(size_t)i + 1].text)) << language.name << " item " << i;
    }
}

TEST_F(UiLanguage, SettingsDialogIsInTheDisplayLanguageAndNothingIsCut) {
    const Language& language = DisplayLanguage();
    ASSERT_NE(Open(), nullptr);
    ExpectTextsOfLanguage(dialog, IDD_SETTINGS, language);
    wchar_t mode[100] = L"";
    SendDlgItemMessageW(dialog, IDC_BLUE_MODE, CB_GETLBTEXT, 2, (LPARAM)mode);
    EXPECT_EQ(Utf8(mode), Utf8(StringIn(Module(), IDS_BLUE_WITH_SHIELD, language.id)));
    ExpectNothingClipped(dialog);
}

HWND PromptSeen = nullptr;
bool PromptChecked = false;

BOOL CALLBACK FindPrompt(HWND window, LPARAM) {
    if (GetDlgItem(window, IDC_UNLOCK_WORD))
        PromptSeen = window;
    return !PromptSeen;
}

// Looks at the prompt from inside its own modal loop, then lets it time out.
void CALLBACK CheckPrompt(HWND, UINT, UINT_PTR timer, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), FindPrompt, 0);
    if (!PromptSeen || PromptChecked)
        return;
    PromptChecked = true;
    KillTimer(nullptr, timer);
    ExpectTextsOfLanguage(PromptSeen, IDD_UNLOCKWORD, DisplayLanguage());
    ExpectNothingClipped(PromptSeen);
    EndDialog(PromptSeen, 0);
}

TEST_F(UiLanguage, UnlockPromptIsInTheDisplayLanguageAndNothingIsCut) {
    PromptSeen = nullptr;
    PromptChecked = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 100, CheckPrompt);
    EXPECT_EQ(PromptForUnlockWord(MainWindow), UnlockWord::Refused);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(PromptChecked);
}

} // namespace
