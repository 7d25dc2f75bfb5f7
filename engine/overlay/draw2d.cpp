// Flat shapes in screen pixels, drawn after o3DBegin2D: each one begin/end block of
// immediate-mode vertices. They set no state but the colour; texturing and blending stay as the
// caller left them. The drawing colour is remembered so images and fades can restore it.
#include "ostrel3d.h"

#include "overlay/draw2d.h"
#include "platform/gl_api.h"

#include <math.h>

// The circle's full turn is this single-precision constant, not 2 pi.
static const float kCircleTurn = 6.28318f;

struct Draw2DState {
    float r, g, b;
};

static Draw2DState sDraw = {1.0f, 1.0f, 1.0f};

static void circlePoint(float cx, float cy, float radius, int i, int segments)
{
    float angle = (float)i * kCircleTurn / (float)segments;
    glVertex2f(cx + radius * cosf(angle), cy + radius * sinf(angle));
}

static void emitPoints(const float *points, int count)
{
    if (!points)
        return;
    for (int i = 0; i < count; ++i)
        glVertex2f(points[i * 2], points[i * 2 + 1]);
}

// Clockwise on screen from the top-left, so the outline and the fill share their corners.
static void emitRectCorners(float x, float y, float w, float h)
{
    glVertex2f(x, y);
    glVertex2f(x + w, y);
    glVertex2f(x + w, y + h);
    glVertex2f(x, y + h);
}

void overlayRestoreColor(void)
{
    glColor3f(sDraw.r, sDraw.g, sDraw.b);
}

void o3DClearScreen(float r, float g, float b)
{
    glClearColor(r, g, b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

void o3DSetColor(float r, float g, float b)
{
    sDraw.r = r;
    sDraw.g = g;
    sDraw.b = b;
    glColor3f(r, g, b);
}

void o3DDrawPoint(float x, float y)
{
    glBegin(GL_POINTS);
    glVertex2f(x, y);
    glEnd();
}

void o3DDrawLine(float x1, float y1, float x2, float y2)
{
    glBegin(GL_LINES);
    glVertex2f(x1, y1);
    glVertex2f(x2, y2);
    glEnd();
}

void o3DDrawRect(float x, float y, float w, float h)
{
    glBegin(GL_LINE_LOOP);
    emitRectCorners(x, y, w, h);
    glEnd();
}

void o3DFillRect(float x, float y, float w, float h)
{
    glBegin(GL_QUADS);
    emitRectCorners(x, y, w, h);
    glEnd();
}

void o3DDrawCircle(float cx, float cy, float radius, int segments)
{
    glBegin(GL_LINE_LOOP);
    for (int i = 0; i < segments; ++i)
        circlePoint(cx, cy, radius, i, segments);
    glEnd();
}

void o3DFillCircle(float cx, float cy, float radius, int segments)
{
    glBegin(GL_TRIANGLE_FAN);
    glVertex2f(cx, cy);
    for (int i = 0; i <= segments && segments > 0; ++i)
        circlePoint(cx, cy, radius, i, segments);
    glEnd();
}

void o3DDrawTriangle(float x1, float y1, float x2, float y2, float x3, float y3)
{
    glBegin(GL_LINE_LOOP);
    glVertex2f(x1, y1);
    glVertex2f(x2, y2);
    glVertex2f(x3, y3);
    glEnd();
}

void o3DFillTriangle(float x1, float y1, float x2, float y2, float x3, float y3)
{
    glBegin(GL_TRIANGLES);
    glVertex2f(x1, y1);
    glVertex2f(x2, y2);
    glVertex2f(x3, y3);
    glEnd();
}

void o3DDrawPolygon(const float *points, int count)
{
    glBegin(GL_LINE_LOOP);
    emitPoints(points, count);
    glEnd();
}

void o3DFillPolygon(const float *points, int count)
{
    glBegin(GL_POLYGON);
    emitPoints(points, count);
    glEnd();
}
