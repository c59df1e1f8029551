#include "render/bitmap_file_check.h"

namespace {

uint32_t Read16(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8;
}

uint32_t Read32(const unsigned char* p)
{
    return Read16(p) | Read16(p + 2) << 16;
}

constexpr size_t FileHeaderSize = 14;
constexpr uint32_t CoreHeaderSize = 12;
constexpr uint32_t Uncompressed = 0;
constexpr uint32_t BitFields = 3;

}  // namespace

int BitmapFileIsWhole(const unsigned char* head, size_t headLength, uint64_t fileSize)
{
    if (headLength < FileHeaderSize + 4 || head[0] != 'B' || head[1] != 'M')
        return 0;
    const uint64_t dataOffset = Read32(head + 10);
    const uint32_t infoSize = Read32(head + 14);
    uint64_t width, height, bitsPerPixel;
    uint32_t compression = Uncompressed;
    uint64_t imageSize = 0;
    if (infoSize == CoreHeaderSize) {
        if (headLength < FileHeaderSize + CoreHeaderSize)
            return 0;
        width = Read16(head + 18);
        height = Read16(head + 20);
        bitsPerPixel = Read16(head + 24);
    } else {
        if (infoSize < 40 || headLength < FileHeaderSize + 40)
            return 0;
        const int32_t signedWidth = static_cast<int32_t>(Read32(head + 18));
        const int32_t signedHeight = static_cast<int32_t>(Read32(head + 22));
        if (signedWidth <= 0 || signedHeight == 0)
            return 0;
        width = static_cast<uint64_t>(signedWidth);
        // A negative height is a top-down bitmap of that many rows.
        height = signedHeight < 0 ? 0u - static_cast<uint64_t>(static_cast<int64_t>(signedHeight))
                                  : static_cast<uint64_t>(signedHeight);
        bitsPerPixel = Read16(head + 28);
        compression = Read32(head + 30);
        imageSize = Read32(head + 34);
    }
    if (width == 0 || height == 0 || bitsPerPixel == 0)
        return 0;
    uint64_t needed;
    if (compression == Uncompressed || compression == BitFields) {
        // Rows are padded to whole 32-bit words.
        const uint64_t stride = (width * bitsPerPixel + 31) / 32 * 4;
        needed = stride * height;
    } else {
        // Compressed data says its own size.
        needed = imageSize;
    }
    return dataOffset + needed <= fileSize;
}
