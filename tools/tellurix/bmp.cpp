// Writes a height map as an uncompressed 24-bit Windows bitmap: grey pixels (blue = green = red),
// rows stored bottom-up and padded to four bytes, every header field little-endian on any host.
#include "heightmap.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum {
    kFileHeaderBytes = 14,
    kInfoHeaderBytes = 40,
    kPixelDataOffsetBytes = kFileHeaderBytes + kInfoHeaderBytes,
    kBitsPerPixel = 24,
};

static void putLe16(unsigned char *at, uint32_t value)
{
    at[0] = (unsigned char)(value & 0xFFu);
    at[1] = (unsigned char)((value >> 8) & 0xFFu);
}

static void putLe32(unsigned char *at, uint32_t value)
{
    putLe16(at, value & 0xFFFFu);
    putLe16(at + 2, value >> 16);
}

static size_t bmpRowBytes(int width)
{
    return ((size_t)width * 3u + 3u) / 4u * 4u;
}

static void fillHeaders(unsigned char *header, int width, int height)
{
    memset(header, 0, kPixelDataOffsetBytes);
    header[0] = 'B';
    header[1] = 'M';
    putLe32(header + 2, (uint32_t)(bmpRowBytes(width) * (size_t)height + kPixelDataOffsetBytes));
    putLe32(header + 10, kPixelDataOffsetBytes);
    unsigned char *info = header + kFileHeaderBytes;
    putLe32(info + 0, kInfoHeaderBytes);
    putLe32(info + 4, (uint32_t)width);
    putLe32(info + 8, (uint32_t)height); // positive: rows are stored bottom-up
    putLe16(info + 12, 1);               // planes
    putLe16(info + 14, kBitsPerPixel);
    // compression, image size, resolutions and colour counts stay 0
}

int tellurixWriteBmp(const char *path, const unsigned char *heights, int width, int height)
{
    FILE *file = fopen(path, "wb");
    if (file == nullptr) {
        return 0;
    }
    unsigned char header[kPixelDataOffsetBytes];
    fillHeaders(header, width, height);
    int ok = fwrite(header, 1, sizeof header, file) == sizeof header;

    size_t rowBytes = bmpRowBytes(width);
    unsigned char *row = (unsigned char *)calloc(rowBytes, 1); // the padding stays zero
    if (row == nullptr) {
        fclose(file); // the file keeps its headers only
        return 0;
    }
    for (int y = height - 1; y >= 0 && ok; y--) {
        const unsigned char *source = heights + (size_t)y * (size_t)width;
        unsigned char *out = row;
        for (int x = 0; x < width; x++) {
            out[0] = out[1] = out[2] = source[x];
            out += 3;
        }
        ok = fwrite(row, 1, rowBytes, file) == rowBytes;
    }
    free(row);
    // A full disk shows up here at the latest; the caller then reports the file as not saved.
    if (fclose(file) != 0) {
        ok = 0;
    }
    return ok;
}
