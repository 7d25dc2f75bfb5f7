// Counting pixels of RGB frames read back from the screen (three bytes a pixel), for tests that
// compare two frames exactly or check that something was drawn at all.
#ifndef O3D_TEST_FRAME_COMPARE_H
#define O3D_TEST_FRAME_COMPARE_H

#include "bmp_writer.h"

#include <stdint.h>

#include <vector>

// Pixels in which the frames differ (over the shorter one), for the failure message.
inline long differingPixels(const std::vector<uint8_t> &a, const std::vector<uint8_t> &b)
{
    long n = 0;
    for (size_t i = 0; i + 2 < a.size() && i + 2 < b.size(); i += 3)
        n += a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2];
    return n;
}

// Pixels that are not the given colour (the clear colour: what the drawing covered).
inline long pixelsOtherThan(const std::vector<uint8_t> &frame, Rgb colour)
{
    long n = 0;
    for (size_t i = 0; i + 2 < frame.size(); i += 3)
        n += frame[i] != colour.r || frame[i + 1] != colour.g || frame[i + 2] != colour.b;
    return n;
}

#endif
