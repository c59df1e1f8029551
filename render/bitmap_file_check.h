// A first look at a bitmap file before the platform loads it: a file cut
// short loads as a bitmap whose missing rows are black, which would show
// a broken board instead of the built-in tiles.
#pragma once

#include <cstddef>
#include <cstdint>

// Bytes of the file's start that the check reads: both headers.
constexpr size_t BitmapHeadersSize = 54;

// 1 when the headers (`head`, `headLength` bytes of the file's start) name a
// bitmap whose pixel data lies whole within `fileSize` bytes; else 0.
int BitmapFileIsWhole(const unsigned char* head, size_t headLength, uint64_t fileSize);
