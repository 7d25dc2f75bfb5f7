// The engine's own reader of 24-bit BMP files for surface textures, and the nearest-neighbour
// resampling to power-of-two sizes. Plain memory and stdio: no GL, so tests run it without a
// display.
#ifndef O3D_ASSETS_BMP24_H
#define O3D_ASSETS_BMP24_H

// The largest side a BMP header may claim before it counts as corrupt.
static const int kMaxBitmapSidePixels = 16384;

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
