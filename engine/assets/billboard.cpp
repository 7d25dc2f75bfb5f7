// Billboards: camera-facing textured rectangles drawn additively without depth writes, alone
// (each draw saves and restores what it changes) or in a batch that sets the state once. A
// billboard frees a texture it loaded itself; a texture handed in stays its caller's.
#include "ostrel3d.h"

#include "platform/gl_api.h"

#include <math.h>
#include <stdlib.h>

static const float kTexInset = 1.0f / 512.0f; // keeps the quad's edge off the texture's border
static const float kMinNormalLength = 0.0001f;
static const GLbitfield kSavedState = GL_CURRENT_BIT | GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT;

struct BillboardState {
    TCamera *batchCamera; // null outside a batch
    int openBatches;      // begins not yet ended: an end without a begin must not pop
};

static BillboardState sBillboard = {nullptr, 0};

static TVector3 normalizedIfLong(TVector3 v)
{
    float length = sqrtf(v.x * v.x + v.y * v.y + v.z * v.z);
    if (length > kMinNormalLength) {
        v.x /= length;
        v.y /= length;
        v.z /= length;
    }
    return v;
}

static TVector3 cross(TVector3 a, TVector3 b)
{
    return o3DVector3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

// The billboard's right and up vectors for its mode.
static void orientation(const TBillboard *bb, const TCamera *cam, TVector3 *right, TVector3 *up)
{
    TVector3 p = bb->position;
    if (bb->mode == 2) {
        GLfloat m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        *right = o3DVector3(m[0], m[4], m[8]);
        *up = o3DVector3(m[1], m[5], m[9]);
    } else if (bb->mode == 1) {
        TVector3 view = normalizedIfLong(o3DVector3(cam->posX - p.x, 0.0f, cam->posZ - p.z));
        *up = bb->axis;
        *right = normalizedIfLong(cross(bb->axis, view));
    } else {
        TVector3 view =
            normalizedIfLong(o3DVector3(cam->posX - p.x, cam->posY - p.y, cam->posZ - p.z));
        *right = normalizedIfLong(cross(o3DVector3(cam->upX, cam->upY, cam->upZ), view));
        *up = cross(view, *right);
    }
}

static void corner(TVector3 p, TVector3 r, TVector3 u, float sr, float su, float s, float t)
{
    glTexCoord2f(s, t);
    glVertex3f(p.x + sr * r.x + su * u.x, p.y + sr * r.y + su * u.y, p.z + sr * r.z + su * u.z);
}

// Binds, colours and draws one quad; the blending and depth state is the caller's.
static void drawQuad(const TBillboard *bb, const TCamera *cam)
{
    TVector3 r, u;
    orientation(bb, cam, &r, &u);
    float hw = bb->width * 0.5f, hh = bb->height * 0.5f;
    glBindTexture(GL_TEXTURE_2D, bb->texture->id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glColor4f(bb->color.r, bb->color.g, bb->color.b, bb->alpha);
    glBegin(GL_QUADS);
    corner(bb->position, r, u, -hw, -hh, kTexInset, 1.0f - kTexInset);
    corner(bb->position, r, u, hw, -hh, 1.0f - kTexInset, 1.0f - kTexInset);
    corner(bb->position, r, u, hw, hh, 1.0f - kTexInset, kTexInset);
    corner(bb->position, r, u, -hw, hh, kTexInset, kTexInset);
    glEnd();
}

static int drawable(const TBillboard *bb)
{
    return bb && bb->textureReady && bb->texture;
}

static void beginAdditive(void)
{
    glPushAttrib(kSavedState);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glDepthMask(GL_FALSE);
    glDisable(GL_LIGHTING);
}

static void endAdditive(void)
{
    glDepthMask(GL_TRUE);
    glPopAttrib();
}

static void dropOwnedTexture(TBillboard *bb)
{
    if (bb->ownsTexture && bb->texture) {
        o3DFreeTexture(bb->texture);
        free(bb->texture);
    }
    bb->texture = nullptr;
    bb->ownsTexture = 0;
    bb->textureReady = 0;
}

static int loadOwnedTexture(TBillboard *bb, const char *path, int keyed, uint8_t r, uint8_t g,
                            uint8_t b)
{
    if (!bb)
        return 0;
    TTexture *tex = (TTexture *)calloc(1, sizeof(TTexture));
    if (!tex)
        return 0;
    int ok = keyed ? o3DLoadImageKeyed(tex, path, r, g, b) : o3DLoadImage(tex, path);
    if (!ok) {
        free(tex);
        return 0;
    }
    dropOwnedTexture(bb);
    bb->texture = tex;
    bb->ownsTexture = 1;
    bb->colorKeyed = keyed;
    bb->textureReady = 1;
    return 1;
}

TBillboard *o3DCreateBillboard(float width, float height)
{
    TBillboard *bb = (TBillboard *)calloc(1, sizeof(TBillboard));
    if (!bb)
        return nullptr;
    bb->width = width;
    bb->height = height;
    bb->color = o3DColor(1.0f, 1.0f, 1.0f);
    bb->alpha = 1.0f;
    bb->axis = o3DVector3(0.0f, 1.0f, 0.0f);
    return bb;
}

void o3DFreeBillboard(TBillboard *bb)
{
    if (!bb)
        return;
    dropOwnedTexture(bb);
    free(bb);
}

int o3DLoadBillboardTexture(TBillboard *bb, const char *path)
{
    return loadOwnedTexture(bb, path, 0, 0, 0, 0);
}

int o3DLoadBillboardTextureKeyed(TBillboard *bb, const char *path, uint8_t r, uint8_t g, uint8_t b)
{
    return loadOwnedTexture(bb, path, 1, r, g, b);
}

void o3DSetBillboardTexture(TBillboard *bb, TTexture *tex)
{
    if (!bb)
        return;
    dropOwnedTexture(bb);
    bb->texture = tex;
    bb->textureReady = tex && tex->loaded;
    if (tex)
        bb->colorKeyed = tex->colorKeyOn;
}

void o3DSetBillboardPosition(TBillboard *bb, float x, float y, float z)
{
    if (bb)
        bb->position = o3DVector3(x, y, z);
}

void o3DSetBillboardSize(TBillboard *bb, float width, float height)
{
    if (!bb)
        return;
    bb->width = width;
    bb->height = height;
}

void o3DSetBillboardColor(TBillboard *bb, float r, float g, float b)
{
    if (bb)
        bb->color = o3DColor(r, g, b);
}

void o3DSetBillboardAlpha(TBillboard *bb, float alpha)
{
    if (!bb)
        return;
    if (!(alpha >= 0.0f))
        alpha = 0.0f;
    bb->alpha = alpha > 1.0f ? 1.0f : alpha;
}

void o3DSetBillboardMode(TBillboard *bb, int mode)
{
    if (bb && mode >= 0 && mode <= 2)
        bb->mode = mode;
}

void o3DSetBillboardAxis(TBillboard *bb, float x, float y, float z)
{
    if (bb)
        bb->axis = o3DVector3(x, y, z);
}

void o3DRenderBillboard(TBillboard *bb, TCamera *cam)
{
    if (!drawable(bb) || !cam)
        return;
    beginAdditive();
    drawQuad(bb, cam);
    endAdditive();
}

void o3DDrawBillboard(float x, float y, float z, float width, float height, TTexture *tex,
                      TCamera *cam)
{
    TBillboard bb = {};
    bb.position = o3DVector3(x, y, z);
    bb.width = width;
    bb.height = height;
    bb.color = o3DColor(1.0f, 1.0f, 1.0f);
    bb.alpha = 1.0f;
    bb.axis = o3DVector3(0.0f, 1.0f, 0.0f);
    bb.texture = tex;
    bb.textureReady = tex && tex->loaded;
    o3DRenderBillboard(&bb, cam);
}

void o3DBeginBillboards(TCamera *cam)
{
    sBillboard.batchCamera = cam;
    sBillboard.openBatches += 1;
    beginAdditive();
}

void o3DDrawBatchedBillboard(TBillboard *bb)
{
    if (drawable(bb) && sBillboard.batchCamera)
        drawQuad(bb, sBillboard.batchCamera);
}

void o3DEndBillboards(void)
{
    if (sBillboard.openBatches == 0)
        return;
    sBillboard.openBatches -= 1;
    endAdditive();
    sBillboard.batchCamera = nullptr;
}

void o3DRenderBillboardBatchCamera(TBillboard *bb)
{
    if (sBillboard.batchCamera)
        o3DRenderBillboard(bb, sBillboard.batchCamera);
}

void o3DDrawBillboardBatchCamera(float x, float y, float z, float width, float height,
                                 TTexture *tex)
{
    if (sBillboard.batchCamera)
        o3DDrawBillboard(x, y, z, width, height, tex, sBillboard.batchCamera);
}
