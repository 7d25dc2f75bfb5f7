// The engine's own 24-bit BMP reader and the header check in front of every bitmap loader. A
// picture read has sides of 1 to 16384 whose rows the buffer holds whole, and a file the reader
// takes always passes the header check; the picture then resamples to power-of-two sides.
#include "assets/bmp24.h"

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const char *path = fuzzInputFile("input.bmp", data, size);
    int fits = bmpFileFitsItsHeader(path);
    int width = -1, height = -1;
    unsigned char *rgb = bmp24Read(path, &width, &height);
    if (!rgb) {
        FUZZ_CHECK(width == -1 && height == -1);
        return 0;
    }
    FUZZ_CHECK(fits);
    FUZZ_CHECK(width >= 1 && width <= kMaxBitmapSidePixels);
    FUZZ_CHECK(height >= 1 && height <= kMaxBitmapSidePixels);
    // The file holds every pixel it claims, so no picture can be bigger than the file.
    FUZZ_CHECK((size_t)width * (size_t)height * 3 <= size);
    fuzzTouch(rgb, (size_t)width * (size_t)height * 3);
    int texWidth = bmp24PowerOfTwo(width), texHeight = bmp24PowerOfTwo(height);
    FUZZ_CHECK(texWidth >= width && texWidth < 2 * width + 1 && texHeight >= height &&
               texHeight < 2 * height + 1);
    unsigned char *resampled = bmp24Resample(rgb, width, height, texWidth, texHeight);
    FUZZ_CHECK(resampled != nullptr);
    fuzzTouch(resampled, (size_t)texWidth * (size_t)texHeight * 3);
    free(resampled);
    free(rgb);
    return 0;
}
