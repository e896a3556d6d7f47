// One walk through the program as a parent meets it, saving a screenshot at
// each stop for people to look at: the splash, the tray menu, the unlock word
// prompt, the settings dialog and the locked screen with its padlock.
#include <gtest/gtest.h>
#include "res/resource.h"
#include "support/morrowby_process.h"
#include "support/product_settings.h"
#include "support/program_test.h"
#include "support/screenshot.h"
#include "support/wait.h"

namespace {

const char* const UnlockWord = "tiger";

struct DialogSearch {
    DWORD processId;
    int controlId;
    HWND found;
};

BOOL CALLBACK CheckDialog(HWND window, LPARAM data) {
    DialogSearch* search = (DialogSearch*)data;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (owner == search->processId && strcmp(name, "#32770") == 0 && IsWindowVisible(window) &&
        GetDlgItem(window, search->controlId)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A dialog of the given process that holds a control with the given id.
HWND FindDialogWith(DWORD processId, int controlId) {
    DialogSearch search = {processId, controlId, nullptr};
    EnumWindows(CheckDialog, (LPARAM)&search);
    return search.found;
}

HWND WaitForDialogWith(DWORD processId, int controlId, DWORD timeoutMs = 10000) {
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = FindDialogWith(processId, controlId)) != nullptr; },
              timeoutMs);
    return dialog;
}

bool AnswerPrompt(DWORD processId, const char* word) {
    HWND prompt = WaitForDialogWith(processId, IDC_UNLOCK_WORD);
    if (!prompt)
        return false;
    SendMessageA(GetDlgItem(prompt, IDC_UNLOCK_WORD), WM_SETTEXT, 0, (LPARAM)word);
    PostMessageA(prompt, WM_COMMAND, IDOK, 0);
    return WaitUntil([&] { return !IsWindow(prompt); }, 5000);
}

HWND WindowOfClass(DWORD processId, const char* className) {
    for (HWND w = FindWindowA(className, nullptr); w;
         w = FindWindowExA(nullptr, w, className, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == processId)
            return w;
    }
    return nullptr;
}

using Screenshots = ProgramTest;

TEST_F(Screenshots, AParentsWalkThroughTheProgram) {
    WriteProductSettings({{"Prompt", "1"}, {"EnableTouchShield", "1"}, {"DisableKeyboard", "1"}});
    WriteProductUnlockWord(UnlockWord);
    // A viewing-time limit as a parent would choose it, for the settings' picture.
    const char* const limitsKey = "Software\\Orvane\\Morrowby\\Limits";
    RegSetKeyValueA(HKEY_CURRENT_USER, limitsKey, "ViewingMinutes", REG_SZ, "30", 3);
    RegSetKeyValueA(HKEY_CURRENT_USER, limitsKey, "FinishVideoMinutes", REG_SZ, "10", 3);

    MorrowbyProcess program;
    ASSERT_TRUE(program.Start());
    HWND splash = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (splash = WindowOfClass(program.ProcessId(), "SplashScreen")) != nullptr; },
        15000));
    PumpMessagesFor(1000);
    EXPECT_TRUE(SaveScreenshot(ArtifactPath("screen-splash.bmp")));
    ASSERT_TRUE(program.WaitUntilReady());

    // A single tap on the tray icon opens the menu where the pointer is.
    SetCursorPos(700, 500);
    program.PostTrayMessage(WM_LBUTTONDOWN);
    HWND menu = nullptr;
    EXPECT_TRUE(WaitUntil(
        [&] {
            return (menu = WindowOfClass(program.ProcessId(), "#32768")) != nullptr &&
                   IsWindowVisible(menu);
        },
        5000));
    PumpMessagesFor(500);
    EXPECT_TRUE(SaveScreenshot(ArtifactPath("screen-tray-menu.bmp")));
    PostMessageA(program.Window(), WM_CANCELMODE, 0, 0);
    WaitUntil([&] { return !menu || !IsWindowVisible(menu); }, 5000);

    // Modify Settings asks for the unlock word first.
    program.PostCommand(IDM_SETTINGS);
    HWND prompt = WaitForDialogWith(program.ProcessId(), IDC_UNLOCK_WORD);
    ASSERT_NE(prompt, nullptr);
    PumpMessagesFor(500);
    EXPECT_TRUE(SaveScreenshot(ArtifactPath("screen-unlock-prompt.bmp")));
    ASSERT_TRUE(AnswerPrompt(program.ProcessId(), UnlockWord));

    HWND settings = WaitForDialogWith(program.ProcessId(), IDC_PROMPT);
    ASSERT_NE(settings, nullptr);
    PumpMessagesFor(1500); // the dialog fades in over about 0.7 s
    EXPECT_TRUE(SaveScreenshot(ArtifactPath("screen-settings.bmp")));
    PostMessageA(settings, WM_COMMAND, IDCANCEL, 0);
    WaitUntil([&] { return !IsWindow(settings); }, 5000);

    // Lock with a double-tap: ten seconds of countdown, then the cover.
    program.PostTrayMessage(WM_LBUTTONDBLCLK);
    HWND padlock = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (padlock = WindowOfClass(program.ProcessId(), "UnlockImage")) != nullptr; },
        20000));
    PumpMessagesFor(1000);
    EXPECT_TRUE(SaveScreenshot(ArtifactPath("screen-locked.bmp")));

    program.PostTrayMessage(WM_LBUTTONDBLCLK);
    ASSERT_TRUE(AnswerPrompt(program.ProcessId(), UnlockWord));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(padlock); }, 5000));

    program.PostCommand(IDM_EXIT);
    ASSERT_TRUE(AnswerPrompt(program.ProcessId(), UnlockWord));
    DWORD code = 99;
    ASSERT_TRUE(program.WaitForExit(10000, &code));
    EXPECT_EQ(code, 0u);
}

} // namespace
