// The settings text against the real profile functions. Reading: every text
// of the table is written to a file and read with GetPrivateProfileIntA,
// and the reader must give the same number for each of the five keys. The
// texts are the damaged and odd settings a player may leave: signs, hex,
// blanks, quotes, numbers past 32 bits, sections missing or repeated,
// byte-order marks, endless lines. Writing: the five values are written into
// the same texts with WritePrivateProfileStringA, and the two results must
// hold the same lines once both are laid out alike.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "core/settings.h"
#include "core/settings_text.h"
#include "tests/support/random_bytes.h"
#include "tests/support/settings_texts.h"

namespace {

// The five keys with the values that a missing key gives.
const ProfileInt Fallbacks[] = {{WindowXKey, DefaultWindowX}, {WindowYKey, DefaultWindowY},
                                {ColumnsKey, DefaultColumns}, {RowsKey, DefaultRows}, {BombsKey, DefaultBombs}};

std::string Wide(const std::string& ascii, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : ascii) {
        bytes += bigEndian ? '\0' : c;
        bytes += bigEndian ? c : '\0';
    }
    return bytes;
}

struct Case {
    const char* name;
    std::string text;
    std::string file = text;  // what the platform reads: the same, or its UTF-16
};

std::vector<Case> Cases()
{
    const std::string nul(1, '\0');
    const std::string little = "[Set]\r\nWinX=30\r\nX=15\r\nY=8\r\nBom=11\r\n";
    const std::string big = "[Set]\r\nWinY=-3\r\nX=16\r\nY=9\r\nBom=12\r\n";
    std::string noLineEnd;
    while (noLineEnd.size() < (2 << 20))
        noLineEnd += "[Set]X=23 ";
    return {
        {"empty", ""},
        {"signs", "[Set]\r\nWinX=+40\r\nWinY=-0\r\nX=+12\r\nY=-12\r\nBom=+-7\r\n"},
        {"hexadecimal and other bases", "[Set]\r\nWinX=0x20\r\nWinY=0X18\r\nX=0x1g\r\nY=0o17\r\nBom=0b101\r\n"},
        {"negative hexadecimal", "[Set]\r\nWinX=-0x10\r\nWinY= +0xFFFFFFFF\r\nX=0x\r\nY=0\r\nBom=00012\r\n"},
        {"blanks", "[Set]\r\n WinX = 25 \r\nWinY=\t35\t\r\nX=  \r\nY=\t\r\nBom= 8 \r\n"},
        {"quotes", "[Set]\r\nWinX=\"12\r\nWinY=\"\"\r\nX=\"15\"\r\nY='6'\r\nBom=\" 8\"\r\n"},
        {"mixed quotes", "[Set]\r\nWinX=\"12'\r\nWinY='\r\nX=\"\r\nY=\"7\" \r\nBom='9'x\r\n"},
        {"past 32 bits", "[Set]\r\nWinX=4294967336\r\nWinY=-4294967302\r\nX=99999999999\r\nY=4294967302\r\nBom=18446744073709551621\r\n"},
        {"long numbers cut by the buffer",
         "[Set]\r\nWinX=" + std::string(29, '1') + "\r\nWinY=" + std::string(30, '1') + "\r\nX=\"" +
             std::string(28, '2') + "\"\r\nY=\"" + std::string(29, '2') + "\"\r\nBom=\"" + std::string(30, '3') +
             "\"\r\n"},
        {"words after numbers", "[Set]\r\nWinX=12abc\r\nWinY=12 34\r\nX=abc\r\nY=1,5\r\nBom=7.9\r\n"},
        {"no Set section", "[Other]\r\nX=20\r\n[File Name]\r\nPanelBMP=tiles.bmp\r\n"},
        {"section names", "[ Set ]\r\nX=20\r\n[set]\r\nY=7\r\nwinx=3\r\n"},
        {"section with more on its line", "[Set] and more\r\nX=20\r\n[Set]\r\nY=8\r\n"},
        {"section without its bracket", "[Set\r\nX=20\r\n[Set]x]\r\nY=9\r\n"},
        {"duplicates", "[Set]\r\nWinX=30\r\nX=20\r\nX=30\r\nY=7\r\n[Set]\r\nX=40\r\nBom=30\r\n"},
        {"keys before any section", "X=20\r\nY=7\r\n[Set]\r\nBom=9\r\n"},
        {"key case and spaces", "[Set]\r\nwinx=5\r\n  x  =  13  \r\nBOM=9\r\nY =\r\n"},
        {"keys without values", "[Set]\r\nX\r\nY=\r\nBom=\r\n=12\r\n"},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF[Set]\r\nWinX=30\r\nX=14\r\nY=6\r\nBom=9\r\n"},
        // The page holds a file written in UTF-16 as UTF-8.
        {"UTF-16, little end first", little, Wide(little, false)},
        {"UTF-16, big end first", big, Wide(big, true)},
        {"line feeds only", "[Set]\nWinX=1\nX=17\nY=10\nBom=13"},
        {"carriage returns only", "[Set]\rWinX=2\rX=18\rY=11\rBom=14\r"},
        {"Ctrl-Z and control characters", "[Set]\r\nX=19\x1a\r\nY=\x01\x02" "12\r\nBom=\x1a" "15\r\n"},
        {"NUL characters", "[Set]\r\nX=1" + nul + "2\r\nY" + nul + "junk=9\r\nBom=" + nul + "7\r\n"},
        {"garbage", RandomBytes(8, 4096)},
        {"garbage after a good section", "[Set]\r\nX=21\r\nY=12\r\n" + RandomBytes(9, 2048) + "\r\nBom=16\r\n"},
        {"a megabyte line", "[Set]\r\nWinX=" + std::string(1 << 20, '1') + "\r\nX=22\r\nY=13\r\n"},
        {"carriage returns by the hundred thousand", std::string(200000, '\r') + "[Set]\rX=24\r"},
        {"two megabytes without a line end", noLineEnd},
    };
}

// A file of its own for each text: the profile cache never serves an old one.
std::string WriteTempFile(const std::string& bytes)
{
    static int files = 0;
    char directory[MAX_PATH];
    GetTempPathA(MAX_PATH, directory);
    const std::string path = std::string(directory) + "tsweeper-profile-text-" +
                             std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++files) + ".ini";
    std::ofstream file(path, std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string FileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string Trimmed(const std::string& text)
{
    const size_t begin = text.find_first_not_of(" \t\x1a");
    return begin == std::string::npos ? "" : text.substr(begin, text.find_last_not_of(" \t\x1a") - begin + 1);
}

// The lines of a text as Wine writes a profile file, whole, in its own
// layout: blank lines dropped, blanks taken off the ends of lines, section
// names, keys and values.
std::vector<std::string> LaidOut(const std::string& text)
{
    std::vector<std::string> lines;
    size_t begin = 0;
    while (begin < text.size()) {
        const size_t end = std::min(text.find_first_of("\r\n", begin), text.size());
        std::string line = Trimmed(text.substr(begin, end - begin));
        begin = end + 1;
        const size_t equals = line.find('=');
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']')
            line = "[" + Trimmed(line.substr(1, line.size() - 2)) + "]";
        else if (equals != std::string::npos)
            line = Trimmed(line.substr(0, equals)) + "=" + Trimmed(line.substr(equals + 1));
        if (!line.empty())
            lines.push_back(line);
    }
    return lines;
}

// Test names from the cases' names.
template <typename T>
std::string CaseName(const ::testing::TestParamInfo<T>& info)
{
    std::string name;
    for (const char* p = info.param.name; *p; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
}

}  // namespace

class ProfileText : public ::testing::TestWithParam<Case> {};

TEST_P(ProfileText, ReadsAsTheProfileFunctionReadsTheFile)
{
    const Case& c = GetParam();
    const std::string path = WriteTempFile(c.file);
    ProfileInt read[SettingsKeyCount];
    std::copy(std::begin(Fallbacks), std::end(Fallbacks), read);
    ProfileTextInts(c.text.data(), c.text.size(), SettingsSection, read, SettingsKeyCount);
    for (int i = 0; i < SettingsKeyCount; ++i) {
        const ProfileInt& key = Fallbacks[i];
        const UINT real = GetPrivateProfileIntA(SettingsSection, key.key, key.value, path.c_str());
        EXPECT_EQ(read[i].value, static_cast<int>(real)) << "key " << key.key;
    }
    DeleteFileA(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(BadSettings, ProfileText, ::testing::ValuesIn(Cases()), CaseName<Case>);

class ProfileWrite : public ::testing::TestWithParam<SavedText> {};

TEST_P(ProfileWrite, WritesTheLinesTheProfileFunctionWrites)
{
    const SavedText& c = GetParam();
    const std::string path = WriteTempFile(c.before);
    for (const ProfileInt& value : SavedValues)
        WritePrivateProfileStringA(SettingsSection, value.key, std::to_string(value.value).c_str(), path.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());  // out of the profile cache
    // The native tests hold WriteProfileTextInts to `after`, byte for byte.
    EXPECT_EQ(LaidOut(c.after), LaidOut(FileBytes(path)));
    DeleteFileA(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(SavedSettings, ProfileWrite, ::testing::ValuesIn(SavedTexts()), CaseName<SavedText>);
