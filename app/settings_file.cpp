#include "app/settings_file.h"

#include <windows.h>

#include "app/shell_state.h"
#include "core/board.h"

namespace {

const char SettingsSection[] = "Set";
const char SettingsFileName[] = "tsweeper.ini";

int ReadInt(const char* key, int fallback)
{
    return static_cast<int>(GetPrivateProfileIntA(SettingsSection, key, fallback, iniPath));
}

void WriteInt(const char* key, int value)
{
    wsprintfA(textBuffer, "%d", value);
    WritePrivateProfileStringA(SettingsSection, key, textBuffer, iniPath);
}

}  // namespace

void BuildSettingsPath()
{
    iniPath[0] = '\0';
    iniPathUsable = 0;
    // A name that fills the buffer may have been cut: no usable directory.
    const DWORD length = GetModuleFileNameA(nullptr, modulePath, PathBufferSize);
    if (length == 0 || length >= static_cast<DWORD>(PathBufferSize))
        return;
    // Cut the name just after its last backslash, keeping the backslash.
    for (int i = lstrlenA(modulePath); i >= 1; --i) {
        if (modulePath[i] == '\\') {
            modulePath[i + 1] = '\0';
            break;
        }
    }
    // The profile functions take no longer path than the buffer holds.
    if (lstrlenA(modulePath) + lstrlenA(SettingsFileName) >= PathBufferSize)
        return;
    lstrcpyA(iniPath, modulePath);
    lstrcatA(iniPath, SettingsFileName);
    iniPathUsable = 1;
}

void LoadSettings()
{
    BuildSettingsPath();
    windowX = 10;
    windowY = 10;
    columns = 10;
    rows = 5;
    bombCount = 10;
    if (!iniPathUsable)
        return;
    windowX = ReadInt("WinX", 10);
    windowY = ReadInt("WinY", 10);
    columns = ReadInt("X", 10);
    if (columns < 10 || columns > 36)
        columns = 10;
    rows = ReadInt("Y", 5);
    if (rows < 5 || rows > 24)
        rows = 5;
    // The bomb limit follows the size as corrected above.
    bombCount = ReadInt("Bom", 10);
    if (bombCount < 5 || bombCount > columns * rows - 5)
        bombCount = 5;
}

void SaveSettings()
{
    if (!iniPathUsable)
        return;
    WriteInt("WinX", windowX);
    WriteInt("WinY", windowY);
    WriteInt("X", columns);
    WriteInt("Y", rows);
    WriteInt("Bom", bombCount);
}
