// The registry cache against the real registry of the test prefix, under a
// key of its own.
#include "support/registry_write_recorder.h"
#include "support/in_process_app.h"
#include "win/registry.h"
#include <gtest/gtest.h>
#include <cstring>

static const char* const TestKey = "Software\\Orvane\\MorrowbyTest\\Registry";
static const char* const OtherKey = "Software\\Orvane\\MorrowbyTest\\RegistryOther";

static void WriteRaw(const char* key, const char* name, DWORD type, const std::string& data) {
    HKEY handle;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE,
                                             nullptr, &handle, nullptr));
    EXPECT_EQ(ERROR_SUCCESS,
              RegSetValueExA(handle, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                             static_cast<DWORD>(data.size())));
    RegCloseKey(handle);
}

// False when the value is missing; otherwise its exact bytes and type.
static bool ReadRaw(const char* key, const char* name, std::string* data, DWORD* type) {
    HKEY handle;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return false;
    std::string buffer(8192, '\0');
    DWORD size = static_cast<DWORD>(buffer.size());
    LONG result =
        RegQueryValueExA(handle, name, nullptr, type, reinterpret_cast<BYTE*>(&buffer[0]), &size);
    RegCloseKey(handle);
    if (result != ERROR_SUCCESS)
        return false;
    data->assign(buffer.data(), size);
    return true;
}

static DWORD ValueCount(const char* key) {
    HKEY handle;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return 0;
    DWORD count = 0;
    RegQueryInfoKeyA(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(handle);
    return count;
}

static bool KeyPresent(const char* key) {
    HKEY handle;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

static std::string Bytes(const char* data, size_t count) {
    return std::string(data, count);
}

static std::string DwordBytes(DWORD value) {
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

class RegistryTest : public testing::Test {
  protected:
    void SetUp() override {
        DeleteRegistryTree(TestKey);
        DeleteRegistryTree(OtherKey);
    }
    void TearDown() override {
        StopRecordingRegistryWrites();
        DeleteRegistryTree(TestKey);
        DeleteRegistryTree(OtherKey);
    }
};

struct StoredValue {
    const char* name;
    DWORD type;
    std::string data;
    std::string expectedText; // what GetText gives, up to its first zero
};

static std::vector<StoredValue> StoredValues() {
    std::string longText(2047, 'L');
    std::string tooLong(2048, 'T');
    return {
        {"Plain", REG_SZ, Bytes("abc", 4), "abc"},
        {"NoTerminator", REG_SZ, Bytes("xyz", 3), "xyz"},
        {"EmptyText", REG_SZ, Bytes("", 1), ""},
        {"NoBytes", REG_SZ, std::string(), ""},
        {"ZeroInside", REG_SZ, Bytes("ab\0cd\0", 6), "ab"},
        {"DwordOne", REG_DWORD, DwordBytes(1), "1"},
        {"DwordMax", REG_DWORD, DwordBytes(4294967295u), "4294967295"},
        {"DwordZero", REG_DWORD, DwordBytes(0), "0"},
        {"Expand", REG_EXPAND_SZ, Bytes("%TEMP%", 7), ""},
        {"Multi", REG_MULTI_SZ, Bytes("first\0second\0\0", 14), "first"},
        {"Binary", REG_BINARY, Bytes("12", 2), "12"},
        {"Fits2048", REG_SZ, longText + '\0', longText},
        {"Fits2047NoTerminator", REG_SZ, longText, longText},
        {"Over2048", REG_SZ, tooLong + '\0', ""},
        {"Binary2048", REG_BINARY, std::string(2048, 'B'), std::string(2047, 'B')},
        {"Binary2049", REG_BINARY, std::string(2049, 'B'), ""},
        {"QWord", REG_QWORD, std::string(8, '\x01'), ""},
    };
}

TEST_F(RegistryTest, ReadsEveryStoredTypeAsText) {
    const std::vector<StoredValue> values = StoredValues();
    for (const StoredValue& value : values)
        WriteRaw(TestKey, value.name, value.type, value.data);

    CRegistry registry(false);
    ASSERT_TRUE(registry.Open(TestKey, HKEY_CURRENT_USER, KEY_QUERY_VALUE, false));
    for (const StoredValue& value : values) {
        SCOPED_TRACE(value.name);
        EXPECT_EQ(value.expectedText, registry.Entry(value.name)->GetText());
    }
    registry.Close();
}

TEST_F(RegistryTest, TextKeepsItsBytesAfterAZeroAndNeverReadsPastTheData) {
    WriteRaw(TestKey, "ZeroInside", REG_SZ, Bytes("ab\0cd\0", 6));
    WriteRaw(TestKey, "NoTerminator", REG_SZ, Bytes("xyz", 3));
    // Data that fills the whole buffer without a terminator: depending on the
    // system the enumeration either fails (room wanted for a terminator) or
    // hands over all 2048 bytes; the cached text must then be cut to fit.
    WriteRaw(TestKey, "Full", REG_SZ, std::string(2048, 'F'));

    CRegistry registry(false);
    ASSERT_TRUE(registry.Open(TestKey, HKEY_CURRENT_USER, KEY_QUERY_VALUE, false));
    EXPECT_EQ(Bytes("ab\0cd", 5), registry.Entry("ZeroInside")->RawText());
    EXPECT_EQ("xyz", registry.Entry("NoTerminator")->RawText());
    std::string full = registry.Entry("Full")->RawText();
    EXPECT_TRUE(full.empty() || full == std::string(2047, 'F')) << full.size();
    EXPECT_EQ(full.size(), strlen(registry.Entry("Full")->GetText()));
}

TEST_F(RegistryTest, MultiStringReadsAsItsStringsEachTerminated) {
    WriteRaw(TestKey, "Multi", REG_MULTI_SZ, Bytes("a\0bc\0\0", 6));
    CRegistry registry(false);
    ASSERT_TRUE(registry.Open(TestKey, HKEY_CURRENT_USER, KEY_QUERY_VALUE, false));
    const char* text = registry.Entry("Multi")->GetText();
    EXPECT_EQ(Bytes("a\0bc\0\0", 6), Bytes(text, 6));
}

TEST_F(RegistryTest, ValueNamesOfTwoHundredSixtyCharactersAreSkipped) {
    std::string fits(259, 'n');
    std::string tooLong(260, 'm');
    WriteRaw(TestKey, fits.c_str(), REG_SZ, Bytes("fits", 5));
    WriteRaw(TestKey, tooLong.c_str(), REG_SZ, Bytes("long", 5));
    WriteRaw(TestKey, "After", REG_SZ, Bytes("after", 6));
    WriteRaw(TestKey, "Before", REG_SZ, Bytes("before", 7));

    CRegistry registry(false);
    ASSERT_TRUE(registry.Open(TestKey, HKEY_CURRENT_USER, KEY_QUERY_VALUE, false));
    EXPECT_STREQ("fits", registry.Entry(fits.c_str())->GetText());
    EXPECT_STREQ("", registry.Entry(tooLong.c_str())->GetText());
    EXPECT_STREQ("after", registry.Entry("After")->GetText());
    EXPECT_STREQ("before", registry.Entry("Before")->GetText());
}

TEST_F(RegistryTest, EntryNamesIgnoreCase) {
    WriteRaw(TestKey, "GreenGamma", REG_SZ, Bytes("-40", 4));
    CRegistry registry(false);
    ASSERT_TRUE(registry.Open(TestKey, HKEY_CURRENT_USER, KEY_QUERY_VALUE, false));
    CRegEntry* loaded = registry.Entry("GreenGamma");
    EXPECT_EQ(loaded, registry.Entry("greengamma"));
    EXPECT_EQ(loaded, registry.Entry("GREENGAMMA"));
    EXPECT_STREQ("-40", registry.Entry("greengamma")->GetText());
}

TEST_F(RegistryTest, OpeningAKeyNeverWritesToIt) {
    for (const StoredValue& value : StoredValues())
        WriteRaw(TestKey, value.name, value.type, value.data);
    StartRecordingRegistryWrites();

    CRegistry registry(true);
    ASSERT_TRUE(registry.Open(TestKey, HKEY_CURRENT_USER, KEY_QUERY_VALUE | KEY_SET_VALUE, false));
    EXPECT_TRUE(registry.Refresh());
    EXPECT_STREQ("", registry.Entry("Missing")->GetText());
    registry.Close();

    EXPECT_TRUE(RecordedWrites().empty());
    std::string data;
    DWORD type = 0;
    EXPECT_FALSE(ReadRaw(TestKey, "Missing", &data, &type));
    EXPECT_EQ(StoredValues().size(), ValueCount(TestKey));
}

TEST_F(RegistryTest, SettersWriteThroughAtOnce) {
    CRegistry registry(true);
    ASSERT_TRUE(registry.Open(TestKey, HKEY_CURRENT_USER, KEY_QUERY_VALUE | KEY_SET_VALUE, false));
    registry.Entry("Text")->SetText("hello");
    registry.Entry("Counted")->SetText("a\0b", 3);
    registry.Entry("Number")->SetDword(4294967295u);
    const BYTE binary[] = {0, 1, 2, 0xFF};
    registry.Entry("Binary")->SetBytes(binary, sizeof binary);
    const BYTE multi[] = {'a', 0, 'b', 0, 0};
    registry.Entry("Multi")->SetMultiString(multi, sizeof multi);

    struct Expected {
        const char* name;
        DWORD type;
        std::string data;
        const char* text;
    } const expected[] = {
        {"Text", REG_SZ, Bytes("hello", 6), "hello"},
        {"Counted", REG_SZ, Bytes("a\0b", 4), "a"},
        {"Number", REG_DWORD, DwordBytes(4294967295u), "4294967295"},
        {"Binary", REG_BINARY, Bytes("\0\1\2\xFF", 4), ""},
        {"Multi", REG_MULTI_SZ, Bytes("a\0b\0\0", 5), "a"},
    };
    // Read back while the key is still open: the values are already there.
    for (const Expected& value : expected) {
        SCOPED_TRACE(value.name);
        std::string data;
        DWORD type = 0;
        ASSERT_TRUE(ReadRaw(TestKey, value.name, &data, &type));
        EXPECT_EQ(value.type, type);
        EXPECT_EQ(value.data, data);
        EXPECT_STREQ(value.text, registry.Entry(value.name)->GetText());
    }
    EXPECT_EQ(Bytes("a\0b", 3), registry.Entry("Counted")->RawText());
}

TEST_F(RegistryTest, LongTextIsCutInTheCacheButWrittenWhole) {
    std::string text(3000, 'w');
    CRegistry registry(true);
    ASSERT_TRUE(registry.Open(TestKey, HKEY_CURRENT_USER, KEY_QUERY_VALUE | KEY_SET_VALUE, false));
    registry.Entry("Long")->SetText(text.c_str());
    EXPECT_EQ(std::string(2047, 'w'), registry.Entry("Long")->GetText());
    std::string data;
    DWORD type = 0;
    ASSERT_TRUE(ReadRaw(TestKey, "Long", &data, &type));
    EXPECT_EQ(text + '\0', data);
}

TEST_F(RegistryTest, SetBytesWithNoBytesChangesNothing) {
    CRegistry registry(true);
    ASSERT_TRUE(registry.Open(TestKey, HKEY_CURRENT_USER, KEY_QUERY_VALUE | KEY_SET_VALUE, false));
    CRegEntry* entry = registry.Entry("Kept");
    entry->SetText("kept");
    StartRecordingRegistryWrites();
    const BYTE nothing[] = {7};
    entry->SetBytes(nothing, 0);
    EXPECT_TRUE(RecordedWrites().empty());
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), entry->Type());
    EXPECT_STREQ("kept", entry->GetText());
    std::string data;
    DWORD type = 0;
    ASSERT_TRUE(ReadRaw(TestKey, "Kept", &data, &type));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(Bytes("kept", 5), data);
}

TEST_F(RegistryTest, MultiStringSplitsOnlyTerminatedStrings) {
    struct Case {
        std::string data;
        std::string text; // GetText's buffer up to and including the final zero
    } const cases[] = {
        {Bytes("a\0b\0\0", 5), Bytes("a\0b\0\0", 5)},
        // The last zero is taken for the list's end, so b has no terminator.
        {Bytes("a\0b\0", 4), Bytes("a\0\0", 3)},
        {Bytes("a\0b", 3), Bytes("a\0\0", 3)},
        {Bytes("\0\0", 2), Bytes("\0\0", 2)},
        {Bytes("ab", 2), Bytes("\0", 1)},
    };
    for (const Case& item : cases) {
        CRegistry registry(false);
        CRegEntry* entry = registry.Entry("Multi");
        entry->SetMultiString(reinterpret_cast<const BYTE*>(item.data.data()),
                              static_cast<DWORD>(item.data.size()));
        EXPECT_EQ(item.text, Bytes(entry->GetText(), item.text.size()));
    }
}

TEST_F(RegistryTest, ClosedRegistryKeepsValuesInMemoryOnly) {
    StartRecordingRegistryWrites();
    CRegistry registry(true);
    registry.Entry("Memory")->SetText("only");
    EXPECT_STREQ("only", registry.Entry("Memory")->GetText());
    ASSERT_TRUE(registry.Open(TestKey, HKEY_CURRENT_USER, KEY_QUERY_VALUE | KEY_SET_VALUE, false));
    registry.Close();
    registry.Entry("AfterClose")->SetDword(3);
    EXPECT_TRUE(RecordedWrites().empty());
    EXPECT_EQ(0u, ValueCount(TestKey));
    // The cache outlives Close.
    EXPECT_STREQ("3", registry.Entry("AfterClose")->GetText());
}

TEST_F(RegistryTest, ReopeningTheSamePathKeepsTheCacheAnotherPathEmptiesIt) {
    WriteRaw(TestKey, "Gone", REG_SZ, Bytes("was here", 9));
    WriteRaw(OtherKey, "Other", REG_SZ, Bytes("other", 6));
    CRegistry registry(false);
    ASSERT_TRUE(registry.Open(TestKey, HKEY_CURRENT_USER, KEY_QUERY_VALUE, false));
    registry.Close();
    DeleteRegistryTree(TestKey);
    WriteRaw(TestKey, "New", REG_SZ, Bytes("new", 4));

    std::string sameInOtherCase = "SOFTWARE\\orvane\\MORROWBYTEST\\registry";
    ASSERT_TRUE(registry.Open(sameInOtherCase.c_str(), HKEY_CURRENT_USER, KEY_QUERY_VALUE, false));
    EXPECT_STREQ("was here", registry.Entry("Gone")->GetText());
    EXPECT_STREQ("new", registry.Entry("New")->GetText());

    ASSERT_TRUE(registry.Open(OtherKey, HKEY_CURRENT_USER, KEY_QUERY_VALUE, false));
    EXPECT_STREQ("other", registry.Entry("Other")->GetText());
    EXPECT_STREQ("", registry.Entry("Gone")->GetText());
    EXPECT_STREQ("", registry.Entry("New")->GetText());
}

TEST_F(RegistryTest, KeyExistsCreatesNothing) {
    EXPECT_FALSE(RegistryKeyExists(TestKey, HKEY_CURRENT_USER));
    EXPECT_FALSE(KeyPresent(TestKey));
    WriteRaw(TestKey, "Any", REG_SZ, Bytes("1", 2));
    EXPECT_TRUE(RegistryKeyExists(TestKey, HKEY_CURRENT_USER));
}

TEST_F(RegistryTest, OpenWithoutCreateFailsForAMissingKey) {
    CRegistry registry(false);
    registry.Entry("Cached")->SetText("cached");
    EXPECT_FALSE(registry.Open(TestKey, HKEY_CURRENT_USER, KEY_QUERY_VALUE, false));
    EXPECT_EQ(nullptr, registry.Key.Get());
    EXPECT_FALSE(KeyPresent(TestKey));
    EXPECT_FALSE(registry.Refresh());
    // A failed open keeps the recorded path and the cache.
    EXPECT_EQ(TestKey, registry.Path);
    EXPECT_STREQ("cached", registry.Entry("Cached")->GetText());
}

TEST_F(RegistryTest, OpenFailsUnderAnInvalidRoot) {
    CRegistry registry(true);
    HKEY invalidRoot = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000077));
    EXPECT_FALSE(registry.Open(TestKey, invalidRoot, KEY_QUERY_VALUE | KEY_SET_VALUE, false));
    EXPECT_EQ(nullptr, registry.Key.Get());
    EXPECT_FALSE(RegistryKeyExists(TestKey, invalidRoot));
}

TEST_F(RegistryTest, CreatesAMissingKeyWhenAsked) {
    CRegistry registry(true);
    EXPECT_TRUE(registry.Open(TestKey, HKEY_CURRENT_USER, KEY_QUERY_VALUE | KEY_SET_VALUE, true));
    EXPECT_NE(nullptr, registry.Key.Get());
    registry.Close();
    EXPECT_EQ(nullptr, registry.Key.Get());
    EXPECT_TRUE(KeyPresent(TestKey));
}
