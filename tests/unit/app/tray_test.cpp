// The tray icon's rules as the shell sees them, through the recorded seam.
#include "tray_test_support.h"
#include "app/app_state.h"
#include "res/resource.h"
#include "support/tray_recorder.h"
#include "support/wait.h"
#include <gtest/gtest.h>
#include <memory>
#include <string>

static const char* const LockTip = "Tap icon for menu - Double-tap to Lock";
static const char* const UnlockTip = "Double-Tap icon to UnLock";

class TrayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        StartTrayRecording();
        owner = CreateTrayOwnerWindow();
        ASSERT_TRUE(owner);
        tray.reset(new CSystemTray);
    }
    void TearDown() override {
        tray.reset();
        DestroyWindow(owner);
        StopTrayRecording();
    }
    std::vector<NotifyCall> CallsWith(DWORD message) {
        std::vector<NotifyCall> found;
        for (const NotifyCall& call : RecordedTrayCalls())
            if (call.message == message)
                found.push_back(call);
        return found;
    }
    void SendToHiddenWindow(UINT message, WPARAM wParam = 0) {
        ASSERT_TRUE(IsWindow(tray->HiddenWindow()));
        // Sent, not posted: WM_SETTINGCHANGE carries a pointer and cannot be posted.
        SendMessageA(tray->HiddenWindow(), message, wParam, 0);
    }
    HWND owner = nullptr;
    std::unique_ptr<CSystemTray> tray;
};

TEST_F(TrayTest, InstallAddsTheIconOnceWithTheStartupArguments) {
    EXPECT_TRUE(InstallLikeStartup(*tray, owner, LockTip));
    ASSERT_EQ(RecordedTrayCalls().size(), 1u);
    const NotifyCall& add = RecordedTrayCalls()[0];
    EXPECT_EQ(add.message, (DWORD)NIM_ADD);
    EXPECT_EQ(add.data.cbSize, sizeof(NOTIFYICONDATAA));
    EXPECT_EQ(add.data.uFlags, (UINT)(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(add.data.hWnd, owner);
    EXPECT_EQ(add.data.uID, (UINT)IDR_TRAYMENU);
    EXPECT_EQ(add.data.uCallbackMessage, TrayCallbackMessage);
    EXPECT_STREQ(add.data.szTip, LockTip);
    EXPECT_EQ(IconPixels(add.data.hIcon),
              IconPixels(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MORROWBY))));
    // The menu other modules change is the tray menu, loaded by Install.
    ASSERT_TRUE(tray->Menu());
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(tray->Menu(), 0)), 6);
    char className[64] = "";
    GetClassNameA(tray->HiddenWindow(), className, sizeof className);
    EXPECT_STREQ(className, "TrayIconClass");
}

TEST_F(TrayTest, WithoutAParentTheHiddenWindowGetsTheCallbacks) {
    EXPECT_TRUE(InstallLikeStartup(*tray, nullptr, LockTip));
    ASSERT_EQ(RecordedTrayCalls().size(), 1u);
    EXPECT_EQ(RecordedTrayCalls()[0].data.hWnd, tray->HiddenWindow());
    // A right click through the hidden window is answered, and opens nothing.
    EXPECT_EQ(SendMessageA(tray->HiddenWindow(), TrayCallbackMessage, IDR_TRAYMENU, WM_RBUTTONDOWN),
              1);
}

TEST_F(TrayTest, BalloonGivenToInstallGoesWithTheAddAndIsNotSentAgain) {
    EXPECT_TRUE(InstallLikeStartup(*tray, owner, LockTip, FALSE, "Hello", "Title"));
    ASSERT_EQ(RecordedTrayCalls().size(), 1u);
    const NOTIFYICONDATAA& add = RecordedTrayCalls()[0].data;
    EXPECT_EQ(add.uFlags, (UINT)(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO));
    EXPECT_STREQ(add.szInfo, "Hello");
    EXPECT_STREQ(add.szInfoTitle, "Title");
    EXPECT_EQ(add.uTimeout, 10000u);
    EXPECT_TRUE(tray->SetTrayTooltip(UnlockTip));
    ASSERT_EQ(RecordedTrayCalls().size(), 2u);
    EXPECT_STREQ(RecordedTrayCalls()[1].data.szInfo, "");
}

TEST_F(TrayTest, BeforeInstallNothingReachesTheShell) {
    EXPECT_FALSE(tray->SetTrayIcon((UINT)IDI_LOCKED));
    EXPECT_FALSE(tray->SetTrayTooltip(UnlockTip));
    EXPECT_TRUE(tray->RemoveFromTray());
    EXPECT_TRUE(RecordedTrayCalls().empty());
}

TEST_F(TrayTest, ChangesAreSentWhileShowing) {
    ASSERT_TRUE(InstallLikeStartup(*tray, owner, LockTip));
    EXPECT_TRUE(tray->SetTrayIcon((UINT)IDI_LOCKED));
    EXPECT_TRUE(tray->SetTrayTooltip(UnlockTip));
    std::vector<NotifyCall> modifies = CallsWith(NIM_MODIFY);
    ASSERT_EQ(modifies.size(), 2u);
    EXPECT_EQ(modifies[0].data.uFlags, (UINT)NIF_ICON);
    EXPECT_EQ(modifies[1].data.uFlags, (UINT)NIF_TIP);
    EXPECT_STREQ(modifies[1].data.szTip, UnlockTip);
    // The loaded icon is given back after the change; the icon data keeps a
    // picture of its own, still alive and showing the padlock.
    EXPECT_EQ(IconPixels(modifies[0].data.hIcon), ResourceIconPixels(IDI_LOCKED));
    EXPECT_NE(ResourceIconPixels(IDI_LOCKED), ResourceIconPixels(IDI_MORROWBY));
}

TEST_F(TrayTest, AFailedAddKeepsChangesUntilTheNextAdd) {
    StartTrayRecording(false, FALSE);
    EXPECT_FALSE(InstallLikeStartup(*tray, owner, LockTip));
    // Hidden now: the changes are stored and reported as done.
    EXPECT_TRUE(tray->SetTrayIcon((UINT)IDI_LOCKED));
    EXPECT_TRUE(tray->SetTrayTooltip(UnlockTip));
    EXPECT_EQ(RecordedTrayCalls().size(), 1u);

    // The shell tells every window the work area changed: the add is tried again.
    StartTrayRecording(false, TRUE);
    SendToHiddenWindow(WM_SETTINGCHANGE, SPI_SETWORKAREA);
    std::vector<NotifyCall> adds = CallsWith(NIM_ADD);
    ASSERT_EQ(adds.size(), 1u);
    EXPECT_EQ(adds[0].data.uFlags, (UINT)(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_STREQ(adds[0].data.szTip, UnlockTip);
    EXPECT_EQ(IconPixels(adds[0].data.hIcon), ResourceIconPixels(IDI_LOCKED));

    // Showing now: changes go straight to the shell, and no second icon appears.
    SendToHiddenWindow(WM_SETTINGCHANGE, SPI_SETWORKAREA);
    EXPECT_EQ(CallsWith(NIM_ADD).size(), 1u);
    EXPECT_TRUE(tray->SetTrayTooltip(LockTip));
    EXPECT_EQ(CallsWith(NIM_MODIFY).size(), 1u);
}

TEST_F(TrayTest, RemovingTwiceCallsTheShellOnce) {
    ASSERT_TRUE(InstallLikeStartup(*tray, owner, LockTip));
    EXPECT_TRUE(tray->RemoveFromTray());
    EXPECT_TRUE(tray->RemoveFromTray());
    std::vector<NotifyCall> deletes = CallsWith(NIM_DELETE);
    ASSERT_EQ(deletes.size(), 1u);
    EXPECT_EQ(deletes[0].data.uID, (UINT)IDR_TRAYMENU);
    EXPECT_EQ(deletes[0].data.hWnd, owner);
}

TEST_F(TrayTest, DestructionRemovesTheIconAndItsWindow) {
    ASSERT_TRUE(InstallLikeStartup(*tray, owner, LockTip));
    HWND hidden = tray->HiddenWindow();
    tray.reset();
    EXPECT_EQ(CallsWith(NIM_DELETE).size(), 1u);
    EXPECT_FALSE(IsWindow(hidden));
}

TEST_F(TrayTest, AnEmptyBalloonStillSendsTheBalloonFlag) {
    ASSERT_TRUE(InstallLikeStartup(*tray, owner, LockTip));
    EXPECT_TRUE(tray->ShowTrayBalloon(" Now locked ", nullptr, 0, 10));
    EXPECT_TRUE(tray->ShowTrayBalloon("", nullptr, 0, 10));
    std::vector<NotifyCall> modifies = CallsWith(NIM_MODIFY);
    ASSERT_EQ(modifies.size(), 2u);
    EXPECT_STREQ(modifies[0].data.szInfo, " Now locked ");
    EXPECT_EQ(modifies[1].data.uFlags, (UINT)NIF_INFO);
    EXPECT_STREQ(modifies[1].data.szInfo, "");
    EXPECT_STREQ(modifies[1].data.szInfoTitle, "");
    EXPECT_EQ(modifies[1].data.uTimeout, 10000u);
}

TEST_F(TrayTest, BalloonsReachTheShellEvenWhileHidden) {
    StartTrayRecording(false, FALSE);
    EXPECT_FALSE(InstallLikeStartup(*tray, owner, LockTip));
    StartTrayRecording(false, TRUE);
    EXPECT_TRUE(tray->ShowTrayBalloon(" 5 seconds ", nullptr, 0, 10));
    EXPECT_EQ(RecordedBalloons(), std::vector<std::string>{" 5 seconds "});
}

TEST_F(TrayTest, LongTextsAreCutAtTheirFields) {
    ASSERT_TRUE(InstallLikeStartup(*tray, owner, std::string(200, 'i').c_str()));
    EXPECT_TRUE(tray->SetTrayTooltip(std::string(200, 't').c_str()));
    EXPECT_TRUE(tray->ShowTrayBalloon(std::string(300, 'b').c_str(), std::string(100, 'h').c_str(),
                                      NIIF_INFO, 10));
    const std::vector<NotifyCall>& calls = RecordedTrayCalls();
    ASSERT_EQ(calls.size(), 3u);
    struct Cut {
        const char* field;
        const char* text;
        char letter;
        size_t kept;
    } cuts[] = {
        {"tooltip at install", calls[0].data.szTip, 'i', 127},
        {"tooltip", calls[1].data.szTip, 't', 127},
        {"balloon text", calls[2].data.szInfo, 'b', 255},
        {"balloon title", calls[2].data.szInfoTitle, 'h', 63},
    };
    for (const Cut& cut : cuts)
        EXPECT_EQ(std::string(cut.text), std::string(cut.kept, cut.letter)) << cut.field;
    EXPECT_EQ(calls[2].data.dwInfoFlags, (DWORD)NIIF_INFO);
}

TEST_F(TrayTest, OnlyAPressOpensThePopupMenuAboveTheTouchPoint) {
    ASSERT_TRUE(InstallLikeStartup(*tray, owner, LockTip));
    struct Case {
        const char* name;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT result;
        bool opens;
    } cases[] = {
        {"left button down", IDR_TRAYMENU, WM_LBUTTONDOWN, 1, true},
        {"pointer down", IDR_TRAYMENU, WM_POINTERDOWN, 1, true},
        {"right button down", IDR_TRAYMENU, WM_RBUTTONDOWN, 1, false},
        {"right button up", IDR_TRAYMENU, WM_RBUTTONUP, 1, false},
        {"left button up", IDR_TRAYMENU, WM_LBUTTONUP, 1, false},
        {"pointer up", IDR_TRAYMENU, WM_POINTERUP, 1, false},
        {"mouse move", IDR_TRAYMENU, WM_MOUSEMOVE, 1, false},
        {"context menu", IDR_TRAYMENU, WM_CONTEXTMENU, 1, false},
        {"another icon's press", IDR_TRAYMENU + 1, WM_LBUTTONDOWN, 0, false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        ASSERT_TRUE(SetCursorPos(400, 300));
        LRESULT result = -1;
        OpenedPopup popup = NotifyAndWatchForPopup(*tray, owner, test.wParam, test.lParam, &result);
        EXPECT_EQ(result, test.result);
        EXPECT_EQ(popup.seen, test.opens);
        if (!test.opens || !popup.seen)
            continue;
        EXPECT_EQ(popup.menu, GetSubMenu(tray->Menu(), 0));
        EXPECT_EQ(popup.defaultItem, 0); // the Lock item, drawn bold
        EXPECT_EQ(popup.rect.left, 400);
        EXPECT_EQ(popup.rect.top, 290);
    }
}

TEST_F(TrayTest, ARecreatedTaskbarGetsTheIconBackAsItIsNow) {
    ASSERT_TRUE(InstallLikeStartup(*tray, owner, LockTip));
    // Locked: the padlock icon and its tooltip.
    ASSERT_TRUE(tray->SetTrayIcon((UINT)IDI_LOCKED));
    ASSERT_TRUE(tray->SetTrayTooltip(UnlockTip));
    RecordedTrayCalls().clear();

    // A restarted shell tells every top-level window, as a broadcast.
    PostMessageA(HWND_BROADCAST, TaskbarCreatedMessage, 0, 0);
    WaitUntil([&] { return !CallsWith(NIM_ADD).empty(); }, 2000);
    PumpMessagesFor(100);
    std::vector<NotifyCall> adds = CallsWith(NIM_ADD);
    ASSERT_EQ(adds.size(), 1u);
    EXPECT_EQ(adds[0].data.uFlags, (UINT)(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(adds[0].data.hWnd, owner);
    EXPECT_EQ(adds[0].data.uID, (UINT)IDR_TRAYMENU);
    EXPECT_EQ(adds[0].data.uCallbackMessage, TrayCallbackMessage);
    EXPECT_STREQ(adds[0].data.szTip, UnlockTip);
    EXPECT_EQ(IconPixels(adds[0].data.hIcon), ResourceIconPixels(IDI_LOCKED));

    // A work-area change alone must not add a second icon.
    SendToHiddenWindow(WM_SETTINGCHANGE, SPI_SETWORKAREA);
    EXPECT_EQ(CallsWith(NIM_ADD).size(), 1u);
    // A second restart of the shell brings it back again.
    SendToHiddenWindow(TaskbarCreatedMessage);
    EXPECT_EQ(CallsWith(NIM_ADD).size(), 2u);
}

TEST_F(TrayTest, ARemovedIconStaysAwayWhenTheTaskbarReturns) {
    ASSERT_TRUE(InstallLikeStartup(*tray, owner, LockTip));
    ASSERT_TRUE(tray->RemoveFromTray());
    SendToHiddenWindow(TaskbarCreatedMessage);
    SendToHiddenWindow(WM_SETTINGCHANGE, SPI_SETWORKAREA);
    EXPECT_EQ(CallsWith(NIM_ADD).size(), 1u);
}
