// PNG writer of the art tools: the chunks are put together here, the pixels
// compressed by zlib at its best level (deterministic: the same pixels give
// the same bytes on every build).
#ifndef TSWEEPER_TOOLS_PNG_OUT_H
#define TSWEEPER_TOOLS_PNG_OUT_H

#include "byte_out.h"

#include <zlib.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

// A zlib stream of `data`, compressed as small as zlib makes it.
inline Bytes ZlibCompressed(const Bytes& data)
{
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    Bytes out(size);
    if (compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), Z_BEST_COMPRESSION) != Z_OK)
        throw std::runtime_error("zlib could not compress the picture");
    out.resize(size);
    return out;
}

inline void PutPngChunk(Bytes& out, const char type[4], const Bytes& payload)
{
    PutBe32(out, static_cast<std::uint32_t>(payload.size()));
    const std::size_t crcStart = out.size();
    for (int i = 0; i < 4; ++i) PutU8(out, static_cast<std::uint8_t>(type[i]));
    out.insert(out.end(), payload.begin(), payload.end());
    PutBe32(out, static_cast<std::uint32_t>(crc32(0, out.data() + crcStart, static_cast<uInt>(out.size() - crcStart))));
}

// The signature and the header of a width x height picture of 8-bit
// samples of `colourType` (2: RGB, 3: palette).
inline Bytes PngStart(int width, int height, int colourType)
{
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutBe32(header, static_cast<std::uint32_t>(width));
    PutBe32(header, static_cast<std::uint32_t>(height));
    PutU8(header, 8);  // bits per sample or index
    PutU8(header, static_cast<std::uint32_t>(colourType));
    PutU8(header, 0);  // compression: deflate
    PutU8(header, 0);  // filter method 0
    PutU8(header, 0);  // no interlace
    PutPngChunk(out, "IHDR", header);
    return out;
}

// The pixel rows (`rowBytes` each, from the top) compressed, each after
// filter type None (the best for palette pictures, and for the preview's
// flat colours), and the end of the file.
inline void PutPngRows(Bytes& out, const Bytes& pixels, std::size_t rowBytes)
{
    Bytes scanlines;
    for (std::size_t at = 0; at < pixels.size(); at += rowBytes) {
        PutU8(scanlines, 0);
        scanlines.insert(scanlines.end(), pixels.begin() + static_cast<std::ptrdiff_t>(at),
                         pixels.begin() + static_cast<std::ptrdiff_t>(at + rowBytes));
    }
    PutPngChunk(out, "IDAT", ZlibCompressed(scanlines));
    PutPngChunk(out, "IEND", Bytes());
}

// PNG file of a width x height image given as RGB triples, rows from the top.
inline Bytes EncodePng(int width, int height, const Bytes& rgb)
{
    Bytes out = PngStart(width, height, 2);
    PutPngRows(out, rgb, static_cast<std::size_t>(width) * 3);
    return out;
}

// PNG file of a width x height palette picture: `indices` row by row from
// the top, one byte each, into `palette`; `alpha` gives the opacity of the
// first entries (the others are opaque).
inline Bytes EncodePalettePng(int width, int height, const std::vector<std::array<std::uint8_t, 3>>& palette,
                              const Bytes& alpha, const Bytes& indices)
{
    Bytes out = PngStart(width, height, 3);
    Bytes entries;
    for (const auto& rgb : palette) entries.insert(entries.end(), rgb.begin(), rgb.end());
    PutPngChunk(out, "PLTE", entries);
    if (!alpha.empty()) PutPngChunk(out, "tRNS", alpha);
    PutPngRows(out, indices, static_cast<std::size_t>(width));
    return out;
}

#endif
