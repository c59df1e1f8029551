// Bytes of no format at all, the same for the same seed, for the tests that
// hand the program damaged files.
#pragma once

#include <cstddef>
#include <random>
#include <string>

inline std::string RandomBytes(unsigned seed, size_t size)
{
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random() & 0xFF);
    return bytes;
}
