#include "tile_art.h"

#include <cctype>
#include <fstream>
#include <sstream>

namespace {

// Collects the message of the first error, prefixed with where it is.
struct Reporter {
    const std::string& source;
    std::string& error;

    bool Fail(int line, const std::string& what)
    {
        error = source + ":" + std::to_string(line) + ": " + what;
        return false;
    }
};

bool IsBlank(const std::string& text)
{
    for (char c : text) {
        if (c != ' ' && c != '\t') return false;
    }
    return true;
}

std::string Trimmed(const std::string& text)
{
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// A character can stand for a colour when it is visible in a grid and cannot
// be mistaken for a comment.
bool UsableSymbol(char c)
{
    return c > ' ' && c < 127 && c != '#';
}

std::string Quoted(char c)
{
    if (c > ' ' && c < 127) return std::string("'") + c + "'";
    return "character code " + std::to_string(static_cast<unsigned char>(c));
}

bool SymbolTaken(const ArtFile& art, char symbol)
{
    if (symbol == art.transparentSymbol) return true;
    for (const ArtColour& colour : art.colours) {
        if (colour.symbol == symbol) return true;
    }
    return false;
}

// "colour <symbol> <red> <green> <blue> [name]"
bool ParseColour(const std::string& line, int lineNumber, ArtFile& art, Reporter& report)
{
    std::istringstream words(line);
    std::string keyword, symbol;
    int red = -1, green = -1, blue = -1;
    words >> keyword >> symbol >> red >> green >> blue;
    if (!words || symbol.size() != 1) {
        return report.Fail(lineNumber, "expected 'colour <character> <red> <green> <blue> [name]'");
    }
    if (!UsableSymbol(symbol[0])) {
        return report.Fail(lineNumber, Quoted(symbol[0]) + " cannot be used as a colour character");
    }
    if (SymbolTaken(art, symbol[0])) {
        return report.Fail(lineNumber, Quoted(symbol[0]) + " is already in the colour key");
    }
    for (int component : {red, green, blue}) {
        if (component < 0 || component > 255) {
            return report.Fail(lineNumber, "colour components must be 0 to 255");
        }
    }
    std::string name;
    std::getline(words, name);
    art.colours.push_back({symbol[0],
                           {static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green),
                            static_cast<std::uint8_t>(blue)},
                           Trimmed(name)});
    return true;
}

// "transparent <symbol>"
bool ParseTransparent(const std::string& line, int lineNumber, const ArtLayout& layout,
                      ArtFile& art, Reporter& report)
{
    if (!layout.transparencyAllowed) {
        return report.Fail(lineNumber, "this file cannot have transparent pixels");
    }
    std::istringstream words(line);
    std::string keyword, symbol, extra;
    words >> keyword >> symbol >> extra;
    if (symbol.size() != 1 || !extra.empty()) {
        return report.Fail(lineNumber, "expected 'transparent <character>'");
    }
    if (art.transparentSymbol != 0) {
        return report.Fail(lineNumber, "the transparent character is already declared");
    }
    if (!UsableSymbol(symbol[0]) || SymbolTaken(art, symbol[0])) {
        return report.Fail(lineNumber, Quoted(symbol[0]) + " cannot be the transparent character");
    }
    art.transparentSymbol = symbol[0];
    return true;
}

// "<keyword> <number>: <title>", where the number must be the next one due.
bool ParseHeader(const std::string& line, int lineNumber, const ArtLayout& layout,
                 ArtFile& art, Reporter& report)
{
    std::size_t at = layout.keyword.size();
    while (at < line.size() && line[at] == ' ') ++at;
    std::size_t digitsStart = at;
    while (at < line.size() && std::isdigit(static_cast<unsigned char>(line[at]))) ++at;
    if (at == digitsStart || at - digitsStart > 4 || at >= line.size() || line[at] != ':') {
        return report.Fail(lineNumber, "expected '" + layout.keyword + " <number>: <title>'");
    }
    int number = std::stoi(line.substr(digitsStart, at - digitsStart));
    int expected = static_cast<int>(art.pictures.size());
    if (expected >= layout.count) {
        return report.Fail(lineNumber, "too many pictures: " + layout.keyword + " " +
                                           std::to_string(number) + " is beyond the last " +
                                           layout.keyword + " (" +
                                           std::to_string(layout.count - 1) + ")");
    }
    if (number != expected) {
        return report.Fail(lineNumber, layout.keyword + " " + std::to_string(expected) +
                                           " is missing: found " + layout.keyword + " " +
                                           std::to_string(number) + " in its place");
    }
    ArtPicture picture;
    picture.title = Trimmed(line.substr(at + 1));
    art.pictures.push_back(picture);
    return true;
}

// One grid line of the picture being read.
bool ParseRow(const std::string& line, int lineNumber, const ArtLayout& layout, ArtFile& art,
              Reporter& report)
{
    ArtPicture& picture = art.pictures.back();
    int row = static_cast<int>(picture.pixels.size()) / layout.width;
    std::string where = layout.keyword + " " + std::to_string(art.pictures.size() - 1) +
                        ", row " + std::to_string(row);
    if (static_cast<int>(line.size()) != layout.width) {
        return report.Fail(lineNumber, where + " has " + std::to_string(line.size()) +
                                           " characters, expected " +
                                           std::to_string(layout.width));
    }
    for (std::size_t column = 0; column < line.size(); ++column) {
        char c = line[column];
        int value = -2;
        if (c == art.transparentSymbol) value = ArtTransparent;
        for (std::size_t i = 0; i < art.colours.size(); ++i) {
            if (art.colours[i].symbol == c) value = static_cast<int>(i);
        }
        if (value == -2) {
            return report.Fail(lineNumber, where + ", column " + std::to_string(column) + ": " +
                                               Quoted(c) + " is not in the colour key");
        }
        picture.pixels.push_back(value);
    }
    return true;
}

}  // namespace

bool ParseArt(std::istream& in, const std::string& sourceName, const ArtLayout& layout,
              ArtFile& art, std::string& error)
{
    art = ArtFile();
    art.width = layout.width;
    art.height = layout.height;
    Reporter report{sourceName, error};
    int rowsLeft = 0;  // grid lines still due for the current picture
    int lineNumber = 0;
    std::string line;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();  // files checked out on Windows
        if (rowsLeft > 0) {
            if (!ParseRow(line, lineNumber, layout, art, report)) return false;
            --rowsLeft;
            continue;
        }
        if (IsBlank(line) || Trimmed(line)[0] == '#') continue;
        std::string keyword;
        std::istringstream(line) >> keyword;
        if (keyword == "colour" || keyword == "transparent") {
            if (!art.pictures.empty()) {
                return report.Fail(lineNumber, "the colour key must come before the first " +
                                                   layout.keyword);
            }
            bool ok = keyword == "colour" ? ParseColour(line, lineNumber, art, report)
                                          : ParseTransparent(line, lineNumber, layout, art, report);
            if (!ok) return false;
        } else if (line.compare(0, layout.keyword.size(), layout.keyword) == 0) {
            if (art.colours.empty()) {
                return report.Fail(lineNumber, "no colour key before the first " + layout.keyword);
            }
            if (!ParseHeader(line, lineNumber, layout, art, report)) return false;
            rowsLeft = layout.height;
        } else {
            return report.Fail(lineNumber, "expected a colour line or '" + layout.keyword +
                                               " <number>: <title>', found '" + Trimmed(line) +
                                               "'");
        }
    }
    if (rowsLeft > 0) {
        int rowsRead = layout.height - rowsLeft;
        return report.Fail(lineNumber, "file ends inside " + layout.keyword + " " +
                                           std::to_string(art.pictures.size() - 1) + " after " +
                                           std::to_string(rowsRead) + " of " +
                                           std::to_string(layout.height) + " rows");
    }
    if (static_cast<int>(art.pictures.size()) < layout.count) {
        return report.Fail(lineNumber, "file ends before " + layout.keyword + " " +
                                           std::to_string(art.pictures.size()) + " (expected " +
                                           std::to_string(layout.count) + " pictures)");
    }
    return true;
}

bool LoadArt(const std::string& path, const ArtLayout& layout, ArtFile& art, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot open the file";
        return false;
    }
    return ParseArt(in, path, layout, art, error);
}

int ArtPixel(const ArtFile& art, int picture, int x, int y)
{
    return art.pictures[static_cast<std::size_t>(picture)]
        .pixels[static_cast<std::size_t>(y * art.width + x)];
}

ArtRgb ArtPixelRgb(const ArtFile& art, int picture, int x, int y)
{
    return art.colours[static_cast<std::size_t>(ArtPixel(art, picture, x, y))].rgb;
}
