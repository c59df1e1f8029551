#include "app/shell_state.h"

HWND mainWindow;
HINSTANCE instanceHandle;
int windowX = 10;
int windowY = 10;
wchar_t modulePath[PathBufferSize];
wchar_t iniPath[PathBufferSize];
wchar_t panelBmpPath[PathBufferSize];
int iniPathUsable;
char textBuffer[TextBufferSize];
