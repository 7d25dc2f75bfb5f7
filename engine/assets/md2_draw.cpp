// MD2 poses and drawing: the pose interpolated between two key frames, recomputed only when it
// changed and at most at the pose rate, expanded into per-corner arrays and drawn as one
// vertex-array call. The reader (md2.cpp) has already checked every index this file follows.
#include "ostrel3d.h"

#include "assets/md2.h"
#include "assets/shadow.h"
#include "platform/gl_api.h"

#include <stddef.h>

static const float kPoseIntervalSeconds = 1.0f / (float)O3D_MD2_POSE_RATE;

static int frameInRange(const TMD2Model *model, int32_t frame)
{
    return frame >= 0 && frame < model->header.numFrames;
}

static void interpolateVertices(TMD2Model *model)
{
    const TMD2Frame *a = &model->frames[model->currentFrame];
    const TMD2Frame *b = &model->frames[model->nextFrame];
    float t = model->interpolation;
    float *pos = model->vertexPositions;
    float *nrm = model->vertexNormals;
    for (int32_t v = 0; v < model->header.numVertices; ++v) {
        const uint8_t *va = a->vertices + v * 4;
        const uint8_t *vb = b->vertices + v * 4;
        const float *na = kMd2Normals[va[3]];
        const float *nb = kMd2Normals[vb[3]];
        for (int k = 0; k < 3; ++k) {
            float pa = va[k] * a->scale[k] + a->translate[k];
            float pb = vb[k] * b->scale[k] + b->translate[k];
            pos[v * 3 + k] = pa + (pb - pa) * t;
            nrm[v * 3 + k] = na[k] + (nb[k] - na[k]) * t;
        }
    }
}

static void expandCorners(TMD2Model *model)
{
    float *pos = model->cornerPositions;
    float *nrm = model->cornerNormals;
    for (int32_t i = 0; i < model->header.numTriangles; ++i) {
        for (int k = 0; k < 3; ++k) {
            const float *p = model->vertexPositions + model->triangles[i].vertexIndex[k] * 3;
            const float *n = model->vertexNormals + model->triangles[i].vertexIndex[k] * 3;
            for (int c = 0; c < 3; ++c) {
                *pos++ = p[c];
                *nrm++ = n[c];
            }
        }
    }
}

int md2UpdatePose(TMD2Model *model)
{
    if (model->currentFrame == model->cachedFrame &&
        model->interpolation == model->cachedInterpolation)
        return 0;
    // A model never posed yet is posed at once: waiting for the rate would draw nothing.
    if (model->cachedFrame >= 0) {
        model->poseTimer += (float)o3DGetDeltaTime();
        if (model->poseTimer < kPoseIntervalSeconds)
            return 0;
    }
    // The frame fields are public; frames the model does not have keep the previous pose.
    if (!frameInRange(model, model->currentFrame) || !frameInRange(model, model->nextFrame))
        return 0;
    model->poseTimer = 0.0f;
    model->cachedFrame = model->currentFrame;
    model->cachedInterpolation = model->interpolation;
    interpolateVertices(model);
    expandCorners(model);
    return 1;
}

void o3DDrawMD2(TMD2Model *model)
{
    if (!model || !model->valid)
        return;
    if (!model->poseCurrent) {
        md2UpdatePose(model);
        model->poseCurrent = 1;
    }
    int shadow = shadowIsOpen();
    GLboolean culling = glIsEnabled(GL_CULL_FACE);
    glDisable(GL_CULL_FACE);

    int blended = model->translucent && model->alpha < 1.0f && !shadow;
    GLboolean blendWasOn = glIsEnabled(GL_BLEND);
    if (blended) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glDepthMask(GL_FALSE);
        glColor4f(1.0f, 1.0f, 1.0f, model->alpha);
    }
    int skinned = model->skin && model->skin->loaded && !shadow;
    GLboolean texturingWasOn = glIsEnabled(GL_TEXTURE_2D);
    if (skinned) {
        o3DEnableTexturing();
        o3DBindTexture(model->skin);
    }

    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, model->cornerPositions);
    glNormalPointer(GL_FLOAT, 0, model->cornerNormals);
    glTexCoordPointer(2, GL_FLOAT, 0, model->cornerTexCoords);
    glDrawArrays(GL_TRIANGLES, 0, model->header.numTriangles * 3);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);

    if (skinned && !texturingWasOn)
        o3DDisableTexturing();
    if (blended) {
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        glDepthMask(GL_TRUE);
        if (!blendWasOn)
            glDisable(GL_BLEND);
    }
    if (culling)
        glEnable(GL_CULL_FACE);
}

void o3DDrawMD2Frame(TMD2Model *model, int frame)
{
    if (!model || !model->valid || frame < 0 || frame >= model->header.numFrames)
        return;
    model->currentFrame = frame;
    model->nextFrame = frame;
    model->interpolation = 0.0f;
    o3DDrawMD2(model);
}

void o3DDrawMD2Wireframe(TMD2Model *model)
{
    if (!model || !model->valid)
        return;
    md2UpdatePose(model);
    o3DDisableTexturing();
    o3DDisableLighting();
    glBegin(GL_LINES);
    for (int32_t i = 0; i < model->header.numTriangles; ++i) {
        const float *corner = model->cornerPositions + (size_t)i * 9;
        for (int k = 0; k < 3; ++k) {
            glVertex3fv(corner + k * 3);
            glVertex3fv(corner + ((k + 1) % 3) * 3);
        }
    }
    glEnd();
}

int o3DGetMD2NormalIndex(float x, float y, float z)
{
    int best = 0;
    float bestDot = -1e30f;
    for (int i = 0; i < kMd2NormalCount; ++i) {
        float dot = kMd2Normals[i][0] * x + kMd2Normals[i][1] * y + kMd2Normals[i][2] * z;
        if (dot > bestDot) {
            bestDot = dot;
            best = i;
        }
    }
    return best;
}
