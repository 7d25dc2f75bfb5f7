// Reads 24-bit BMP files for o3DLoadTexture, and checks the headers of every BMP before a loader
// sees it. The header is not trusted: every size and offset is checked against the file's real
// length before anything is allocated, so a corrupt or hostile file fails cleanly instead of
// reading out of bounds or asking for absurd memory.
#include "assets/bmp24.h"

#include <stdlib.h>

static const uint32_t kFileHeaderBytes = 14;
static const uint32_t kCoreInfoBytes = 12;
static const uint32_t kInfoBytes = 40;
static const uint32_t kHeaderBytes = kFileHeaderBytes + kInfoBytes;
static const int kBitsPerPixel = 24;
static const int kMaxBitsPerPixel = 32;
static const uint32_t kNoCompression = 0;
static const uint32_t kRunLength8 = 1;
static const uint32_t kRunLength4 = 2;
static const uint32_t kBitFields = 3;
// Two bytes of run-length data paint at most 255 pixels; a file claiming more pixels per byte
// is refused (only skips over blank areas could reach it, and those are not worth the risk).
static const uint64_t kMaxPixelsPerRunLengthByte = 128;

struct BmpHeader {
    uint32_t dataOffset;
    int32_t width;
    int32_t height;
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

// Fills the shape from the first bytes of the file; 0 unless they start a BMP with a core or an
// info header.
static int decodeShape(const unsigned char *raw, size_t got, BmpShape *shape)
{
    if (got < kFileHeaderBytes + kCoreInfoBytes || raw[0] != 'B' || raw[1] != 'M')
        return 0;
    shape->dataOffset = readLe32(raw + 10);
    shape->infoBytes = readLe32(raw + 14);
    if (shape->infoBytes == kCoreInfoBytes) {
        shape->width = readLe16(raw + 18);
        shape->height = readLe16(raw + 20);
        shape->bitCount = readLe16(raw + 24);
        shape->compression = kNoCompression;
        shape->imageSize = 0;
        return 1;
    }
    if (shape->infoBytes < kInfoBytes || got < kHeaderBytes)
        return 0;
    shape->width = (int32_t)readLe32(raw + 18);
    shape->height = (int32_t)readLe32(raw + 22);
    shape->bitCount = readLe16(raw + 28);
    shape->compression = readLe32(raw + 30);
    shape->imageSize = readLe32(raw + 34);
    return 1;
}

static int pixelsFitTheFile(const BmpShape *shape)
{
    uint64_t rows = shape->height < 0 ? (uint64_t)(-(int64_t)shape->height) : shape->height;
    uint64_t pixelStart =
        shape->dataOffset ? shape->dataOffset : (uint64_t)kFileHeaderBytes + shape->infoBytes;
    if (shape->compression == kNoCompression || shape->compression == kBitFields) {
        uint64_t stride = ((uint64_t)shape->width * shape->bitCount + 31) / 32 * 4;
        return pixelStart + stride * rows <= shape->fileBytes;
    }
    if (shape->compression == kRunLength8 || shape->compression == kRunLength4)
        return shape->imageSize > 0 && pixelStart + shape->imageSize <= shape->fileBytes &&
               (uint64_t)shape->width * rows <=
                   (uint64_t)shape->imageSize * kMaxPixelsPerRunLengthByte;
    return 0;
}

int bmpReadShape(FILE *file, BmpShape *shape)
{
    unsigned char raw[kHeaderBytes];
    size_t got = fread(raw, 1, sizeof raw, file);
    if (!decodeShape(raw, got, shape) || fseek(file, 0, SEEK_END) != 0)
        return 0;
    long length = ftell(file);
    if (length < 0)
        return 0;
    shape->fileBytes = (uint64_t)length;
    if (shape->width <= 0 || shape->height == 0 || shape->width > kMaxBitmapSidePixels ||
        shape->height < -kMaxBitmapSidePixels || shape->height > kMaxBitmapSidePixels)
        return 0;
    if (shape->bitCount == 0 || shape->bitCount > kMaxBitsPerPixel)
        return 0;
    return pixelsFitTheFile(shape);
}

int bmpFileFitsItsHeader(const char *path)
{
    FILE *file = path ? fopen(path, "rb") : nullptr;
    if (!file)
        return 0;
    BmpShape shape;
    int fits = bmpReadShape(file, &shape);
    fclose(file);
    return fits;
}

// The shape narrowed to what bmp24Read takes: 24-bit plain rows stored bottom first, with the
// defaults for a zero image size and data offset applied, all of it inside the file.
static int readHeader(FILE *file, BmpHeader *header)
{
    BmpShape shape;
    // A negative height (top-down rows) is refused with the rest: the rows would land upside down.
    if (!bmpReadShape(file, &shape) || shape.infoBytes < kInfoBytes || shape.height < 0 ||
        shape.bitCount != kBitsPerPixel || shape.compression != kNoCompression)
        return 0;
    header->width = shape.width;
    header->height = shape.height;
    header->dataOffset = shape.dataOffset ? shape.dataOffset : kHeaderBytes;
    uint64_t stride = ((uint64_t)shape.width * 3 + 3) & ~(uint64_t)3;
    uint64_t needed = stride * (uint64_t)shape.height;
    header->imageSize = shape.imageSize ? shape.imageSize : (uint32_t)needed;
    if (header->imageSize < needed)
        return 0;
    return (uint64_t)header->dataOffset + header->imageSize <= shape.fileBytes;
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
