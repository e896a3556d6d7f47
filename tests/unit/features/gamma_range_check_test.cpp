// The machine-wide "GdiICMGammaRange" check, against the real registry of the
// test prefix (the tests may write HKEY_LOCAL_MACHINE there).
#include "features/blue_light.h"
#include <gtest/gtest.h>
#include <cstring>
#include <ostream>
#include <string>

namespace {

const char* const IcmKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ICM";

enum class Stored { Dword, Text, NoValue, NoKey };

struct RangeRow {
    const char* name;
    Stored kind;
    DWORD number;
    const char* text;
    GammaRange expected;
};

void PrintTo(const RangeRow& row, std::ostream* out) {
    *out << row.name;
}

class GammaRangeCheck : public ::testing::TestWithParam<RangeRow> {
  protected:
    void SetUp() override { RemoveIcmKey(); }
    void TearDown() override { RemoveIcmKey(); }
    static void RemoveIcmKey() { RegDeleteTreeA(HKEY_LOCAL_MACHINE, IcmKey); }
    static void Store(const RangeRow& row) {
        if (row.kind == Stored::NoKey)
            return;
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, IcmKey, 0, nullptr, 0,
                                                 KEY_SET_VALUE, nullptr, &key, nullptr));
        if (row.kind == Stored::Dword)
            RegSetValueExA(key, "GdiICMGammaRange", 0, REG_DWORD, (const BYTE*)&row.number,
                           sizeof row.number);
        if (row.kind == Stored::Text)
            RegSetValueExA(key, "GdiICMGammaRange", 0, REG_SZ, (const BYTE*)row.text,
                           (DWORD)strlen(row.text) + 1);
        RegCloseKey(key);
    }
};

TEST_P(GammaRangeCheck, ReportsWhetherStrongRampsAreAllowed) {
    const RangeRow row = GetParam();
    Store(row);
    EXPECT_EQ(row.expected, CheckGammaRangeSetting());
}

TEST_P(GammaRangeCheck, NeverCreatesOrChangesTheKey) {
    const RangeRow row = GetParam();
    Store(row);
    CheckGammaRangeSetting();
    HKEY key;
    bool exists = RegOpenKeyExA(HKEY_LOCAL_MACHINE, IcmKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (exists)
        RegCloseKey(key);
    EXPECT_EQ(row.kind != Stored::NoKey, exists);
}

INSTANTIATE_TEST_SUITE_P(
    Values, GammaRangeCheck,
    ::testing::Values(RangeRow{"Dword256", Stored::Dword, 256, "", GammaRange::Usable},
                      RangeRow{"Dword255", Stored::Dword, 255, "", GammaRange::Below256},
                      RangeRow{"Dword1024", Stored::Dword, 1024, "", GammaRange::Usable},
                      RangeRow{"Text512", Stored::Text, 0, "512", GammaRange::Usable},
                      RangeRow{"TextWithBlanksAndTail", Stored::Text, 0, "  300 levels",
                               GammaRange::Usable},
                      RangeRow{"TextNegative", Stored::Text, 0, "-512", GammaRange::Below256},
                      RangeRow{"TextUnparsable", Stored::Text, 0, "lots", GammaRange::Below256},
                      RangeRow{"TextEmpty", Stored::Text, 0, "", GammaRange::Missing},
                      RangeRow{"ValueMissing", Stored::NoValue, 0, "", GammaRange::Missing},
                      RangeRow{"KeyMissing", Stored::NoKey, 0, "", GammaRange::Unreadable}),
    [](const ::testing::TestParamInfo<RangeRow>& row) { return std::string(row.param.name); });

} // namespace
