// The skybox: six face textures on a cube drawn around the camera before the scene, without
// depth writes, so the scene drawn afterwards always covers it. Owns its face records and its
// display list; needs a current GL context for everything but creation and the ready flag.
#include "ostrel3d.h"

#include "platform/gl_api.h"

#include <stdio.h>
#include <stdlib.h>

static const int kFaceCount = 6;

// Texture coordinates stop 1/1024 short of the edges, so clamped faces never show a neighbouring
// texel or the border at the cube's seams.
static const float kTexInset = 1.0f / 1024.0f;

static const char *const kFaceNames[kFaceCount] = {"front", "back", "left",
                                                   "right", "top",  "bottom"};

// Each face's corners in drawing order, as signs of the half edge; every face is seen from
// inside the cube.
static const float kFaceCorners[kFaceCount][4][3] = {
    {{-1, -1, +1}, {+1, -1, +1}, {+1, +1, +1}, {-1, +1, +1}}, // front, z = +h
    {{+1, -1, -1}, {-1, -1, -1}, {-1, +1, -1}, {+1, +1, -1}}, // back, z = -h
    {{-1, -1, -1}, {-1, -1, +1}, {-1, +1, +1}, {-1, +1, -1}}, // left, x = -h
    {{+1, -1, +1}, {+1, -1, -1}, {+1, +1, -1}, {+1, +1, +1}}, // right, x = +h
    {{-1, +1, +1}, {+1, +1, +1}, {+1, +1, -1}, {-1, +1, -1}}, // top, y = +h
    {{-1, -1, -1}, {+1, -1, -1}, {+1, -1, +1}, {-1, -1, +1}}, // bottom, y = -h
};

static const float kCornerTexCoords[4][2] = {
    {kTexInset, kTexInset},
    {1.0f - kTexInset, kTexInset},
    {1.0f - kTexInset, 1.0f - kTexInset},
    {kTexInset, 1.0f - kTexInset},
};

static int validFace(int face)
{
    return face >= 0 && face < kFaceCount;
}

static int allFacesLoaded(const TSkybox *sky)
{
    for (int face = 0; face < kFaceCount; ++face)
        if (!sky->faces[face] || !sky->faces[face]->loaded)
            return 0;
    return 1;
}

static void freeFace(TSkybox *sky, int face)
{
    if (!sky->faces[face])
        return;
    o3DFreeTexture(sky->faces[face]);
    free(sky->faces[face]);
    sky->faces[face] = nullptr;
}

static void bindWithRepeat(const TTexture *tex)
{
    glBindTexture(GL_TEXTURE_2D, tex->id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

static void installFace(TSkybox *sky, int face, TTexture *tex)
{
    bindWithRepeat(tex);
    if (sky->faces[face] != tex)
        freeFace(sky, face);
    sky->faces[face] = tex;
}

static void dropList(TSkybox *sky)
{
    if (sky->hasList && sky->listId != 0)
        glDeleteLists(sky->listId, 1);
    sky->listId = 0;
    sky->hasList = 0;
}

static void drawFace(float size, const TTexture *tex, int face)
{
    if (!tex || !tex->loaded)
        return;
    float h = size * 0.5f;
    glBindTexture(GL_TEXTURE_2D, tex->id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBegin(GL_QUADS);
    for (int corner = 0; corner < 4; ++corner) {
        const float *c = kFaceCorners[face][corner];
        glTexCoord2f(kCornerTexCoords[corner][0], kCornerTexCoords[corner][1]);
        glVertex3f(c[0] * h, c[1] * h, c[2] * h);
    }
    glEnd();
}

static void drawFaces(const TSkybox *sky)
{
    for (int face = 0; face < kFaceCount; ++face)
        drawFace(sky->size, sky->faces[face], face);
}

// The one drawing path: `angle` turns about the vertical axis through the position.
static void drawAround(TSkybox *sky, const float *position, int rotate, float angle)
{
    if (!sky || !sky->ready)
        return;
    GLboolean lighting = glIsEnabled(GL_LIGHTING);
    GLboolean depthMask = GL_TRUE;
    GLint matrixMode = GL_MODELVIEW;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    glDisable(GL_LIGHTING);
    glDepthMask(GL_FALSE);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    if (position)
        glTranslatef(position[0], position[1], position[2]);
    if (rotate)
        glRotatef(angle, 0.0f, 1.0f, 0.0f);
    glEnable(GL_TEXTURE_2D);
    glColor3f(1.0f, 1.0f, 1.0f);
    if (sky->hasList && sky->listId != 0)
        glCallList(sky->listId);
    else
        drawFaces(sky);
    glPopMatrix();
    glMatrixMode((GLenum)matrixMode);
    glDepthMask(depthMask);
    if (lighting)
        glEnable(GL_LIGHTING);
}

TSkybox *o3DCreateSkybox(float size)
{
    TSkybox *sky = (TSkybox *)calloc(1, sizeof(TSkybox));
    if (sky)
        sky->size = size;
    return sky;
}

void o3DFreeSkybox(TSkybox *sky)
{
    if (!sky)
        return;
    dropList(sky);
    for (int face = 0; face < kFaceCount; ++face)
        freeFace(sky, face);
    free(sky);
}

int o3DLoadSkyboxFace(TSkybox *sky, int face, const char *path)
{
    if (!sky || !path || !validFace(face))
        return 0;
    TTexture *tex = (TTexture *)calloc(1, sizeof(TTexture));
    if (!tex)
        return 0;
    if (!o3DLoadTexture(tex, path)) {
        free(tex);
        return 0;
    }
    installFace(sky, face, tex);
    sky->ready = allFacesLoaded(sky);
    return 1;
}

int o3DLoadSkyboxFaces(TSkybox *sky, const char *front, const char *back, const char *left,
                       const char *right, const char *top, const char *bottom)
{
    const char *paths[kFaceCount] = {front, back, left, right, top, bottom};
    if (!sky)
        return 0;
    for (int face = 0; face < kFaceCount; ++face)
        if (!o3DLoadSkyboxFace(sky, face, paths[face]))
            return 0;
    sky->ready = 1;
    return 1;
}

int o3DLoadSkybox(TSkybox *sky, const char *prefix, const char *extension)
{
    if (!sky || !prefix || !extension)
        return 0;
    char *paths[kFaceCount] = {};
    int ok = 1;
    for (int face = 0; face < kFaceCount && ok; ++face) {
        int length = snprintf(nullptr, 0, "%s%s.%s", prefix, kFaceNames[face], extension);
        paths[face] = length >= 0 ? (char *)malloc((size_t)length + 1) : nullptr;
        if (paths[face])
            snprintf(paths[face], (size_t)length + 1, "%s%s.%s", prefix, kFaceNames[face],
                     extension);
        else
            ok = 0;
    }
    if (ok)
        ok = o3DLoadSkyboxFaces(sky, paths[0], paths[1], paths[2], paths[3], paths[4], paths[5]);
    for (int face = 0; face < kFaceCount; ++face)
        free(paths[face]);
    return ok;
}

void o3DSetSkyboxFace(TSkybox *sky, int face, TTexture *tex)
{
    if (!sky || !tex || !validFace(face))
        return;
    installFace(sky, face, tex);
}

void o3DSetSkyboxSize(TSkybox *sky, float size)
{
    if (!sky)
        return;
    sky->size = size;
    dropList(sky);
}

int o3DIsSkyboxReady(TSkybox *sky)
{
    return sky ? sky->ready : 0;
}

void o3DBuildSkybox(TSkybox *sky)
{
    if (!sky || !sky->ready)
        return;
    dropList(sky);
    GLuint list = glGenLists(1);
    if (list == 0)
        return;
    glNewList(list, GL_COMPILE);
    glEnable(GL_TEXTURE_2D);
    drawFaces(sky);
    glEndList();
    sky->listId = list;
    sky->hasList = 1;
}

void o3DDrawSkybox(TSkybox *sky, const float *position)
{
    drawAround(sky, position, 0, 0.0f);
}

void o3DDrawSkyboxAtOrigin(TSkybox *sky)
{
    drawAround(sky, nullptr, 0, 0.0f);
}

void o3DDrawSkyboxRotated(TSkybox *sky, const float *position, float angle)
{
    drawAround(sky, position, 1, angle);
}
