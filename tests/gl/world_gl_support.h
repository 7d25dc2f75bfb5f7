// What the terrain and skybox GL tests share beyond gl_test_window.h: a 320 x 240 window, a 3D
// frame from a plain projection and look-at, single pixels as colours, and the state the world
// drawing promises to hand back.
#ifndef O3D_TESTS_WORLD_GL_SUPPORT_H
#define O3D_TESTS_WORLD_GL_SUPPORT_H

#include "gl_test_window.h"

#include "bmp_writer.h"

#include <stdlib.h>

#include <algorithm>
#include <iterator>
#include <ostream>
#include <vector>

static const int kWindowWidth = 320;
static const int kWindowHeight = 240;

inline void requireRequestedWindowSize(void)
{
    ASSERT_EQ(o3DGetScreenWidth(), kWindowWidth);
    ASSERT_EQ(o3DGetScreenHeight(), kWindowHeight);
}

inline ::testing::Environment *const gGlWindow = ::testing::AddGlobalTestEnvironment(
    new GlTestWindow(kWindowWidth, kWindowHeight, "world tests", requireRequestedWindowSize));

inline std::ostream &operator<<(std::ostream &out, const Rgb &c)
{
    return out << "(" << (int)c.r << ", " << (int)c.g << ", " << (int)c.b << ")";
}

inline ::testing::AssertionResult closeTo(const Rgb &actual, const Rgb &expected, int tolerance = 3)
{
    if (abs(actual.r - expected.r) <= tolerance && abs(actual.g - expected.g) <= tolerance &&
        abs(actual.b - expected.b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual << " is not " << expected;
}

// The drawn pixel at x, y counted from the top-left corner.
inline Rgb pixelAt(int x, int y)
{
    unsigned char p[3] = {0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, kWindowHeight - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2]};
}

inline Rgb centrePixel(void)
{
    return pixelAt(kWindowWidth / 2, kWindowHeight / 2);
}

inline GLint textureWrap(unsigned id, GLenum which)
{
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, id);
    glGetTexParameteriv(GL_TEXTURE_2D, which, &value);
    return value;
}

// A cleared 3D frame: depth test on, lighting, fog, blending, culling and texturing off,
// modelview selected and set to look from eye along dir.
inline void beginWorldFrame(TVector3 eye, TVector3 dir, TVector3 up, float fovDegrees,
                            float nearPlane, float farPlane, Rgb clear)
{
    glViewport(0, 0, kWindowWidth, kWindowHeight);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glClearColor(clear.r / 255.0f, clear.g / 255.0f, clear.b / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fovDegrees, (double)kWindowWidth / kWindowHeight, nearPlane, farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(eye.x, eye.y, eye.z, eye.x + dir.x, eye.y + dir.y, eye.z + dir.z, up.x, up.y, up.z);
    glColor3f(1.0f, 1.0f, 1.0f);
}

// Everything the world drawing may touch and must give back, or must leave alone.
struct HeldState {
    GLboolean lighting, depthMask, texturing, blend;
    GLint matrixMode, boundTexture;
    std::vector<float> modelview, projection, colour;
    GLint polygonMode[2];

    static HeldState capture(void)
    {
        HeldState s;
        s.lighting = glIsEnabled(GL_LIGHTING);
        s.texturing = glIsEnabled(GL_TEXTURE_2D);
        s.blend = glIsEnabled(GL_BLEND);
        glGetBooleanv(GL_DEPTH_WRITEMASK, &s.depthMask);
        s.matrixMode = glInteger(GL_MATRIX_MODE);
        s.boundTexture = glInteger(GL_TEXTURE_BINDING_2D);
        s.modelview = glFloats(GL_MODELVIEW_MATRIX, 16);
        s.projection = glFloats(GL_PROJECTION_MATRIX, 16);
        s.colour = currentColor();
        glGetIntegerv(GL_POLYGON_MODE, s.polygonMode);
        return s;
    }
};

inline std::ostream &operator<<(std::ostream &out, const std::vector<float> &values)
{
    for (float v : values)
        out << v << " ";
    return out;
}

#endif
