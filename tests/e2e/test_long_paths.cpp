// The program in folders whose paths are just short of, at and beyond the
// length where "tsweeper.ini" still fits in MAX_PATH: a folder path of L
// characters (with its backslash) fits when L + 12 + 1 <= 260. Where it
// fits, the settings are read and written as usual; beyond, the program
// runs on its defaults (10 x 5, 10 bombs) and writes no file.
//
// Wine cannot start a program whose file name reaches MAX_PATH characters:
// CreateProcessW fails (file not found, or invalid name in the long form
// with its prefix), and a start with such a folder as current directory
// brings Wine down. So the program is started here with a short current
// directory, and beyond the limit under the shorter name "t.exe": the
// settings file keeps its own name beside it, and its path no longer fits.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/screen_checks.h"
#include "tests/e2e/game_model.h"

namespace {

constexpr int LongestFittingFolder = MAX_PATH - static_cast<int>(sizeof SettingsFileName - 1) - 1;  // 247

std::wstring Extended(const std::wstring& path)
{
    return L"\\\\?\\" + path;
}

// Makes folders under `base` until the path, with its trailing backslash,
// is exactly `length` characters long.
std::wstring FolderOfLength(const std::wstring& base, size_t length)
{
    std::wstring path = base;
    while (path.size() < length) {
        size_t remaining = length - path.size();
        size_t name = remaining - 1;
        if (name > 100)
            name = remaining - 101 == 1 ? 99 : 100;  // never leave a one-character rest
        path += std::wstring(name, L'd') + L"\\";
        CreateDirectoryW(Extended(path).c_str(), nullptr);
    }
    return path;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(Extended(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return written == bytes.size();
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(Extended(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadFileBytes(const std::wstring& path)
{
    HANDLE file = CreateFileW(Extended(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    std::string bytes;
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

const char PlayerSettings[] = "[Set]\r\nWinX=30\r\nWinY=40\r\nX=12\r\nY=6\r\nBom=7\r\n; mine\r\n";

// Runs the game from a folder of exactly `length` characters; plays an open
// and checks the board the settings (or the defaults) give.
void RunFromFolderOfLength(size_t length, bool withSettings, const wchar_t* exeName = L"tsweeper.exe")
{
    SCOPED_TRACE("folder path of " + std::to_string(length) + " characters" +
                 (withSettings ? ", with settings" : ", no settings file"));
    ParkPointer();
    GameFolder base("long");
    GameFolder folder = base;
    folder.path = FolderOfLength(base.path, length);
    ASSERT_EQ(folder.path.size(), length);
    const std::wstring exe = folder.path + exeName;
    ASSERT_LT(exe.size(), static_cast<size_t>(MAX_PATH)) << "Wine could not start it";
    ASSERT_TRUE(CopyFileW(Extended(base.Exe()).c_str(), Extended(exe).c_str(), FALSE));
    if (withSettings) {
        ASSERT_TRUE(WriteFileBytes(folder.Ini(), PlayerSettings));
    }
    const bool fits = static_cast<int>(length) <= LongestFittingFolder;

    GameRun game(folder.path, exeName, -1, base.path);
    ASSERT_TRUE(game.started()) << "the program did not start from this folder";
    // The process sees the folder as we built it.
    wchar_t image[1024];
    DWORD size = 1024;
    QueryFullProcessImageNameW(game.process(), 0, image, &size);
    EXPECT_EQ(std::wstring(image), exe);

    const bool readSettings = fits && withSettings;
    const int columns = readSettings ? 12 : 10, rows = readSettings ? 6 : 5, bombs = readSettings ? 7 : 10;
    model::Start(columns, rows, bombs);
    EXPECT_TRUE(Shows(game, model::Shown())) << "first board";
    model::ClickBoth(game, 0, 0);
    EXPECT_TRUE(Shows(game, model::Shown())) << "after an open";
    RECT outer = {};
    GetWindowRect(game.window(), &outer);
    EXPECT_EQ(outer.left, readSettings ? 30 : 10);
    EXPECT_EQ(outer.top, readSettings ? 40 : 10);
    ASSERT_EQ(game.Quit(), 0);

    if (fits) {
        ASSERT_TRUE(Exists(folder.Ini())) << "no settings written";
        EXPECT_EQ(Describe(ReadBackSettings(folder.Ini())),
                  Describe(SettingsValues{outer.left, outer.top, columns, rows, bombs}));
        if (withSettings) {
            EXPECT_NE(ReadFileBytes(folder.Ini()).find("; mine\r\n"), std::string::npos);
        }
    } else if (withSettings) {
        EXPECT_EQ(ReadFileBytes(folder.Ini()), PlayerSettings) << "a file beyond the limit was touched";
    } else {
        EXPECT_FALSE(Exists(folder.Ini())) << "a settings file was written beyond the limit";
    }
}

}  // namespace

TEST(LongPaths, FolderShortOfTheLimit)
{
    ASSERT_NO_FATAL_FAILURE(RunFromFolderOfLength(LongestFittingFolder - 1, true));
}

TEST(LongPaths, FolderAtTheLimit)
{
    ASSERT_NO_FATAL_FAILURE(RunFromFolderOfLength(LongestFittingFolder, true));
    ASSERT_NO_FATAL_FAILURE(RunFromFolderOfLength(LongestFittingFolder, false));
}

TEST(LongPaths, FolderOneBeyondTheLimit)
{
    ASSERT_NO_FATAL_FAILURE(RunFromFolderOfLength(LongestFittingFolder + 1, true, L"t.exe"));
    ASSERT_NO_FATAL_FAILURE(RunFromFolderOfLength(LongestFittingFolder + 1, false, L"t.exe"));
}

// The longest folder from which Wine still starts "t.exe": 259 characters in all.
TEST(LongPaths, LongestFolderThatStarts)
{
    ASSERT_NO_FATAL_FAILURE(RunFromFolderOfLength(MAX_PATH - 1 - 5, true, L"t.exe"));
    ASSERT_NO_FATAL_FAILURE(RunFromFolderOfLength(MAX_PATH - 1 - 5, false, L"t.exe"));
}
