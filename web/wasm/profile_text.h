// Reads an integer from the text of a settings file exactly as the Windows
// profile function GetPrivateProfileIntA reads it from a file, so that the
// page, which keeps its settings as text, makes of a damaged or odd value
// what the exe makes of the same file. Platform-free: the page compiles it
// to WebAssembly, and a Windows test compares it with the real function.
#pragma once

#include <cstddef>

// The value of `key` in the first section named `section` (both compared
// without regard to case) of the `length` bytes at `text`; `fallback` when
// the section, the key or a value is missing or blank. A byte-order mark
// (UTF-8, UTF-16 either way round) is honoured as the platform does.
int ProfileTextInt(const char* text, size_t length, const char* section, const char* key,
                   int fallback);
