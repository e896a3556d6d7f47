// Every language block of the resources is complete, and every text of every
// dialog fits its control in every language, measured as the dialog lays it
// out in the dialog's own font.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>
#include "app/resource_texts.h"
#include "res/resource.h"
#include "support/language_resources.h"
#include "support/text_fit.h"

namespace {

const HMODULE Module = GetModuleHandleW(nullptr);
const LANGID English = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// The %s and %d of a text, in order: a translation fills in the same.
std::string FormatSpecifiers(const std::wstring& text) {
    std::string found;
    for (size_t i = 0; i + 1 < text.size(); i++)
        if (text[i] == L'%')
            found += (char)text[++i];
    return found;
}

// The ids and classes of a dialog's controls, in their order.
std::vector<std::wstring> ControlsOf(int dialogId, LANGID language) {
    std::vector<std::wstring> controls;
    HWND dialog = CreateDialogIn(Module, dialogId, language);
    EXPECT_NE(dialog, nullptr) << "dialog " << dialogId;
    for (HWND control = GetWindow(dialog, GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT)) {
        wchar_t name[64] = L"";
        GetClassNameW(control, name, 64);
        controls.push_back(std::to_wstring(GetDlgCtrlID(control)) + L" " + name);
    }
    DestroyWindow(dialog);
    return controls;
}

class LanguageBlock : public testing::TestWithParam<Language> {};

// Strings are kept in blocks of sixteen: an id missing from one language's
// block would show as an empty text, not as the English one.
TEST_P(LanguageBlock, HasEverythingTheEnglishBlockHas) {
    const LANGID language = GetParam().id;
    for (UINT id = 0; id < 1024; id++) {
        const std::wstring english = StringIn(Module, id, English);
        if (english.empty())
            continue;
        const std::wstring text = StringIn(Module, id, language);
        EXPECT_FALSE(text.empty()) << "string " << id;
        EXPECT_EQ(FormatSpecifiers(text), FormatSpecifiers(english)) << "string " << id;
    }
    // The texts loaded into fixed buffers at start-up must fit them whole.
    for (UINT id : {IDS_APP_TITLE, IDS_MAIN_CLASS, IDS_UNLOCK_ITEM, IDS_LOCK_ITEM, IDS_UNLOCK_TIP,
                    IDS_LOCK_TIP, IDS_ENABLE_BLUE, IDS_DISABLE_BLUE})
        EXPECT_LT(StringIn(Module, id, language).size(), (size_t)ResourceTextSize) << id;
    for (int menu : {IDR_MAINMENU, IDR_TRAYMENU}) {
        std::vector<std::wstring> english, items;
        for (const MenuItemText& item : MenuItemsIn(Module, menu, English))
            english.push_back(item.place + (item.text.empty() ? L"" : L" text"));
        for (const MenuItemText& item : MenuItemsIn(Module, menu, language))
            items.push_back(item.place + (item.text.empty() ? L"" : L" text"));
        EXPECT_EQ(items, english) << "menu " << menu;
    }
    for (int dialog : {IDD_SETTINGS, IDD_UNLOCKWORD})
        EXPECT_EQ(ControlsOf(dialog, language), ControlsOf(dialog, English)) << "dialog " << dialog;
}

INSTANTIATE_TEST_SUITE_P(Translations, LanguageBlock,
                         testing::ValuesIn(Languages().begin() + 1, Languages().end()),
                         [](const testing::TestParamInfo<Language>& param) {
                             return std::string(param.param.name);
                         });

// What the dialogs' code fills in from the string table: list items, and the
// hint of an empty field.
struct FilledIn {
    int dialog, control;
    UINT message;
    std::vector<UINT> strings;
};
const FilledIn Filled[] = {
    {IDD_SETTINGS,
     IDC_BLUE_MODE,
     CB_ADDSTRING,
     {IDS_BLUE_ALWAYS, IDS_BLUE_MENU, IDS_BLUE_WITH_SHIELD}},
    {IDD_SETTINGS, IDC_PASSWORD, EM_SETCUEBANNER, {IDS_UNLOCK_WORD_HINT}},
    {IDD_SETTINGS,
     IDC_VIEWING_MINUTES,
     CB_ADDSTRING,
     {IDS_VIEWING_OFF, IDS_VIEWING_5, IDS_VIEWING_10, IDS_VIEWING_15, IDS_VIEWING_20,
      IDS_VIEWING_30, IDS_VIEWING_45, IDS_VIEWING_60, IDS_VIEWING_90, IDS_VIEWING_120}},
    {IDD_SETTINGS,
     IDC_FINISH_VIDEO,
     CB_ADDSTRING,
     {IDS_FINISH_OFF, IDS_FINISH_2, IDS_FINISH_5, IDS_FINISH_10, IDS_FINISH_15}},
};

struct DialogInLanguage {
    Language language;
    int dialog;
    std::string name;
};

std::vector<DialogInLanguage> EveryDialogInEveryLanguage() {
    std::vector<DialogInLanguage> cases;
    for (const Language& language : Languages()) {
        cases.push_back({language, IDD_SETTINGS, language.name + std::string("_Settings")});
        cases.push_back({language, IDD_UNLOCKWORD, language.name + std::string("_UnlockPrompt")});
    }
    return cases;
}

class DialogTexts : public testing::TestWithParam<DialogInLanguage> {};

TEST_P(DialogTexts, FitTheirControls) {
    const DialogInLanguage& c = GetParam();
    HWND dialog = CreateDialogIn(Module, c.dialog, c.language.id);
    ASSERT_NE(dialog, nullptr);
    for (const FilledIn& filled : Filled)
        for (UINT id : filled.strings)
            if (filled.dialog == c.dialog)
                SendDlgItemMessageW(dialog, filled.control, filled.message,
                                    filled.message == EM_SETCUEBANNER,
                                    (LPARAM)StringIn(Module, id, c.language.id).c_str());
    for (const ClippedText& clipped : ClippedTexts(dialog, c.language.charset))
        ADD_FAILURE() << Describe(clipped);
    DestroyWindow(dialog);
}

INSTANTIATE_TEST_SUITE_P(EveryLanguage, DialogTexts,
                         testing::ValuesIn(EveryDialogInEveryLanguage()),
                         [](const testing::TestParamInfo<DialogInLanguage>& param) {
                             return param.param.name;
                         });

} // namespace
