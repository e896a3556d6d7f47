// Every resource the program uses must be in the built morrowby.exe, with the
// ids, sizes and texts the code relies on.
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>
#include "res/resource.h"
#include "support/bitmap_pixels.h"
#include "support/morrowby_process.h"
#include "win/png_image.h"

namespace {

class ProgramResources : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        module = LoadLibraryExA(MorrowbyExePath().c_str(), nullptr,
                                LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    }
    static void TearDownTestSuite() { FreeLibrary(module); }

    static std::vector<BYTE> Resource(LPCSTR type, int id) {
        HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
        if (!found)
            return {};
        const BYTE* data = (const BYTE*)LockResource(LoadResource(module, found));
        return std::vector<BYTE>(data, data + SizeofResource(module, found));
    }

    static HMODULE module;
};
HMODULE ProgramResources::module = nullptr;

TEST_F(ProgramResources, ExecutableLoads) {
    ASSERT_NE(module, nullptr) << MorrowbyExePath();
}

struct BitmapCase {
    int id;
    int width, height, bits;
};

TEST_F(ProgramResources, BitmapsHaveTheirSizes) {
    const BitmapCase cases[] = {
        {IDB_SPLASH, 531, 449, 8}, {IDB_PADLOCK, 128, 128, 24}, {IDB_EYE, 16, 13, 32}};
    for (const BitmapCase& c : cases) {
        std::vector<BYTE> data = Resource(RT_BITMAP, c.id);
        ASSERT_GE(data.size(), sizeof(BITMAPINFOHEADER)) << "bitmap " << c.id;
        const BITMAPINFOHEADER* header = (const BITMAPINFOHEADER*)data.data();
        EXPECT_EQ(header->biWidth, c.width) << "bitmap " << c.id;
        EXPECT_EQ(abs(header->biHeight), c.height) << "bitmap " << c.id;
        EXPECT_EQ(header->biBitCount, c.bits) << "bitmap " << c.id;
    }
}

// The magenta of the splash, the padlock and the moon is a color key: only
// RGB(255, 0, 255) exactly is see-through. Their corners must be exactly
// magenta, or a box would show around the shapes, and no pixel may come
// close to it, or it would show as a pink speck or halo along the edges.
// Every scale is drawn: the bitmaps at 100 % load both ways the program
// loads bitmaps, the PNG resources decode through the imaging component.
struct KeyedPicture {
    int id;
    bool png;
    int width, height;
};

bool NearKey(COLORREF color) {
    return color != RGB(255, 0, 255) &&
           (255 - GetRValue(color)) + GetGValue(color) + (255 - GetBValue(color)) < 96;
}

void ExpectKeyed(const BitmapPixels& pixels, const KeyedPicture& c, const char* how) {
    ASSERT_EQ(pixels.width, c.width) << c.id << how;
    ASSERT_EQ(pixels.height, c.height) << c.id << how;
    const POINT corners[] = {
        {0, 0}, {c.width - 1, 0}, {0, c.height - 1}, {c.width - 1, c.height - 1}};
    for (POINT corner : corners)
        EXPECT_EQ(pixels.At(corner.x, corner.y), RGB(255, 0, 255))
            << c.id << how << " at " << corner.x << "," << corner.y;
    size_t nearKey = std::count_if(pixels.colors.begin(), pixels.colors.end(), NearKey);
    EXPECT_EQ(nearKey, 0u) << c.id << how;
}

TEST_F(ProgramResources, KeyedPicturesHaveExactMagentaAtEveryScale) {
    const KeyedPicture cases[] = {
        {IDB_SPLASH, false, 531, 449},       {IDPNG_SPLASH_125, true, 664, 561},
        {IDPNG_SPLASH_150, true, 797, 674},  {IDPNG_SPLASH_175, true, 929, 786},
        {IDPNG_SPLASH_200, true, 1062, 898}, {IDB_PADLOCK, false, 128, 128},
        {IDPNG_PADLOCK_125, true, 160, 160}, {IDPNG_PADLOCK_150, true, 192, 192},
        {IDPNG_PADLOCK_175, true, 224, 224}, {IDPNG_PADLOCK_200, true, 256, 256},
        {IDPNG_MOON_100, true, 128, 128},    {IDPNG_MOON_125, true, 160, 160},
        {IDPNG_MOON_150, true, 192, 192},    {IDPNG_MOON_175, true, 224, 224},
        {IDPNG_MOON_200, true, 256, 256}};
    for (const KeyedPicture& c : cases) {
        if (c.png) {
            // Stored compressed: a PNG in the file, not a bitmap.
            std::vector<BYTE> data = Resource("PNG", c.id);
            ASSERT_GE(data.size(), 8u) << c.id;
            EXPECT_EQ(memcmp(data.data(), "\x89PNG\r\n\x1a\n", 8), 0) << c.id;
            ImageBitmap decoded = DecodePngResource(module, c.id);
            ASSERT_TRUE(decoded) << c.id;
            EXPECT_EQ(decoded.Width(), c.width) << c.id;
            EXPECT_EQ(decoded.Height(), c.height) << c.id;
            ExpectKeyed(ReadBitmapPixels(decoded.Get()), c, " decoded");
            continue;
        }
        HBITMAP plain = LoadBitmapA(module, MAKEINTRESOURCEA(c.id));
        ExpectKeyed(ReadBitmapPixels(plain), c, " by LoadBitmapA");
        DeleteObject(plain);
        HBITMAP section = (HBITMAP)LoadImageA(module, MAKEINTRESOURCEA(c.id), IMAGE_BITMAP, 0, 0,
                                              LR_CREATEDIBSECTION);
        ExpectKeyed(ReadBitmapPixels(section), c, " as a DIB section");
        DeleteObject(section);
    }
}

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width, height, colors, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST_F(ProgramResources, IconsHaveEverySize) {
    for (int id : {IDI_MORROWBY, IDI_LOCKED}) {
        std::vector<BYTE> group = Resource(RT_GROUP_ICON, id);
        ASSERT_GE(group.size(), 6u) << "icon " << id;
        WORD count = *(const WORD*)(group.data() + 4);
        std::vector<int> sizes;
        for (WORD i = 0; i < count; i++) {
            const IconGroupEntry* entry =
                (const IconGroupEntry*)(group.data() + 6 + i * sizeof(IconGroupEntry));
            sizes.push_back(entry->width == 0 ? 256 : entry->width);
        }
        for (int size : {16, 24, 32, 48, 64, 128, 256}) {
            EXPECT_NE(std::find(sizes.begin(), sizes.end(), size), sizes.end())
                << "icon " << id << " lacks " << size;
            // The larger frames are stored PNG-compressed: each must still
            // decode to an image of its own size.
            HICON icon = (HICON)LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0);
            ASSERT_NE(icon, nullptr) << "icon " << id << " at " << size;
            ICONINFO info = {};
            BITMAP color = {};
            ASSERT_TRUE(GetIconInfo(icon, &info));
            GetObjectA(info.hbmColor, sizeof color, &color);
            EXPECT_EQ(color.bmWidth, size) << "icon " << id;
            EXPECT_EQ(color.bmHeight, size) << "icon " << id;
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(icon);
        }
    }
}

// Blanks at either end are part of a text; a %s or %d is filled in whole.
TEST_F(ProgramResources, StringTableHoldsTheProgramTexts) {
    const std::pair<int, const wchar_t*> texts[] = {
        {IDS_APP_TITLE, L"Morrowby"},
        {IDS_MAIN_CLASS, L"MORROWBY"},
        {IDS_UNLOCK_ITEM, L"UnLock Keyboard/Mouse/Touch"},
        {IDS_LOCK_ITEM, L"Lock Keyboard/Mouse/Touch"},
        {IDS_UNLOCK_TIP, L"Double-Tap icon to UnLock"},
        {IDS_LOCK_TIP, L"Tap icon for menu - Double-tap to Lock"},
        {IDS_ENABLE_BLUE, L"Enable Blue Light Reduction"},
        {IDS_DISABLE_BLUE, L"Disable Blue Light Reduction"},
        {IDS_ALREADY_RUNNING, L"%s is already running"},
        {IDS_STARTING, L"Starting application..."},
        {IDS_MINIMIZING, L"Minimizing to system tray"},
        {IDS_SETTINGS_UNREADABLE, L"SETTINGS: The software can't read the settings registry"},
        {IDS_VERSION_LINE, L"Version %s"},
        {IDS_ERROR_CAPTION, L"Error"},
        {IDS_REGISTER_CLASS_FAILED, L"Failed to register class - error %d"},
        {IDS_CREATE_WINDOW_FAILED, L"Failed to create window- error %d"},
        {IDS_BALLOON_TEN_SECONDS, L" 10 seconds until lock "},
        {IDS_BALLOON_FIVE_SECONDS, L" 5 seconds "},
        {IDS_BALLOON_LOCKED, L" Now locked "},
        {IDS_BALLOON_NO_OPTIONS, L" Check settings: No locking options selected "},
        {IDS_UNLOCK_WORD_CHECK, L"Unlock Word Check"},
        {IDS_WORD_MISMATCH, L"The unlock word did not match"},
        {IDS_WORDS_DIFFER, L"The two unlock words do not match"},
        {IDS_RESTART_CAPTION, L"Computer Restart"},
        {IDS_RESTART_NEEDED, L"A computer restart is needed before using Blue Light Reduction"},
        {IDS_BLUE_ALWAYS, L"Always"},
        {IDS_BLUE_MENU, L"Menu"},
        {IDS_BLUE_WITH_SHIELD, L"w/ Shield"},
        {IDS_UNLOCK_WORD_HINT, L"4+ chars: type to unlock"},
    };
    for (const auto& text : texts) {
        wchar_t buffer[100] = L"";
        LoadStringW(module, text.first, buffer, 100);
        EXPECT_STREQ(buffer, text.second) << "string " << text.first;
    }
}

std::vector<std::pair<UINT, std::string>> MenuItems(HMENU menu) {
    std::vector<std::pair<UINT, std::string>> items;
    for (int i = 0; i < GetMenuItemCount(menu); i++) {
        char text[100] = "";
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
        item.dwTypeData = text;
        item.cch = sizeof text;
        GetMenuItemInfoA(menu, i, TRUE, &item);
        items.push_back({(item.fType & MFT_SEPARATOR) ? 0 : item.wID, text});
    }
    return items;
}

TEST_F(ProgramResources, TrayMenuHasItsItemsInOrder) {
    HMENU menu = LoadMenuA(module, MAKEINTRESOURCEA(IDR_TRAYMENU));
    ASSERT_NE(menu, nullptr);
    std::vector<std::pair<UINT, std::string>> expected = {
        {IDM_LOCK, "&Lock Keyboard/Mouse/Touch"},
        {IDM_BLUELIGHT, "Enable &Blue Light Reduction"},
        {0, ""},
        {IDM_SETTINGS, "&Modify Settings"},
        {IDM_ABOUT, "&About Morrowby..."},
        {IDM_EXIT, "&Exit"}};
    EXPECT_EQ(MenuItems(GetSubMenu(menu, 0)), expected);
    DestroyMenu(menu);
}

TEST_F(ProgramResources, MainMenuHasFileAndHelp) {
    HMENU menu = LoadMenuA(module, MAKEINTRESOURCEA(IDR_MAINMENU));
    ASSERT_NE(menu, nullptr);
    std::vector<std::pair<UINT, std::string>> file = {{IDM_EXIT, "E&xit"}};
    std::vector<std::pair<UINT, std::string>> help = {{IDM_ABOUT, "&About ..."}};
    EXPECT_EQ(MenuItems(GetSubMenu(menu, 0)), file);
    EXPECT_EQ(MenuItems(GetSubMenu(menu, 1)), help);
    DestroyMenu(menu);
}

TEST_F(ProgramResources, AltQuestionMarkAndAltSlashShowAbout) {
    HACCEL table = LoadAcceleratorsA(module, MAKEINTRESOURCEA(IDR_MAINMENU));
    ASSERT_NE(table, nullptr);
    ACCEL entries[8];
    int count = CopyAcceleratorTableA(table, entries, 8);
    ASSERT_EQ(count, 2);
    for (int i = 0; i < count; i++) {
        EXPECT_EQ(entries[i].fVirt & (FALT | FVIRTKEY), FALT);
        EXPECT_EQ(entries[i].cmd, IDM_ABOUT);
    }
    EXPECT_EQ(entries[0].key, '?');
    EXPECT_EQ(entries[1].key, '/');
}

TEST_F(ProgramResources, DialogsExist) {
    EXPECT_FALSE(Resource(RT_DIALOG, IDD_SETTINGS).empty());
    EXPECT_FALSE(Resource(RT_DIALOG, IDD_UNLOCKWORD).empty());
}

TEST_F(ProgramResources, VersionRecordNamesTheProduct) {
    std::string path = MorrowbyExePath();
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), nullptr);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> record(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, record.data()));
    const std::pair<const char*, const char*> values[] = {
        {"ProductName", "Morrowby"}, {"ProductVersion", "1.0.1.1"}, {"FileVersion", "1.0.1.1"}};
    for (const auto& value : values) {
        std::string query = std::string("\\StringFileInfo\\040904b0\\") + value.first;
        char* text = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(record.data(), query.c_str(), (void**)&text, &length))
            << value.first;
        EXPECT_STREQ(text, value.second);
    }
    for (const char* name : {"LegalCopyright", "Comments"}) {
        std::string query = std::string("\\StringFileInfo\\040904b0\\") + name;
        char* text = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(record.data(), query.c_str(), (void**)&text, &length)) << name;
        EXPECT_GT(strlen(text), 0u) << name;
    }
}

TEST_F(ProgramResources, ManifestAsksForCommonControlsSixAsInvoker) {
    std::vector<BYTE> data = Resource(RT_MANIFEST, 1);
    std::string manifest(data.begin(), data.end());
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find("uiAccess=\"false\""), std::string::npos);
    EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos);
    EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
    EXPECT_NE(manifest.find("{e2011457-1546-43c5-a5fe-008deee3d3f0}"), std::string::npos); // Vista
    EXPECT_NE(manifest.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos); // 10
}

} // namespace
