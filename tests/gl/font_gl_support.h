// What the font GL tests share beyond gl_test_window.h: a 640 x 480 window, a clean 2D frame in
// white text colour, the back buffer as a screen of colours, the raster position, and a
// feedback-buffer capture that turns drawn polygons into screen rectangles with their colours and
// texture ranges (so a test can count draws and see where and in which colour each landed).
#ifndef O3D_TESTS_FONT_GL_SUPPORT_H
#define O3D_TESTS_FONT_GL_SUPPORT_H

#include "gl_test_window.h"

#include "bmp_writer.h"

#include <algorithm>
#include <functional>
#include <vector>

static const int kWindowWidth = 640;
static const int kWindowHeight = 480;

inline ::testing::Environment *const gFontGlWindow = ::testing::AddGlobalTestEnvironment(
    new GlTestWindow(kWindowWidth, kWindowHeight, "font tests", pumpUntilMapped));

// A clean 2D frame (see beginFlatFrameOf) whose text colour is white too.
inline void beginFlatFrame(float r, float g, float b)
{
    beginFlatFrameOf(kWindowWidth, kWindowHeight, r, g, b);
    o3DSetTextColor(1.0f, 1.0f, 1.0f);
}

// The back buffer as top-down rows, in the 2D pass's pixels.
struct Screen {
    std::vector<uint8_t> rgb;
    Rgb at(int x, int y) const
    {
        const uint8_t *p = &rgb[((size_t)y * kWindowWidth + x) * 3];
        return {p[0], p[1], p[2]};
    }
    // Pixels inside [x0, x1) x [y0, y1) (clipped to the window) for which `match` holds.
    int count(std::function<bool(Rgb)> match, int x0 = 0, int y0 = 0, int x1 = kWindowWidth,
              int y1 = kWindowHeight) const
    {
        int n = 0;
        for (int y = std::max(y0, 0); y < std::min(y1, kWindowHeight); ++y)
            for (int x = std::max(x0, 0); x < std::min(x1, kWindowWidth); ++x)
                n += match(at(x, y));
        return n;
    }
};

inline Screen readScreen(void)
{
    return {readBackRows(kWindowWidth, kWindowHeight)};
}

// The current raster position in the 2D pass's pixels (y downwards) and whether it is valid.
struct RasterPos {
    float x, y;
    bool valid;
};

inline RasterPos rasterPos(void)
{
    std::vector<float> p = glFloats(GL_CURRENT_RASTER_POSITION, 4);
    return {p[0], (float)kWindowHeight - p[1], glInteger(GL_CURRENT_RASTER_POSITION_VALID) != 0};
}

// One polygon of the feedback buffer: its bounding box in the 2D pass's pixels, the colour of its
// first vertex, and the range of its texture coordinates.
struct DrawnPolygon {
    float x0, y0, x1, y1;
    float r, g, b, a;
    float s0, t0, s1, t1;
};

// Runs `draw` in feedback mode and returns the polygons it produced (a quad may arrive as one
// polygon or as two triangles; tests count against a single glyph's polygons).
inline std::vector<DrawnPolygon> capturePolygons(const std::function<void()> &draw,
                                                 size_t capacity = 1 << 20)
{
    const int kVertexFloats = 11; // x, y, z, r, g, b, a, s, t, r, q
    std::vector<GLfloat> buffer(capacity);
    glFeedbackBuffer((GLsizei)buffer.size(), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    GLint used = glRenderMode(GL_RENDER);
    std::vector<DrawnPolygon> polygons;
    EXPECT_GE(used, 0) << "feedback buffer overflow";
    for (GLint i = 0; i < used;) {
        GLint token = (GLint)buffer[i++];
        if (token == GL_POLYGON_TOKEN) {
            int n = (int)buffer[i++];
            DrawnPolygon p = {1e9f, 1e9f, -1e9f, -1e9f, 0, 0, 0, 0, 1e9f, 1e9f, -1e9f, -1e9f};
            const GLfloat *v0 = &buffer[i];
            p.r = v0[3], p.g = v0[4], p.b = v0[5], p.a = v0[6];
            for (int k = 0; k < n; ++k, i += kVertexFloats) {
                const GLfloat *v = &buffer[i];
                float y = (float)kWindowHeight - v[1];
                p.x0 = std::min(p.x0, v[0]), p.x1 = std::max(p.x1, v[0]);
                p.y0 = std::min(p.y0, y), p.y1 = std::max(p.y1, y);
                p.s0 = std::min(p.s0, v[7]), p.s1 = std::max(p.s1, v[7]);
                p.t0 = std::min(p.t0, v[8]), p.t1 = std::max(p.t1, v[8]);
            }
            polygons.push_back(p);
        } else if (token == GL_PASS_THROUGH_TOKEN) {
            i += 1;
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            i += 2 * kVertexFloats;
        } else {
            // points, bitmaps and pixel rectangles carry one vertex
            i += kVertexFloats;
        }
    }
    return polygons;
}

#endif
