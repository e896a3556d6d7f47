// The viewing-time limit's stored values, read and written through the real
// registry of the test prefix, under a test key.
#include "settings/limits_store.h"
#include <windows.h>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace {

const wchar_t* const TestKey = L"Software\\Orvane\\MorrowbyTest\\Limits";

// A value as stored: none, or its type and data (a REG_DWORD of L"5" holds 53).
struct Stored {
    DWORD type;
    const wchar_t* text;
};
const Stored Missing = {REG_NONE, nullptr};
Stored Text(const wchar_t* text) {
    return {REG_SZ, text};
}

void Store(HKEY key, const wchar_t* name, const Stored& value) {
    if (value.type != REG_NONE)
        RegSetValueExW(key, name, 0, value.type, reinterpret_cast<const BYTE*>(value.text),
                       static_cast<DWORD>((wcslen(value.text) + 1) * sizeof(wchar_t)));
}

// The value's type and bytes, or "missing".
std::wstring Raw(const wchar_t* name) {
    wchar_t data[64] = {};
    DWORD type = 0, size = sizeof data - sizeof data[0];
    if (RegGetValueW(HKEY_CURRENT_USER, TestKey, name, RRF_RT_ANY | RRF_NOEXPAND, &type, data,
                     &size) != ERROR_SUCCESS)
        return L"missing";
    std::wstring bytes(data, size / sizeof(wchar_t));
    // The call adds a terminator to text that was stored without one.
    while (!bytes.empty() && bytes.back() == L'\0')
        bytes.pop_back();
    return std::to_wstring(type) + L":" + bytes;
}

struct LimitsRow {
    const char* name;
    bool keyExists;
    Stored viewing, finish;
    int viewingMinutes, finishVideoMinutes;
};

void PrintTo(const LimitsRow& row, std::ostream* out) {
    *out << row.name;
}

class LimitsKey : public ::testing::Test {
  protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, TestKey); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, TestKey); }
};
class StoredLimits : public LimitsKey, public ::testing::WithParamInterface<LimitsRow> {};

TEST_P(StoredLimits, ReadAsMinutesOrTheirDefaultsAndLeftAsTheyAre) {
    const LimitsRow row = GetParam();
    if (row.keyExists) {
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, TestKey, 0, nullptr, 0,
                                                 KEY_SET_VALUE, nullptr, &key, nullptr));
        Store(key, L"ViewingMinutes", row.viewing);
        Store(key, L"FinishVideoMinutes", row.finish);
        RegCloseKey(key);
    }
    std::wstring viewingBefore = Raw(L"ViewingMinutes"), finishBefore = Raw(L"FinishVideoMinutes");

    ViewingLimits limits = LoadViewingLimits(TestKey);

    EXPECT_EQ(row.viewingMinutes, limits.ViewingMinutes);
    EXPECT_EQ(row.finishVideoMinutes, limits.FinishVideoMinutes);
    EXPECT_EQ(viewingBefore, Raw(L"ViewingMinutes"));
    EXPECT_EQ(finishBefore, Raw(L"FinishVideoMinutes"));
    HKEY key;
    EXPECT_EQ(row.keyExists,
              RegOpenKeyExW(HKEY_CURRENT_USER, TestKey, 0, KEY_READ, &key) == ERROR_SUCCESS);
    if (row.keyExists)
        RegCloseKey(key);
}

INSTANTIATE_TEST_SUITE_P(
    Values, StoredLimits,
    ::testing::Values(LimitsRow{"NoKey", false, Missing, Missing, 0, 10},
                      LimitsRow{"NoValues", true, Missing, Missing, 0, 10},
                      LimitsRow{"FromTheDialogsLists", true, Text(L"45"), Text(L"2"), 45, 2},
                      LimitsRow{"OneMinuteThenStop", true, Text(L"1"), Text(L"0"), 1, 0},
                      LimitsRow{"ZeroIsOff", true, Text(L"0"), Text(L"15"), 0, 15},
                      LimitsRow{"LargestAndLeadingZeros", true, Text(L"600"), Text(L"007"), 600, 7},
                      LimitsRow{"TooLarge", true, Text(L"601"), Text(L"4294967301"), 0, 10},
                      LimitsRow{"Signed", true, Text(L"-5"), Text(L"+5"), 0, 10},
                      LimitsRow{"NotWholeNumbers", true, Text(L"5x"), Text(L" 2"), 0, 10},
                      LimitsRow{"NoDigits", true, Text(L"ten"), Text(L""), 0, 10},
                      LimitsRow{
                          "OtherTypes", true, {REG_DWORD, L"5"}, {REG_EXPAND_SZ, L"2"}, 0, 10},
                      LimitsRow{"OnlyTheLimit", true, Text(L"20"), Missing, 20, 10}),
    [](const ::testing::TestParamInfo<LimitsRow>& row) { return std::string(row.param.name); });

TEST_F(LimitsKey, SaveWritesBothAsDecimalTextThatLoadsBack) {
    ViewingLimits limits;
    limits.ViewingMinutes = 30;
    limits.FinishVideoMinutes = 0;
    ASSERT_TRUE(SaveViewingLimits(limits, TestKey));

    EXPECT_EQ(L"1:30", Raw(L"ViewingMinutes"));
    EXPECT_EQ(L"1:0", Raw(L"FinishVideoMinutes"));
    ViewingLimits loaded = LoadViewingLimits(TestKey);
    EXPECT_EQ(30, loaded.ViewingMinutes);
    EXPECT_EQ(0, loaded.FinishVideoMinutes);
}

} // namespace
