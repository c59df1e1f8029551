#include "app/settings_file.h"

#include <windows.h>

#include "app/shell_state.h"
#include "core/board.h"
#include "core/settings.h"

namespace {

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
    windowX = DefaultWindowX;
    windowY = DefaultWindowY;
    columns = DefaultColumns;
    rows = DefaultRows;
    bombCount = DefaultBombs;
    if (iniPathUsable)
        ReadSettings(ReadInt, &windowX, &windowY);
}

void ReadTileFileName()
{
    panelBmpPath[0] = '\0';
    if (iniPathUsable)
        GetPrivateProfileStringA(TileFileSection, TileFileKey, "", panelBmpPath, 255, iniPath);
}

void SaveSettings()
{
    if (iniPathUsable)
        WriteSettings(WriteInt, windowX, windowY);
}
