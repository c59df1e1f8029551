// The page's drawing layer: the tile strip decoded from the exe's own
// bitmap, and an off-screen image as large as the largest board, into which
// DrawTile and DrawCounter copy tiles while a dirty rectangle grows. The
// script copies that rectangle to the canvas after each event, as the exe's
// paint copies its back buffer's invalid rectangle to the window.
#pragma once

#include <cstdint>

#include "core/board.h"
#include "core/geometry.h"

constexpr int ScreenWidth = ClientWidth(MaxColumns);
constexpr int ScreenHeight = ClientHeight(MaxRows);

// RGBA pixels, row by row; starts black and opaque, like the exe's back buffer.
extern uint32_t screenPixels[ScreenWidth * ScreenHeight];

// The tile last drawn on each square, by column then row, as the player sees
// it; -1 where nothing was drawn yet.
extern int8_t shownTile[MaxColumns][MaxRows];

// The changed rectangle since the last copy: left, top, right, bottom
// (right and bottom exclusive); empty when right <= left.
extern int32_t dirtyRect[4];
