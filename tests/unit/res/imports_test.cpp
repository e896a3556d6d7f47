// The program declares Windows Vista as supported: it must not import any
// function that Vista lacks, or the loader refuses to start it at all.
#include <gtest/gtest.h>
#include <windows.h>
#include <set>
#include <string>
#include "support/morrowby_process.h"

namespace {

std::set<std::string> ImportedNames(const std::string& path) {
    std::set<std::string> names;
    // Mapped as an image without resolving imports, so RVAs can be followed.
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (!module)
        return names;
    const BYTE* base = (const BYTE*)module;
    const IMAGE_DOS_HEADER* dos = (const IMAGE_DOS_HEADER*)base;
    const IMAGE_NT_HEADERS* nt = (const IMAGE_NT_HEADERS*)(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    const IMAGE_IMPORT_DESCRIPTOR* import =
        (const IMAGE_IMPORT_DESCRIPTOR*)(base + directory.VirtualAddress);
    for (; import->Name; import++) {
        const IMAGE_THUNK_DATA* thunk =
            (const IMAGE_THUNK_DATA*)(base + (import->OriginalFirstThunk
                                                  ? import->OriginalFirstThunk
                                                  : import->FirstThunk));
        for (; thunk->u1.AddressOfData; thunk++) {
            if (IMAGE_SNAP_BY_ORDINAL(thunk->u1.Ordinal))
                continue;
            const IMAGE_IMPORT_BY_NAME* byName =
                (const IMAGE_IMPORT_BY_NAME*)(base + thunk->u1.AddressOfData);
            names.insert((const char*)byName->Name);
        }
    }
    FreeLibrary(module);
    return names;
}

TEST(ProgramImports, NothingNewerThanVista) {
    std::set<std::string> names = ImportedNames(MorrowbyExePath());
    ASSERT_TRUE(names.count("CreateWindowExA")) << "import table not read";
    // Windows 7 and later only: the program looks these up at run time.
    for (const char* newer : {"RegisterTouchWindow", "SHGetPropertyStoreForWindow",
                              "GetDpiForWindow", "SetProcessDpiAwarenessContext"})
        EXPECT_EQ(names.count(newer), 0u) << newer << " is imported statically";
}

} // namespace
