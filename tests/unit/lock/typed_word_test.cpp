// The unlock word typed anywhere while the keyboard is locked: the matcher,
// and keys read as the prompt would have received them.
#include "lock/typed_word.h"
#include "settings/settings_record.h"
#include <gtest/gtest.h>
#include <cctype>

namespace {

TEST(WordMatcher, FindsTheWordAnywhereAndRestartsFromWhatCanStillBeginIt) {
    const struct {
        const wchar_t* word;
        const wchar_t* typed;
        int completedAt; // the typed character that completes the word, or -1
    } rows[] = {
        {L"tiger", L"xxtiger", 6}, {L"tiger", L"titiger", 6},    {L"tiger", L"tigtiger", 7},
        {L"aab", L"aaab", 3},      {L"abcabd", L"abcabcabd", 8}, {L"tiger", L"tigre", -1},
        {L"tiger", L"Tiger", -1},  {L"", L"anything", -1},
    };
    for (const auto& row : rows) {
        WordMatcher matcher;
        matcher.Start(row.word);
        int completedAt = -1;
        for (int i = 0; row.typed[i] && completedAt < 0; i++)
            if (matcher.Feed(row.typed[i]))
                completedAt = i;
        EXPECT_EQ(completedAt, row.completedAt) << row.word << " " << row.typed;
    }
}

void CALLBACK ForgetTimer(HWND window, UINT, UINT_PTR id, DWORD) {
    KillTimer(window, id);
}

// Keys as written: a capital or digit is a key tapped, + and - press and let
// go of Shift, # taps Caps Lock, < presses an arrow, % taps Ctrl, and a small
// letter is a character an on-screen keyboard sends (VK_PACKET).
bool Types(const char* word, const char* before, const char* keys) {
    SettingsRecord settings;
    settings.Password = word;
    settings.PasswordBefore = before;
    TypedUnlockWord listener;
    listener.Listen(settings, nullptr, ForgetTimer);
    bool typed = false;
    auto event = [&](DWORD vk, bool up, DWORD scan = 0) {
        KBDLLHOOKSTRUCT key = {vk, scan, up ? (DWORD)LLKHF_UP : 0, 0, 0};
        typed = listener.OnKey(key) || typed;
    };
    for (const char* key = keys; *key; key++) {
        const DWORD tapped = *key == '#' ? VK_CAPITAL : *key == '%' ? VK_LCONTROL : *key;
        if (*key == '+' || *key == '-')
            event(VK_LSHIFT, *key == '-');
        else if (*key == '<')
            event(VK_LEFT, false);
        else if (islower(*key))
            event(VK_PACKET, false, (DWORD)*key);
        else {
            event(tapped, false);
            event(tapped, true);
        }
    }
    return typed;
}

// The US layout of this test's thread.
TEST(TypedUnlockWord, ReadsKeysAsThePromptWouldHaveReceivedThem) {
    if (GetKeyState(VK_CAPITAL) & 1)
        GTEST_SKIP() << "Caps Lock is on";
    EXPECT_TRUE(Types("tiger", "", "TIGER"));
    EXPECT_TRUE(Types("Tiger", "", "+T-IGER"));
    EXPECT_FALSE(Types("Tiger", "", "+TI-GER"));
    EXPECT_TRUE(Types("TIGER", "", "#TIGER"));
    EXPECT_TRUE(Types("tiger", "", "##TIGER"));
    EXPECT_TRUE(Types("tIGER", "", "#+T-IGER")); // Shift under Caps Lock
    EXPECT_TRUE(Types("a1!b", "", "A1+1-B"));
    EXPECT_FALSE(Types("tiger", "", "TI<GER")); // a key that types nothing breaks the word
    EXPECT_TRUE(Types("tiger", "", "TI%GER"));  // Ctrl types nothing and breaks nothing
    EXPECT_TRUE(Types("word", "", "word"));
    EXPECT_FALSE(Types("cat", "", "CAT")); // shorter than four: not listened for
    EXPECT_TRUE(Types("pear", "", "PEAR"));
    EXPECT_TRUE(Types("zzzz", "tiger", "TIGER")); // the stored word's other reading
    EXPECT_FALSE(Types("", "", "TIGER"));
}

} // namespace
