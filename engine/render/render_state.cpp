// The renderer's start, fog and the one-call render-state switches. Everything here needs a
// current GL context; nothing is remembered beside OpenGL's own state.
#include "ostrel3d.h"

#include "platform/gl_api.h"
#include "render/lighting.h"

enum { kFogLinear = 0, kFogExp = 1, kFogExp2 = 2 };

void o3DInitRenderer(int width, int height)
{
    o3DSetViewportSize(width, height);
    lightingResetSlots();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    // Scaled models keep unit normals, so lighting does not brighten or darken with the scale.
    glEnable(GL_NORMALIZE);
    glShadeModel(GL_SMOOTH);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}

void o3DEnableFog(void)
{
    glEnable(GL_FOG);
}

void o3DDisableFog(void)
{
    glDisable(GL_FOG);
}

void o3DSetFog(int mode, float r, float g, float b, float density, float start, float end)
{
    const GLfloat colour[4] = {r, g, b, 1.0f};
    glFogfv(GL_FOG_COLOR, colour);
    switch (mode) {
    case kFogLinear:
        glFogi(GL_FOG_MODE, GL_LINEAR);
        glFogf(GL_FOG_START, start);
        glFogf(GL_FOG_END, end);
        break;
    case kFogExp:
        glFogi(GL_FOG_MODE, GL_EXP);
        glFogf(GL_FOG_DENSITY, density);
        break;
    case kFogExp2:
        glFogi(GL_FOG_MODE, GL_EXP2);
        glFogf(GL_FOG_DENSITY, density);
        break;
    default:
        break;
    }
    glHint(GL_FOG_HINT, GL_NICEST);
}

void o3DEnableDepthTest(void)
{
    glEnable(GL_DEPTH_TEST);
}

void o3DDisableDepthTest(void)
{
    glDisable(GL_DEPTH_TEST);
}

void o3DEnableTexturing(void)
{
    glEnable(GL_TEXTURE_2D);
}

void o3DDisableTexturing(void)
{
    glDisable(GL_TEXTURE_2D);
}

void o3DEnableCulling(void)
{
    glEnable(GL_CULL_FACE);
}

void o3DDisableCulling(void)
{
    glDisable(GL_CULL_FACE);
}

void o3DSetCullFace(int front)
{
    glCullFace(front ? GL_FRONT : GL_BACK);
}

void o3DSetWireframe(void)
{
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
}

void o3DSetSolid(void)
{
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}
