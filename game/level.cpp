// The sounds loaded at start-up, the volume curve, and the level loaded at the first new game:
// terrain, sky, tree, enemy and gun, each from its pack entry.
#include "game.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int volumeCurve(int volume)
{
    const double rest = 100.0 - (double)volume;
    int v = (int)(100.0 - rest * rest * rest / 10000.0);
    return v < 0 ? 0 : v > 100 ? 100 : v;
}

void applyVolume(void)
{
    const int v = volumeCurve(masterVolume);
    o3DSetMasterVolume(v);
    if (music.loaded)
        o3DSetMusicVolume(&music, v);
    for (int i = 0; i < SoundEffectCount; ++i)
        if (soundEffects[i].loaded)
            o3DSetSoundVolume(&soundEffects[i], v);
}

static void soundWarning(const char *name)
{
    char message[256];
    snprintf(message, sizeof message, "UWAGA: Nie mozna zaladowac %s z paczki", name);
    setStatus(message);
}

void loadSounds(void)
{
    if (!packHandle)
        return;
    if (!o3DLoadMusicFromPack(packHandle, &music, "day.wav")) {
        soundWarning("day.wav");
        music.loaded = 0;
    }
    for (int i = 0; i < SoundEffectCount; ++i) {
        if (!o3DLoadSoundFromPack(packHandle, &soundEffects[i], soundEffectNames[i])) {
            soundWarning(soundEffectNames[i]);
            soundEffects[i].loaded = 0;
        }
    }
    applyVolume();
}

static float groundAt(float x, float z)
{
    return terrainHandle ? o3DGetTerrainHeight(terrainHandle, x, z) : 0.0f;
}

int loadTerrain(void)
{
    if (!packHandle) {
        setStatus("BLAD: Paczka game.dat nie jest zaladowana!");
        return 0;
    }
    uint32_t size = 0;
    unsigned char *bytes = o3DReadPackEntry(packHandle, "heightmap.bmp", &size);
    if (!bytes) {
        setStatus("BLAD: Nie mozna wczytac heightmap.bmp z paczki!");
        return 0;
    }
    char tempName[64];
    snprintf(tempName, sizeof tempName, "temp_heightmap_%p.bmp", (void *)packHandle);
    FILE *file = fopen(tempName, "wb");
    if (!file) {
        o3DFreePackData(bytes);
        setStatus("BLAD: Nie mozna utworzyc pliku tymczasowego!");
        return 0;
    }
    fwrite(bytes, 1, size, file);
    fclose(file);
    o3DFreePackData(bytes);
    // A terrain kept by an earlier attempt that failed later on is replaced, not leaked.
    o3DFreeTerrain(terrainHandle);
    terrainHandle = o3DCreateTerrain(tempName, 2.0f, 40.0f);
    remove(tempName);
    if (!terrainHandle) {
        setStatus("BLAD: Nie mozna utworzyc terenu!");
        return 0;
    }
    TTexture *texture = (TTexture *)calloc(1, sizeof(TTexture));
    if (!texture) {
        setStatus("BLAD: Nie mozna alokowac pamieci dla tekstury terenu!");
        return 0;
    }
    if (o3DLoadTextureImageFromPack(packHandle, texture, "terrain.bmp")) {
        o3DSetTerrainTexture(terrainHandle, texture);
        terrainHandle->hasTexture = 1;
    } else {
        setStatus("UWAGA: Nie mozna zaladowac terrain.bmp z paczki!");
        free(texture);
        o3DDetachTerrainTexture(terrainHandle);
        terrainHandle->hasTexture = 0;
    }
    o3DSetTerrainTextureRepeat(terrainHandle, 120.0f, 120.0f);
    setStatus("Teren wczytany.");
    return 1;
}

int loadSkybox(void)
{
    if (!packHandle)
        return 0;
    skyboxHandle = o3DCreateSkybox(900.0f);
    if (!skyboxHandle)
        return 0;
    static const char *const faces[6] = {"front", "back", "left", "right", "top", "bottom"};
    for (int i = 0; i < 6; ++i) {
        char name[64];
        snprintf(name, sizeof name, "%s%s.%s", "skybox_", faces[i], "bmp");
        if (!o3DLoadSkyboxFaceFromPack(packHandle, skyboxHandle, i, name)) {
            o3DFreeSkybox(skyboxHandle);
            skyboxHandle = nullptr;
            return 0;
        }
    }
    skyboxHandle->ready = 1;
    o3DBuildSkybox(skyboxHandle);
    return 1;
}

void loadTrees(void)
{
    if (!packHandle)
        return;
    treeMesh = o3DLoadOBJFromPack(packHandle, "tree_winter.obj");
    if (!treeMesh) {
        setStatus("BLAD: Nie mozna zaladowac tree_winter.obj z paczki!");
        return;
    }
    o3DBuildMeshList(treeMesh);
    if (!o3DLoadTextureFromPack(packHandle, &treeTexture, "tree_winter.bmp"))
        treeTexture.loaded = 0;
    treeX = 55.0f;
    treeZ = 50.0f;
    treeY = groundAt(treeX, treeZ);
}

void loadEnemy(void)
{
    if (!packHandle)
        return;
    enemyModel = o3DLoadMD2FromPack(packHandle, "tris.md2");
    if (!enemyModel)
        return;
    TTexture *skin = (TTexture *)calloc(1, sizeof(TTexture));
    if (!skin) {
        setStatus("UWAGA: Nie mozna alokowac pamieci dla skina MD2!");
    } else if (o3DLoadTextureImageFromPack(packHandle, skin, "skin.bmp")) {
        o3DSetMD2Skin(enemyModel, skin);
    } else {
        setStatus("UWAGA: Nie mozna zaladowac skin.bmp z paczki!");
        free(skin);
    }
    o3DSetMD2Animation(enemyModel, 0);
    enemy.posX = 30.0f;
    enemy.posZ = 30.0f;
    enemy.yaw = 0.0f;
    enemy.aiState = EnemyIdle;
    enemy.painTimer = 0.0f;
    enemy.deathPoseHeld = 0;
    enemy.attackCooldown = 0.0f;
    enemy.deathTimer = 0.0f;
    enemy.alpha = 1.0f;
    enemy.removed = 0;
    enemy.posY = groundAt(30.0f, 30.0f);
}

void loadGun(void)
{
    if (!packHandle)
        return;
    gunMesh = o3DLoadOBJFromPack(packHandle, "gun.obj");
    if (!gunMesh) {
        setStatus("BLAD: Nie mozna zaladowac gun.obj z paczki!");
        return;
    }
    o3DBuildMeshList(gunMesh);
    if (!o3DLoadTextureFromPack(packHandle, &gunTexture, "gun.bmp"))
        gunTexture.loaded = 0;
    if (!o3DLoadTextureFromPack(packHandle, &muzzleFlashTexture, "fire.bmp")) {
        setStatus("UWAGA: Nie mozna zaladowac fire.bmp z paczki (efekt strzalu nieaktywny)");
        muzzleFlashTexture.loaded = 0;
    }
}

int loadLevel(void)
{
    if (levelLoaded)
        return 1;
    const float w = (float)o3DGetScreenWidth(), h = (float)o3DGetScreenHeight();
    o3DClearScreen(0.0f, 0.0f, 0.0f);
    if (largeFontLoaded)
        o3DDrawTextShadow(&largeFont, w / 2.0f - 100.0f, h / 2.0f - 20.0f, "LOADING...", 5.0f, 5.0f,
                          1.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    o3DSwapBuffers();
    o3DProcessMessages();
    if (!loadTerrain())
        return 0;
    loadSkybox();
    loadTrees();
    loadEnemy();
    loadGun();
    levelLoaded = 1;
    return 1;
}
