// What every GL test program shares: one real engine window for the whole program (a GoogleTest
// environment opened before the first test and shut after the last), the back buffer read back as
// top-down rows so tests speak in the 2D pass's pixels, and small GL state queries. Each program
// picks its window's size and title; what its tests alone need stays in its own support header.
#ifndef O3D_TESTS_GL_TEST_WINDOW_H
#define O3D_TESTS_GL_TEST_WINDOW_H

#include "ostrel3d.h"
#include "platform/gl_api.h"

#include <gtest/gtest.h>

#include <stdint.h>

#include <algorithm>
#include <vector>

// The engine's window for one test program. `opened`, when given, runs right after o3DInit
// succeeds and may hold fatal assertions or capture the state o3DInit left.
struct GlTestWindow : ::testing::Environment {
    GlTestWindow(int width, int height, const char *title, void (*opened)(void) = nullptr)
        : width(width), height(height), title(title), opened(opened)
    {
    }
    void SetUp() override
    {
        ASSERT_EQ(o3DInit(nullptr, width, height, title), 1);
        if (opened)
            opened();
    }
    void TearDown() override
    {
        o3DShutdown();
    }

    int width, height;
    const char *title;
    void (*opened)(void);
};

// Lets the window system map the window before anything is drawn.
inline void pumpUntilMapped(void)
{
    for (int i = 0; i < 5; ++i)
        o3DProcessMessages();
}

// A clean 2D frame of the given size: pixel projection, cleared to a colour, blending and
// texturing off, the standard blend function, white 2D colour.
inline void beginFlatFrameOf(int width, int height, float r, float g, float b)
{
    glViewport(0, 0, width, height);
    o3DSetViewportSize(width, height);
    o3DBegin2D();
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    o3DClearScreen(r, g, b);
    o3DSetColor(1.0f, 1.0f, 1.0f);
}

// The back buffer's lower-left width x height pixels as RGB rows from the top, before any swap.
inline std::vector<uint8_t> readBackRows(int width, int height)
{
    size_t row = (size_t)width * 3;
    std::vector<uint8_t> bottomUp(row * height);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<uint8_t> topDown(bottomUp.size());
    for (int y = 0; y < height; ++y)
        std::copy_n(bottomUp.begin() + (size_t)(height - 1 - y) * row, row,
                    topDown.begin() + (size_t)y * row);
    return topDown;
}

inline GLint glInteger(GLenum name)
{
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

// -1 in every place GL did not fill.
inline std::vector<float> glFloats(GLenum name, int count)
{
    std::vector<float> values((size_t)count, -1.0f);
    glGetFloatv(name, values.data());
    return values;
}

// The current GL colour, RGBA.
inline std::vector<float> currentColor(void)
{
    return glFloats(GL_CURRENT_COLOR, 4);
}

#endif
