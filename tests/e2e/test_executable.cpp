// The built tsweeper.exe as a file: one small self-contained program that
// needs nothing but the system's own DLLs, and carries its resources.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"

namespace {

// The program's path on the build machine as Wine sees it, on drive Z:.
std::wstring ExePath()
{
    const char* unixPath = TSWEEPER_EXE_PATH;
    std::wstring path = L"Z:";
    for (const char* c = unixPath; *c; ++c)
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*c));
    return path;
}

std::string ReadFileBytes(const std::wstring& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

template <typename T>
bool ReadAt(const std::string& bytes, size_t offset, T* value)
{
    if (offset > bytes.size() || bytes.size() - offset < sizeof(T))
        return false;
    std::memcpy(value, bytes.data() + offset, sizeof(T));
    return true;
}

// The file offset of a relative virtual address, through the section table.
bool FileOffset(const std::vector<IMAGE_SECTION_HEADER>& sections, DWORD rva, size_t* offset)
{
    for (const IMAGE_SECTION_HEADER& section : sections) {
        const DWORD size = std::max(section.Misc.VirtualSize, section.SizeOfRawData);
        if (rva >= section.VirtualAddress && rva < section.VirtualAddress + size) {
            *offset = rva - section.VirtualAddress + section.PointerToRawData;
            return true;
        }
    }
    return false;
}

// The names of the DLLs the program imports, read from its import table.
// An empty list with a message when the file is not what it should be.
std::vector<std::string> ImportedDlls(const std::string& bytes, std::string* problem)
{
    std::vector<std::string> names;
    IMAGE_DOS_HEADER dos;
    if (!ReadAt(bytes, 0, &dos) || dos.e_magic != IMAGE_DOS_SIGNATURE) {
        *problem = "no DOS header";
        return names;
    }
    IMAGE_NT_HEADERS64 nt;
    if (!ReadAt(bytes, static_cast<size_t>(dos.e_lfanew), &nt) || nt.Signature != IMAGE_NT_SIGNATURE ||
        nt.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
        *problem = "no 64-bit PE header";
        return names;
    }
    const size_t sectionTable = static_cast<size_t>(dos.e_lfanew) + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                                nt.FileHeader.SizeOfOptionalHeader;
    std::vector<IMAGE_SECTION_HEADER> sections(nt.FileHeader.NumberOfSections);
    for (size_t i = 0; i < sections.size(); ++i)
        if (!ReadAt(bytes, sectionTable + i * sizeof(IMAGE_SECTION_HEADER), &sections[i])) {
            *problem = "section table cut short";
            return names;
        }
    const IMAGE_DATA_DIRECTORY& imports = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    size_t offset = 0;
    if (imports.VirtualAddress == 0 || !FileOffset(sections, imports.VirtualAddress, &offset)) {
        *problem = "no import table";
        return names;
    }
    for (;; offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        IMAGE_IMPORT_DESCRIPTOR descriptor;
        if (!ReadAt(bytes, offset, &descriptor)) {
            *problem = "import table cut short";
            return names;
        }
        if (descriptor.Name == 0)
            break;
        size_t nameOffset = 0;
        if (!FileOffset(sections, descriptor.Name, &nameOffset) || nameOffset >= bytes.size()) {
            *problem = "import name outside the file";
            return names;
        }
        names.emplace_back(bytes.c_str() + nameOffset);
    }
    return names;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool IsSystemDll(const std::string& name)
{
    static const char* const system[] = {"kernel32.dll", "user32.dll",   "gdi32.dll",   "msvcrt.dll",
                                         "advapi32.dll", "shell32.dll",  "comctl32.dll", "comdlg32.dll",
                                         "ole32.dll",    "oleaut32.dll", "ntdll.dll",    "ucrtbase.dll",
                                         "imm32.dll"};
    const std::string lower = Lower(name);
    if (lower.rfind("api-ms-win-", 0) == 0)
        return true;
    return std::find_if(std::begin(system), std::end(system),
                        [&](const char* known) { return lower == known; }) != std::end(system);
}

TEST(Executable, ImportsOnlySystemDlls)
{
    const std::string bytes = ReadFileBytes(ExePath());
    ASSERT_FALSE(bytes.empty());
    std::string problem;
    const std::vector<std::string> dlls = ImportedDlls(bytes, &problem);
    ASSERT_TRUE(problem.empty()) << problem;
    std::vector<std::string> lower;
    for (const std::string& dll : dlls) {
        EXPECT_TRUE(IsSystemDll(dll)) << dll << " is not a system DLL";
        lower.push_back(Lower(dll));
    }
    // The program draws a window and paints: these three at least.
    for (const char* needed : {"kernel32.dll", "user32.dll", "gdi32.dll"})
        EXPECT_NE(std::find(lower.begin(), lower.end(), needed), lower.end()) << needed;
}

TEST(Executable, FitsIn64KiB)
{
    const std::string bytes = ReadFileBytes(ExePath());
    ASSERT_FALSE(bytes.empty());
    EXPECT_LE(bytes.size(), 65536u);
}

// Resource types by number (the RT_ names are narrow strings in this build).
constexpr int BitmapType = 2;
constexpr int DialogType = 5;
constexpr int IconGroupType = 14;
constexpr int ManifestType = 24;
constexpr int ProcessManifestId = 1;

// The resources, read from the file without running it.
class Resources : public ::testing::Test {
protected:
    void SetUp() override
    {
        module_ = LoadLibraryExW(ExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr);
    }
    void TearDown() override
    {
        if (module_)
            FreeLibrary(module_);
    }
    // The raw bytes of one resource, empty when it is missing.
    std::string Data(int type, int id) const
    {
        HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(type));
        if (!found)
            return std::string();
        HGLOBAL loaded = LoadResource(module_, found);
        const char* data = static_cast<const char*>(LockResource(loaded));
        return data ? std::string(data, SizeofResource(module_, found)) : std::string();
    }
    HMODULE module_ = nullptr;
};

struct MenuEntry {
    std::wstring text;  // empty for a separator
    UINT id;
    bool separator;
    UINT state;
    HMENU submenu;
};

MenuEntry Entry(HMENU menu, int position)
{
    wchar_t text[128] = {};
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING | MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = 128;
    GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
    return {text, info.wID, (info.fType & MFT_SEPARATOR) != 0, info.fState, info.hSubMenu};
}

struct ExpectedItem {
    const char* text;  // nullptr for a separator
    UINT id;
};

void ExpectPopup(HMENU bar, int position, const char* title, const std::vector<ExpectedItem>& items)
{
    const MenuEntry popup = Entry(bar, position);
    SCOPED_TRACE(title);
    EXPECT_EQ(popup.text, Wide(title));
    EXPECT_EQ(popup.state & (MFS_CHECKED | MFS_GRAYED | MFS_DISABLED), 0u);
    ASSERT_NE(popup.submenu, nullptr);
    ASSERT_EQ(GetMenuItemCount(popup.submenu), static_cast<int>(items.size()));
    for (size_t i = 0; i < items.size(); ++i) {
        const MenuEntry item = Entry(popup.submenu, static_cast<int>(i));
        SCOPED_TRACE(i);
        EXPECT_EQ(item.submenu, nullptr);
        // A separator reads as disabled on its own; only commands are looked at.
        if (!items[i].text) {
            EXPECT_TRUE(item.separator);
            continue;
        }
        EXPECT_FALSE(item.separator);
        EXPECT_EQ(item.state & (MFS_CHECKED | MFS_GRAYED | MFS_DISABLED), 0u);
        EXPECT_EQ(item.text, Wide(items[i].text));
        EXPECT_EQ(item.id, items[i].id);
    }
}

TEST_F(Resources, MenuBar)
{
    HMENU bar = LoadMenuW(module_, MAKEINTRESOURCEW(IDR_MAINMENU));
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_NO_FATAL_FAILURE(ExpectPopup(bar, 0, "ゲーム(&G)",
                                        {{"新規スタート(&N)", IDM_NEWGAME},
                                         {"環境設定(&S)", IDM_SETTINGS},
                                         {nullptr, 0},
                                         {"終了(&Q)", IDM_EXIT}}));
    EXPECT_NO_FATAL_FAILURE(ExpectPopup(bar, 1, "ヘルプ(&H)", {{"バージョン情報(&A)...", IDM_ABOUT}}));
    DestroyMenu(bar);
}

// The built-in strip: 28 tiles of 16 x 16 side by side.
TEST_F(Resources, TileStripBitmap)
{
    const std::string data = Data(BitmapType, IDB_TILES);
    BITMAPINFOHEADER header;
    ASSERT_TRUE(ReadAt(data, 0, &header));
    EXPECT_EQ(header.biWidth, 448);
    EXPECT_EQ(std::abs(header.biHeight), 16);
}

// The icon: one 32 x 32 picture in 16 colours.
TEST_F(Resources, Icon)
{
    const std::string data = Data(IconGroupType, IDI_TSWEEPER);
    WORD head[3];
    ASSERT_TRUE(ReadAt(data, 0, &head));
    EXPECT_EQ(head[1], 1);  // an icon, not a cursor
    ASSERT_EQ(head[2], 1);  // one picture
    const size_t entry = sizeof head;
    ASSERT_GE(data.size(), entry + 4);
    EXPECT_EQ(static_cast<unsigned char>(data[entry]), 32u);      // width
    EXPECT_EQ(static_cast<unsigned char>(data[entry + 1]), 32u);  // height
    EXPECT_EQ(static_cast<unsigned char>(data[entry + 2]), 16u);  // colours
}

// The text of the first <name>...</name> element of `xml`, blanks around it
// dropped; "?" when there is none.
std::string ElementText(const std::string& xml, const std::string& name)
{
    const size_t open = xml.find("<" + name);
    const size_t start = open == std::string::npos ? open : xml.find('>', open);
    const size_t end = start == std::string::npos ? start : xml.find("</" + name, start);
    if (end == std::string::npos)
        return "?";
    const std::string text = xml.substr(start + 1, end - start - 1);
    const size_t first = text.find_first_not_of(" \t\r\n");
    const size_t last = text.find_last_not_of(" \t\r\n");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// The manifest Windows reads at start: DPI-aware per monitor (so that it is
// not stretched blurred), newest awareness first, for Windows 10 and 11,
// run as the player, and with version 6 of the common controls, which
// draws the dialog and the message boxes in the system's own look.
TEST_F(Resources, ManifestDeclaresPerMonitorDpiAwareness)
{
    const std::string manifest = Data(ManifestType, ProcessManifestId);
    ASSERT_FALSE(manifest.empty()) << "no manifest resource (type 24, ID 1)";
    EXPECT_EQ(ElementText(manifest, "dpiAwareness"), "PerMonitorV2, PerMonitor");
    EXPECT_EQ(ElementText(manifest, "dpiAware"), "true/pm");
    EXPECT_NE(manifest.find("<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"), std::string::npos)
        << "no Windows 10/11 entry";
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos)
        << "no dependency on the common controls 6";
    // The system's own reader of manifests takes it: a malformed one would
    // stop the program from starting at all.
    const std::wstring exe = ExePath();
    ACTCTXW context = {};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = exe.c_str();
    context.lpResourceName = MAKEINTRESOURCEW(ProcessManifestId);
    const HANDLE activation = CreateActCtxW(&context);
    EXPECT_NE(activation, INVALID_HANDLE_VALUE) << "error " << GetLastError();
    if (activation != INVALID_HANDLE_VALUE)
        ReleaseActCtx(activation);
}

TEST_F(Resources, SettingsDialogTemplate)
{
    EXPECT_FALSE(Data(DialogType, IDD_SETTINGS).empty());
}

}  // namespace
