// The player: turning, walking at one speed in every direction, jumping, gravity, the eye kept
// above the ground, the push out of the tree and the footstep loop.
#include "game.h"

#include <math.h>

static const float kEyeHeight = 1.8f;
static const float kWalkSpeed = 12.0f;
static const float kTurnRate = 90.0f;
static const float kMouseSensitivity = 0.15f;
static const float kJumpSpeed = 8.0f;
static const float kGravity = 20.0f;
static const float kPlayerRadius = 0.5f;
static const float kTreeRadius = 2.5f;

int circlesOverlap(float x1, float z1, float r1, float x2, float z2, float r2)
{
    const float dx = x1 - x2, dz = z1 - z2;
    return sqrtf(dx * dx + dz * dz) < r1 + r2 ? 1 : 0;
}

void pushOutOfCircle(float *x, float *z, float ox, float oz, float r, float ro)
{
    const float dx = *x - ox, dz = *z - oz;
    const float d = sqrtf(dx * dx + dz * dz);
    if (d < 0.001f) {
        // No direction to push along from the very centre: pick +x.
        *x += 1.0f;
        return;
    }
    if (d < r + ro) {
        *x += dx / d * (r + ro - d);
        *z += dz / d * (r + ro - d);
    }
}

static void stopFootstepLoop(void)
{
    if (player.footstepsPlaying && soundEffects[SoundWalk].loaded) {
        o3DStopSound(&soundEffects[SoundWalk]);
        player.footstepsPlaying = 0;
    }
}

void applyPlayerPhysics(float dt)
{
    const float ground =
        terrainHandle ? o3DGetTerrainHeight(terrainHandle, player.posX, player.posZ) : 0.0f;
    if (!player.onGround)
        player.velY -= kGravity * dt;
    player.eyeY += player.velY * dt;
    if (ground + kEyeHeight >= player.eyeY) {
        player.eyeY = ground + kEyeHeight;
        player.velY = 0.0f;
        player.onGround = 1;
    } else {
        player.onGround = 0;
    }
    if (treeMesh &&
        circlesOverlap(player.posX, player.posZ, kPlayerRadius, treeX, treeZ, kTreeRadius)) {
        pushOutOfCircle(&player.posX, &player.posZ, treeX, treeZ, kPlayerRadius, kTreeRadius);
        o3DSetCameraPosition(&gameCamera, player.posX, player.eyeY, player.posZ);
        o3DUpdateCamera(&gameCamera);
    }
}

void updatePlayer(float dt)
{
    if (playerDead)
        return;
    if (player.mouseLook)
        o3DRotateCamera(&gameCamera, (float)o3DGetMouseDX() * kMouseSensitivity,
                        -(float)o3DGetMouseDY() * kMouseSensitivity, 0.0f);
    if (o3DKeyDown(O3D_KEY_LEFT))
        o3DRotateCamera(&gameCamera, -kTurnRate * dt, 0.0f, 0.0f);
    if (o3DKeyDown(O3D_KEY_RIGHT))
        o3DRotateCamera(&gameCamera, kTurnRate * dt, 0.0f, 0.0f);
    if (!player.mouseLook) {
        if (o3DKeyDown(O3D_KEY_UP))
            o3DRotateCamera(&gameCamera, 0.0f, kTurnRate * dt, 0.0f);
        if (o3DKeyDown(O3D_KEY_DOWN))
            o3DRotateCamera(&gameCamera, 0.0f, -kTurnRate * dt, 0.0f);
    }

    float mx = 0.0f, mz = 0.0f;
    if (o3DKeyDown(O3D_KEY_W)) {
        mx += gameCamera.forwardX;
        mz += gameCamera.forwardZ;
    }
    if (o3DKeyDown(O3D_KEY_S)) {
        mx -= gameCamera.forwardX;
        mz -= gameCamera.forwardZ;
    }
    if (o3DKeyDown(O3D_KEY_A)) {
        mx -= gameCamera.rightX;
        mz -= gameCamera.rightZ;
    }
    if (o3DKeyDown(O3D_KEY_D)) {
        mx += gameCamera.rightX;
        mz += gameCamera.rightZ;
    }
    const float len = sqrtf(mx * mx + mz * mz);
    if (len > 0.001f) {
        // Normalised on the ground plane, so diagonals and a steep pitch walk at the same speed.
        mx = mx / len * kWalkSpeed * dt;
        mz = mz / len * kWalkSpeed * dt;
        if (!player.footstepsPlaying && soundEffects[SoundWalk].loaded && player.onGround) {
            o3DPlaySoundLooped(&soundEffects[SoundWalk]);
            player.footstepsPlaying = 1;
        }
    } else {
        mx = mz = 0.0f;
        stopFootstepLoop();
    }
    if (!player.onGround)
        stopFootstepLoop();
    player.posX += mx;
    player.posZ += mz;

    if (o3DKeyPressed(O3D_KEY_SPACE) && player.onGround) {
        player.velY = kJumpSpeed;
        player.onGround = 0;
        if (soundEffects[SoundJump].loaded)
            o3DPlaySound(&soundEffects[SoundJump]);
    }
    applyPlayerPhysics(dt);
    o3DSetCameraPosition(&gameCamera, player.posX, player.eyeY, player.posZ);
    o3DUpdateCamera(&gameCamera);
}
