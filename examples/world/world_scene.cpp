// The world example's scene: a tellurix heightmap made into terrain with a tiling snow texture,
// a skybox of six generated faces, spruces from an OBJ file, one directional light and fog. Each
// asset is written to a temporary file in the working directory, loaded with the engine's file
// loader and removed (the writers are in world_files.cpp).
#include "world_scene.h"

#include "world_files.h"

#include <stdio.h>

static const float kCellSize = 0.5f, kHeightScale = 24.0f, kSnowRepeat = 48.0f;
static const float kEyeHeight = 1.7f, kSkySize = 50.0f;
static const float kSkyR = 0.70f, kSkyG = 0.72f, kSkyB = 0.75f, kFogDensity = 0.035f;
// Where the spruces stand, as (x, z, scale), around the start at the origin facing -z.
static const float kSpruces[][3] = {{5, -12, 1.2f},  {-7, -17, 1.0f}, {11, -26, 1.5f},
                                    {-3, -31, 1.3f}, {19, -9, 0.9f},  {-15, -6, 1.4f},
                                    {2, 14, 1.1f},   {-22, -28, 1.6f}};

// Writes a file with `write`, hands it to `load`, and removes it whatever happened.
template <typename Write, typename Load>
static int throughFile(const char *path, Write write, Load load)
{
    int ok = write(path) && load(path);
    remove(path);
    return ok;
}

int loadWorld(World *w, const char *modelPath)
{
    static const char *const kFaces[6] = {"front", "back", "left", "right", "top", "bottom"};
    if (!throughFile("world_tmp_heightmap.bmp", writeHeightmap, [w](const char *p) {
            return (w->terrain = o3DCreateTerrain(p, kCellSize, kHeightScale)) != nullptr;
        }))
        return 0;
    throughFile("world_tmp_snow.bmp", writeSnowTexture,
                [w](const char *p) { return o3DLoadTerrainTexture(w->terrain, p); });
    o3DSetTerrainTextureRepeat(w->terrain, kSnowRepeat, kSnowRepeat);

    w->sky = o3DCreateSkybox(kSkySize);
    for (int face = 0; face < 6 && w->sky; ++face) {
        char path[64];
        snprintf(path, sizeof path, "world_tmp_sky_%s.bmp", kFaces[face]);
        throughFile(
            path, [face](const char *p) { return writeSkyFace(p, face); },
            [w, face](const char *p) { return o3DLoadSkyboxFace(w->sky, face, p); });
    }
    o3DBuildSkybox(w->sky);

    if (modelPath) {
        w->model = o3DLoadOBJ(modelPath);
    } else {
        throughFile("world_tmp_spruce.obj", writeSpruceObj,
                    [w](const char *p) { return (w->model = o3DLoadOBJ(p)) != nullptr; });
        throughFile("world_tmp_spruce.bmp", writeSpruceTexture,
                    [w](const char *p) { return o3DLoadTexture(&w->modelTexture, p); });
    }
    o3DBuildMeshList(w->model);
    o3DSetAmbientLight(0.42f, 0.45f, 0.52f); // overcast: a bluish light from everywhere
    o3DSetDirectionalLight(0, -0.45f, -0.8f, -0.35f, 0.8f, 0.77f, 0.7f, 0.0f, 0.0f, 0.0f);
    return o3DIsSkyboxReady(w->sky) && w->model != nullptr;
}

void freeWorld(World *w)
{
    o3DFreeTexture(&w->modelTexture);
    o3DFreeMesh(w->model);
    o3DFreeSkybox(w->sky);
    o3DFreeTerrain(w->terrain);
}

void standOnGround(const World *w, TCamera *cam)
{
    float ground = o3DGetTerrainHeight(w->terrain, cam->posX, cam->posZ);
    o3DMoveCameraTo(cam, cam->posX, ground + kEyeHeight, cam->posZ);
}

// Lit objects take their colour from the material (the texture, if bound, modulates it).
static void material(float r, float g, float b)
{
    o3DSetMaterialColors(r * 0.9f, g * 0.9f, b * 0.9f, r * 0.75f, g * 0.75f, b * 0.75f, 0.2f, 0.2f,
                         0.2f, 16.0f);
}

// The primitives in a row ahead of the start, each standing on the ground (lifted by its
// half-height where it is centred on its origin); cylinder and cone are turned to stand up.
struct Primitive {
    float lift;
    void (*draw)(void);
};
static const Primitive kPrimitives[] = {
    {0.7f, [] { o3DDrawBox(1.0f, 1.4f, 0.8f); }},
    {0.7f, [] { o3DDrawSphere(0.7f, 20, 14); }},
    {0.0f, [] { o3DRotate(-90, 1, 0, 0), o3DDrawCylinder(0.5f, 1.2f, 16); }},
    {0.0f, [] { o3DRotate(-90, 1, 0, 0), o3DDrawCone(0.6f, 1.3f, 16); }},
    {0.7f, [] { o3DDrawTorus(0.2f, 0.5f, 12, 20); }},
    {0.05f, [] { o3DDrawPlane(1.4f, 1.4f, 4, 4); }},
    {0.05f, [] { o3DDrawGrid(1.6f, 4); }},
    {0.05f, [] { o3DDrawAxes(1.0f), o3DDrawPoint3D(0.0f, 1.2f, 0.0f, 6.0f); }},
};

static void drawPrimitives(const World *w)
{
    for (int i = 0; i < 8; ++i) {
        float x = -6.0f + 1.7f * (float)i, z = -9.0f;
        o3DPushMatrix();
        o3DTranslate(x, o3DGetTerrainHeight(w->terrain, x, z) + kPrimitives[i].lift, z);
        material(0.9f - 0.1f * (float)i, 0.3f + 0.08f * (float)i, 0.25f + 0.09f * (float)i);
        kPrimitives[i].draw();
        o3DPopMatrix();
    }
}

void drawWorld(World *w, TCamera *cam, int fog, int primitives)
{
    o3DClearScreen(kSkyR, kSkyG, kSkyB);
    o3DBegin3D();
    o3DApplyCamera(cam);
    const float eye[3] = {cam->posX, cam->posY, cam->posZ};
    o3DDisableFog(); // the sky is drawn unfogged; its horizon is the fog's colour
    o3DDrawSkybox(w->sky, eye);
    o3DDisableTexturing(); // the sky leaves it on; the terrain textures itself if it can
    o3DSetFog(2, kSkyR, kSkyG, kSkyB, kFogDensity, 20.0f, 120.0f);
    if (fog)
        o3DEnableFog();
    o3DEnableLight(0); // after the camera, so its direction is a world direction
    o3DEnableLighting();
    material(1.0f, 1.0f, 1.0f);
    o3DDrawTerrain(w->terrain);

    if (w->modelTexture.loaded)
        o3DBindTexture(&w->modelTexture);
    for (const float *s : kSpruces) {
        o3DPushMatrix();
        o3DTranslate(s[0], o3DGetTerrainHeight(w->terrain, s[0], s[1]), s[1]);
        o3DScale(s[2], s[2], s[2]);
        o3DDrawMesh(w->model);
        o3DPopMatrix();
    }
    o3DDisableTexturing();
    if (primitives)
        drawPrimitives(w);
    o3DDisableLighting();
    o3DDisableFog();
}
