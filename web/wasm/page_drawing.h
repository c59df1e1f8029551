// The page's drawing layer: the tile strip decoded from the exe's own
// bitmap, and an off-screen image as large as the largest board, into which
// DrawTile and DrawCounter copy tiles while the screen model records what
// changed. Every export that can change the picture ends by presenting the
// changes: the script copies that rectangle to the canvas, as the exe's
// paint copies its back buffer's invalid rectangle to the window.
#pragma once

#include <cstdint>

#include "core/board.h"
#include "core/geometry.h"

constexpr int ScreenWidth = ClientWidth(MaxColumns);
constexpr int ScreenHeight = ClientHeight(MaxRows);

// RGBA pixels, row by row; starts black and opaque, like the exe's back buffer.
extern uint32_t screenPixels[ScreenWidth * ScreenHeight];

// Hands the changed rectangle and squares to the script's `present`, when
// anything changed, and forgets them.
void PresentChanges();
