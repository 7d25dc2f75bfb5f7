// BMP headers that claim far more picture than their file holds, for the tests that every bitmap
// loader refuses them before allocating: bare headers written field by field, each named for
// what it claims.
#ifndef O3D_TESTS_HOSTILE_BITMAPS_H
#define O3D_TESTS_HOSTILE_BITMAPS_H

#include "bmp_writer.h"

#include <string>
#include <vector>

struct NamedBitmap {
    std::string what;
    std::vector<uint8_t> bytes;
};

static const uint32_t kRunLength8 = 1;
static const uint32_t kRunLength4 = 2;
static const uint32_t kBitFields = 3;

// A 40-byte info header claiming the given picture, zero-filled to `fileBytes`.
inline std::vector<uint8_t> bareHeader(int32_t width, int32_t height, int bitsPerPixel,
                                       uint32_t compression, uint32_t imageSize,
                                       size_t fileBytes = 62)
{
    std::vector<uint8_t> bytes(fileBytes, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    putLe32(bytes, kBmpFileSize, (uint32_t)fileBytes);
    putLe32(bytes, kBmpDataOffset, (uint32_t)kBmpHeaderBytes);
    putLe32(bytes, 14, 40);
    putLe32(bytes, kBmpWidth, (uint32_t)width);
    putLe32(bytes, kBmpHeight, (uint32_t)height);
    putLe16(bytes, 26, 1);
    putLe16(bytes, kBmpBitCount, (uint32_t)bitsPerPixel);
    putLe32(bytes, kBmpCompression, compression);
    putLe32(bytes, kBmpImageSize, imageSize);
    return bytes;
}

// The old 12-byte core header (16-bit sides, no compression), followed by `pixels`.
inline std::vector<uint8_t> coreHeader(uint16_t width, uint16_t height, int bitsPerPixel,
                                       const std::vector<uint8_t> &pixels)
{
    std::vector<uint8_t> bytes(26 + pixels.size(), 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    putLe32(bytes, kBmpDataOffset, 26);
    putLe32(bytes, 14, 12);
    putLe16(bytes, 18, width);
    putLe16(bytes, 20, height);
    putLe16(bytes, 22, 1);
    putLe16(bytes, 24, (uint32_t)bitsPerPixel);
    for (size_t i = 0; i < pixels.size(); ++i)
        bytes[26 + i] = pixels[i];
    putLe32(bytes, kBmpFileSize, (uint32_t)bytes.size());
    return bytes;
}

// Small files whose headers ask a loader for hundreds of megabytes to gigabytes.
inline std::vector<NamedBitmap> hostileBitmaps(void)
{
    return {
        {"62 bytes claiming 16000 x -40000 at 24 bits", bareHeader(16000, -40000, 24, 0, 0)},
        {"RLE8 claiming 30000 x 20000", bareHeader(30000, 20000, 8, kRunLength8, 8)},
        {"62 bytes claiming 16000 x -16000 at 24 bits", bareHeader(16000, -16000, 24, 0, 0)},
        {"62 bytes claiming 16384 x 16384 at 32 bits with bit fields",
         bareHeader(16384, 16384, 32, kBitFields, 0)},
        {"62 bytes claiming 16384 x 16384 at 1 bit", bareHeader(16384, 16384, 1, 0, 0)},
        {"RLE8 claiming 16000 x 16000 from 8 bytes", bareHeader(16000, 16000, 8, kRunLength8, 8)},
        {"RLE4 claiming 16000 x 16000 from data past the end",
         bareHeader(16000, 16000, 4, kRunLength4, 0x40000000u)},
        {"core header claiming 16000 x 16000 at 24 bits", coreHeader(16000, 16000, 24, {0, 0})},
    };
}

#endif
