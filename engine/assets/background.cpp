// Full-screen background pictures: the record's setters, the offsets that follow the camera's
// yaw and pitch like a distant panorama, and the drawing over the whole viewport with its own
// projection. Drawn first in a frame: the depth test is off while it draws and every enable,
// depth and current-colour state comes back afterwards.
#include "ostrel3d.h"

#include "platform/gl_api.h"
#include "render/view.h"

#include <string.h>

static const float kDefaultYawRangeDegrees = 360.0f;
static const float kDefaultPitchRangeDegrees = 180.0f;
static const float kPitchLimitDegrees = 90.0f;

static float clampUnit(float a)
{
    // Not-a-number fails the first test and lands on 0.
    return a >= 0.0f ? (a > 1.0f ? 1.0f : a) : 0.0f;
}

// The area the background covers: the view's viewport size.
static void viewportSize(float *width, float *height)
{
    int w = 0, h = 0;
    viewSize(&w, &h);
    *width = (float)w;
    *height = (float)h;
}

static void drawQuad(const TBackground *bg, float width, float height)
{
    float pictureW = (float)bg->image.width, pictureH = (float)bg->image.height;
    float s0 = bg->offsetX / pictureW, t0 = bg->offsetY / pictureH;
    // Stretched: the picture once across the viewport; else one texel per pixel, repeated.
    float s1 = bg->stretch ? s0 + 1.0f : s0 + width / pictureW;
    float t1 = bg->stretch ? t0 + 1.0f : t0 + height / pictureH;
    glBegin(GL_QUADS);
    glTexCoord2f(s0, t0);
    glVertex2f(0.0f, 0.0f);
    glTexCoord2f(s1, t0);
    glVertex2f(width, 0.0f);
    glTexCoord2f(s1, t1);
    glVertex2f(width, height);
    glTexCoord2f(s0, t1);
    glVertex2f(0.0f, height);
    glEnd();
}

void o3DInitBackground(TBackground *bg)
{
    if (!bg)
        return;
    memset(bg, 0, sizeof *bg);
    bg->speed = 1.0f;
    bg->yawRange = kDefaultYawRangeDegrees;
    bg->pitchRange = kDefaultPitchRangeDegrees;
    bg->scrollX = 1;
    bg->scrollY = 1;
    bg->color = o3DColor(1.0f, 1.0f, 1.0f);
    bg->alpha = 1.0f;
    bg->blend = 1;
    bg->stretch = 1;
}

int o3DLoadBackground(TBackground *bg, const char *path)
{
    if (!bg)
        return 0;
    bg->loaded = o3DLoadImage(&bg->image, path);
    return bg->loaded;
}

int o3DLoadBackgroundKeyed(TBackground *bg, const char *path, uint8_t r, uint8_t g, uint8_t b)
{
    if (!bg)
        return 0;
    bg->loaded = o3DLoadImageKeyed(&bg->image, path, r, g, b);
    return bg->loaded;
}

void o3DFreeBackground(TBackground *bg)
{
    if (!bg || !bg->loaded)
        return;
    o3DFreeTexture(&bg->image);
    bg->loaded = 0;
}

void o3DSetBackgroundSpeed(TBackground *bg, float speed)
{
    if (bg)
        bg->speed = speed;
}

void o3DSetBackgroundRanges(TBackground *bg, float yawRange, float pitchRange)
{
    if (!bg)
        return;
    bg->yawRange = yawRange;
    bg->pitchRange = pitchRange;
}

void o3DSetBackgroundScrollX(TBackground *bg, int on)
{
    if (bg)
        bg->scrollX = on;
}

void o3DSetBackgroundScrollY(TBackground *bg, int on)
{
    if (bg)
        bg->scrollY = on;
}

void o3DSetBackgroundScroll(TBackground *bg, int x, int y)
{
    if (!bg)
        return;
    bg->scrollX = x;
    bg->scrollY = y;
}

void o3DSetBackgroundColor(TBackground *bg, float r, float g, float b)
{
    if (bg)
        bg->color = o3DColor(r, g, b);
}

void o3DSetBackgroundAlpha(TBackground *bg, float a)
{
    if (bg)
        bg->alpha = clampUnit(a);
}

void o3DSetBackgroundBlend(TBackground *bg, int on)
{
    if (bg)
        bg->blend = on;
}

void o3DSetBackgroundStretch(TBackground *bg, int on)
{
    if (bg)
        bg->stretch = on;
}

void o3DSetBackgroundOffset(TBackground *bg, float x, float y)
{
    if (!bg)
        return;
    bg->offsetX = x;
    bg->offsetY = y;
}

void o3DResetBackgroundOffset(TBackground *bg)
{
    o3DSetBackgroundOffset(bg, 0.0f, 0.0f);
}

int o3DIsBackgroundLoaded(TBackground *bg)
{
    return bg ? bg->loaded : 0;
}

void o3DUpdateBackground(TBackground *bg, TCamera *cam)
{
    if (!bg || !cam)
        return;
    float pitch = cam->pitch;
    if (pitch < -kPitchLimitDegrees)
        pitch = -kPitchLimitDegrees;
    if (pitch > kPitchLimitDegrees)
        pitch = kPitchLimitDegrees;
    float width = (float)bg->image.width, height = (float)bg->image.height;
    bg->offsetX = bg->scrollX ? cam->yaw / bg->yawRange * width * bg->speed : 0.0f;
    bg->offsetY =
        bg->scrollY ? (pitch + kPitchLimitDegrees) / bg->pitchRange * height * bg->speed : 0.0f;
}

void o3DDrawBackgroundForCamera(TBackground *bg, TCamera *cam)
{
    if (!bg || !bg->loaded || !cam)
        return;
    o3DUpdateBackground(bg, cam);
    o3DDrawBackground(bg);
}

void o3DDrawBackground(TBackground *bg)
{
    if (!bg || !bg->loaded)
        return;
    glPushAttrib(GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT | GL_CURRENT_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, bg->image.id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    if (bg->blend) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    glColor4f(bg->color.r, bg->color.g, bg->color.b, bg->alpha);

    float width = 0.0f, height = 0.0f;
    viewportSize(&width, &height);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, width, height, 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    drawQuad(bg, width, height);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}

void o3DDrawBackgroundStatic(TBackground *bg)
{
    if (!bg || !bg->loaded)
        return;
    o3DResetBackgroundOffset(bg);
    o3DDrawBackground(bg);
}
