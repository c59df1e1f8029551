// The text of a settings file, read and written as the Windows profile
// functions read and write the file: GetPrivateProfileIntA for a number,
// WritePrivateProfileStringA for each value written. The page keeps its
// settings as such a text, and so makes of an odd or damaged value what the
// exe makes of the same file, and keeps every line the player added.
// Platform-free; Windows tests compare both ways with the real functions.
#pragma once

#include <cstddef>

// A number under its key.
struct ProfileInt {
    const char* key;
    int value;
};

// Reads `count` (at most 32) distinct keys in one pass over the `length`
// bytes at `text`: each takes its value in the first section named
// `section` (names compared without regard to case). A key that is missing
// there, or whose value is missing or blank, keeps the value it came with,
// its fallback. A UTF-8 byte-order mark is passed over.
void ProfileTextInts(const char* text, size_t length, const char* section, ProfileInt* values, int count);

// The most that writing these keys can add to a text: each key on a line
// of its own with the longest number, the section's header, and a line end
// for a last line that has none.
size_t ProfileTextGrowth(const char* section, const ProfileInt* values, int count);

// Writes `count` (at most 32) distinct keys' values into `section` of the `length` bytes at
// `text`, each as "%d" and as if written one after another with the profile
// function: the first line of a key in that section gets the new value, a
// missing key is added after the section's last key line, a missing section
// is added at the end; every other byte stays as it was. The result goes to
// `out` (not overlapping the text); its length, or -1 when it does not fit
// in `capacity` bytes.
int WriteProfileTextInts(const char* text, size_t length, const char* section, const ProfileInt* values,
                         int count, char* out, size_t capacity);
