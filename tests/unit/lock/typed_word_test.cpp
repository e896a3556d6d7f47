// The unlock word typed anywhere while the keyboard is locked: the matcher,
// and keys read as the prompt would have received them.
#include "lock/typed_word.h"
#include "res/timer_ids.h"
#include "settings/settings_record.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct MatchRow {
    const wchar_t* word;
    const wchar_t* typed;
    int completedAt; // the typed character that completes the word, or -1
};

TEST(WordMatcher, FindsTheWordAnywhereAndRestartsFromWhatCanStillBeginIt) {
    const MatchRow rows[] = {
        {L"tiger", L"tiger", 4},
        {L"tiger", L"xxtiger", 6},
        {L"tiger", L"titiger", 6}, // the second t begins the word again
        {L"tiger", L"tigtiger", 7},
        {L"abab", L"aabab", 4},
        {L"aab", L"aaab", 3},
        {L"abcabd", L"abcabcabd", 8}, // "abc" typed twice: the second is a new start
        {L"tiger", L"tigre", -1},
        {L"tiger", L"Tiger", -1}, // letter case counts
        {L"tiger", L"tige r", -1},
        {L"", L"anything", -1},
    };
    for (const MatchRow& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << "typed " << std::string(row.typed, row.typed + wcslen(row.typed)));
        WordMatcher matcher;
        matcher.Start(row.word);
        int completedAt = -1;
        for (int i = 0; row.typed[i]; i++)
            if (matcher.Feed(row.typed[i]) && completedAt < 0)
                completedAt = i;
        EXPECT_EQ(completedAt, row.completedAt);
    }
}

struct KeyStroke {
    DWORD vk;
    bool up;
    DWORD scan;
};
std::vector<KeyStroke> Letters(const char* keys) {
    std::vector<KeyStroke> strokes;
    for (const char* key = keys; *key; key++) {
        strokes.push_back({(DWORD)*key, false, 0});
        strokes.push_back({(DWORD)*key, true, 0});
    }
    return strokes;
}
std::vector<KeyStroke> operator+(std::vector<KeyStroke> first, const std::vector<KeyStroke>& then) {
    first.insert(first.end(), then.begin(), then.end());
    return first;
}
std::vector<KeyStroke> Held(DWORD modifier, std::vector<KeyStroke> keys) {
    keys.insert(keys.begin(), {modifier, false, 0});
    keys.push_back({modifier, true, 0});
    return keys;
}
const std::vector<KeyStroke> CapsLock = {{VK_CAPITAL, false, 0}, {VK_CAPITAL, true, 0}};

struct TypedRow {
    const char* name;
    const char* word;
    const char* before; // the stored word's other reading
    std::vector<KeyStroke> keys;
    bool unlocks;
};

void CALLBACK NoteTyped(HWND window, UINT, UINT_PTR id, DWORD) {
    KillTimer(window, id);
}

// Keys as the US layout of this test's window types them.
TEST(TypedUnlockWord, ReadsKeysAsThePromptWouldHaveReceivedThem) {
    if (GetKeyState(VK_CAPITAL) & 1)
        GTEST_SKIP() << "Caps Lock is on";
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    std::vector<KeyStroke> packets;
    for (wchar_t character : std::wstring(L"word"))
        packets.push_back({VK_PACKET, false, (DWORD)character});
    const TypedRow rows[] = {
        {"lower-case letters", "tiger", "", Letters("TIGER"), true},
        {"Shift for a capital", "Tiger", "", Held(VK_LSHIFT, Letters("T")) + Letters("IGER"), true},
        {"Shift let go", "Tiger", "", Held(VK_RSHIFT, Letters("TI")) + Letters("GER"), false},
        {"Caps Lock for capitals", "TIGER", "", CapsLock + Letters("TIGER"), true},
        {"Caps Lock twice", "tiger", "", CapsLock + CapsLock + Letters("TIGER"), true},
        {"Caps Lock repeating flips once", "TIGER", "",
         std::vector<KeyStroke>{
             {VK_CAPITAL, false, 0}, {VK_CAPITAL, false, 0}, {VK_CAPITAL, true, 0}} +
             Letters("TIGER"),
         true},
        {"Shift under Caps Lock", "tIGER", "",
         CapsLock + Held(VK_LSHIFT, Letters("T")) + Letters("IGER"), true},
        {"digits and shifted punctuation", "a1!b", "",
         Letters("A1") + Held(VK_LSHIFT, Letters("1")) + Letters("B"), true},
        {"an arrow breaks the word", "tiger", "",
         Letters("TI") + std::vector<KeyStroke>{{VK_LEFT, false, 0}} + Letters("GER"), false},
        {"Ctrl and Alt type nothing and break nothing", "tiger", "",
         Letters("TI") + Held(VK_LCONTROL, {}) + Held(VK_LMENU, {}) + Letters("GER"), true},
        {"characters an on-screen keyboard sends", "word", "", packets, true},
        {"a word of three never", "cat", "", Letters("CAT"), false},
        {"a word of four", "pear", "", Letters("PEAR"), true},
        {"the stored word's other reading", "zzzz", "tiger", Letters("TIGER"), true},
        {"no word", "", "", Letters("TIGER"), false},
    };
    for (const TypedRow& row : rows) {
        SCOPED_TRACE(row.name);
        SettingsRecord settings;
        settings.Password = row.word;
        settings.PasswordBefore = row.before;
        TypedUnlockWord listener;
        listener.Listen(settings, window, NoteTyped);
        bool unlocked = false;
        for (const KeyStroke& stroke : row.keys) {
            KBDLLHOOKSTRUCT key = {};
            key.vkCode = stroke.vk;
            key.scanCode = stroke.scan;
            key.flags = stroke.up ? LLKHF_UP : 0;
            unlocked = listener.OnKey(key) || unlocked;
        }
        EXPECT_EQ(unlocked, row.unlocks);
        listener.StopListening();
    }
    DestroyWindow(window);
}

} // namespace
