// The play view: the world in its drawing order (sky, terrain, tree, enemy with its shadow,
// muzzle flash, gun) and the head-up display over it.
#include "game.h"

#include <stdio.h>

static const float kSkyR = 0.7f, kSkyG = 0.72f, kSkyB = 0.75f;
static const float kModelScale = 0.06f;

static int enemyShown(void)
{
    return enemyModel && enemyModel->valid && !enemy.removed;
}

// The model's own axes: turned to its yaw, its z axis stood up as the world's y, scaled down.
static void enemyModelTransform(void)
{
    o3DRotate(enemy.yaw, 0.0f, 1.0f, 0.0f);
    o3DRotate(-90.0f, 1.0f, 0.0f, 0.0f);
    o3DScale(kModelScale, kModelScale, kModelScale);
}

static void drawEnemy(void)
{
    if (!enemyShown())
        return;
    float shadowAlpha = 0.3f;
    if (enemy.aiState == EnemyDead && enemy.deathTimer >= 5.0f)
        shadowAlpha = 0.3f * enemy.alpha;
    // The first draw of the frame poses the model; the second reuses that pose.
    enemyModel->poseCurrent = 0;
    const float groundY =
        terrainHandle ? o3DGetTerrainHeight(terrainHandle, enemy.posX, enemy.posZ) : 0.0f;
    if (shadowQuality != 0) {
        o3DBeginShadow(enemy.posX, enemy.posY, enemy.posZ, groundY, 1.0f, 1.0f, 25.0f, shadowAlpha,
                       0, 0.8f);
        o3DPushMatrix();
        enemyModelTransform();
        o3DDrawMD2(enemyModel);
        o3DPopMatrix();
        o3DEndShadow();
    } else {
        o3DBeginShadow(enemy.posX, enemy.posY, enemy.posZ, groundY, 1.0f, 1.0f, 25.0f, shadowAlpha,
                       1, 0.8f);
        o3DEndShadow();
    }
    o3DPushMatrix();
    o3DTranslate(enemy.posX, enemy.posY, enemy.posZ);
    enemyModelTransform();
    o3DSetMD2Alpha(enemyModel, enemy.alpha);
    o3DDrawMD2(enemyModel);
    o3DPopMatrix();
}

void drawMuzzleFlash(void)
{
    if (!muzzleFlashOn || !muzzleFlashTexture.loaded)
        return;
    const TCamera &c = gameCamera;
    const float along = 3.0f - recoil;
    const float x = c.posX + c.rightX * 0.35f - c.upX * 0.3f + c.forwardX * along;
    const float y = c.posY + c.rightY * 0.35f - c.upY * 0.3f + c.forwardY * along;
    const float z = c.posZ + c.rightZ * 0.35f - c.upZ * 0.3f + c.forwardZ * along;
    o3DDrawBillboard(x, y, z, 0.7f, 0.7f, &muzzleFlashTexture, &gameCamera);
}

void drawGun(void)
{
    if (!gunMesh || playerDead)
        return;
    const TCamera &c = gameCamera;
    const float along = 0.5f - recoil;
    const float x = c.posX + c.rightX * 0.45f - c.upX * 1.3f + c.forwardX * along;
    const float y = c.posY + c.rightY * 0.45f - c.upY * 1.3f + c.forwardY * along;
    const float z = c.posZ + c.rightZ * 0.45f - c.upZ * 1.3f + c.forwardZ * along;
    // The view's own axes as the gun's, so it stays put on the screen however the view turns.
    const float axes[16] = {c.rightX,    c.rightY,    c.rightZ,    0.0f, c.upX, c.upY, c.upZ, 0.0f,
                            -c.forwardX, -c.forwardY, -c.forwardZ, 0.0f, 0.0f,  0.0f,  0.0f,  1.0f};
    o3DEnableCulling();
    o3DSetCullFace(1);
    o3DDisableLighting();
    o3DPushMatrix();
    o3DTranslate(x, y, z);
    o3DMultMatrix(axes);
    o3DRotate(-90.0f, 0.0f, 1.0f, 0.0f);
    o3DScale(0.01f, 0.01f, 0.01f);
    if (gunTexture.loaded) {
        o3DEnableTexturing();
        o3DBindTexture(&gunTexture);
    }
    o3DDrawMesh(gunMesh);
    if (gunTexture.loaded)
        o3DDisableTexturing();
    o3DPopMatrix();
    o3DDisableCulling();
}

void renderWorld(void)
{
    o3DClearScreen(kSkyR, kSkyG, kSkyB);
    o3DApplyCamera(&gameCamera);
    o3DEnableFog();
    o3DSetFog(2, kSkyR, kSkyG, kSkyB, 0.035f, 20.0f, 120.0f);
    if (skyboxHandle && skyboxHandle->ready) {
        const float eye[3] = {gameCamera.posX, gameCamera.posY, gameCamera.posZ};
        o3DDisableFog();
        o3DDrawSkyboxRotated(skyboxHandle, eye, skyAngle);
        o3DEnableFog();
    }
    if (terrainHandle) {
        o3DSetColor(1.0f, 1.0f, 1.0f);
        o3DDrawTerrain(terrainHandle);
    }
    if (treeMesh) {
        o3DPushMatrix();
        o3DTranslate(treeX, treeY, treeZ);
        o3DScale(3.0f, 3.0f, 3.0f);
        if (treeTexture.loaded) {
            o3DEnableTexturing();
            o3DBindTexture(&treeTexture);
        }
        o3DDrawMesh(treeMesh);
        if (treeTexture.loaded)
            o3DDisableTexturing();
        o3DPopMatrix();
    }
    drawEnemy();
    drawMuzzleFlash();
    drawGun();
}

void drawCrosshair(void)
{
    const float cx = (float)(o3DGetScreenWidth() / 2), cy = (float)(o3DGetScreenHeight() / 2);
    o3DSetColor(0.0f, 1.0f, 0.0f);
    o3DDrawLine(cx - 15.0f, cy, cx - 5.0f, cy);
    o3DDrawLine(cx + 5.0f, cy, cx + 15.0f, cy);
    o3DDrawLine(cx, cy - 15.0f, cx, cy - 5.0f);
    o3DDrawLine(cx, cy + 5.0f, cx, cy + 15.0f);
}

void drawHud(void)
{
    if (!smallFontLoaded)
        return;
    const int w = o3DGetScreenWidth(), h = o3DGetScreenHeight();
    char text[64];
    if (healthImage.loaded) {
        const float px = 10.0f, py = (float)(h - healthImage.height - 10);
        o3DDrawImage(&healthImage, px, py);
        if (largeFontLoaded) {
            snprintf(text, sizeof text, "%d", player.health);
            o3DDrawTextShadow(&largeFont, (float)(healthImage.width + 10 + 15),
                              py + (float)(healthImage.height / 2) - 19.0f, text, 3.0f, 3.0f, 1.0f,
                              1.0f, 1.0f, 0.0f, 0.0f, 0.0f);
        }
    }
    snprintf(text, sizeof text, "FPS: %.0f", (double)fpsValue);
    o3DDrawTextShadow(&smallFont, 10.0f, 10.0f, text, 2.0f, 2.0f, 1.0f, 1.0f, 0.2f, 0.0f, 0.0f,
                      0.0f);
    if (enemyShown()) {
        const float x = (float)((w - 300) / 2), y = 10.0f;
        const float f = (float)enemy.health / (float)enemy.maxHealth;
        o3DSetColor(0.2f, 0.0f, 0.0f);
        o3DFillRect(x, y, 300.0f, 20.0f);
        if (f > 0.0f) {
            o3DSetColor(1.0f, 0.0f, 0.0f);
            o3DFillRect(x, y, 300.0f * f, 20.0f);
        }
        o3DSetColor(1.0f, 1.0f, 1.0f);
        o3DDrawRect(x, y, 300.0f, 20.0f);
        o3DDrawTextShadow(&smallFont, x + 300.0f / 2.0f - 33.0f, 10.0f - 2.0f, "Enemy", 2.0f, 2.0f,
                          1.0f, 1.0f, 1.0f, 0.0f, 0.0f, 0.0f);
    }
    drawCrosshair();
    if (hurtFlash > 0.0f) {
        if (playerDead)
            o3DDrawFade(0.0f, 0.0f, 0.0f, hurtFlash);
        else
            o3DDrawFade(1.0f, 0.0f, 0.0f, hurtFlash);
    }
    if (playerDead && playerDeathTimer >= 1.0f && largeFontLoaded)
        o3DDrawTextShadow(&largeFont, (float)(w / 2 - 110), (float)(h / 2 - 20), "GAME OVER", 5.0f,
                          5.0f, 1.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f);
}
