// The global view: viewport size, the perspective parameters, and the switch between the 3D
// pass and the 2D pixel pass of each frame.
#include "ostrel3d.h"

#include "platform/gl_api.h"
#include "render/view.h"

static const float kDefaultAspect = 1.333f;

struct ViewState {
    int width, height;
    float aspect;
    float fov;
    float nearPlane;
    float farPlane;
};

static ViewState sView = {800, 600, kDefaultAspect, 45.0f, 0.1f, 1000.0f};

// Loads identity x perspective into the projection matrix and leaves the modelview current.
static void loadPerspective(float fov, float aspect, float nearPlane, float farPlane)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fov, aspect, nearPlane, farPlane);
    glMatrixMode(GL_MODELVIEW);
}

void o3DSetViewportSize(int width, int height)
{
    sView.width = width;
    sView.height = height;
    sView.aspect = height < 1 ? kDefaultAspect : (float)width / (float)height;
}

void o3DSetViewport(int x, int y, int width, int height)
{
    glViewport(x, y, width, height);
    o3DSetViewportSize(width, height);
}

void o3DSetFov(float fov)
{
    if (fov > 0.0f && fov < 180.0f)
        sView.fov = fov;
}

float o3DGetFov(void)
{
    return sView.fov;
}

void o3DSetNearPlane(float nearPlane)
{
    if (nearPlane > 0.0f && nearPlane < sView.farPlane)
        sView.nearPlane = nearPlane;
}

float o3DGetNearPlane(void)
{
    return sView.nearPlane;
}

void o3DSetFarPlane(float farPlane)
{
    if (farPlane > sView.nearPlane)
        sView.farPlane = farPlane;
}

float o3DGetFarPlane(void)
{
    return sView.farPlane;
}

void viewSize(int *width, int *height)
{
    *width = sView.width;
    *height = sView.height;
}

void viewLoadPerspective(float fov, float nearPlane, float farPlane)
{
    loadPerspective(fov, sView.aspect, nearPlane, farPlane);
}

void o3DApplyProjection(void)
{
    loadPerspective(sView.fov, sView.aspect, sView.nearPlane, sView.farPlane);
}

void o3DBegin3D(void)
{
    o3DApplyProjection();
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glClear(GL_DEPTH_BUFFER_BIT);
}

void o3DBegin2D(void)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, sView.width, sView.height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
}

void o3DSetOrtho(float left, float right, float bottom, float top, float nearPlane, float farPlane)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(left, right, bottom, top, nearPlane, farPlane);
    glMatrixMode(GL_MODELVIEW);
}
