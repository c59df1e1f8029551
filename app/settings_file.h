// The settings file "tsweeper.ini" beside the program: board size, bomb
// count and window position carried from one run to the next.
#pragma once

// Finds the settings file beside the program and sets iniPath and
// iniPathUsable.
void BuildSettingsPath();

// Builds the path, then reads windowX, windowY, columns, rows and bombCount,
// replacing values out of range.
void LoadSettings();

// Reads the replacement tile strip's path ("PanelBMP") into panelBmpPath:
// empty when the file names none or cannot be used.
void ReadTileFileName();

// Writes the five values back into section "Set"; every other line of the
// file stays as the player left it.
void SaveSettings();
