// Ground shadows: the blob disc with its table of sines and cosines, and the pass that squashes a
// caller's geometry onto the ground. Begin saves every piece of GL state it changes and end puts
// it back, so a shadow pass leaves the scene's state as it found it.
#include "ostrel3d.h"

#include "assets/shadow.h"
#include "platform/gl_api.h"

#include <math.h>
#include <stdlib.h>

static const int kDefaultSegments = 16;
static const int kMinSegments = 3;
static const int kMaxSegments = 4096;
static const float kPi = 3.1415927f;
static const float kLiftAboveGround = 0.1f;
static const float kFlattenedHeight = 0.01f;
static const float kOffsetFactor = -1.0f;
static const float kOffsetUnits = -1.0f;
// Blending, polygon offset and stencil values are saved too, so their functions come back along
// with the switches.
static const GLbitfield kSavedState = GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT | GL_CURRENT_BIT |
                                      GL_COLOR_BUFFER_BIT | GL_POLYGON_BIT | GL_STENCIL_BUFFER_BIT;

struct ShadowState {
    float *circle; // segments x (cos, sin)
    int segments;
    int blob; // kind of the open shadow: 1 blob, 0 projected
    int open; // begins not yet ended: an end without a begin must not pop
};

static ShadowState sShadow = {nullptr, 0, 0, 0};

static void drawDisc(float radius)
{
    const float *circle = o3DGetShadowCircle();
    if (!circle)
        return;
    glBegin(GL_TRIANGLE_FAN);
    glVertex3f(0.0f, 0.0f, 0.0f);
    for (int i = 0; i <= sShadow.segments; ++i) {
        const float *pair = circle + (i % sShadow.segments) * 2;
        glVertex3f(radius * pair[0], 0.0f, radius * pair[1]);
    }
    glEnd();
}

int shadowIsOpen(void)
{
    return sShadow.open > 0;
}

void o3DBeginShadow(float x, float y, float z, float groundY, float lightX, float lightZ,
                    float lightY, float alpha, int blob, float radius)
{
    sShadow.blob = blob ? 1 : 0;
    sShadow.open += 1;
    float offsetX = 0.0f, offsetZ = 0.0f;
    // A light at the ground's height casts no usable shadow: the geometry collapses to a point.
    int collapsed = 0;
    if (!blob) {
        float t = lightY != 0.0f ? (y - groundY) / lightY : 0.0f;
        collapsed = lightY == 0.0f || !isfinite(t);
        offsetX = collapsed ? 0.0f : -lightX * t;
        offsetZ = collapsed ? 0.0f : -lightZ * t;
    }
    glPushAttrib(kSavedState);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDepthMask(GL_FALSE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(kOffsetFactor, kOffsetUnits);
    glColor4f(0.0f, 0.0f, 0.0f, alpha);
    glPushMatrix();
    glTranslatef(x + offsetX, groundY + kLiftAboveGround, z + offsetZ);
    if (!blob) {
        // A flattened model covers the ground many times over; the stencil lets each pixel be
        // darkened once, so the whole silhouette shows at `alpha` (without a stencil buffer the
        // test passes everywhere and overlaps come out darker).
        glClearStencil(0);
        glClear(GL_STENCIL_BUFFER_BIT);
        glEnable(GL_STENCIL_TEST);
        glStencilFunc(GL_EQUAL, 0, 0xFF);
        glStencilOp(GL_KEEP, GL_KEEP, GL_INCR);
    }
    if (blob)
        drawDisc(radius);
    else if (collapsed)
        glScalef(0.0f, 0.0f, 0.0f);
    else
        glScalef(1.0f, kFlattenedHeight, 1.0f);
}

void o3DEndShadow(void)
{
    if (sShadow.open == 0)
        return;
    glPopMatrix();
    glPopAttrib();
    sShadow.open -= 1;
}

void o3DBuildShadowCircle(int segments)
{
    if (segments < kMinSegments || segments > kMaxSegments)
        return;
    float *circle = (float *)malloc((size_t)segments * 2 * sizeof(float));
    if (!circle)
        return;
    for (int i = 0; i < segments; ++i) {
        float angle = 2.0f * (float)i * kPi / (float)segments;
        circle[i * 2] = cosf(angle);
        circle[i * 2 + 1] = sinf(angle);
    }
    free(sShadow.circle);
    sShadow.circle = circle;
    sShadow.segments = segments;
}

const float *o3DGetShadowCircle(void)
{
    if (!sShadow.circle)
        o3DBuildShadowCircle(kDefaultSegments);
    return sShadow.circle;
}

int o3DGetShadowCircleSegments(void)
{
    o3DGetShadowCircle();
    return sShadow.segments;
}

void o3DFreeShadowCircle(void)
{
    free(sShadow.circle);
    sShadow.circle = nullptr;
    sShadow.segments = 0;
}
