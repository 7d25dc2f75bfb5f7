// The image reader: the platform's bitmap loader (the engine's header check, then the system's
// loader) under the 2D image loader with a colour key. An image loaded has the picture's sides,
// power-of-two texture sides and a mask of one byte per pixel; freeing it releases everything.
// The texture upload runs without a GL context, where it does nothing.
#include "ostrel3d.h"

#include "assets/bmp24.h"
#include "platform/seam.h"

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const char *path = fuzzInputFile("input.bmp", data, size);
    int width = -1, height = -1;
    unsigned char *rows = gImageSeam.readBitmap(path, &width, &height);
    if (rows) {
        FUZZ_CHECK(width >= 1 && width <= kMaxBitmapSidePixels);
        FUZZ_CHECK(height >= 1 && height <= kMaxBitmapSidePixels);
        size_t stride = ((size_t)width * 3 + 3) & ~(size_t)3;
        fuzzTouch(rows, stride * (size_t)height);
        free(rows);
    }

    TTexture image = {};
    int loaded = o3DLoadImageKeyed(&image, path, 255, 0, 255);
    FUZZ_CHECK(loaded == (rows != nullptr));
    if (!loaded) {
        FUZZ_CHECK(!image.loaded && image.mask == nullptr && image.width == 0);
        return 0;
    }
    FUZZ_CHECK(image.loaded && image.width == width && image.height == height);
    FUZZ_CHECK(image.texWidth == bmp24PowerOfTwo(width) &&
               image.texHeight == bmp24PowerOfTwo(height));
    for (size_t i = 0; i < (size_t)width * (size_t)height; ++i)
        FUZZ_CHECK(image.mask[i] == 0 || image.mask[i] == 1);
    o3DFreeTexture(&image);
    FUZZ_CHECK(!image.loaded && image.mask == nullptr);
    return 0;
}
