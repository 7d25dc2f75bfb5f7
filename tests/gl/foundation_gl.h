// What the foundation's GL tests share beyond gl_test_window.h: an 800 x 600 window titled by each
// program, the GL state seen right after o3DInit, the back buffer as a frame of colours, depth
// read-back, and the matrices the engine is expected to set.
#ifndef O3D_TESTS_FOUNDATION_GL_H
#define O3D_TESTS_FOUNDATION_GL_H

#include "gl_test_window.h"

#include <math.h>
#include <ostream>
#include <vector>

static const int kWindowWidth = 800;
static const int kWindowHeight = 600;

// The GL state right after o3DInit, before any test changes it.
struct GlStartState {
    GLboolean blend, lineSmooth, pointSmooth, depthTest, doubleBuffer;
    GLint blendSrc, blendDst, lineSmoothHint, pointSmoothHint, matrixMode;
    GLint viewport[4];
    GLint redBits, greenBits, blueBits, depthBits, stencilBits;
    GLfloat projection[16], modelview[16];
};

inline GlStartState gStartState;

inline GlStartState captureGlState(void)
{
    GlStartState s = {};
    s.blend = glIsEnabled(GL_BLEND);
    s.lineSmooth = glIsEnabled(GL_LINE_SMOOTH);
    s.pointSmooth = glIsEnabled(GL_POINT_SMOOTH);
    s.depthTest = glIsEnabled(GL_DEPTH_TEST);
    glGetBooleanv(GL_DOUBLEBUFFER, &s.doubleBuffer);
    s.blendSrc = glInteger(GL_BLEND_SRC);
    s.blendDst = glInteger(GL_BLEND_DST);
    s.lineSmoothHint = glInteger(GL_LINE_SMOOTH_HINT);
    s.pointSmoothHint = glInteger(GL_POINT_SMOOTH_HINT);
    s.matrixMode = glInteger(GL_MATRIX_MODE);
    glGetIntegerv(GL_VIEWPORT, s.viewport);
    s.redBits = glInteger(GL_RED_BITS);
    s.greenBits = glInteger(GL_GREEN_BITS);
    s.blueBits = glInteger(GL_BLUE_BITS);
    s.depthBits = glInteger(GL_DEPTH_BITS);
    s.stencilBits = glInteger(GL_STENCIL_BITS);
    glGetFloatv(GL_PROJECTION_MATRIX, s.projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, s.modelview);
    return s;
}

// The state is taken before the first pump, as o3DInit left it.
inline void captureStateThenMap(void)
{
    gStartState = captureGlState();
    pumpUntilMapped();
}

struct GlWindowEnvironment : GlTestWindow {
    explicit GlWindowEnvironment(const char *title)
        : GlTestWindow(kWindowWidth, kWindowHeight, title, captureStateThenMap)
    {
    }
};

struct Rgb {
    int r, g, b;
};

inline bool operator==(const Rgb &a, const Rgb &b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

inline std::ostream &operator<<(std::ostream &out, const Rgb &c)
{
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

static const Rgb kBlack = {0, 0, 0};
static const Rgb kWhite = {255, 255, 255};
static const Rgb kRed = {255, 0, 0};
static const Rgb kGreen = {0, 255, 0};
static const Rgb kBlue = {0, 0, 255};

// The back buffer as top-down rows of RGB.
struct Frame {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;

    // (-1, -1, -1) outside the frame, which matches no colour.
    Rgb at(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return {-1, -1, -1};
        const unsigned char *p = &rgb[((size_t)y * width + x) * 3];
        return {p[0], p[1], p[2]};
    }
    // Pixels of exactly this colour inside [x0, x1) x [y0, y1), or the whole frame by default.
    int count(Rgb c, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1) const
    {
        if (x1 < 0)
            x1 = width;
        if (y1 < 0)
            y1 = height;
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += at(x, y) == c;
        return n;
    }
};

// Sized from the engine, which follows full-screen switches and resizes.
inline Frame readFrame(void)
{
    Frame frame;
    frame.width = o3DGetScreenWidth();
    frame.height = o3DGetScreenHeight();
    frame.rgb = readBackRows(frame.width, frame.height);
    return frame;
}

// The depth buffer's value at a pixel of the 2D pass (y downwards), 0..1.
inline float readDepth(int x, int y)
{
    GLfloat depth = -1.0f;
    glReadBuffer(GL_BACK);
    glReadPixels(x, o3DGetScreenHeight() - 1 - y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    return depth;
}

inline std::vector<float> matrixOf(GLenum which)
{
    return glFloats(which, 16);
}

// Column-major, as GL keeps them.
inline std::vector<float> identityMatrix(void)
{
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

inline std::vector<float> orthoMatrix(float l, float r, float b, float t, float n, float f)
{
    return {2 / (r - l),
            0,
            0,
            0,
            0,
            2 / (t - b),
            0,
            0,
            0,
            0,
            -2 / (f - n),
            0,
            -(r + l) / (r - l),
            -(t + b) / (t - b),
            -(f + n) / (f - n),
            1};
}

inline std::vector<float> perspectiveMatrix(float fovDegrees, float aspect, float n, float f)
{
    float cot = 1.0f / tanf(fovDegrees * 3.14159265f / 360.0f);
    return {cot / aspect,        0, 0, 0, 0, cot, 0, 0, 0, 0, (f + n) / (n - f), -1, 0, 0,
            2 * f * n / (n - f), 0};
}

inline ::testing::AssertionResult matricesNear(const std::vector<float> &seen,
                                               const std::vector<float> &expected)
{
    for (int i = 0; i < 16; ++i) {
        float tolerance = 1e-4f * (1.0f + fabsf(expected[i]));
        if (fabsf(seen[i] - expected[i]) > tolerance)
            return ::testing::AssertionFailure()
                   << "element " << i << " is " << seen[i] << ", expected " << expected[i];
    }
    return ::testing::AssertionSuccess();
}

#endif
