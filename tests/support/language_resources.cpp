#include "language_resources.h"
#include <commctrl.h>

const std::vector<Language>& Languages() {
    static const std::vector<Language> table = {
        {"English", MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), ANSI_CHARSET},
        {"Spanish", MAKELANGID(LANG_SPANISH, SUBLANG_NEUTRAL), ANSI_CHARSET},
        {"PortugueseBrazil", MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN),
         ANSI_CHARSET},
        {"German", MAKELANGID(LANG_GERMAN, SUBLANG_NEUTRAL), ANSI_CHARSET},
        {"French", MAKELANGID(LANG_FRENCH, SUBLANG_NEUTRAL), ANSI_CHARSET},
        {"ChineseSimplified", MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), GB2312_CHARSET},
        {"Russian", MAKELANGID(LANG_RUSSIAN, SUBLANG_NEUTRAL), RUSSIAN_CHARSET},
        {"Japanese", MAKELANGID(LANG_JAPANESE, SUBLANG_NEUTRAL), SHIFTJIS_CHARSET},
    };
    return table;
}

std::vector<BYTE> ResourceIn(HMODULE module, LPCWSTR type, int id, LANGID language) {
    HRSRC found = FindResourceExW(module, type, MAKEINTRESOURCEW(id), language);
    if (!found)
        return {};
    const BYTE* data = (const BYTE*)LockResource(LoadResource(module, found));
    return std::vector<BYTE>(data, data + SizeofResource(module, found));
}

std::wstring StringIn(HMODULE module, UINT id, LANGID language) {
    // Strings are kept in blocks of sixteen, each a length and its characters.
    std::vector<BYTE> block =
        ResourceIn(module, reinterpret_cast<LPCWSTR>(RT_STRING), (int)(id / 16 + 1), language);
    const WCHAR* entry = (const WCHAR*)block.data();
    const WCHAR* end = entry + block.size() / sizeof(WCHAR);
    for (UINT i = 0; i < id % 16 && entry < end; i++)
        entry += 1 + *entry;
    if (entry >= end)
        return std::wstring();
    return std::wstring(entry + 1, *entry);
}

static INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

HWND CreateDialogIn(HMODULE module, int id, LANGID language) {
    std::vector<BYTE> dialog =
        ResourceIn(module, reinterpret_cast<LPCWSTR>(RT_DIALOG), id, language);
    // An extended template: version, signature, help id, extended style, style.
    const size_t styleAt = 12;
    if (dialog.size() < styleAt + sizeof(DWORD))
        return nullptr;
    DWORD* style = (DWORD*)(dialog.data() + styleAt);
    *style &= ~WS_VISIBLE;
    // The settings dialog's slider is a common control.
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
    return CreateDialogIndirectParamW(module, (LPCDLGTEMPLATEW)dialog.data(), nullptr,
                                      QuietDialogProc, 0);
}

static void ListItems(HMENU menu, const std::wstring& path, std::vector<MenuItemText>* items) {
    for (int i = 0; i < GetMenuItemCount(menu); i++) {
        wchar_t text[200] = L"";
        MENUITEMINFOW item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU;
        item.dwTypeData = text;
        item.cch = 200;
        GetMenuItemInfoW(menu, (UINT)i, TRUE, &item);
        const bool separator = (item.fType & MFT_SEPARATOR) != 0;
        const UINT id = separator || item.hSubMenu ? 0 : item.wID;
        items->push_back({path + std::to_wstring(id), text});
        if (item.hSubMenu)
            ListItems(item.hSubMenu, path + L"> ", items);
    }
}

std::vector<MenuItemText> MenuItemsIn(HMODULE module, int id, LANGID language) {
    std::vector<BYTE> data = ResourceIn(module, reinterpret_cast<LPCWSTR>(RT_MENU), id, language);
    std::vector<MenuItemText> items;
    if (data.empty())
        return items;
    HMENU menu = LoadMenuIndirectW(data.data());
    ListItems(menu, L"", &items);
    DestroyMenu(menu);
    return items;
}
