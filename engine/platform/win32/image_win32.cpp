// The win32 image seam: the system's bitmap loader (LoadImageA at the file's own size) and
// GetDIBits into a top-down 24-bit DIB through a memory DC compatible with the screen, so every
// BMP that Windows reads arrives as B, G, R rows padded to 4 bytes.
//
// Three kinds of file are settled before the loader sees them. Files cut inside their own headers
// are refused (Wine's loader makes a picture of whatever it finds past them). Uncompressed files
// whose rows run past the end of the file are refused, as the sdl backend refuses them (Wine's
// loader reads them as black). Top-down files (negative height), which Wine's loader also reads
// as black, are made into the same screen-compatible bitmap by CreateDIBitmap from the file's own
// bytes: the conversion LoadImageA makes for every other file.
#include "platform/seam.h"

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

static const WORD kDibBitCount = 24;
static const size_t kFileHeaderBytes = 14;
static const size_t kHeadersBytes = 54; // file header + BITMAPINFOHEADER
static const uint32_t kBitFieldMaskBytes = 12;
// Far above any picture the engine loads: a bound for reading a whole file into memory.
static const long kMaxWholeFileBytes = 256L * 1024 * 1024;

// What the headers of a file with a BITMAPINFOHEADER (or a later one) say.
struct BmpShape {
    BITMAPINFOHEADER info;
    uint32_t dataOffset;
    long fileBytes;
};

// 1 for a file starting with "BM" and an info header of at least 40 bytes.
static int readShape(const char *path, BmpShape *shape)
{
    unsigned char head[kHeadersBytes] = {};
    FILE *file = fopen(path, "rb");
    if (!file)
        return 0;
    size_t got = fread(head, 1, sizeof head, file);
    shape->fileBytes = fseek(file, 0, SEEK_END) == 0 ? ftell(file) : -1;
    fclose(file);
    memcpy(&shape->dataOffset, head + 10, sizeof shape->dataOffset);
    memcpy(&shape->info, head + kFileHeaderBytes, sizeof shape->info);
    return got == sizeof head && head[0] == 'B' && head[1] == 'M' &&
           shape->info.biSize >= sizeof(BITMAPINFOHEADER);
}

// 1 for a file too short for the file header and the size of the info header, or for a "BM"
// file that ends inside the info header it declares.
static int headersCut(const char *path)
{
    unsigned char head[kFileHeaderBytes + sizeof(DWORD)] = {};
    FILE *file = fopen(path, "rb");
    if (!file)
        return 1;
    size_t got = fread(head, 1, sizeof head, file);
    long fileBytes = fseek(file, 0, SEEK_END) == 0 ? ftell(file) : -1;
    fclose(file);
    if (got < sizeof head || fileBytes < 0)
        return 1;
    DWORD infoBytes = 0;
    memcpy(&infoBytes, head + kFileHeaderBytes, sizeof infoBytes);
    return head[0] == 'B' && head[1] == 'M' &&
           (uint64_t)kFileHeaderBytes + infoBytes > (uint64_t)fileBytes;
}

static int isUncompressed(const BITMAPINFOHEADER &info)
{
    return info.biCompression == BI_RGB || info.biCompression == BI_BITFIELDS;
}

// 1 if the colour table ends before the pixels and every row lies inside the file.
static int pixelsInsideFile(const BmpShape &shape)
{
    const BITMAPINFOHEADER &info = shape.info;
    if (info.biWidth <= 0 || info.biHeight == 0 || info.biBitCount == 0 || info.biBitCount > 32)
        return 0;
    uint64_t height = info.biHeight < 0 ? (uint64_t)(-(int64_t)info.biHeight) : info.biHeight;
    uint64_t stride = ((uint64_t)info.biWidth * info.biBitCount + 31) / 32 * 4;
    uint64_t colours = 0;
    if (info.biBitCount <= 8)
        colours = info.biClrUsed ? info.biClrUsed : (uint64_t)1 << info.biBitCount;
    uint64_t tableEnd = kFileHeaderBytes + (uint64_t)info.biSize + colours * 4 +
                        (info.biCompression == BI_BITFIELDS ? kBitFieldMaskBytes : 0);
    return tableEnd <= shape.dataOffset &&
           (uint64_t)shape.dataOffset + stride * height <= (uint64_t)shape.fileBytes;
}

static unsigned char *readWholeFile(const char *path, long length)
{
    if (length <= 0 || length > kMaxWholeFileBytes)
        return nullptr;
    FILE *file = fopen(path, "rb");
    if (!file)
        return nullptr;
    unsigned char *bytes = (unsigned char *)malloc((size_t)length);
    if (bytes && fread(bytes, 1, (size_t)length, file) != (size_t)length) {
        free(bytes);
        bytes = nullptr;
    }
    fclose(file);
    return bytes;
}

static HBITMAP loadTopDown(const char *path, const BmpShape &shape)
{
    unsigned char *file = readWholeFile(path, shape.fileBytes);
    if (!file)
        return NULL;
    const BITMAPINFO *info = (const BITMAPINFO *)(file + kFileHeaderBytes);
    HDC screen = GetDC(NULL);
    HBITMAP bitmap = CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, file + shape.dataOffset,
                                    info, DIB_RGB_COLORS);
    ReleaseDC(NULL, screen);
    free(file);
    return bitmap;
}

static HBITMAP loadBitmap(const char *path)
{
    BmpShape shape;
    if (headersCut(path))
        return NULL;
    if (readShape(path, &shape) && isUncompressed(shape.info)) {
        if (!pixelsInsideFile(shape))
            return NULL;
        if (shape.info.biHeight < 0)
            return loadTopDown(path, shape);
    }
    return (HBITMAP)LoadImageA(NULL, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
}

static unsigned char *readRows(HBITMAP bitmap, int width, int height)
{
    size_t stride = ((size_t)width * 3 + 3) & ~(size_t)3;
    unsigned char *rows = (unsigned char *)malloc(stride * (size_t)height);
    if (!rows)
        return nullptr;
    BITMAPINFO info;
    ZeroMemory(&info, sizeof info);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // negative: top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = kDibBitCount;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    int copied =
        memory ? GetDIBits(memory, bitmap, 0, (UINT)height, rows, &info, DIB_RGB_COLORS) : 0;
    if (memory)
        DeleteDC(memory);
    ReleaseDC(NULL, screen);
    if (copied != height) {
        free(rows);
        return nullptr;
    }
    return rows;
}

static unsigned char *readBitmap(const char *path, int *width, int *height)
{
    HBITMAP bitmap = loadBitmap(path);
    if (!bitmap)
        return nullptr;
    BITMAP info;
    unsigned char *rows = nullptr;
    if (GetObject(bitmap, sizeof info, &info) && info.bmWidth > 0 && info.bmHeight > 0)
        rows = readRows(bitmap, info.bmWidth, info.bmHeight);
    DeleteObject(bitmap);
    if (rows) {
        *width = info.bmWidth;
        *height = info.bmHeight;
    }
    return rows;
}

constexpr PlatformImageSeam kNativeImageSeam = {readBitmap};
PlatformImageSeam gImageSeam = kNativeImageSeam;
