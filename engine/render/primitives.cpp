// Immediate-mode primitives and debug drawing around the origin of the current modelview. The
// quadric shapes make and drop their GLU quadric on every call: they serve debugging and simple
// props, not bulk drawing. Shapes with fewer than one division, slice or side draw nothing, so no
// step is ever divided by zero. Needs a current GL context.
#include "ostrel3d.h"

#include "platform/gl_api.h"

#include <math.h>

static const float kTwoPi = 6.2831855f;
static const float kGridGrey = 0.5f;

enum { kQuadricCylinderStacks = 1 };

// A smooth-shaded quadric cylinder from z = 0 to z = height; top 0 makes a cone.
static void drawQuadricTube(float base, float top, float height, int slices)
{
    if (slices < 1)
        return;
    GLUquadric *quadric = gluNewQuadric();
    if (!quadric)
        return;
    gluQuadricNormals(quadric, GLU_SMOOTH);
    gluCylinder(quadric, base, top, height, slices, kQuadricCylinderStacks);
    gluDeleteQuadric(quadric);
}

// Debug lines draw unlit; lighting comes back only if the engine believes it is on.
static void beginUnlit(void)
{
    glDisable(GL_LIGHTING);
}

static void endUnlit(void)
{
    glColor3f(1.0f, 1.0f, 1.0f);
    if (o3DIsLightingEnabled())
        glEnable(GL_LIGHTING);
}

void o3DDrawCube(float size)
{
    o3DDrawBox(size, size, size);
}

void o3DDrawBox(float width, float height, float depth)
{
    float hx = width / 2.0f, hy = height / 2.0f, hz = depth / 2.0f;
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 0.0f, 1.0f); // front
    glVertex3f(-hx, -hy, hz);
    glVertex3f(hx, -hy, hz);
    glVertex3f(hx, hy, hz);
    glVertex3f(-hx, hy, hz);
    glNormal3f(0.0f, 0.0f, -1.0f); // back
    glVertex3f(-hx, -hy, -hz);
    glVertex3f(-hx, hy, -hz);
    glVertex3f(hx, hy, -hz);
    glVertex3f(hx, -hy, -hz);
    glNormal3f(0.0f, 1.0f, 0.0f); // top
    glVertex3f(-hx, hy, -hz);
    glVertex3f(-hx, hy, hz);
    glVertex3f(hx, hy, hz);
    glVertex3f(hx, hy, -hz);
    glNormal3f(0.0f, -1.0f, 0.0f); // bottom
    glVertex3f(-hx, -hy, -hz);
    glVertex3f(hx, -hy, -hz);
    glVertex3f(hx, -hy, hz);
    glVertex3f(-hx, -hy, hz);
    glNormal3f(1.0f, 0.0f, 0.0f); // right
    glVertex3f(hx, -hy, -hz);
    glVertex3f(hx, hy, -hz);
    glVertex3f(hx, hy, hz);
    glVertex3f(hx, -hy, hz);
    glNormal3f(-1.0f, 0.0f, 0.0f); // left
    glVertex3f(-hx, -hy, -hz);
    glVertex3f(-hx, -hy, hz);
    glVertex3f(-hx, hy, hz);
    glVertex3f(-hx, hy, -hz);
    glEnd();
}

void o3DDrawSphere(float radius, int slices, int stacks)
{
    if (slices < 1 || stacks < 1)
        return;
    GLUquadric *quadric = gluNewQuadric();
    if (!quadric)
        return;
    gluQuadricNormals(quadric, GLU_SMOOTH);
    gluSphere(quadric, radius, slices, stacks);
    gluDeleteQuadric(quadric);
}

void o3DDrawCylinder(float radius, float height, int slices)
{
    drawQuadricTube(radius, radius, height, slices);
}

void o3DDrawCone(float radius, float height, int slices)
{
    drawQuadricTube(radius, 0.0f, height, slices);
}

// Each ring is one quad strip between angles theta and theta1 around z, walking the tube's
// circle from one sideStep past 0 to one past a full turn.
void o3DDrawTorus(float tubeRadius, float ringRadius, int sides, int rings)
{
    if (sides < 1 || rings < 1)
        return;
    float ringStep = kTwoPi / (float)rings;
    float sideStep = kTwoPi / (float)sides;
    float theta = 0.0f, cosTheta = 1.0f, sinTheta = 0.0f;
    for (int i = 0; i < rings; ++i) {
        float theta1 = theta + ringStep;
        float cosTheta1 = cosf(theta1), sinTheta1 = sinf(theta1);
        glBegin(GL_QUAD_STRIP);
        float phi = 0.0f;
        for (int j = 0; j <= sides; ++j) {
            phi += sideStep;
            float cosPhi = cosf(phi), sinPhi = sinf(phi);
            float d = ringRadius + tubeRadius * cosPhi;
            glNormal3f(cosTheta1 * cosPhi, -sinTheta1 * cosPhi, sinPhi);
            glVertex3f(cosTheta1 * d, -sinTheta1 * d, tubeRadius * sinPhi);
            glNormal3f(cosTheta * cosPhi, -sinTheta * cosPhi, sinPhi);
            glVertex3f(cosTheta * d, -sinTheta * d, tubeRadius * sinPhi);
        }
        glEnd();
        theta = theta1;
        cosTheta = cosTheta1;
        sinTheta = sinTheta1;
    }
}

void o3DDrawPlane(float width, float depth, int divisionsX, int divisionsZ)
{
    if (divisionsX < 1 || divisionsZ < 1)
        return;
    float sx = width / (float)divisionsX, sz = depth / (float)divisionsZ;
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 1.0f, 0.0f);
    for (int i = 0; i < divisionsX; ++i) {
        for (int j = 0; j < divisionsZ; ++j) {
            float x0 = (float)i * sx - width / 2.0f, x1 = x0 + sx;
            float z0 = (float)j * sz - depth / 2.0f, z1 = z0 + sz;
            glVertex3f(x0, 0.0f, z0);
            glVertex3f(x1, 0.0f, z0);
            glVertex3f(x1, 0.0f, z1);
            glVertex3f(x0, 0.0f, z1);
        }
    }
    glEnd();
}

void o3DDrawLine3D(float x1, float y1, float z1, float x2, float y2, float z2)
{
    glBegin(GL_LINES);
    glVertex3f(x1, y1, z1);
    glVertex3f(x2, y2, z2);
    glEnd();
}

void o3DDrawPoint3D(float x, float y, float z, float size)
{
    GLfloat before = 1.0f;
    glGetFloatv(GL_POINT_SIZE, &before);
    glPointSize(size);
    glBegin(GL_POINTS);
    glVertex3f(x, y, z);
    glEnd();
    glPointSize(before);
}

void o3DDrawAxes(float length)
{
    beginUnlit();
    glBegin(GL_LINES);
    glColor3f(1.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(length, 0.0f, 0.0f);
    glColor3f(0.0f, 1.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, length, 0.0f);
    glColor3f(0.0f, 0.0f, 1.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, length);
    glEnd();
    endUnlit();
}

void o3DDrawGrid(float size, int divisions)
{
    if (divisions < 1)
        return;
    float step = size / (float)divisions, h = size / 2.0f;
    beginUnlit();
    glColor3f(kGridGrey, kGridGrey, kGridGrey);
    glBegin(GL_LINES);
    for (int i = 0; i <= divisions; ++i) {
        float z = (float)i * step - h;
        glVertex3f(-h, 0.0f, z);
        glVertex3f(h, 0.0f, z);
    }
    for (int i = 0; i <= divisions; ++i) {
        float x = (float)i * step - h;
        glVertex3f(x, 0.0f, -h);
        glVertex3f(x, 0.0f, h);
    }
    glEnd();
    endUnlit();
}
