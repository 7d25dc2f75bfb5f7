// A new game, and the frame's update and drawing: the time step, the menus, pausing and leaving,
// then the play frame in its fixed order (sky, camera settings, mouse look, shot, timers, player,
// enemy, deaths, the health icon's pulse, the frame rate).
#include "game.h"

#include <math.h>

static void stopFootsteps(void)
{
    if (player.footstepsPlaying && soundEffects[SoundWalk].loaded)
        o3DStopSound(&soundEffects[SoundWalk]);
    player.footstepsPlaying = 0;
}

void startNewGame(void)
{
    player.posX = 50.0f;
    player.posZ = 50.0f;
    const float ground = terrainHandle ? o3DGetTerrainHeight(terrainHandle, 50.0f, 50.0f) : 0.0f;
    player.eyeY = ground + 1.8f;
    player.velY = 0.0f;
    player.onGround = 1;
    player.health = player.maxHealth;
    o3DSetCamera(&gameCamera, player.posX, player.eyeY, player.posZ, 45.0f, 0.0f);
    o3DUpdateCamera(&gameCamera);
    if (enemyModel && enemyModel->valid && !enemy.removed) {
        enemy.posX = enemy.posZ = 30.0f;
        enemy.yaw = 0.0f;
        enemy.aiState = EnemyIdle;
        enemy.painTimer = 0.0f;
        enemy.deathPoseHeld = 0;
        enemy.attackCooldown = 0.0f;
        enemy.deathTimer = 0.0f;
        enemy.alpha = 1.0f;
        enemy.removed = 0;
        enemy.posY = terrainHandle ? o3DGetTerrainHeight(terrainHandle, 30.0f, 30.0f) : 0.0f;
    } else {
        loadEnemy();
    }
    enemy.health = enemy.maxHealth;
    playerDead = 0;
    playerDeathTimer = 0.0f;
    hurtFlash = 0.0f;
    stopFootsteps();
}

void gameUpdate(void)
{
    frameDelta = (float)o3DGetDeltaTime();
    if (frameDelta > 0.1f)
        frameDelta = 0.1f;
    if (frameDelta < 0.0001f)
        frameDelta = 0.0001f;
    if (gameState != Playing) {
        updateMenus();
        return;
    }
    if (o3DKeyPressed(O3D_KEY_ESCAPE)) {
        if (playerDead) {
            // Leaving the death sequence early puts the volume back like its timed end does.
            gameState = MainMenu;
            playerDead = 0;
            playerDeathTimer = 0.0f;
            hurtFlash = 0.0f;
            if (music.loaded)
                o3DStopMusic(&music);
            applyVolume();
        } else {
            gameState = Paused;
            if (music.loaded)
                o3DStopMusic(&music);
            stopFootsteps();
        }
        menuSelection = 0;
        if (o3DIsMouseCaptured())
            o3DReleaseMouse();
        return;
    }
    skyAngle += 0.3f * frameDelta;
    if (skyAngle >= 360.0f)
        skyAngle -= 360.0f;
    o3DSetCameraFov(&gameCamera, fov);
    o3DSetCameraFar(&gameCamera, drawDistance);
    if (o3DKeyPressed(O3D_KEY_M)) {
        player.mouseLook = player.mouseLook ? 0 : 1;
        if (player.mouseLook)
            o3DCaptureMouse();
        else
            o3DReleaseMouse();
    }
    if (o3DMouseButtonPressed(0))
        fireWeapon();
    updateWeaponTimers(frameDelta);
    updatePlayer(frameDelta);
    updateEnemy(frameDelta);
    updateStrikeTimers(frameDelta);
    updatePlayerDeath(frameDelta);
    updateEnemyDeath(frameDelta);
    if (healthImage.loaded && healthImage.additive) {
        healthPulsePhase += 2.0f * frameDelta;
        o3DSetImageAlpha(&healthImage, 0.75f + 0.25f * sinf(healthPulsePhase));
    }
    fpsValue = frameDelta > 0.0f ? 1.0f / frameDelta : 0.0f;
}

void gameRender(void)
{
    if (gameState != Playing) {
        drawMenus();
        return;
    }
    o3DBegin3D();
    renderWorld();
    o3DBegin2D();
    drawHud();
}
