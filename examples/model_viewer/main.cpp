// model_viewer [model.md2|model.obj] [skin.bmp]: a model turning on a ground with its shadow and a
// glow beside it; an MD2 model plays the rows of the engine's animation table. Without arguments
// it shows a small animated model that it writes itself, so it runs out of the box.
//
// Mouse: drag to orbit, wheel to zoom. Keys: Up/Down row, Space pause, Left/Right step a frame,
// S/F slower/faster, B blob or projected shadow, W wireframe, R turning, Esc quit.
#include "ostrel3d.h"

#include "demo_model.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

static const float kSky[3] = {0.16f, 0.20f, 0.27f};
static const float kGround[3] = {0.56f, 0.62f, 0.68f};
static const float kShadowAlpha = 0.45f;
static const float kModelHeight = 2.0f; // every model is scaled to stand this tall
static const char *kDemoModel = "model_viewer_demo.md2";
static const char *kDemoSkin = "model_viewer_demo.bmp";
static const char *kGlowPicture = "model_viewer_glow.bmp";
enum { kKeySpace = 32, kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40, kKeyEsc = 27 };

struct Viewer {
    TMD2Model *md2;
    TMesh *mesh;
    TTexture meshSkin;
    float scale, offset[3], radius; // fits the model on the ground at the origin
    int row, paused, projected, wireframe, turning;
    float speed, spin, clock, yaw, pitch, distance;
};

// Scale and offset that stand the model on the ground, centred on the origin, from its points as
// drawn: frame 0 of an MD2 model, whose z-up content shows as (x, z, -y), or the mesh's vertices.
static void fitModel(Viewer *v)
{
    float lo[3] = {1e30f, 1e30f, 1e30f}, hi[3] = {-1e30f, -1e30f, -1e30f};
    int count = v->md2 ? v->md2->header.numVertices : v->mesh->vertexCount;
    for (int i = 0; i < count; ++i) {
        float p[3], q[3];
        for (int k = 0; k < 3; ++k) {
            const TMD2Frame *f = v->md2 ? &v->md2->frames[0] : nullptr;
            q[k] = f ? f->vertices[i * 4 + k] * f->scale[k] + f->translate[k]
                     : v->mesh->vertices[i * 3 + k];
        }
        p[0] = q[0], p[1] = v->md2 ? q[2] : q[1], p[2] = v->md2 ? -q[1] : q[2];
        for (int k = 0; k < 3; ++k) {
            lo[k] = fminf(lo[k], p[k]);
            hi[k] = fmaxf(hi[k], p[k]);
        }
    }
    float height = hi[1] - lo[1], width = fmaxf(hi[0] - lo[0], hi[2] - lo[2]);
    v->scale = kModelHeight / fmaxf(fmaxf(height, width * 0.6f), 1e-6f);
    v->offset[0] = -(lo[0] + hi[0]) * 0.5f * v->scale;
    v->offset[1] = -lo[1] * v->scale;
    v->offset[2] = -(lo[2] + hi[2]) * 0.5f * v->scale;
    v->radius = width * v->scale * 0.45f;
}

static int loadModel(Viewer *v, int argc, char **argv)
{
    const char *path = argc > 1 ? argv[1] : kDemoModel, *skin = argc > 2 ? argv[2] : nullptr;
    if (argc <= 1) {
        writeDemoModel(kDemoModel);
        writeBmp24(kDemoSkin, 64, 64, demoSkinPixel);
        skin = kDemoSkin;
    }
    size_t n = strlen(path);
    if (n > 4 && (strcmp(path + n - 4, ".obj") == 0 || strcmp(path + n - 4, ".OBJ") == 0)) {
        v->mesh = o3DLoadOBJ(path);
        if (v->mesh && skin)
            o3DLoadTexture(&v->meshSkin, skin);
    } else if ((v->md2 = o3DLoadMD2(path)) != nullptr) {
        if (skin)
            o3DLoadMD2Skin(v->md2, skin);
        o3DSetMD2Animation(v->md2, 0);
    }
    if (argc <= 1) {
        remove(kDemoModel);
        remove(kDemoSkin);
    }
    if (!v->md2 && !v->mesh)
        fprintf(stderr, "model_viewer: cannot read %s\n", path);
    return v->md2 || v->mesh;
}

static void changeRow(Viewer *v, int step)
{
    v->row = (v->row + step + O3D_MD2_ANIMATION_ROWS) % O3D_MD2_ANIMATION_ROWS;
    o3DSetMD2Animation(v->md2, v->row);
    printf("model_viewer: row %d (frames %d-%d at %d fps)\n", v->row, v->md2->animation->first,
           v->md2->animation->last, v->md2->animation->fps);
    fflush(stdout);
}

// Steps one frame within the row being played and holds it.
static void stepFrame(Viewer *v, int step)
{
    const TMD2Animation *a = v->md2->animation;
    int frame = o3DGetMD2CurrentFrame(v->md2) + step;
    o3DSetMD2Frame(v->md2, frame > a->last ? a->first : frame < a->first ? a->last : frame);
    v->paused = 1;
}

static void handleInput(Viewer *v, float dt)
{
    if (o3DKeyPressed(kKeyEsc))
        o3DQuit();
    if (o3DMouseButtonDown(0)) {
        v->yaw += o3DGetMouseDX() * 0.4f;
        v->pitch = fminf(fmaxf(v->pitch + o3DGetMouseDY() * 0.3f, 3.0f), 80.0f);
    }
    v->distance =
        fminf(fmaxf(v->distance * powf(0.9f, (float)o3DGetMouseWheelDelta()), 2.5f), 30.0f);
    v->paused ^= o3DKeyPressed(kKeySpace);
    v->projected ^= o3DKeyPressed('B');
    v->wireframe ^= o3DKeyPressed('W');
    v->turning ^= o3DKeyPressed('R');
    if (o3DKeyPressed('S') && v->speed > 0.125f)
        v->speed *= 0.5f;
    if (o3DKeyPressed('F') && v->speed < 8.0f)
        v->speed *= 2.0f;
    if (v->md2 && (o3DKeyPressed(kKeyUp) || o3DKeyPressed(kKeyDown)))
        changeRow(v, o3DKeyPressed(kKeyUp) ? 1 : -1);
    if (v->md2 && (o3DKeyPressed(kKeyLeft) || o3DKeyPressed(kKeyRight)))
        stepFrame(v, o3DKeyPressed(kKeyRight) ? 1 : -1);
    if (v->paused)
        return;
    v->clock += dt;
    v->spin += v->turning ? dt * 20.0f : 0.0f;
    o3DAnimateMD2(v->md2, dt * v->speed);
}

// The model in its place; inside a shadow, drawn solid, this is the projected silhouette.
static void drawModel(Viewer *v, int wireframe)
{
    o3DPushMatrix();
    o3DRotate(v->spin, 0.0f, 1.0f, 0.0f);
    o3DTranslate(v->offset[0], v->offset[1], v->offset[2]);
    o3DScale(v->scale, v->scale, v->scale);
    if (v->md2) {
        o3DRotate(-90.0f, 1.0f, 0.0f, 0.0f);
        wireframe ? o3DDrawMD2Wireframe(v->md2) : o3DDrawMD2(v->md2);
    } else {
        o3DBindTexture(&v->meshSkin);
        wireframe ? o3DSetWireframe() : o3DSetSolid();
        o3DDrawMesh(v->mesh);
        o3DSetSolid();
        o3DDisableTexturing();
    }
    o3DPopMatrix();
}

static void drawScene(Viewer *v, TCamera *cam, TBillboard *glow)
{
    o3DClearScreen(kSky[0], kSky[1], kSky[2]);
    o3DBegin3D();
    float p = v->pitch * 0.01745329f, y = v->yaw * 0.01745329f;
    o3DSetCameraLookAt(cam, v->distance * cosf(p) * cosf(y), 1.0f + v->distance * sinf(p),
                       v->distance * cosf(p) * sinf(y), 0.0f, 1.0f, 0.0f, 45.0f, 0.1f, 200.0f);
    o3DApplyCamera(cam);
    o3DEnableLight(0);
    o3DEnableFog(); // the far ground fades into the sky
    o3DSetFog(0, kSky[0], kSky[1], kSky[2], 0.0f, 15.0f, 45.0f);
    o3DDisableLighting();
    o3DSetColor(kGround[0], kGround[1], kGround[2]);
    o3DDrawPlane(40.0f, 40.0f, 1, 1);
    o3DPushMatrix();
    o3DTranslate(0.0f, 0.003f, 0.0f); // lines just above the plane, so they never fight it
    o3DDrawGrid(20.0f, 20);
    o3DPopMatrix();
    if (v->md2)
        v->md2->poseCurrent = 0; // one pose for the shadow and the model
    if (v->projected) {
        o3DBeginShadow(0.0f, 2.5f, 0.0f, 0.0f, 6.0f, 4.0f, 25.0f, kShadowAlpha, 0, 0.0f);
        drawModel(v, 0);
    } else {
        o3DBeginShadow(0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 25.0f, kShadowAlpha, 1, v->radius);
    }
    o3DEndShadow();
    o3DSetColor(v->wireframe ? 0.85f : 1.0f, 1.0f, 1.0f);
    if (!v->wireframe)
        o3DEnableLighting();
    drawModel(v, v->wireframe);
    o3DDisableLighting();
    o3DDisableFog();
    float size = 0.9f + 0.12f * sinf(v->clock * 3.0f);
    o3DSetBillboardSize(glow, size, size);
    o3DRenderBillboard(glow, cam);
}

static void drawOverlay(Viewer *v, TFont *font, const char *name)
{
    o3DBegin2D();
    o3DSetTextColor(1.0f, 1.0f, 1.0f);
    float bottom = (float)o3DGetScreenHeight();
    o3DPrintSystem(font, 12, bottom - 44,
                   "drag: orbit   wheel: zoom   Up/Down: row   Space: pause   "
                   "Left/Right: frame");
    o3DPrintSystem(font, 12, bottom - 24,
                   "S/F: slower/faster   B: blob/projected shadow   "
                   "W: wireframe   R: turning   Esc: quit");
    const char *shadow = v->projected ? "projected" : "blob";
    if (!v->md2) {
        o3DPrintSystemf(font, 12, 10, "%s  |  %d vertices, %d triangles", name,
                        v->mesh->vertexCount, v->mesh->indexCount / 3);
        o3DPrintSystemf(font, 12, 30, "shadow: %s%s", shadow, v->wireframe ? "  |  wireframe" : "");
        return;
    }
    TMD2Model *m = v->md2;
    o3DPrintSystemf(font, 12, 10, "%s  |  %d frames, %d triangles, %d vertices", name,
                    m->header.numFrames, m->header.numTriangles, m->header.numVertices);
    o3DPrintSystemf(font, 12, 30, "row %d: frames %d-%d at %d fps  |  frame %d -> %d (%.2f) %s",
                    v->row, m->animation->first, m->animation->last, m->animation->fps,
                    m->currentFrame, m->nextFrame, m->interpolation,
                    o3DGetMD2FrameName(m, m->currentFrame));
    o3DPrintSystemf(font, 12, 50, "speed x%.3g  %s  |  shadow: %s%s", v->speed,
                    v->paused ? "paused" : "playing", shadow, v->wireframe ? "  |  wireframe" : "");
    for (int r = 0; r < O3D_MD2_ANIMATION_ROWS; ++r) {
        int first, last, fps;
        o3DGetMD2AnimationInfo(r, &first, &last, &fps);
        float shade = last < m->header.numFrames ? 0.75f : 0.4f; // rows past the model's frames
        r == v->row ? o3DSetTextColor(1.0f, 0.85f, 0.3f)
                    : o3DSetTextColor(shade, shade, shade + 0.05f);
        o3DPrintSystemf(font, (float)o3DGetScreenWidth() - 185, 80.0f + r * 19.0f,
                        "row %2d  %3d-%3d  %2d fps", r, first, last, fps);
    }
}

int main(int argc, char **argv)
{
    if (!o3DInit(nullptr, 800, 600, "Ostrel3D - model viewer"))
        return 1;
    Viewer v = {};
    v.speed = 1.0f, v.turning = 1, v.yaw = 60.0f, v.pitch = 18.0f, v.distance = 5.5f;
    if (!loadModel(&v, argc, argv)) {
        o3DShutdown();
        return 1;
    }
    fitModel(&v);
    o3DInitRenderer(o3DGetScreenWidth(), o3DGetScreenHeight());
    o3DSetAmbientLight(0.42f, 0.44f, 0.5f);
    o3DSetDirectionalLight(0, -0.5f, -1.0f, -0.3f, 0.75f, 0.72f, 0.66f, 0.0f, 0.0f, 0.0f);
    o3DSetMaterialColors(1.0f, 1.0f, 1.0f, 0.9f, 0.9f, 0.9f, 0.0f, 0.0f, 0.0f, 0.0f);
    TBillboard *glow = o3DCreateBillboard(1.0f, 1.0f);
    writeBmp24(kGlowPicture, 64, 64, glowPixel);
    o3DLoadBillboardTexture(glow, kGlowPicture);
    remove(kGlowPicture);
    o3DSetBillboardPosition(glow, fmaxf(1.4f, v.radius * 1.6f), 1.7f, 0.9f);
    TFont font = {};
    o3DCreateSystemFont(&font, "Arial", 15, 400, 0);
    const char *name = argc > 1 ? argv[1] : "built-in snow beast";
    TCamera cam;
    o3DInitCamera(&cam);
    while (o3DIsRunning()) {
        o3DProcessMessages();
        o3DUpdateTimer();
        o3DUpdateMouse();
        o3DUpdateKeyboard();
        handleInput(&v, (float)fmin(o3DGetDeltaTime(), 0.1));
        o3DPreRender();
        drawScene(&v, &cam, glow);
        drawOverlay(&v, &font, name);
        o3DSwapBuffers();
    }
    o3DFreeFont(&font);
    o3DFreeBillboard(glow);
    o3DFreeMD2Skin(v.md2);
    o3DFreeMD2(v.md2);
    o3DFreeMesh(v.mesh);
    o3DFreeTexture(&v.meshSkin);
    o3DFreeShadowCircle();
    o3DShutdown();
    return 0;
}
