// At sign-in the program may start before the taskbar and the icon's add
// fails. The program stays, a lock asked for at start-up engages, and the icon
// comes with the taskbar; with no taskbar for two minutes it lets go and ends.
#include "support/lock_fixture.h"
#include "app/startup.h"
#include "features/blue_light.h"
#include "lock/shield.h"

namespace {

class LateTaskbarTest : public LockFixture {
  protected:
    void SetUp() override {
        LockFixture::SetUp();
        StopInProcessApp();
        ASSERT_NE(StartInProcessApp(FALSE), nullptr); // the shell refuses: no taskbar yet
        Settings.DisableKeyboard = Settings.DisableMouse = Settings.EnableTouchShield = true;
        Settings.EnableBlueLightReduction = true;
        Settings.BlueMenu = 3;       // the tint goes with the shield
        ASSERT_TRUE(EngageAtOnce()); // lock at start-up
    }
    static void Tick() { RetryTrayIcon(MainWindow, WM_TIMER, TrayRetryTimerId, 0); }
};

TEST_F(LateTaskbarTest, TheLockEngagesAndTheIconComesWithTheTaskbar) {
    const struct {
        const char* name;
        void (*arrive)();
    } ways[] = {{"retry", Tick}, {"TaskbarCreated", [] {
                                      SendMessageA(Tray.HiddenWindow(),
                                                   RegisterWindowMessageA("TaskbarCreated"), 0, 0);
                                  }}};
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        EXPECT_NE(Lock.KeyboardHook(), nullptr);
        EXPECT_TRUE(IsWindowVisible(Shield.CoverWindow()));
        Tick();
        EXPECT_TRUE(Tray.IconMissing());
        StartTrayRecording(false, TRUE); // the taskbar is there now
        way.arrive();
        ASSERT_FALSE(Tray.IconMissing());
        // The icon comes as it is now: locked.
        EXPECT_EQ(RecordedTraySequence(),
                  std::vector<std::string>{
                      "add callback=32778 icon=131 tip=\"Double-Tap icon to UnLock\""});
        Tick();
        EXPECT_FALSE(KillTimer(MainWindow, TrayRetryTimerId)) << "the retries went on";
        TearDown();
        SetUp();
    }
}

TEST_F(LateTaskbarTest, WithoutATaskbarForTwoMinutesEverythingIsReleasedAndTheProgramEnds) {
    ASSERT_TRUE(BlueLightApplied);
    int seconds = 0;
    for (; MainWindow && seconds < 122; seconds += 2)
        Tick();
    EXPECT_GE(seconds, 100); // still waiting well into the two minutes
    EXPECT_EQ(MainWindow.Get(), nullptr);
    EXPECT_TRUE(Lock.Unlocked);
    EXPECT_TRUE(Lock.KeyboardHook() == nullptr && Lock.MouseHook() == nullptr &&
                Shield.CoverWindow() == nullptr);
    EXPECT_FALSE(BlueLightApplied);
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

} // namespace
