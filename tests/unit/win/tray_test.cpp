// The tray icon's rules as the shell sees them, through the recorded seam:
// every test compares the whole sequence of calls the shell received.
#include "tray_test_support.h"
#include "app/main_window.h"
#include "res/resource.h"
#include "support/tray_recorder.h"
#include "support/wait.h"
#include <gtest/gtest.h>
#include <memory>
#include <string>

typedef std::vector<std::string> Sequence;

static const wchar_t* const LockTip = L"Tap icon for menu - Double-tap to Lock";
static const wchar_t* const UnlockTip = L"Double-Tap icon to UnLock";
// The add of an icon installed as start-up installs it, and its later forms.
static const std::string AddedAtStartup =
    "add callback=32778 icon=129 tip=\"Tap icon for menu - Double-tap to Lock\"";
static const std::string AddedLocked =
    "add callback=32778 icon=131 tip=\"Double-Tap icon to UnLock\"";
static const std::string UnlockTipChanged = "modify tip=\"Double-Tap icon to UnLock\"";

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
    EXPECT_EQ(RecordedTraySequence(), Sequence{AddedAtStartup});
    const NOTIFYICONDATAW& add = RecordedTrayCalls().at(0).data;
    EXPECT_EQ(add.cbSize, sizeof(NOTIFYICONDATAW));
    EXPECT_EQ(add.hWnd, owner);
    EXPECT_EQ(add.uID, (UINT)IDR_TRAYMENU);
    // The menu other modules change is the tray menu, loaded by Install.
    ASSERT_TRUE(tray->Menu());
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(tray->Menu(), 0)), 6);
    char className[64] = "";
    GetClassNameA(tray->HiddenWindow(), className, sizeof className);
    EXPECT_STREQ(className, "TrayIconClass");
}

TEST_F(TrayTest, WithoutAParentTheHiddenWindowGetsTheCallbacks) {
    EXPECT_TRUE(InstallLikeStartup(*tray, nullptr, LockTip));
    EXPECT_EQ(RecordedTraySequence(), Sequence{AddedAtStartup});
    EXPECT_EQ(RecordedTrayCalls().at(0).data.hWnd, tray->HiddenWindow());
    // A right click through the hidden window is answered, and opens nothing.
    EXPECT_EQ(SendMessageA(tray->HiddenWindow(), TrayCallbackMessage, IDR_TRAYMENU, WM_RBUTTONDOWN),
              1);
}

TEST_F(TrayTest, BalloonGivenToInstallGoesWithTheAddAndIsNotSentAgain) {
    EXPECT_TRUE(InstallLikeStartup(*tray, owner, LockTip, FALSE, L"Hello", L"Title"));
    EXPECT_TRUE(tray->SetTrayTooltip(UnlockTip));
    EXPECT_EQ(RecordedTraySequence(),
              (Sequence{AddedAtStartup + " balloon=\"Hello\" title=\"Title\" timeout=10000",
                        UnlockTipChanged}));
    EXPECT_STREQ(RecordedTrayCalls().at(1).data.szInfo, L"");
}

TEST_F(TrayTest, BeforeInstallNothingReachesTheShell) {
    EXPECT_FALSE(tray->SetTrayIcon((UINT)IDI_LOCKED));
    EXPECT_FALSE(tray->SetTrayTooltip(UnlockTip));
    EXPECT_TRUE(tray->RemoveFromTray());
    EXPECT_EQ(RecordedTraySequence(), Sequence{});
}

TEST_F(TrayTest, ChangesAreSentWhileShowing) {
    ASSERT_TRUE(InstallLikeStartup(*tray, owner, LockTip));
    EXPECT_TRUE(tray->SetTrayIcon((UINT)IDI_LOCKED));
    EXPECT_TRUE(tray->SetTrayTooltip(UnlockTip));
    // The loaded icon is given back after the change; the icon data keeps a
    // picture of its own, still alive and showing the padlock.
    EXPECT_EQ(RecordedTraySequence(),
              (Sequence{AddedAtStartup, "modify icon=131", UnlockTipChanged}));
    EXPECT_NE(ResourceIconPixels(IDI_LOCKED), ResourceIconPixels(IDI_MORROWBY));
}

TEST_F(TrayTest, AFailedAddKeepsChangesUntilTheNextAdd) {
    StartTrayRecording(false, FALSE);
    EXPECT_FALSE(InstallLikeStartup(*tray, owner, LockTip));
    // Hidden now: the changes are stored and reported as done.
    EXPECT_TRUE(tray->SetTrayIcon((UINT)IDI_LOCKED));
    EXPECT_TRUE(tray->SetTrayTooltip(UnlockTip));
    EXPECT_EQ(RecordedTraySequence(), Sequence{AddedAtStartup});

    // The shell tells every window the work area changed: the add is tried
    // again, with the changes. Showing then, a second notice adds no second
    // icon, and changes go straight to the shell.
    StartTrayRecording(false, TRUE);
    SendToHiddenWindow(WM_SETTINGCHANGE, SPI_SETWORKAREA);
    SendToHiddenWindow(WM_SETTINGCHANGE, SPI_SETWORKAREA);
    EXPECT_TRUE(tray->SetTrayTooltip(LockTip));
    EXPECT_EQ(RecordedTraySequence(),
              (Sequence{AddedLocked, "modify tip=\"Tap icon for menu - Double-tap to Lock\""}));
}

TEST_F(TrayTest, RemovingTwiceCallsTheShellOnce) {
    ASSERT_TRUE(InstallLikeStartup(*tray, owner, LockTip));
    EXPECT_TRUE(tray->RemoveFromTray());
    EXPECT_TRUE(tray->RemoveFromTray());
    EXPECT_EQ(RecordedTraySequence(), (Sequence{AddedAtStartup, "delete"}));
    EXPECT_EQ(RecordedTrayCalls().at(1).data.uID, (UINT)IDR_TRAYMENU);
    EXPECT_EQ(RecordedTrayCalls().at(1).data.hWnd, owner);
}

TEST_F(TrayTest, DestructionRemovesTheIconAndItsWindow) {
    ASSERT_TRUE(InstallLikeStartup(*tray, owner, LockTip));
    HWND hidden = tray->HiddenWindow();
    tray.reset();
    EXPECT_EQ(RecordedTraySequence(), (Sequence{AddedAtStartup, "delete"}));
    EXPECT_FALSE(IsWindow(hidden));
}

TEST_F(TrayTest, AnEmptyBalloonStillSendsTheBalloonFlag) {
    ASSERT_TRUE(InstallLikeStartup(*tray, owner, LockTip));
    EXPECT_TRUE(tray->ShowTrayBalloon(L" Now locked ", nullptr, 0, 10));
    EXPECT_TRUE(tray->ShowTrayBalloon(L"", nullptr, 0, 10));
    EXPECT_EQ(RecordedTraySequence(),
              (Sequence{AddedAtStartup, "modify balloon=\" Now locked \" timeout=10000",
                        "modify balloon=\"\" timeout=10000"}));
}

TEST_F(TrayTest, BalloonsReachTheShellEvenWhileHidden) {
    StartTrayRecording(false, FALSE);
    EXPECT_FALSE(InstallLikeStartup(*tray, owner, LockTip));
    StartTrayRecording(false, TRUE);
    EXPECT_TRUE(tray->ShowTrayBalloon(L" 5 seconds ", nullptr, 0, 10));
    EXPECT_EQ(RecordedTraySequence(), Sequence{"modify balloon=\" 5 seconds \" timeout=10000"});
}

TEST_F(TrayTest, LongTextsAreCutAtTheirFields) {
    ASSERT_TRUE(InstallLikeStartup(*tray, owner, std::wstring(200, L'i').c_str()));
    EXPECT_TRUE(tray->SetTrayTooltip(std::wstring(200, L't').c_str()));
    EXPECT_TRUE(tray->ShowTrayBalloon(std::wstring(300, L'b').c_str(),
                                      std::wstring(100, L'h').c_str(), NIIF_INFO, 10));
    // The tooltip keeps 127 characters, the balloon 255 and its title 63.
    EXPECT_EQ(RecordedTraySequence(),
              (Sequence{"add callback=32778 icon=129 tip=\"" + std::string(127, 'i') + "\"",
                        "modify tip=\"" + std::string(127, 't') + "\"",
                        "modify balloon=\"" + std::string(255, 'b') + "\" title=\"" +
                            std::string(63, 'h') + "\" infoflags=1 timeout=10000"}));
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

// The texts go to the shell as they are, whatever the ANSI code page: no
// letter of another script becomes a question mark on the way.
TEST_F(TrayTest, TextsOfAnyScriptReachTheShellUnchanged) {
    ASSERT_TRUE(InstallLikeStartup(*tray, owner, L"\u0417\u0430\u043c\u043e\u043a"));
    EXPECT_TRUE(tray->ShowTrayBalloon(L" \u9501\u5b9a ", nullptr, 0, 10));
    EXPECT_EQ(RecordedTraySequence(),
              (Sequence{"add callback=32778 icon=129 tip=\"\u0417\u0430\u043c\u043e\u043a\"",
                        "modify balloon=\" \u9501\u5b9a \" timeout=10000"}));
}

TEST_F(TrayTest, ARecreatedTaskbarGetsTheIconBackAsItIsNow) {
    ASSERT_TRUE(InstallLikeStartup(*tray, owner, LockTip));
    // Locked: the padlock icon and its tooltip.
    ASSERT_TRUE(tray->SetTrayIcon((UINT)IDI_LOCKED));
    ASSERT_TRUE(tray->SetTrayTooltip(UnlockTip));
    RecordedTrayCalls().clear();

    // A restarted shell tells every top-level window, as a broadcast.
    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    WaitUntil([&] { return !RecordedTrayCalls().empty(); }, 2000);
    PumpMessagesFor(100);
    EXPECT_EQ(RecordedTraySequence(), Sequence{AddedLocked});
    ASSERT_FALSE(RecordedTrayCalls().empty());
    EXPECT_EQ(RecordedTrayCalls()[0].data.hWnd, owner);
    EXPECT_EQ(RecordedTrayCalls()[0].data.uID, (UINT)IDR_TRAYMENU);

    // A work-area change alone must not add a second icon; a second restart
    // of the shell brings it back again.
    SendToHiddenWindow(WM_SETTINGCHANGE, SPI_SETWORKAREA);
    SendToHiddenWindow(RegisterWindowMessageA("TaskbarCreated"));
    EXPECT_EQ(RecordedTraySequence(), (Sequence{AddedLocked, AddedLocked}));
}

TEST_F(TrayTest, ARemovedIconStaysAwayWhenTheTaskbarReturns) {
    ASSERT_TRUE(InstallLikeStartup(*tray, owner, LockTip));
    ASSERT_TRUE(tray->RemoveFromTray());
    SendToHiddenWindow(RegisterWindowMessageA("TaskbarCreated"));
    SendToHiddenWindow(WM_SETTINGCHANGE, SPI_SETWORKAREA);
    EXPECT_EQ(RecordedTraySequence(), (Sequence{AddedAtStartup, "delete"}));
}
