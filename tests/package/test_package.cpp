// The released tsweeper.exe, as a player gets it from the archive: it starts
// from any folder, Japanese names and spaces included, and shows the one
// version number in its version box and its version resource.
// Usage: package_tests <the unpacked tsweeper.exe, as a Windows path>
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "resources/resource.h"
#include "tests/e2e/driver.h"

namespace {

std::wstring packagedExe;

// A game folder whose name a Japanese player might choose, holding the
// packaged program instead of the one of this build.
struct PackagedFolder : GameFolder {
    PackagedFolder() : GameFolder("ゲーム フォルダー")
    {
        copied = CopyFileW(packagedExe.c_str(), Exe().c_str(), FALSE) != 0;
    }
    bool copied = false;
};

// One string of a block of the exe's version resource, or "" if missing.
std::wstring VersionString(const std::string& info, const wchar_t* block, const wchar_t* name)
{
    const std::wstring query = std::wstring(L"\\StringFileInfo\\") + block + L"\\" + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(info.data(), query.c_str(), &value, &length) || length == 0)
        return L"";
    return std::wstring(static_cast<const wchar_t*>(value));
}

TEST(Package, StartsFromAJapaneseFolderWithASpaceAndWritesItsSettingsThere)
{
    PackagedFolder folder;
    ASSERT_TRUE(folder.copied);
    ASSERT_NE(folder.path.find(L' '), std::wstring::npos);
    GameRun game(folder);
    ASSERT_TRUE(game.started());
    const Screen first = game.WaitForScreen(UniformScreen(10, 5, 0, 10));
    EXPECT_EQ(Describe(first), Describe(UniformScreen(10, 5, 0, 10)));
    EXPECT_EQ(game.Quit(IDM_EXIT), 0);
    ASSERT_TRUE(folder.HasIni());
    EXPECT_EQ(folder.IniInt("X"), 10);
    EXPECT_EQ(folder.IniInt("Bom"), 10);
}

TEST(Package, VersionBoxShowsTheVersionNumber)
{
    PackagedFolder folder;
    ASSERT_TRUE(folder.copied);
    GameRun game(folder);
    ASSERT_TRUE(game.started());
    game.MenuCommand(IDM_ABOUT);
    HWND box = game.WaitForPopup();
    ASSERT_NE(box, nullptr);
    const std::wstring text = MessageBoxText(box);
    EXPECT_NE(text.find(Wide("バージョン " TSWEEPER_VERSION "\r\n")), std::wstring::npos);
    EXPECT_NE(text.find(L"MIT"), std::wstring::npos);
    PressButton(box, IDOK);
    EXPECT_EQ(game.Quit(IDM_EXIT), 0);
}

TEST(Package, VersionResourceShowsTheVersionInJapaneseAndEnglish)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(packagedExe.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::string info(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoW(packagedExe.c_str(), 0, size, &info[0]));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    wchar_t numbers[64];
    swprintf(numbers, 64, L"%u.%u.%u", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
             HIWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(std::wstring(numbers), Wide(TSWEEPER_VERSION));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);

    for (const wchar_t* block : {L"041104B0", L"040904B0"}) {
        SCOPED_TRACE(block);
        EXPECT_EQ(VersionString(info, block, L"FileVersion"), Wide(TSWEEPER_VERSION));
        EXPECT_EQ(VersionString(info, block, L"ProductVersion"), Wide(TSWEEPER_VERSION));
        EXPECT_EQ(VersionString(info, block, L"ProductName"), L"Tolu Sweeper");
        EXPECT_EQ(VersionString(info, block, L"OriginalFilename"), L"tsweeper.exe");
    }
    // The Japanese description came through the resource compiler as
    // Japanese, not as bytes of another code page.
    const std::wstring japanese = VersionString(info, L"041104B0", L"FileDescription");
    ASSERT_FALSE(japanese.empty());
    for (wchar_t c : japanese)
        EXPECT_TRUE(c >= 0x3000 && c <= 0x9FFF) << std::hex << static_cast<unsigned>(c);
    EXPECT_NE(VersionString(info, L"040904B0", L"FileDescription"), japanese);
}

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    int wideCount = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &wideCount);
    if (wideCount < 2) {
        std::fprintf(stderr, "usage: package_tests <tsweeper.exe>\n");
        return 2;
    }
    packagedExe = wide[wideCount - 1];
    return RUN_ALL_TESTS();
}
