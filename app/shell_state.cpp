#include "app/shell_state.h"

HWND mainWindow;
HINSTANCE instanceHandle;
int windowX = 10;
int windowY = 10;
char modulePath[PathBufferSize];
char iniPath[PathBufferSize];
char panelBmpPath[PathBufferSize];
int iniPathUsable;
char textBuffer[TextBufferSize];
