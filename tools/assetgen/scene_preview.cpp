// assetgen_scene: looks at the built data as a player would. It loads every asset from a pack
// with the engine's own loaders and draws the game's views with the transforms, fog, sky colour
// and HUD positions the game uses, saving each view as a bitmap.
//
//   assetgen_scene GAME_DAT OUT_PREFIX      (needs a display; writes OUT_PREFIX_<view>.bmp)
#include "ostrel3d.h"

#include "assetgen.h"

#include <GL/gl.h>
#include <math.h>
#include <stdio.h>

static const int kWidth = 800, kHeight = 600;
static const float kSky[3] = {0.7f, 0.72f, 0.75f};
static const float kEnemyScale = 0.06f, kEnemyLift = 1.3f, kTreeScale = 3.0f;

struct Scene {
    TPack *pack;
    TTerrain *terrain;
    TSkybox *sky;
    TMesh *tree, *gun;
    TMD2Model *enemy;
    TTexture *terrainTexture, *skin;
    TTexture treeTexture, gunTexture, flash, health, title;
    TFont small, large;
};

// Each asset goes through a file of its own, as the game's staging does, then the file loader.
static const char *staged(Scene *s, const char *entry)
{
    static char path[128];
    snprintf(path, sizeof path, "preview_%s", entry);
    return o3DExtractPackFile(s->pack, entry, path) ? path : "";
}

static void unstage(const char *path)
{
    if (path[0])
        remove(path);
}

template <typename Load> static auto load(Scene *s, const char *entry, Load loader)
{
    const char *path = staged(s, entry);
    auto result = loader(path);
    unstage(path);
    return result;
}

static int loadFont(Scene *s, TFont *font, const char *met, const char *sheet)
{
    char sheetPath[128];
    snprintf(sheetPath, sizeof sheetPath, "%s", sheet);
    if (!o3DExtractPackFile(s->pack, sheet, sheetPath))
        return 0;
    const int ok = load(s, met, [&](const char *p) { return o3DLoadFont(font, p); });
    remove(sheetPath);
    return ok;
}

static int loadScene(Scene *s, const char *packPath)
{
    static const char *const kFaces[6] = {"front", "back", "left", "right", "top", "bottom"};
    s->pack = o3DOpenPack(packPath);
    if (!s->pack)
        return 0;
    s->terrain = load(s, "heightmap.bmp", [](const char *p) {
        return o3DCreateTerrain(p, kTerrainCellSize, kTerrainHeightScale);
    });
    s->terrainTexture = new TTexture();
    load(s, "terrain.bmp", [&](const char *p) { return o3DLoadTexture(s->terrainTexture, p); });
    o3DSetTerrainTexture(s->terrain, s->terrainTexture);
    o3DSetTerrainTextureRepeat(s->terrain, 120, 120);
    s->sky = o3DCreateSkybox(900);
    for (int f = 0; f < 6; ++f) {
        char name[32];
        snprintf(name, sizeof name, "skybox_%s.bmp", kFaces[f]);
        load(s, name, [&](const char *p) { return o3DLoadSkyboxFace(s->sky, f, p); });
    }
    o3DBuildSkybox(s->sky);
    s->tree = load(s, "tree_winter.obj", [](const char *p) { return o3DLoadOBJ(p); });
    o3DBuildMeshList(s->tree);
    load(s, "tree_winter.bmp", [&](const char *p) { return o3DLoadImage(&s->treeTexture, p); });
    s->enemy = load(s, "tris.md2", [](const char *p) { return o3DLoadMD2(p); });
    s->skin = new TTexture();
    load(s, "skin.bmp", [&](const char *p) { return o3DLoadTexture(s->skin, p); });
    o3DSetMD2Skin(s->enemy, s->skin);
    s->gun = load(s, "gun.obj", [](const char *p) { return o3DLoadOBJ(p); });
    o3DBuildMeshList(s->gun);
    load(s, "gun.bmp", [&](const char *p) { return o3DLoadImage(&s->gunTexture, p); });
    load(s, "fire.bmp", [&](const char *p) { return o3DLoadImage(&s->flash, p); });
    load(s, "health.bmp",
         [&](const char *p) { return o3DLoadImageKeyed(&s->health, p, 255, 0, 255); });
    load(s, "title.bmp",
         [&](const char *p) { return o3DLoadImageKeyed(&s->title, p, 255, 0, 255); });
    o3DSetImageAdditive(&s->health);
    o3DSetImageAdditive(&s->title);
    return s->terrain && o3DIsSkyboxReady(s->sky) && s->tree && s->enemy && s->gun &&
           loadFont(s, &s->small, "BankGothic16.met", "BankGothic16.bmp") &&
           loadFont(s, &s->large, "BankGothic24.met", "BankGothic24.bmp");
}

struct View {
    const char *name;
    float eyeX, eyeZ, yaw, pitch;
    float enemyX, enemyZ;
    int enemyFrame; // -1: no enemy
    int flash, hud, menu;
};

static float enemyYawTowards(float ex, float ez, float px, float pz)
{
    float yaw = atan2f(px - ex, pz - ez) * 57.29578f - 90.0f;
    return yaw < 0 ? yaw + 360.0f : yaw;
}

static void drawWorld(Scene *s, TCamera *cam, const View &v)
{
    o3DClearScreen(kSky[0], kSky[1], kSky[2]);
    o3DBegin3D();
    o3DApplyCamera(cam);
    o3DEnableFog();
    o3DSetFog(2, kSky[0], kSky[1], kSky[2], 0.035f, 20.0f, 120.0f);
    const float eye[3] = {cam->posX, cam->posY, cam->posZ};
    o3DDisableFog();
    o3DDrawSkyboxRotated(s->sky, eye, 40.0f);
    o3DEnableFog();
    o3DSetColor(1, 1, 1);
    o3DDrawTerrain(s->terrain);

    o3DPushMatrix();
    o3DTranslate(kTreePoint.x, o3DGetTerrainHeight(s->terrain, kTreePoint.x, kTreePoint.z),
                 kTreePoint.z);
    o3DScale(kTreeScale, kTreeScale, kTreeScale);
    o3DEnableTexturing();
    o3DBindTexture(&s->treeTexture);
    o3DDrawMesh(s->tree);
    o3DDisableTexturing();
    o3DPopMatrix();

    if (v.enemyFrame >= 0) {
        const float ground = o3DGetTerrainHeight(s->terrain, v.enemyX, v.enemyZ);
        const float y = ground + kEnemyLift;
        const float yaw = enemyYawTowards(v.enemyX, v.enemyZ, v.eyeX, v.eyeZ);
        o3DSetMD2Frame(s->enemy, v.enemyFrame);
        s->enemy->poseCurrent = 0;
        o3DBeginShadow(v.enemyX, y, v.enemyZ, ground, 1.0f, 1.0f, 25.0f, 0.3f, 0, 0.8f);
        o3DPushMatrix();
        o3DRotate(yaw, 0, 1, 0);
        o3DRotate(-90, 1, 0, 0);
        o3DScale(kEnemyScale, kEnemyScale, kEnemyScale);
        o3DDrawMD2(s->enemy);
        o3DPopMatrix();
        o3DEndShadow();
        o3DPushMatrix();
        o3DTranslate(v.enemyX, y, v.enemyZ);
        o3DRotate(yaw, 0, 1, 0);
        o3DRotate(-90, 1, 0, 0);
        o3DScale(kEnemyScale, kEnemyScale, kEnemyScale);
        o3DSetMD2Alpha(s->enemy, 1.0f);
        o3DDrawMD2(s->enemy);
        o3DPopMatrix();
    }
    if (v.flash)
        o3DDrawBillboard(cam->posX + cam->rightX * 0.35f - cam->upX * 0.3f + cam->forwardX * 3.0f,
                         cam->posY + cam->rightY * 0.35f - cam->upY * 0.3f + cam->forwardY * 3.0f,
                         cam->posZ + cam->rightZ * 0.35f - cam->upZ * 0.3f + cam->forwardZ * 3.0f,
                         0.7f, 0.7f, &s->flash, cam);
    // The gun in the camera's frame, front faces culled, as the game draws it.
    o3DEnableCulling();
    o3DSetCullFace(1);
    o3DDisableLighting();
    o3DPushMatrix();
    o3DTranslate(cam->posX + cam->rightX * 0.45f - cam->upX * 1.3f + cam->forwardX * 0.5f,
                 cam->posY + cam->rightY * 0.45f - cam->upY * 1.3f + cam->forwardY * 0.5f,
                 cam->posZ + cam->rightZ * 0.45f - cam->upZ * 1.3f + cam->forwardZ * 0.5f);
    const float m[16] = {
        cam->rightX,    cam->rightY,    cam->rightZ,    0, cam->upX, cam->upY, cam->upZ, 0,
        -cam->forwardX, -cam->forwardY, -cam->forwardZ, 0, 0,        0,        0,        1};
    o3DMultMatrix(m);
    o3DRotate(-90, 0, 1, 0);
    o3DScale(0.01f, 0.01f, 0.01f);
    o3DEnableTexturing();
    o3DBindTexture(&s->gunTexture);
    o3DDrawMesh(s->gun);
    o3DDisableTexturing();
    o3DPopMatrix();
    o3DDisableCulling();
    o3DDisableFog();
}

static void drawHud(Scene *s)
{
    o3DBegin2D();
    const float hy = (float)(kHeight - s->health.height - 10);
    o3DDrawImage(&s->health, 10, hy);
    o3DDrawTextShadow(&s->large, (float)s->health.width + 25, hy + s->health.height / 2 - 19, "76",
                      3, 3, 1, 1, 1, 0, 0, 0);
    o3DDrawTextShadow(&s->small, 10, 10, "FPS: 60", 2, 2, 1, 1, 0.2f, 0, 0, 0);
    const float bx = (kWidth - 300) / 2.0f;
    o3DSetColor(0.2f, 0, 0);
    o3DFillRect(bx, 10, 300, 20);
    o3DSetColor(1, 0, 0);
    o3DFillRect(bx, 10, 300 * 0.64f, 20);
    o3DSetColor(1, 1, 1);
    o3DDrawRect(bx, 10, 300, 20);
    o3DDrawTextShadow(&s->small, bx + 150 - 33, 8, "Enemy", 2, 2, 1, 1, 1, 0, 0, 0);
    o3DSetColor(0, 1, 0);
    const float cx = kWidth / 2.0f, cy = kHeight / 2.0f;
    o3DDrawLine(cx - 15, cy, cx - 5, cy);
    o3DDrawLine(cx + 5, cy, cx + 15, cy);
    o3DDrawLine(cx, cy - 15, cx, cy - 5);
    o3DDrawLine(cx, cy + 5, cx, cy + 15);
    o3DSetColor(1, 1, 1);
}

static void drawMenu(Scene *s)
{
    static const char *const kItems[3] = {"Nowa gra", "Opcje", "Wyjscie"};
    o3DBegin2D();
    o3DClearScreen(0.1f, 0.1f, 0.15f);
    o3DDrawImage(&s->title, (float)(kWidth / 2 - s->title.width / 2), 25);
    for (int i = 0; i < 3; ++i) {
        const float c = i == 0 ? 1.0f : 0.8f;
        o3DDrawTextShadow(&s->small, kWidth / 2.0f - 70, kHeight / 2.0f - 50 + 50 * i, kItems[i], 2,
                          2, c, c, i == 0 ? 0.0f : 0.8f, 0, 0, 0);
    }
    o3DDrawTextShadow(&s->small, kWidth / 2.0f - 200, kHeight - 50.0f,
                      "Strzalki: Wybor   Enter: Akceptuj", 2, 2, 0.5f, 0.5f, 0.5f, 0, 0, 0);
    o3DDrawTextShadow(&s->large, kWidth / 2.0f - 100, kHeight / 2.0f + 120, "LOADING...", 5, 5, 1,
                      1, 0, 0, 0, 0);
}

static int saveScreen(const char *path)
{
    Image image(kWidth, kHeight);
    std::vector<uint8_t> pixels((size_t)kWidth * kHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const uint8_t *p = &pixels[((size_t)(kHeight - 1 - y) * kWidth + x) * 3];
            image.set(x, y, {(float)p[0], (float)p[1], (float)p[2]});
        }
    const Bytes bytes = bmpBytes(image);
    FILE *f = fopen(path, "wb");
    if (!f)
        return 0;
    const int ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return (fclose(f) == 0) && ok;
}

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: assetgen_scene GAME_DAT OUT_PREFIX\n");
        return 2;
    }
    if (!o3DInit(nullptr, kWidth, kHeight, "assetgen scene"))
        return 1;
    o3DInitRenderer(kWidth, kHeight);
    Scene s = {};
    if (!loadScene(&s, argv[1])) {
        fprintf(stderr, "assetgen_scene: %s lacks an asset or one did not load\n", argv[1]);
        o3DShutdown();
        return 1;
    }
    // The start view, the enemy running in, striking close by with a shot fired, and dead.
    const View views[] = {
        {"start", kSpawnPoint.x, kSpawnPoint.z, 45, 0, 0, 0, -1, 0, 1, 0},
        {"chase", 47, 46, 225, -2, 36, 35, 42, 0, 1, 0},
        {"tree", 62, 60, 225, 3, 0, 0, -1, 0, 1, 0},
        {"attack", 40, 38, 225, -4, 36.5f, 34.5f, 49, 1, 1, 0},
        {"pain", 40, 38, 225, -4, 35.5f, 33.5f, 55, 1, 1, 0},
        {"dead", 40, 38, 225, -12, 34.5f, 32.5f, 183, 0, 1, 0},
        {"menu", 0, 0, 0, 0, 0, 0, -1, 0, 0, 1},
    };
    int failures = 0;
    for (const View &v : views) {
        o3DProcessMessages();
        // Give the model's pose its time to be recomputed for the new frame.
        o3DUpdateTimer();
        o3DLimitFrame(0.05f);
        o3DUpdateTimer();
        if (v.menu) {
            drawMenu(&s);
        } else {
            TCamera cam;
            o3DInitCamera(&cam);
            const float eyeY = o3DGetTerrainHeight(s.terrain, v.eyeX, v.eyeZ) + 1.8f;
            o3DSetCamera(&cam, v.eyeX, eyeY, v.eyeZ, v.yaw, v.pitch);
            o3DUpdateCamera(&cam);
            drawWorld(&s, &cam, v);
            if (v.hud)
                drawHud(&s);
        }
        char path[512];
        snprintf(path, sizeof path, "%s_%s.bmp", argv[2], v.name);
        failures += !saveScreen(path);
        o3DSwapBuffers();
    }
    o3DClosePack(s.pack);
    o3DShutdown();
    return failures ? 1 : 0;
}
