// What the foundation's GL tests share: one real engine window per test program (a GoogleTest
// environment opened before the first test and shut after the last), the GL state seen right
// after o3DInit, and read-back of the back buffer before any swap. Read-back turns GL's bottom-up
// rows into the 2D pass's top-down ones, so tests speak in the same pixels they draw with.
#ifndef O3D_TESTS_FOUNDATION_GL_H
#define O3D_TESTS_FOUNDATION_GL_H

#include "ostrel3d.h"
#include "platform/gl_api.h"

#include <gtest/gtest.h>

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
    glGetIntegerv(GL_BLEND_SRC, &s.blendSrc);
    glGetIntegerv(GL_BLEND_DST, &s.blendDst);
    glGetIntegerv(GL_LINE_SMOOTH_HINT, &s.lineSmoothHint);
    glGetIntegerv(GL_POINT_SMOOTH_HINT, &s.pointSmoothHint);
    glGetIntegerv(GL_MATRIX_MODE, &s.matrixMode);
    glGetIntegerv(GL_VIEWPORT, s.viewport);
    glGetIntegerv(GL_RED_BITS, &s.redBits);
    glGetIntegerv(GL_GREEN_BITS, &s.greenBits);
    glGetIntegerv(GL_BLUE_BITS, &s.blueBits);
    glGetIntegerv(GL_DEPTH_BITS, &s.depthBits);
    glGetIntegerv(GL_STENCIL_BITS, &s.stencilBits);
    glGetFloatv(GL_PROJECTION_MATRIX, s.projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, s.modelview);
    return s;
}

class GlWindowEnvironment : public ::testing::Environment {
  public:
    explicit GlWindowEnvironment(const char *title) : title_(title)
    {
    }
    void SetUp() override
    {
        ASSERT_EQ(o3DInit(nullptr, kWindowWidth, kWindowHeight, title_), 1);
        gStartState = captureGlState();
        // Let the window system map the window before anything is drawn.
        for (int i = 0; i < 5; ++i)
            o3DProcessMessages();
    }
    void TearDown() override
    {
        o3DShutdown();
    }

  private:
    const char *title_;
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

inline Frame readFrame(void)
{
    Frame frame;
    frame.width = o3DGetScreenWidth();
    frame.height = o3DGetScreenHeight();
    std::vector<unsigned char> bottomUp((size_t)frame.width * frame.height * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, frame.width, frame.height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    frame.rgb.resize(bottomUp.size());
    size_t row = (size_t)frame.width * 3;
    for (int y = 0; y < frame.height; ++y)
        std::copy(bottomUp.begin() + (frame.height - 1 - y) * row,
                  bottomUp.begin() + (frame.height - y) * row, frame.rgb.begin() + y * row);
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
    std::vector<float> m(16);
    glGetFloatv(which, m.data());
    return m;
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
