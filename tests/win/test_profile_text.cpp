// The page's reader of settings texts against the real profile function:
// every text of the table is written to a file and read with
// GetPrivateProfileIntA, and the reader must give the same number for each
// of the five keys. The texts are the damaged and odd settings a player may
// leave: signs, hex, blanks, quotes, numbers past 32 bits, sections missing
// or repeated, byte-order marks.
#include <gtest/gtest.h>

#include <windows.h>

#include <cctype>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/settings.h"
#include "tests/support/random_bytes.h"
#include "web/wasm/profile_text.h"

namespace {

struct Key {
    const char* name;
    int fallback;
};
const Key Keys[] = {{WindowXKey, DefaultWindowX}, {WindowYKey, DefaultWindowY}, {ColumnsKey, DefaultColumns},
                    {RowsKey, DefaultRows}, {BombsKey, DefaultBombs}};

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
};

std::vector<Case> Cases()
{
    const std::string nul(1, '\0');
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
        {"UTF-16, little end first", Wide("[Set]\r\nWinX=30\r\nX=15\r\nY=8\r\nBom=11\r\n", false)},
        {"UTF-16, big end first", Wide("[Set]\r\nWinY=-3\r\nX=16\r\nY=9\r\nBom=12\r\n", true)},
        {"line feeds only", "[Set]\nWinX=1\nX=17\nY=10\nBom=13"},
        {"carriage returns only", "[Set]\rWinX=2\rX=18\rY=11\rBom=14\r"},
        {"Ctrl-Z and control characters", "[Set]\r\nX=19\x1a\r\nY=\x01\x02" "12\r\nBom=\x1a" "15\r\n"},
        {"NUL characters", "[Set]\r\nX=1" + nul + "2\r\nY" + nul + "junk=9\r\nBom=" + nul + "7\r\n"},
        {"garbage", RandomBytes(8, 4096)},
        {"garbage after a good section", "[Set]\r\nX=21\r\nY=12\r\n" + RandomBytes(9, 2048) + "\r\nBom=16\r\n"},
        {"a megabyte line", "[Set]\r\nWinX=" + std::string(1 << 20, '1') + "\r\nX=22\r\nY=13\r\n"},
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

}  // namespace

class ProfileText : public ::testing::TestWithParam<Case> {};

TEST_P(ProfileText, ReadsAsTheProfileFunctionReadsTheFile)
{
    const Case& c = GetParam();
    const std::string path = WriteTempFile(c.text);
    for (const Key& key : Keys) {
        const int expected =
            static_cast<int>(GetPrivateProfileIntA(SettingsSection, key.name, key.fallback, path.c_str()));
        EXPECT_EQ(ProfileTextInt(c.text.data(), c.text.size(), SettingsSection, key.name, key.fallback), expected)
            << "key " << key.name;
    }
    DeleteFileA(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(BadSettings, ProfileText, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p; ++p)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });
