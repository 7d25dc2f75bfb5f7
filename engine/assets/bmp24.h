// The engine's own reader of 24-bit BMP files for surface textures, the header check that every
// bitmap passes before a loader allocates for it, and the nearest-neighbour resampling to
// power-of-two sizes. Plain memory and stdio: no GL, so tests run it without a display.
#ifndef O3D_ASSETS_BMP24_H
#define O3D_ASSETS_BMP24_H

#include <stdint.h>
#include <stdio.h>

// The largest side a BMP header may claim before it counts as corrupt.
static const int kMaxBitmapSidePixels = 16384;

// What a BMP file's headers claim about its picture.
struct BmpShape {
    uint32_t infoBytes;    // 12 for the old core header, else 40 or more
    uint32_t dataOffset;   // as written; 0 means the pixels follow the headers
    int32_t width, height; // a negative height stores the rows top first
    uint16_t bitCount;
    uint32_t compression; // 0 or 3: plain rows; 1 or 2: run-length encoded
    uint32_t imageSize;   // bytes of pixel data as written; may be 0 for plain rows
    uint64_t fileBytes;
};

// Reads the headers at the start of the open file and checks that the picture they claim can be
// in it: sides of 1 to kMaxBitmapSidePixels, 1 to 32 bits per pixel, plain rows that lie inside
// the file, or run-length data inside the file and long enough for the pixels it claims. So a
// hostile header costs a header's read, whichever loader comes next. 1 if it can; the file
// position is left anywhere.
int bmpReadShape(FILE *file, BmpShape *shape);

// bmpReadShape for the file at path; 0 for a missing file.
int bmpFileFitsItsHeader(const char *path);

// Reads an uncompressed 24-bit bottom-up BMP into tightly packed R, G, B rows, bottom row first
// (OpenGL's row 0). Null for a missing file or any header that does not describe such a file
// within the file's own bytes; the file is closed either way. The caller frees the result.
unsigned char *bmp24Read(const char *path, int *width, int *height);

// The smallest power of two not below size (1 for sizes below 1).
int bmp24PowerOfTwo(int size);

// A new width x height buffer of RGB triples sampled by nearest neighbour from the source of
// srcWidth x srcHeight; null if it can't be allocated. The caller frees it.
unsigned char *bmp24Resample(const unsigned char *src, int srcWidth, int srcHeight, int width,
                             int height);

#endif
