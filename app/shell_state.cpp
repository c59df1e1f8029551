#include "app/shell_state.h"

#include "core/settings.h"

HWND mainWindow;
HINSTANCE instanceHandle;
int windowX = DefaultWindowX;
int windowY = DefaultWindowY;
wchar_t modulePath[PathBufferSize];
wchar_t iniPath[PathBufferSize];
wchar_t panelBmpPath[PathBufferSize];
int iniPathUsable;
char textBuffer[TextBufferSize];
