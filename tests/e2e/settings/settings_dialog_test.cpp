// The settings dialog in the real program: opened from the tray menu command,
// it stores a new unlock word that the program then asks for before it exits.
#include "res/resource.h"
#include "settings/settings_store.h"
#include "support/morrowby_process.h"
#include "support/product_settings.h"
#include "support/program_test.h"
#include "support/screenshot.h"
#include "support/wait.h"
#include <gtest/gtest.h>
#include <functional>
#include <string>

namespace {

const WORD ModifySettingsCommand = 32780;
const WORD ExitCommand = 105;

struct DialogSearch {
    DWORD ProcessId;
    std::function<bool(HWND)> Wanted;
    HWND Found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM parameter) {
    DialogSearch* search = (DialogSearch*)parameter;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner == search->ProcessId && lstrcmpA(className, "#32770") == 0 &&
        IsWindowVisible(window) && search->Wanted(window)) {
        search->Found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindProcessDialog(DWORD processId, const std::function<bool(HWND)>& wanted) {
    DialogSearch search = {processId, wanted, nullptr};
    EnumWindows(MatchDialog, (LPARAM)&search);
    return search.Found;
}

BOOL CALLBACK MatchChildText(HWND child, LPARAM parameter) {
    char text[128] = {};
    GetWindowTextA(child, text, sizeof text);
    if (lstrcmpA(text, "Enter the unlock word") == 0) {
        *(bool*)parameter = true;
        return FALSE;
    }
    return TRUE;
}

bool IsUnlockPrompt(HWND dialog) {
    bool found = false;
    EnumChildWindows(dialog, MatchChildText, (LPARAM)&found);
    return found;
}

bool Ticked(HWND dialog, int id) {
    DWORD_PTR state = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, SMTO_NORMAL, 2000, &state);
    return state == BST_CHECKED;
}

void SetText(HWND dialog, int id, const char* text) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, id), WM_SETTEXT, 0, (LPARAM)text, SMTO_NORMAL, 2000,
                        &result);
}

class SettingsDialogEndToEnd : public ProgramTest {
  protected:
    MorrowbyProcess app;
};

} // namespace

TEST_F(SettingsDialogEndToEnd, NewUnlockWordIsStoredAndAskedForOnExit) {
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitUntilReady());

    // The program may still be in its start-up pauses; a repeated command
    // while the dialog is open only brings it to the front.
    HWND dialog = nullptr;
    for (int attempt = 0; attempt < 5 && !dialog; attempt++) {
        app.PostCommand(ModifySettingsCommand);
        WaitUntil(
            [&] {
                dialog = FindProcessDialog(
                    app.ProcessId(), [](HWND w) { return GetDlgItem(w, IDC_PROMPT) != nullptr; });
                return dialog != nullptr;
            },
            4000);
    }
    ASSERT_NE(dialog, nullptr) << "Modify Settings opened no settings dialog";

    // Let the fade-in finish before the picture is taken.
    WaitUntil(
        [&] {
            BYTE alpha = 0;
            return GetLayeredWindowAttributes(dialog, nullptr, &alpha, nullptr) && alpha == 255;
        },
        3000);
    PumpMessagesFor(300);
    RECT area;
    GetWindowRect(dialog, &area);
    InflateRect(&area, 20, 20);
    EXPECT_TRUE(SaveScreenshot(ArtifactPath("settings_dialog.bmp"), &area));

    // First run: shield on, no unlock word asked for.
    EXPECT_TRUE(Ticked(dialog, IDC_TOUCH_SHIELD));
    EXPECT_FALSE(Ticked(dialog, IDC_PROMPT));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_PASSWORD)));

    DWORD_PTR result = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, IDC_PROMPT), BM_CLICK, 0, 0, SMTO_NORMAL, 2000, &result);
    EXPECT_TRUE(Ticked(dialog, IDC_PROMPT));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_PASSWORD)));
    SetText(dialog, IDC_PASSWORD, "tiger");
    SetText(dialog, IDC_PASSWORD_AGAIN, "tiger");
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000)) << "OK did not close";

    std::string prompt, password;
    EXPECT_TRUE(ReadProductSetting("Prompt", &prompt));
    EXPECT_EQ(prompt, "1");
    EXPECT_TRUE(ReadProductSetting("Password", &password));
    EXPECT_EQ(password, ScrambleUnlockWord("tiger"));
    EXPECT_NE(password, "tiger") << "the word is not stored in plain text";

    // Exit now needs the word.
    app.PostCommand(ExitCommand);
    HWND unlockPrompt = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            unlockPrompt = FindProcessDialog(app.ProcessId(), IsUnlockPrompt);
            return unlockPrompt != nullptr;
        },
        5000))
        << "Exit did not ask for the unlock word";
    EXPECT_TRUE(app.Running());
    SetText(unlockPrompt, IDC_UNLOCK_WORD, "tiger");
    PostMessageA(unlockPrompt, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(app.WaitForExit(5000)) << "the right word lets the program exit";
}
