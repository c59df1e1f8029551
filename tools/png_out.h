// Minimal PNG encoder, no compression library needed. Preview pictures are
// 8-bit RGB in stored (uncompressed) deflate blocks: their size does not
// matter. The page's icons are palette pictures compressed by a small
// deflate of this file's own (LZ77 matches in one block of the fixed
// Huffman codes), since they are scaled pixel art that the page's folder
// carries in a size budget.
#ifndef TSWEEPER_TOOLS_PNG_OUT_H
#define TSWEEPER_TOOLS_PNG_OUT_H

#include "byte_out.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline std::uint32_t Crc32(const std::uint8_t* data, std::size_t size)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

inline std::uint32_t Adler32(const Bytes& data)
{
    const std::uint32_t modulus = 65521;
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : data) {
        a = (a + byte) % modulus;
        b = (b + a) % modulus;
    }
    return (b << 16) | a;
}

// zlib stream holding `data` in stored deflate blocks of at most 65535 bytes.
inline Bytes ZlibStored(const Bytes& data)
{
    Bytes out;
    PutU8(out, 0x78);  // deflate, 32 KiB window
    PutU8(out, 0x01);  // no dictionary, fastest; (0x78 << 8 | 0x01) is a multiple of 31
    std::size_t offset = 0;
    do {
        std::size_t length = data.size() - offset;
        if (length > 65535) length = 65535;
        bool last = offset + length == data.size();
        PutU8(out, last ? 1 : 0);  // BFINAL, BTYPE 00 (stored)
        PutLe16(out, static_cast<std::uint32_t>(length));
        PutLe16(out, static_cast<std::uint32_t>(~length & 0xFFFF));
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(offset),
                   data.begin() + static_cast<std::ptrdiff_t>(offset + length));
        offset += length;
    } while (offset < data.size());
    PutBe32(out, Adler32(data));
    return out;
}

// Bits of a deflate stream, packed from the least significant bit up.
struct BitWriter {
    Bytes& out;
    std::uint32_t pending = 0;
    int count = 0;

    void Put(std::uint32_t value, int bits)
    {
        for (int i = 0; i < bits; ++i) {
            pending |= ((value >> i) & 1u) << count;
            if (++count == 8) Flush();
        }
    }
    // A Huffman code goes out from its most significant bit.
    void PutCode(std::uint32_t code, int bits)
    {
        for (int i = bits - 1; i >= 0; --i) Put(code >> i, 1);
    }
    void Flush()
    {
        if (count == 0) return;
        PutU8(out, pending);
        pending = 0;
        count = 0;
    }
};

// The fixed literal/length code of deflate (RFC 1951, 3.2.6).
inline void PutFixedSymbol(BitWriter& bits, int symbol)
{
    if (symbol < 144) bits.PutCode(0x30 + static_cast<std::uint32_t>(symbol), 8);
    else if (symbol < 256) bits.PutCode(0x190 + static_cast<std::uint32_t>(symbol - 144), 9);
    else if (symbol < 280) bits.PutCode(static_cast<std::uint32_t>(symbol - 256), 7);
    else bits.PutCode(0xC0 + static_cast<std::uint32_t>(symbol - 280), 8);
}

inline void PutMatch(BitWriter& bits, int length, int distance)
{
    static const int lengthBase[29] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27,
                                       31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
    static const int lengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                        2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
    static const int distanceBase[30] = {1, 2, 3, 4, 5, 7, 9, 13, 17, 25, 33, 49, 65, 97, 129,
                                         193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097,
                                         6145, 8193, 12289, 16385, 24577};
    int code = 28;
    while (lengthBase[code] > length) --code;
    PutFixedSymbol(bits, 257 + code);
    bits.Put(static_cast<std::uint32_t>(length - lengthBase[code]), lengthExtra[code]);
    int distanceCode = 29;
    while (distanceBase[distanceCode] > distance) --distanceCode;
    bits.PutCode(static_cast<std::uint32_t>(distanceCode), 5);
    const int distanceExtra = distanceCode < 4 ? 0 : distanceCode / 2 - 1;
    bits.Put(static_cast<std::uint32_t>(distance - distanceBase[distanceCode]), distanceExtra);
}

// zlib stream of `data` in one deflate block of fixed codes: the longest
// earlier match (3 to 258 bytes, at most 32 KiB back) found through a hash
// chain of 3-byte prefixes, else a literal.
inline Bytes ZlibCompressed(const Bytes& data)
{
    const int window = 32768;
    const int maxLength = 258;
    const int maxChain = 256;
    const std::size_t size = data.size();
    std::vector<int> head(1 << 15, -1);
    std::vector<int> previous(size, -1);
    auto hashAt = [&](std::size_t i) {
        return static_cast<std::size_t>((data[i] << 10 ^ data[i + 1] << 5 ^ data[i + 2]) & 0x7FFF);
    };
    auto remember = [&](std::size_t i) {
        if (i + 2 >= size) return;
        const std::size_t hash = hashAt(i);
        previous[i] = head[hash];
        head[hash] = static_cast<int>(i);
    };

    Bytes out;
    PutU8(out, 0x78);  // deflate, 32 KiB window
    PutU8(out, 0x01);  // no dictionary; (0x78 << 8 | 0x01) is a multiple of 31
    BitWriter bits{out};
    bits.Put(1, 1);  // BFINAL
    bits.Put(1, 2);  // BTYPE 01: fixed Huffman codes
    std::size_t i = 0;
    while (i < size) {
        int bestLength = 0;
        int bestDistance = 0;
        if (i + 2 < size) {
            int candidate = head[hashAt(i)];
            for (int chain = 0; candidate >= 0 && chain < maxChain; ++chain) {
                const int distance = static_cast<int>(i) - candidate;
                if (distance > window) break;
                int length = 0;
                while (length < maxLength && i + static_cast<std::size_t>(length) < size &&
                       data[static_cast<std::size_t>(candidate + length)] == data[i + static_cast<std::size_t>(length)])
                    ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = distance;
                    if (length == maxLength) break;
                }
                candidate = previous[static_cast<std::size_t>(candidate)];
            }
        }
        if (bestLength >= 3) {
            PutMatch(bits, bestLength, bestDistance);
            for (int k = 0; k < bestLength; ++k) remember(i + static_cast<std::size_t>(k));
            i += static_cast<std::size_t>(bestLength);
        } else {
            PutFixedSymbol(bits, data[i]);
            remember(i);
            ++i;
        }
    }
    PutFixedSymbol(bits, 256);  // end of block
    bits.Flush();
    PutBe32(out, Adler32(data));
    return out;
}

inline void PutPngChunk(Bytes& out, const char type[4], const Bytes& payload)
{
    PutBe32(out, static_cast<std::uint32_t>(payload.size()));
    std::size_t crcStart = out.size();
    for (int i = 0; i < 4; ++i) PutU8(out, static_cast<std::uint8_t>(type[i]));
    out.insert(out.end(), payload.begin(), payload.end());
    PutBe32(out, Crc32(out.data() + crcStart, out.size() - crcStart));
}

// PNG file of a width x height image given as RGB triples, rows from the top.
inline Bytes EncodePng(int width, int height, const Bytes& rgb)
{
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutBe32(header, static_cast<std::uint32_t>(width));
    PutBe32(header, static_cast<std::uint32_t>(height));
    PutU8(header, 8);  // bits per sample
    PutU8(header, 2);  // colour type: RGB
    PutU8(header, 0);  // compression: deflate
    PutU8(header, 0);  // filter method 0
    PutU8(header, 0);  // no interlace
    PutPngChunk(out, "IHDR", header);

    Bytes scanlines;
    std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    for (int y = 0; y < height; ++y) {
        PutU8(scanlines, 0);  // filter type None
        auto row = rgb.begin() + static_cast<std::ptrdiff_t>(rowBytes * static_cast<std::size_t>(y));
        scanlines.insert(scanlines.end(), row, row + static_cast<std::ptrdiff_t>(rowBytes));
    }
    PutPngChunk(out, "IDAT", ZlibStored(scanlines));
    PutPngChunk(out, "IEND", Bytes());
    return out;
}

// PNG file of a width x height palette picture: `indices` row by row from
// the top, one byte each, into `palette`; `alpha` gives the opacity of the
// first entries (the others are opaque). Compressed, for the page's icons.
inline Bytes EncodePalettePng(int width, int height, const std::vector<std::array<std::uint8_t, 3>>& palette,
                              const Bytes& alpha, const Bytes& indices)
{
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutBe32(header, static_cast<std::uint32_t>(width));
    PutBe32(header, static_cast<std::uint32_t>(height));
    PutU8(header, 8);  // bits per index
    PutU8(header, 3);  // colour type: palette
    PutU8(header, 0);
    PutU8(header, 0);
    PutU8(header, 0);
    PutPngChunk(out, "IHDR", header);
    Bytes entries;
    for (const auto& rgb : palette) entries.insert(entries.end(), rgb.begin(), rgb.end());
    PutPngChunk(out, "PLTE", entries);
    if (!alpha.empty()) PutPngChunk(out, "tRNS", alpha);

    Bytes scanlines;
    for (int y = 0; y < height; ++y) {
        PutU8(scanlines, 0);  // filter type None: the matches find the repeated rows
        auto row = indices.begin() + static_cast<std::ptrdiff_t>(width) * y;
        scanlines.insert(scanlines.end(), row, row + width);
    }
    PutPngChunk(out, "IDAT", ZlibCompressed(scanlines));
    PutPngChunk(out, "IEND", Bytes());
    return out;
}

#endif
