// Resource IDs shared by the resource script and the program.
#pragma once

#define IDB_TILES 101
#define IDI_TSWEEPER 102
#define IDD_SETTINGS 103
#define IDR_MAINMENU 104

#define IDM_NEWGAME 1000
#define IDM_SETTINGS 1001
#define IDM_EXIT 1002
#define IDM_ABOUT 1003

#define IDC_COLUMNS 2000
#define IDC_ROWS 2001
#define IDC_BOMBS 2002
