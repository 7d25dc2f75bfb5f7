// The enemy's mind, the shot and its hit test, and the per-frame rules of combat: the weapon's
// timers, strikes wearing off, the player's death with its fade, the enemy's death and removal.
#include "game.h"

#include <math.h>

static const int kShotDamage = 2;
static const float kShotRange = 100.0f;
static const float kShotCooldown = 0.2f;
static const float kRecoilPerShot = 1.0f;
static const float kRecoilRecovery = 20.0f;
static const float kHurtFlashFade = 3.0f;

static const float kSightRange = 50.0f;
static const float kAttackRange = 2.0f;
static const float kRunSpeed = 7.5f;
static const float kPersonalDistance = 1.5f;
static const float kBodyRadius = 0.8f;
static const float kTreeRadius = 2.5f;
static const float kOriginAboveGround = 1.3f;
static const int kStrikeDamage = 3;
static const float kStrikeInterval = 1.0f;
static const float kHurtFlashPerStrike = 0.5f;
static const float kPainTime = 0.6f;
static const int kPainChance = 33;
static const float kFadeStart = 5.0f;
static const float kRemoveTime = 7.0f;

// Animation rows of the model's table for each AI state but dead, and the death row.
static const int kStateAnimation[] = {0, 1, 2, 3};
static const int kDeathAnimation = 15;

unsigned int randomState = 1;

int gameRandom(void)
{
    randomState = randomState * 214013u + 2531011u;
    return (int)((randomState >> 16) & 0x7FFF);
}

static int enemyPresent(void)
{
    return enemyModel && enemyModel->valid;
}

static void setEnemyState(int state)
{
    if (enemy.aiState == state)
        return;
    enemy.aiState = state;
    o3DSetMD2Animation(enemyModel, state == EnemyDead ? kDeathAnimation : kStateAnimation[state]);
}

static void playEffect(int effect)
{
    if (soundEffects[effect].loaded)
        o3DPlaySound(&soundEffects[effect]);
}

int rayHitsBox(const float origin[3], const float direction[3], float maxDistance,
               const float centre[3], const float size[3], float *distanceOut)
{
    float nearT[3], farT[3];
    for (int a = 0; a < 3; ++a) {
        const float inv = 1.0f / direction[a];
        const float lo = centre[a] - size[a] / 2.0f, hi = centre[a] + size[a] / 2.0f;
        if (inv >= 0.0f) {
            nearT[a] = (lo - origin[a]) * inv;
            farT[a] = (hi - origin[a]) * inv;
        } else {
            nearT[a] = (hi - origin[a]) * inv;
            farT[a] = (lo - origin[a]) * inv;
        }
    }
    if (nearT[0] > farT[1] || nearT[1] > farT[0])
        return 0;
    float tmin = nearT[0] > nearT[1] ? nearT[0] : nearT[1];
    const float tmax = farT[0] < farT[1] ? farT[0] : farT[1];
    if (tmin > farT[2] || nearT[2] > tmax)
        return 0;
    if (nearT[2] > tmin)
        tmin = nearT[2];
    // A ray that starts inside the box enters it behind the eye: no hit.
    if (tmin < 0.0f || tmin > maxDistance)
        return 0;
    if (distanceOut)
        *distanceOut = tmin;
    return 1;
}

void fireWeapon(void)
{
    if (shotCooldown > 0.0f)
        return;
    shotCooldown = kShotCooldown;
    playEffect(SoundShot);
    recoil = kRecoilPerShot;
    muzzleFlashOn = 1;
    muzzleFlashTimer = 0.05f;
    if (!enemyPresent() || enemy.health < 1)
        return;
    const float origin[3] = {gameCamera.posX, gameCamera.posY, gameCamera.posZ};
    const float direction[3] = {gameCamera.forwardX, gameCamera.forwardY, gameCamera.forwardZ};
    const float centre[3] = {enemy.posX, enemy.posY + 1.3f, enemy.posZ};
    const float size[3] = {1.5f, 3.0f, 1.5f};
    if (!rayHitsBox(origin, direction, kShotRange, centre, size, nullptr))
        return;
    enemy.health -= kShotDamage;
    if (enemy.health < 0)
        enemy.health = 0;
    if (enemy.health > 0) {
        if (gameRandom() % 100 < kPainChance) {
            // A new flinch restarts even one still running.
            enemy.aiState = EnemyPain;
            enemy.painTimer = kPainTime;
            o3DSetMD2Animation(enemyModel, kStateAnimation[EnemyPain]);
        }
    } else {
        enemy.aiState = EnemyDead;
        enemy.deathPoseHeld = 0;
        enemy.deathTimer = 0.0f;
        enemy.alpha = 1.0f;
        o3DSetMD2Animation(enemyModel, kDeathAnimation);
        playEffect(SoundEnemyDeath);
    }
}

void updateEnemy(float dt)
{
    if (!enemyPresent())
        return;
    if (terrainHandle)
        enemy.posY =
            o3DGetTerrainHeight(terrainHandle, enemy.posX, enemy.posZ) + kOriginAboveGround;
    if (enemy.aiState == EnemyDead)
        return;
    if (playerDead) {
        setEnemyState(EnemyIdle);
        return;
    }
    if (enemy.aiState == EnemyPain) {
        enemy.painTimer -= dt;
        if (enemy.painTimer <= 0.0f) {
            setEnemyState(EnemyIdle);
            enemy.painTimer = 0.0f;
        }
        return;
    }
    const float dx = player.posX - enemy.posX, dz = player.posZ - enemy.posZ;
    const float dist = sqrtf(dx * dx + dz * dz);
    if (dist > 0.001f) {
        float yaw = atan2f(dx, dz) * (180.0f / 3.14159265f) - 90.0f;
        if (yaw < 0.0f)
            yaw += 360.0f;
        if (yaw >= 360.0f)
            yaw -= 360.0f;
        enemy.yaw = yaw;
    }
    if (dist > kSightRange) {
        setEnemyState(EnemyIdle);
    } else if (dist > kAttackRange) {
        setEnemyState(EnemyChase);
        if (dist > 0.001f) {
            enemy.posX += dx / dist * kRunSpeed * dt;
            enemy.posZ += dz / dist * kRunSpeed * dt;
        }
    } else {
        if (enemy.aiState != EnemyAttack) {
            setEnemyState(EnemyAttack);
            playEffect(SoundEnemy);
        }
        if (enemy.attackCooldown <= 0.0f) {
            player.health -= kStrikeDamage;
            if (player.health < 0)
                player.health = 0;
            hurtFlash = kHurtFlashPerStrike;
            if (player.health > 0)
                playEffect(SoundPlayerHurt);
            enemy.attackCooldown = kStrikeInterval;
        }
    }
    if (dist > 0.001f && dist < kPersonalDistance) {
        enemy.posX -= dx / dist * (kPersonalDistance - dist);
        enemy.posZ -= dz / dist * (kPersonalDistance - dist);
    }
    if (treeMesh &&
        circlesOverlap(enemy.posX, enemy.posZ, kBodyRadius, treeX, treeZ, kTreeRadius)) {
        pushOutOfCircle(&enemy.posX, &enemy.posZ, treeX, treeZ, kBodyRadius, kTreeRadius);
        if (terrainHandle)
            enemy.posY =
                o3DGetTerrainHeight(terrainHandle, enemy.posX, enemy.posZ) + kOriginAboveGround;
    }
}

void updateWeaponTimers(float dt)
{
    if (shotCooldown > 0.0f) {
        shotCooldown -= dt;
        if (shotCooldown < 0.0f)
            shotCooldown = 0.0f;
    }
    if (recoil > 0.0f) {
        recoil -= kRecoilRecovery * dt;
        if (recoil < 0.0f)
            recoil = 0.0f;
    }
    if (muzzleFlashTimer > 0.0f) {
        muzzleFlashTimer -= dt;
        if (muzzleFlashTimer <= 0.0f) {
            muzzleFlashOn = 0;
            muzzleFlashTimer = 0.0f;
        }
    }
}

void updateStrikeTimers(float dt)
{
    if (enemy.attackCooldown > 0.0f) {
        enemy.attackCooldown -= dt;
        if (enemy.attackCooldown < 0.0f)
            enemy.attackCooldown = 0.0f;
    }
    if (hurtFlash > 0.0f) {
        hurtFlash -= kHurtFlashFade * dt;
        if (hurtFlash < 0.0f)
            hurtFlash = 0.0f;
    }
}

static void setAllVolumes(int volume)
{
    o3DSetMasterVolume(volume);
    if (music.loaded)
        o3DSetMusicVolume(&music, volume);
    for (TSound &sound : soundEffects)
        if (sound.loaded)
            o3DSetSoundVolume(&sound, volume);
}

void updatePlayerDeath(float dt)
{
    if (player.health <= 0 && !playerDead) {
        playerDead = 1;
        player.health = 0;
        playerDeathTimer = 0.0f;
        hurtFlash = 0.0f;
        playEffect(SoundPlayerDeath);
        if (music.loaded)
            o3DStopMusic(&music);
        if (player.footstepsPlaying && soundEffects[SoundWalk].loaded)
            o3DStopSound(&soundEffects[SoundWalk]);
        player.footstepsPlaying = 0;
    }
    if (!playerDead)
        return;
    playerDeathTimer += dt;
    if (playerDeathTimer < 1.0f) {
        setAllVolumes((int)((1.0f - playerDeathTimer / 2.0f) * 100.0f));
        hurtFlash = playerDeathTimer;
    } else {
        hurtFlash = 1.0f;
        o3DSetMasterVolume(0);
    }
    if (playerDeathTimer >= 4.0f) {
        gameState = MainMenu;
        playerDead = 0;
        playerDeathTimer = 0.0f;
        hurtFlash = 0.0f;
        applyVolume();
        // The menus never use the mouse, so it goes back to the desktop as on the Esc path.
        if (o3DIsMouseCaptured())
            o3DReleaseMouse();
    }
}

void updateEnemyDeath(float dt)
{
    if (!enemyPresent() || enemy.removed)
        return;
    if (enemy.aiState != EnemyDead) {
        o3DAnimateMD2(enemyModel, dt);
        return;
    }
    enemy.deathTimer += dt;
    if (!enemy.deathPoseHeld) {
        o3DAnimateMD2(enemyModel, dt);
        TMD2Animation *animation = enemyModel->animation;
        if (animation && enemyModel->currentFrame >= animation->last) {
            enemy.deathPoseHeld = 1;
            enemyModel->currentFrame = animation->last;
            enemyModel->nextFrame = animation->last;
            enemyModel->interpolation = 0.0f;
        }
    }
    if (enemy.deathTimer >= kFadeStart) {
        const float t = (enemy.deathTimer - kFadeStart) / 2.0f;
        enemy.alpha = 1.0f - (t < 1.0f ? t : 1.0f);
    }
    if (enemy.deathTimer >= kRemoveTime) {
        enemy.removed = 1;
        o3DFreeMD2Skin(enemyModel);
        o3DFreeMD2(enemyModel);
        enemyModel = nullptr;
    }
}
