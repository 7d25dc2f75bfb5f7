// Reads 24-bit BMP files for o3DLoadTexture. The header is not trusted: every size and offset is
// checked against the file's real length before anything is allocated, so a corrupt or hostile
// file fails cleanly instead of reading out of bounds or asking for absurd memory.
#include "assets/bmp24.h"

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

static const long kHeaderBytes = 54;
static const int kBitsPerPixel = 24;
static const uint32_t kNoCompression = 0;

struct BmpHeader {
    uint32_t dataOffset;
    int32_t width;
    int32_t height;
    uint16_t bitCount;
    uint32_t compression;
    uint32_t imageSize;
};

static uint32_t readLe32(const unsigned char *p)
{
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

static uint16_t readLe16(const unsigned char *p)
{
    return (uint16_t)(p[0] | p[1] << 8);
}

static long fileLength(FILE *file)
{
    if (fseek(file, 0, SEEK_END) != 0)
        return -1;
    return ftell(file);
}

// Fills the header and applies the defaults for a zero image size and data offset. 0 if the file
// is not a 24-bit uncompressed bottom-up BMP of sane size whose pixels lie inside the file.
static int readHeader(FILE *file, BmpHeader *header)
{
    unsigned char raw[kHeaderBytes];
    if (fread(raw, 1, sizeof raw, file) != sizeof raw || raw[0] != 'B' || raw[1] != 'M')
        return 0;
    header->dataOffset = readLe32(raw + 10);
    header->width = (int32_t)readLe32(raw + 18);
    header->height = (int32_t)readLe32(raw + 22);
    header->bitCount = readLe16(raw + 28);
    header->compression = readLe32(raw + 30);
    header->imageSize = readLe32(raw + 34);
    // A negative height (top-down rows) is refused with the rest: the rows would land upside down.
    if (header->width <= 0 || header->height <= 0 || header->width > kMaxBitmapSidePixels ||
        header->height > kMaxBitmapSidePixels)
        return 0;
    if (header->bitCount != kBitsPerPixel || header->compression != kNoCompression)
        return 0;
    uint64_t stride = ((uint64_t)header->width * 3 + 3) & ~(uint64_t)3;
    uint64_t needed = stride * (uint64_t)header->height;
    if (header->imageSize == 0)
        header->imageSize = (uint32_t)needed;
    if (header->dataOffset == 0)
        header->dataOffset = (uint32_t)kHeaderBytes;
    long length = fileLength(file);
    if (length < 0 || header->imageSize < needed)
        return 0;
    return (uint64_t)header->dataOffset + header->imageSize <= (uint64_t)length;
}

// Drops each row's padding and turns B, G, R into R, G, B, keeping the file's row order.
static unsigned char *packRows(const unsigned char *data, int width, int height)
{
    size_t stride = ((size_t)width * 3 + 3) & ~(size_t)3;
    unsigned char *rgb = (unsigned char *)malloc((size_t)width * 3 * (size_t)height);
    if (!rgb)
        return nullptr;
    for (int y = 0; y < height; ++y) {
        const unsigned char *src = data + stride * (size_t)y;
        unsigned char *dst = rgb + (size_t)width * 3 * (size_t)y;
        for (int x = 0; x < width; ++x) {
            dst[x * 3 + 0] = src[x * 3 + 2];
            dst[x * 3 + 1] = src[x * 3 + 1];
            dst[x * 3 + 2] = src[x * 3 + 0];
        }
    }
    return rgb;
}

unsigned char *bmp24Read(const char *path, int *width, int *height)
{
    if (!path)
        return nullptr;
    FILE *file = fopen(path, "rb");
    if (!file)
        return nullptr;
    BmpHeader header;
    unsigned char *data = nullptr;
    int ok = readHeader(file, &header);
    if (ok) {
        data = (unsigned char *)malloc(header.imageSize);
        ok = data && fseek(file, (long)header.dataOffset, SEEK_SET) == 0 &&
             fread(data, 1, header.imageSize, file) == header.imageSize;
    }
    fclose(file);
    unsigned char *rgb = ok ? packRows(data, header.width, header.height) : nullptr;
    free(data);
    if (rgb) {
        *width = header.width;
        *height = header.height;
    }
    return rgb;
}

int bmp24PowerOfTwo(int size)
{
    int power = 1;
    while (power < size)
        power *= 2;
    return power;
}

unsigned char *bmp24Resample(const unsigned char *src, int srcWidth, int srcHeight, int width,
                             int height)
{
    unsigned char *dst = (unsigned char *)malloc((size_t)width * (size_t)height * 3);
    if (!dst)
        return nullptr;
    float stepX = (float)srcWidth / (float)width;
    float stepY = (float)srcHeight / (float)height;
    for (int y = 0; y < height; ++y) {
        int sy = (int)((float)y * stepY);
        if (sy > srcHeight - 1)
            sy = srcHeight - 1;
        for (int x = 0; x < width; ++x) {
            int sx = (int)((float)x * stepX);
            if (sx > srcWidth - 1)
                sx = srcWidth - 1;
            const unsigned char *from = src + ((size_t)sy * (size_t)srcWidth + (size_t)sx) * 3;
            unsigned char *to = dst + ((size_t)y * (size_t)width + (size_t)x) * 3;
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
        }
    }
    return dst;
}
