#include "app/settings_file.h"

#include <windows.h>

#include "app/shell_state.h"
#include "core/board.h"
#include "core/settings.h"

namespace {

// The file's names are plain ASCII; the wide profile calls take them widened.
constexpr int NameSize = 32;

void Widen(const char* ascii, wchar_t* wide)
{
    int i = 0;
    for (; ascii[i] != '\0' && i < NameSize - 1; ++i)
        wide[i] = static_cast<wchar_t>(ascii[i]);
    wide[i] = L'\0';
}

int ReadInt(const char* key, int fallback)
{
    wchar_t section[NameSize], wideKey[NameSize];
    Widen(SettingsSection, section);
    Widen(key, wideKey);
    return static_cast<int>(GetPrivateProfileIntW(section, wideKey, fallback, iniPath));
}

void WriteInt(const char* key, int value)
{
    wchar_t section[NameSize], wideKey[NameSize], text[NameSize];
    Widen(SettingsSection, section);
    Widen(key, wideKey);
    wsprintfA(textBuffer, "%d", value);
    Widen(textBuffer, text);
    WritePrivateProfileStringW(section, wideKey, text, iniPath);
}

}  // namespace

void BuildSettingsPath()
{
    iniPath[0] = L'\0';
    iniPathUsable = 0;
    // A name that fills the buffer may have been cut: no usable directory.
    const DWORD length = GetModuleFileNameW(nullptr, modulePath, PathBufferSize);
    if (length == 0 || length >= static_cast<DWORD>(PathBufferSize))
        return;
    // Cut the name just after its last backslash, keeping the backslash.
    for (int i = lstrlenW(modulePath); i >= 1; --i) {
        if (modulePath[i] == L'\\') {
            modulePath[i + 1] = L'\0';
            break;
        }
    }
    // The profile functions take no longer path than the buffer holds.
    wchar_t fileName[NameSize];
    Widen(SettingsFileName, fileName);
    if (lstrlenW(modulePath) + lstrlenW(fileName) >= PathBufferSize)
        return;
    lstrcpyW(iniPath, modulePath);
    lstrcatW(iniPath, fileName);
    iniPathUsable = 1;
}

void LoadSettings()
{
    BuildSettingsPath();
    // Without a usable path the values keep the defaults they start with.
    if (iniPathUsable)
        ReadSettings(ReadInt, &windowX, &windowY);
}

void ReadTileFileName()
{
    panelBmpPath[0] = L'\0';
    if (!iniPathUsable)
        return;
    wchar_t section[NameSize], key[NameSize];
    Widen(TileFileSection, section);
    Widen(TileFileKey, key);
    GetPrivateProfileStringW(section, key, L"", panelBmpPath, 255, iniPath);
}

void SaveSettings()
{
    if (iniPathUsable)
        WriteSettings(WriteInt, windowX, windowY);
}
