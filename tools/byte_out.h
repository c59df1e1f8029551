// Byte-exact building blocks for the file writers of the art tools: the
// Windows formats (BMP, ICO) are little-endian, PNG is big-endian, and every
// field is written explicitly so the output does not depend on the host.
#ifndef TSWEEPER_TOOLS_BYTE_OUT_H
#define TSWEEPER_TOOLS_BYTE_OUT_H

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

inline void PutU8(Bytes& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

inline void PutLe16(Bytes& out, std::uint32_t value)
{
    PutU8(out, value);
    PutU8(out, value >> 8);
}

inline void PutLe32(Bytes& out, std::uint32_t value)
{
    PutLe16(out, value);
    PutLe16(out, value >> 16);
}

inline void PutBe32(Bytes& out, std::uint32_t value)
{
    PutU8(out, value >> 24);
    PutU8(out, value >> 16);
    PutU8(out, value >> 8);
    PutU8(out, value);
}

// Writes `bytes` to `path`, replacing the file; false when that fails.
inline bool SaveBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

#endif
