// Every language block of the resources is complete, and every text of every
// dialog fits its control in every language, measured as the dialog lays it
// out in the dialog's own font.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <map>
#include <string>
#include <vector>
#include "res/resource.h"
#include "support/language_resources.h"
#include "support/text_fit.h"

namespace {

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

HMODULE Module() {
    return GetModuleHandleW(nullptr);
}

const LANGID English = Languages[0].id;

// The %s and %d of a text, in order: a translation fills in the same.
std::string Placeholders(const std::wstring& text) {
    std::string found;
    for (size_t i = 0; i + 1 < text.size(); i++)
        if (text[i] == L'%')
            found += (char)text[++i];
    return found;
}

BOOL CALLBACK CollectBlock(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR blocks) {
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<UINT>*>(blocks)->push_back((UINT)(ULONG_PTR)name);
    return TRUE;
}

// Every id of the English string table, with its text.
std::map<UINT, std::wstring> EnglishStrings() {
    std::vector<UINT> blocks;
    EnumResourceNamesW(Module(), reinterpret_cast<LPCWSTR>(RT_STRING), CollectBlock,
                       (LONG_PTR)&blocks);
    std::map<UINT, std::wstring> strings;
    for (UINT block : blocks)
        for (UINT id = (block - 1) * 16; id < block * 16; id++) {
            std::wstring text = StringIn(Module(), id, English);
            if (!text.empty())
                strings[id] = text;
        }
    return strings;
}

// The ids and classes of a dialog's controls, in their order.
std::vector<std::wstring> ControlsOf(HWND dialog) {
    std::vector<std::wstring> controls;
    for (HWND control = GetWindow(dialog, GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT)) {
        wchar_t name[64] = L"";
        GetClassNameW(control, name, 64);
        controls.push_back(std::to_wstring(GetDlgCtrlID(control)) + L" " + name);
    }
    return controls;
}

class LanguageBlock : public testing::TestWithParam<Language> {
  protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&classes);
    }
};

// Strings are kept in blocks of sixteen: an id missing from one language's
// block would show as an empty text, not as the English one.
TEST_P(LanguageBlock, HasEveryEnglishStringWithItsPlaceholders) {
    const Language& language = GetParam();
    for (const auto& english : EnglishStrings()) {
        const std::wstring text = StringIn(Module(), english.first, language.id);
        EXPECT_FALSE(text.empty()) << "string " << english.first;
        EXPECT_EQ(Placeholders(text), Placeholders(english.second)) << "string " << english.first;
    }
}

TEST_P(LanguageBlock, MenusHaveTheEnglishItemsInOrder) {
    const Language& language = GetParam();
    for (int menu : {IDR_MAINMENU, IDR_TRAYMENU}) {
        std::vector<MenuItemText> english = MenuItemsIn(Module(), menu, English);
        std::vector<MenuItemText> items = MenuItemsIn(Module(), menu, language.id);
        ASSERT_EQ(items.size(), english.size()) << "menu " << menu;
        for (size_t i = 0; i < items.size(); i++) {
            EXPECT_EQ(items[i].place, english[i].place) << "menu " << menu << " item " << i;
            EXPECT_EQ(items[i].text.empty(), english[i].text.empty())
                << "menu " << menu << " item " << i;
        }
    }
}

TEST_P(LanguageBlock, DialogsHaveTheEnglishControls) {
    const Language& language = GetParam();
    for (int id : {IDD_SETTINGS, IDD_UNLOCKWORD}) {
        HWND english = CreateDialogIn(Module(), id, English, QuietDialogProc);
        HWND translated = CreateDialogIn(Module(), id, language.id, QuietDialogProc);
        ASSERT_NE(translated, nullptr) << "dialog " << id;
        EXPECT_EQ(ControlsOf(translated), ControlsOf(english)) << "dialog " << id;
        DestroyWindow(translated);
        DestroyWindow(english);
    }
}

INSTANTIATE_TEST_SUITE_P(Translations, LanguageBlock,
                         testing::ValuesIn(Languages + 1, Languages + 8),
                         [](const testing::TestParamInfo<Language>& param) {
                             return std::string(param.param.name);
                         });

// The lists the dialogs' code fills from the string table, item by item.
struct ListItems {
    int dialog;
    int control;
    std::vector<UINT> strings;
};
const ListItems Lists[] = {
    {IDD_SETTINGS, IDC_BLUE_MODE, {IDS_BLUE_ALWAYS, IDS_BLUE_MENU, IDS_BLUE_WITH_SHIELD}},
};

struct DialogInLanguage {
    Language language;
    int dialog;
    const char* dialogName;
};

std::vector<DialogInLanguage> EveryDialogInEveryLanguage() {
    std::vector<DialogInLanguage> cases;
    for (const Language& language : Languages) {
        cases.push_back({language, IDD_SETTINGS, "Settings"});
        cases.push_back({language, IDD_UNLOCKWORD, "UnlockPrompt"});
    }
    return cases;
}

class DialogTexts : public testing::TestWithParam<DialogInLanguage> {};

TEST_P(DialogTexts, FitTheirControls) {
    const DialogInLanguage& c = GetParam();
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
    HWND dialog = CreateDialogIn(Module(), c.dialog, c.language.id, QuietDialogProc);
    ASSERT_NE(dialog, nullptr);
    for (const ListItems& list : Lists)
        if (list.dialog == c.dialog)
            for (UINT id : list.strings)
                SendDlgItemMessageW(dialog, list.control, CB_ADDSTRING, 0,
                                    (LPARAM)StringIn(Module(), id, c.language.id).c_str());
    for (const ClippedText& clipped : ClippedTexts(dialog, c.language.charset))
        ADD_FAILURE() << Describe(clipped);
    DestroyWindow(dialog);
}

INSTANTIATE_TEST_SUITE_P(EveryLanguage, DialogTexts,
                         testing::ValuesIn(EveryDialogInEveryLanguage()),
                         [](const testing::TestParamInfo<DialogInLanguage>& param) {
                             return std::string(param.param.language.name) + "_" +
                                    param.param.dialogName;
                         });

} // namespace
