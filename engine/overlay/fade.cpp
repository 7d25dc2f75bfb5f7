// Full-screen translucent quads for fading to and from black or a colour, and a timed fade driven
// by the frame timer. Drawn in the 2D pass over the whole drawable area.
#include "ostrel3d.h"

#include "overlay/draw2d.h"
#include "platform/gl_api.h"

enum FadeType { kFadeIn = 0, kFadeOut = 1, kFadeToColor = 2 };

struct FadeState {
    int active;
    int type;
    float elapsed;
    float duration;
    float r, g, b;
};

static FadeState sFade = {0, kFadeIn, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f};

// 0..1, with NaN taken as 0.
static float clampUnit(float t)
{
    if (!(t > 0.0f))
        return 0.0f;
    return t > 1.0f ? 1.0f : t;
}

static void drawScreenQuad(float r, float g, float b, float alpha)
{
    float w = (float)o3DGetScreenWidth();
    float h = (float)o3DGetScreenHeight();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(r, g, b, alpha);
    glBegin(GL_QUADS);
    glVertex2f(0.0f, 0.0f);
    glVertex2f(w, 0.0f);
    glVertex2f(w, h);
    glVertex2f(0.0f, h);
    glEnd();
    overlayRestoreColor();
}

static void startFade(int type, float r, float g, float b, float duration)
{
    sFade.active = 1;
    sFade.type = type;
    sFade.duration = duration;
    sFade.elapsed = 0.0f;
    sFade.r = r;
    sFade.g = g;
    sFade.b = b;
}

void o3DDrawFadeIn(float t)
{
    drawScreenQuad(0.0f, 0.0f, 0.0f, 1.0f - clampUnit(t));
}

void o3DDrawFadeInAlias(float t)
{
    o3DDrawFadeIn(t);
}

void o3DDrawFadeOut(float t)
{
    drawScreenQuad(0.0f, 0.0f, 0.0f, clampUnit(t));
}

void o3DDrawFade(float r, float g, float b, float t)
{
    drawScreenQuad(r, g, b, clampUnit(t));
}

void o3DStartFadeIn(float duration)
{
    startFade(kFadeIn, 0.0f, 0.0f, 0.0f, duration);
}

void o3DStartFadeOut(float duration)
{
    startFade(kFadeOut, 0.0f, 0.0f, 0.0f, duration);
}

void o3DStartFadeToColor(float r, float g, float b, float duration)
{
    startFade(kFadeToColor, r, g, b, duration);
}

void o3DUpdateFade(void)
{
    if (!sFade.active)
        return;
    sFade.elapsed += (float)o3DGetDeltaTime();
    if (sFade.elapsed >= sFade.duration) {
        sFade.elapsed = sFade.duration;
        sFade.active = 0;
    }
}

void o3DDrawCurrentFade(void)
{
    if (!sFade.active && sFade.elapsed == 0.0f)
        return;
    float progress = o3DGetFadeProgress();
    if (progress > 1.0f)
        progress = 1.0f;
    switch (sFade.type) {
    case kFadeIn:
        o3DDrawFadeIn(progress);
        break;
    case kFadeOut:
        o3DDrawFadeOut(progress);
        break;
    case kFadeToColor:
        o3DDrawFade(sFade.r, sFade.g, sFade.b, progress);
        break;
    default:
        break;
    }
}

int o3DIsFading(void)
{
    return sFade.active;
}

float o3DGetFadeProgress(void)
{
    if (sFade.duration == 0.0f)
        return 1.0f;
    return sFade.elapsed / sFade.duration;
}
