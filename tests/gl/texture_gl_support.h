// What the texture GL tests share beyond gl_test_window.h: a 640 x 480 window, a clean 2D frame,
// and reading single pixels and whole textures back as RGBA.
#ifndef O3D_TESTS_TEXTURE_GL_SUPPORT_H
#define O3D_TESTS_TEXTURE_GL_SUPPORT_H

#include "gl_test_window.h"

#include "bmp_writer.h"

#include <stdlib.h>

#include <ostream>
#include <vector>

static const int kWindowWidth = 640;
static const int kWindowHeight = 480;

// The pixel checks place things by the size asked for, so the window must have exactly that.
inline void requireRequestedWindowSize(void)
{
    ASSERT_EQ(o3DGetScreenWidth(), kWindowWidth);
    ASSERT_EQ(o3DGetScreenHeight(), kWindowHeight);
}

inline ::testing::Environment *const gGlWindow = ::testing::AddGlobalTestEnvironment(
    new GlTestWindow(kWindowWidth, kWindowHeight, "texture tests", requireRequestedWindowSize));

struct Rgba {
    int r, g, b, a;
};

inline std::ostream &operator<<(std::ostream &out, const Rgba &c)
{
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
}

inline ::testing::AssertionResult closeTo(const Rgba &actual, Rgba expected, int tolerance = 2)
{
    if (abs(actual.r - expected.r) <= tolerance && abs(actual.g - expected.g) <= tolerance &&
        abs(actual.b - expected.b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual << " is not " << expected;
}

inline Rgba rgba(Rgb c)
{
    return {c.r, c.g, c.b, 255};
}

// A clean 2D frame over the whole window (see beginFlatFrameOf).
inline void beginFlatFrame(float r, float g, float b)
{
    beginFlatFrameOf(kWindowWidth, kWindowHeight, r, g, b);
}

// The drawn pixel at x, y counted from the top-left corner.
inline Rgba screenPixel(int x, int y)
{
    unsigned char p[4] = {0, 0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, kWindowHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2], p[3]};
}

// Level 0 of a texture as RGBA rows in texture order (row 0 first).
inline std::vector<uint8_t> textureRgba(unsigned id, int width, int height)
{
    std::vector<uint8_t> pixels((size_t)width * height * 4, 0xCD);
    glBindTexture(GL_TEXTURE_2D, id);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

inline Rgba texel(const std::vector<uint8_t> &pixels, int width, int x, int row)
{
    const uint8_t *p = pixels.data() + ((size_t)row * width + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

inline GLint textureParameter(unsigned id, GLenum name)
{
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, id);
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

#endif
