// Thin wrappers over the current OpenGL matrix, for placing models without touching GL directly.
#include "ostrel3d.h"

#include "platform/gl_api.h"

void o3DPushMatrix(void)
{
    glPushMatrix();
}

void o3DPopMatrix(void)
{
    glPopMatrix();
}

void o3DLoadIdentity(void)
{
    glLoadIdentity();
}

void o3DMultMatrix(const float *m)
{
    if (m)
        glMultMatrixf(m);
}

void o3DTranslate(float x, float y, float z)
{
    glTranslatef(x, y, z);
}

void o3DRotate(float angle, float x, float y, float z)
{
    glRotatef(angle, x, y, z);
}

void o3DScale(float x, float y, float z)
{
    glScalef(x, y, z);
}
