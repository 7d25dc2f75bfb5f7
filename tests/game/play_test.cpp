// The play frame in-process: the player's movement and physics, the enemy's mind, the shot, both
// deaths, over the fake platform and sound device with fixed frame times.
#include "game_fixture.h"
#include "md2_writer.h"

#include <math.h>

#include <vector>

class Play : public GameTest {
  protected:
    void SetUp() override
    {
        GameTest::SetUp();
        levelLoaded = 1;
        gameState = Playing;
        player.mouseLook = 0;
        startNewGame();
        faceYaw(0.0f, 0.0f);
    }
    void TearDown() override
    {
        if (enemyModel)
            o3DFreeMD2(enemyModel);
        if (treeMesh)
            o3DFreeMesh(treeMesh);
        if (terrainHandle)
            o3DFreeTerrain(terrainHandle);
        enemyModel = nullptr;
        treeMesh = nullptr;
        terrainHandle = nullptr;
        GameTest::TearDown();
    }
    void faceYaw(float yaw, float pitch)
    {
        o3DSetCamera(&gameCamera, player.posX, player.eyeY, player.posZ, yaw, pitch);
        o3DUpdateCamera(&gameCamera);
    }
    // An enemy with every animation row's frames (the death row ends on frame 183).
    void addEnemy(float x, float z)
    {
        writeFile("enemy.md2", [] {
            std::vector<uint8_t> bytes = md2Bytes(squareModel(198));
            return std::string(bytes.begin(), bytes.end());
        }());
        enemyModel = o3DLoadMD2("enemy.md2");
        ASSERT_NE(enemyModel, nullptr);
        o3DSetMD2Animation(enemyModel, 0);
        enemy.posX = x;
        enemy.posZ = z;
    }
    void placePlayer(float x, float z)
    {
        player.posX = x;
        player.posZ = z;
        faceYaw(gameCamera.yaw, gameCamera.pitch);
    }
    // A click: the button down for one frame and up for the next.
    void click(double down = 0.1, double up = 0.1)
    {
        frame({O3D_KEY_LBUTTON}, down);
        frame({}, up);
    }
    int animationFirst() const
    {
        return enemyModel && enemyModel->animation ? enemyModel->animation->first : -1;
    }
};

TEST_F(Play, EveryDirectionWalksTwelveUnitsASecondAndOppositeKeysCancel)
{
    struct Case {
        std::vector<int> keys;
        float pitch;
        float forward, right; // expected share of the walk along the view's axes
    };
    const float d = 1.0f / sqrtf(2.0f);
    const Case cases[] = {
        {{O3D_KEY_W}, 0.0f, 1.0f, 0.0f},
        {{O3D_KEY_S}, 0.0f, -1.0f, 0.0f},
        {{O3D_KEY_A}, 0.0f, 0.0f, -1.0f},
        {{O3D_KEY_D}, 0.0f, 0.0f, 1.0f},
        {{O3D_KEY_W, O3D_KEY_D}, 0.0f, d, d},
        {{O3D_KEY_S, O3D_KEY_A}, 0.0f, -d, -d},
        {{O3D_KEY_W, O3D_KEY_S}, 0.0f, 0.0f, 0.0f},
        {{O3D_KEY_A, O3D_KEY_D}, 0.0f, 0.0f, 0.0f},
        {{O3D_KEY_W}, -89.9f, 1.0f, 0.0f},
        {{O3D_KEY_W, O3D_KEY_A}, 0.0f, d, -d},
        {{O3D_KEY_S}, 89.9f, -1.0f, 0.0f},
    };
    for (const Case &c : cases) {
        placePlayer(0.0f, 0.0f);
        faceYaw(30.0f, c.pitch);
        const float fx = cosf(30.0f * 3.14159265f / 180.0f),
                    fz = sinf(30.0f * 3.14159265f / 180.0f);
        for (int i = 0; i < 5; ++i) {
            for (unsigned char &k : gFake.keys)
                k = 0;
            for (int key : c.keys)
                gFake.keys[key] = 1;
            gFake.counter += 100000;
            o3DUpdateTimer();
            o3DUpdateKeyboard();
            gameUpdate();
        }
        // Half a second: 6 units in all. The right of a view along (fx, fz) is (-fz, fx).
        EXPECT_NEAR(player.posX, 6.0f * (c.forward * fx - c.right * fz), 1e-3f) << c.keys.size();
        EXPECT_NEAR(player.posZ, 6.0f * (c.forward * fz + c.right * fx), 1e-3f) << c.keys.size();
        EXPECT_NEAR(gameCamera.posX, player.posX, 1e-5f);
    }
}

TEST_F(Play, FootstepLoopRunsWhileWalkingOnTheGroundOnly)
{
    loadEffect(SoundWalk);
    loadEffect(SoundJump);
    frame({O3D_KEY_W});
    EXPECT_EQ(player.footstepsPlaying, 1);
    EXPECT_EQ(o3DIsSoundPlaying(&soundEffects[SoundWalk]), 1);
    frame({O3D_KEY_W, O3D_KEY_S});
    EXPECT_EQ(player.footstepsPlaying, 0);
    EXPECT_EQ(o3DIsSoundPlaying(&soundEffects[SoundWalk]), 0);
    frame({O3D_KEY_W});
    EXPECT_EQ(player.footstepsPlaying, 1);
    // Leaving the ground stops the loop; it starts again only once landed.
    frame({O3D_KEY_W, O3D_KEY_SPACE});
    EXPECT_EQ(player.onGround, 0);
    frame({O3D_KEY_W});
    EXPECT_EQ(player.footstepsPlaying, 0);
    EXPECT_EQ(o3DIsSoundPlaying(&soundEffects[SoundJump]), 1);
    for (int i = 0; i < 60 && !player.onGround; ++i)
        frame({O3D_KEY_W}, 0.02);
    ASSERT_EQ(player.onGround, 1);
    frame({O3D_KEY_W});
    EXPECT_EQ(player.footstepsPlaying, 1);
}

TEST_F(Play, JumpRisesOnePointSixAndLandsAfterEightTenthsWithoutRepeatingWhileHeld)
{
    // Standing still keeps the player on the ground, ready to jump in any frame.
    for (int i = 0; i < 3; ++i) {
        frame({}, 0.01);
        EXPECT_EQ(player.onGround, 1);
        EXPECT_FLOAT_EQ(player.eyeY, 1.8f);
    }
    float top = 0.0f, airborne = 0.0f;
    frame({O3D_KEY_SPACE}, 0.01);
    EXPECT_EQ(player.onGround, 0);
    airborne += 0.01f;
    while (!player.onGround && airborne < 2.0f) {
        frame({O3D_KEY_SPACE}, 0.01); // held through the landing
        airborne += 0.01f;
        top = fmaxf(top, player.eyeY);
    }
    EXPECT_NEAR(top, 1.8f + 1.6f, 0.05f);
    EXPECT_NEAR(airborne, 0.8f, 0.02f);
    EXPECT_FLOAT_EQ(player.eyeY, 1.8f);
    frame({O3D_KEY_SPACE}, 0.01);
    EXPECT_EQ(player.onGround, 1) << "a held Space must not jump again";
    frame({}, 0.01);
    frame({O3D_KEY_SPACE}, 0.01);
    EXPECT_EQ(player.onGround, 0);
}

TEST_F(Play, EyeFollowsTheGroundUpAtOnceAndDownWithGravity)
{
    // A steep slope rising along +x, 16 cells of 1 unit.
    std::vector<unsigned char> heights(16 * 16);
    for (int z = 0; z < 16; ++z)
        for (int x = 0; x < 16; ++x)
            heights[z * 16 + x] = (unsigned char)(x * 16);
    terrainHandle = o3DCreateTerrainFromBytes(heights.data(), 16, 16, 1.0f, 40.0f);
    ASSERT_NE(terrainHandle, nullptr);
    placePlayer(0.0f, 0.0f);
    faceYaw(0.0f, 0.0f);
    frame({}, 0.01);
    EXPECT_NEAR(player.eyeY, o3DGetTerrainHeight(terrainHandle, 0.0f, 0.0f) + 1.8f, 1e-4f);
    frame({O3D_KEY_W}, 0.1); // uphill
    EXPECT_EQ(player.onGround, 1);
    EXPECT_NEAR(player.eyeY, o3DGetTerrainHeight(terrainHandle, player.posX, 0.0f) + 1.8f, 1e-4f);
    faceYaw(180.0f, 0.0f);
    frame({O3D_KEY_W}, 0.1); // downhill: the eye falls behind the ground for a moment
    frame({O3D_KEY_W}, 0.1);
    EXPECT_EQ(player.onGround, 0);
    EXPECT_GT(player.eyeY, o3DGetTerrainHeight(terrainHandle, player.posX, 0.0f) + 1.8f);
    for (int i = 0; i < 20; ++i)
        frame({}, 0.1);
    EXPECT_EQ(player.onGround, 1);
    EXPECT_NEAR(player.eyeY, o3DGetTerrainHeight(terrainHandle, player.posX, 0.0f) + 1.8f, 1e-4f);
}

TEST_F(Play, TreePushesThePlayerToTouchingDistance)
{
    float x = 54.0f, z = 50.0f;
    pushOutOfCircle(&x, &z, 55.0f, 50.0f, 0.5f, 2.5f);
    EXPECT_FLOAT_EQ(x, 52.0f);
    EXPECT_FLOAT_EQ(z, 50.0f);
    x = 55.0f, z = 50.0f;
    pushOutOfCircle(&x, &z, 55.0f, 50.0f, 0.5f, 2.5f);
    EXPECT_FLOAT_EQ(x, 56.0f);
    x = 50.0f, z = 50.0f;
    pushOutOfCircle(&x, &z, 55.0f, 50.0f, 0.5f, 2.5f);
    EXPECT_FLOAT_EQ(x, 50.0f);
    EXPECT_EQ(circlesOverlap(0, 0, 1, 2.9f, 0, 2), 1);
    EXPECT_EQ(circlesOverlap(0, 0, 1, 3.0f, 0, 2), 0);

    // Without the tree's model there is nothing to bump into.
    placePlayer(55.0f, 51.0f);
    frame({}, 0.01);
    EXPECT_FLOAT_EQ(player.posZ, 51.0f);
    treeMesh = o3DCreateMesh(3, 3);
    ASSERT_NE(treeMesh, nullptr);
    frame({}, 0.01);
    EXPECT_FLOAT_EQ(player.posX, 55.0f);
    EXPECT_FLOAT_EQ(player.posZ, 53.0f);
    EXPECT_FLOAT_EQ(gameCamera.posZ, 53.0f);
}

TEST_F(Play, ADeadPlayerNeitherTurnsNorMoves)
{
    playerDead = 1;
    player.mouseLook = 0;
    const float yaw = gameCamera.yaw;
    frame({O3D_KEY_W, O3D_KEY_LEFT, O3D_KEY_SPACE}, 0.1);
    EXPECT_FLOAT_EQ(player.posX, 50.0f);
    EXPECT_FLOAT_EQ(gameCamera.yaw, yaw);
    EXPECT_EQ(player.onGround, 1);
}

TEST_F(Play, ArrowsTurnAndLookOnlyUpAndDownWithoutMouseLook)
{
    frame({O3D_KEY_RIGHT, O3D_KEY_UP}, 0.1);
    EXPECT_NEAR(gameCamera.yaw, 9.0f, 1e-4f);
    EXPECT_NEAR(gameCamera.pitch, 9.0f, 1e-4f);
    player.mouseLook = 1;
    frame({O3D_KEY_LEFT, O3D_KEY_UP}, 0.1);
    EXPECT_NEAR(gameCamera.yaw, 0.0f, 1e-4f);
    EXPECT_NEAR(gameCamera.pitch, 9.0f, 1e-4f);
}

TEST_F(Play, GeneratorDrawsTheSameSequenceEveryRun)
{
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int value : expected)
        EXPECT_EQ(gameRandom(), value);
    resetGameState();
    EXPECT_EQ(gameRandom(), 41);
}

TEST_F(Play, RayEntersTheBoxWithinReachOnly)
{
    const float centre[3] = {10.0f, 0.0f, 0.0f}, size[3] = {2.0f, 2.0f, 2.0f};
    struct Case {
        float origin[3], direction[3], maxDistance;
        int hit;
        float distance;
    };
    const Case cases[] = {
        {{0, 0, 0}, {1, 0, 0}, 100.0f, 1, 9.0f},
        {{0, 0, 0}, {1, 0, 0}, 9.0f, 1, 9.0f},
        {{0, 0, 0}, {1, 0, 0}, 8.9f, 0, 0.0f},
        {{0, 0, 0}, {-1, 0, 0}, 100.0f, 0, 0.0f},
        {{0, 2.5f, 0}, {1, 0, 0}, 100.0f, 0, 0.0f},
        {{10, 0, 0}, {1, 0, 0}, 100.0f, 0, 0.0f}, // from inside
        {{20, 0, 0}, {-1, 0, 0}, 100.0f, 1, 9.0f},
        {{10, 10, 0.5f}, {0, -1, 0}, 100.0f, 1, 9.0f},
        {{0, 0, 0}, {0.8f, 0, 0.6f}, 100.0f, 0, 0.0f},
    };
    for (const Case &c : cases) {
        float distance = -1.0f;
        EXPECT_EQ(rayHitsBox(c.origin, c.direction, c.maxDistance, centre, size, &distance), c.hit)
            << c.origin[0] << " " << c.origin[1] << " " << c.maxDistance;
        if (c.hit) {
            EXPECT_FLOAT_EQ(distance, c.distance);
        }
    }
}

TEST_F(Play, FiftyHitsKillTheEnemyAndTheFourthFlinchesIt)
{
    addEnemy(30.0f, 30.0f);
    loadEffect(SoundShot);
    loadEffect(SoundEnemyDeath);
    placePlayer(100.0f, 30.0f); // 70 away: the enemy idles where it stands
    faceYaw(180.0f, 0.0f);
    for (int hit = 1; hit <= 50; ++hit) {
        click(0.1, 0.1);
        ASSERT_EQ(enemy.health, 100 - 2 * hit) << hit;
        if (hit <= 3) {
            EXPECT_NE(enemy.aiState, EnemyPain) << hit;
        }
        if (hit == 4) {
            EXPECT_EQ(enemy.aiState, EnemyPain);
        }
        if (hit < 50) {
            EXPECT_EQ(o3DIsSoundPlaying(&soundEffects[SoundEnemyDeath]), 0);
        }
        frame({}, 0.1); // a flinch of 0.6 s wears off within the three frames of each round
        frame({}, 0.1);
        frame({}, 0.1);
        frame({}, 0.1);
    }
    EXPECT_EQ(enemy.aiState, EnemyDead);
    EXPECT_EQ(animationFirst(), 178);
    EXPECT_EQ(o3DIsSoundPlaying(&soundEffects[SoundEnemyDeath]), 1);
    // The dead take no more shots.
    click();
    EXPECT_EQ(enemy.health, 0);
}

TEST_F(Play, OneShotPerClickAndAtMostOneEveryFifthOfASecond)
{
    addEnemy(30.0f, 30.0f);
    loadEffect(SoundShot);
    placePlayer(100.0f, 30.0f);
    faceYaw(180.0f, 0.0f);
    click(0.05, 0.05);
    EXPECT_EQ(enemy.health, 98);
    EXPECT_EQ(o3DIsSoundPlaying(&soundEffects[SoundShot]), 1);
    EXPECT_EQ(muzzleFlashOn, 0); // 0.05 s of flash is over
    click(0.05, 0.05);           // 0.1 s after the first: still cooling down
    EXPECT_EQ(enemy.health, 98);
    frame({}, 0.1);
    for (int i = 0; i < 10; ++i)
        frame({O3D_KEY_LBUTTON}, 0.1); // held
    EXPECT_EQ(enemy.health, 96);
    frame({}, 0.1);
    frame({O3D_KEY_LBUTTON}, 0.01);
    EXPECT_EQ(enemy.health, 94);
    EXPECT_EQ(muzzleFlashOn, 1);
    EXPECT_NEAR(recoil, 1.0f - 20.0f * 0.01f, 1e-5f);
    EXPECT_NEAR(shotCooldown, 0.19f, 1e-5f);
    // Missing: a shot into the sky still fires and cools down.
    faceYaw(180.0f, 60.0f);
    frame({}, 0.3);
    click(0.01, 0.01);
    EXPECT_EQ(enemy.health, 94);
    EXPECT_GT(shotCooldown, 0.0f);
}

TEST_F(Play, EnemyIdlesBeyondFiftyChasesWithinAndAttacksWithinTwo)
{
    addEnemy(30.0f, 30.0f);
    struct Case {
        float playerX;
        int state, animation;
    };
    const Case cases[] = {{80.01f, EnemyIdle, 0},
                          {80.0f, EnemyChase, 40},
                          {32.5f, EnemyChase, 40},
                          {32.0f, EnemyAttack, 46},
                          {100.0f, EnemyIdle, 0}};
    for (const Case &c : cases) {
        enemy.posX = 30.0f;
        enemy.posZ = 30.0f;
        placePlayer(c.playerX, 30.0f);
        frame({}, 0.0);
        EXPECT_EQ(enemy.aiState, c.state) << c.playerX;
        EXPECT_EQ(animationFirst(), c.animation) << c.playerX;
        EXPECT_NEAR(enemy.yaw, 0.0f, 1e-3f) << c.playerX; // facing +x, the player's side
    }
    // Running at 7.5 units a second towards the player.
    enemy.posX = 30.0f;
    placePlayer(60.0f, 30.0f);
    frame({}, 0.1);
    EXPECT_NEAR(enemy.posX, 30.75f, 1e-4f);
    placePlayer(30.75f, 60.0f);
    frame({}, 0.0);
    EXPECT_NEAR(enemy.yaw, 270.0f, 1e-3f); // facing +z
}

TEST_F(Play, EnemyStrikesEverySecondForThreeAndStandsOffToOnePointFive)
{
    addEnemy(30.0f, 30.0f);
    loadEffect(SoundEnemy);
    loadEffect(SoundPlayerHurt);
    placePlayer(31.0f, 30.0f);
    frame({}, 0.05);
    EXPECT_EQ(enemy.aiState, EnemyAttack);
    EXPECT_EQ(player.health, 97);
    EXPECT_EQ(o3DIsSoundPlaying(&soundEffects[SoundEnemy]), 1);
    EXPECT_EQ(o3DIsSoundPlaying(&soundEffects[SoundPlayerHurt]), 1);
    EXPECT_NEAR(hurtFlash, 0.5f - 3.0f * 0.05f, 1e-5f);
    EXPECT_NEAR(31.0f - enemy.posX, 1.5f, 1e-4f);
    // Standing 1.5 away it is still in reach; the next strike lands a second after the first.
    float elapsed = 0.0f;
    while (player.health == 97 && elapsed < 2.0f) {
        frame({}, 0.05);
        elapsed += 0.05f;
    }
    EXPECT_NEAR(elapsed, 1.0f, 0.051f);
    EXPECT_EQ(player.health, 94);
    EXPECT_EQ(enemy.aiState, EnemyAttack);
}

TEST_F(Play, FlinchEndsInIdleWhenThePlayerIsFarAway)
{
    addEnemy(30.0f, 30.0f);
    placePlayer(90.0f, 30.0f);
    enemy.aiState = EnemyPain;
    enemy.painTimer = 0.6f;
    o3DSetMD2Animation(enemyModel, 3);
    for (int i = 0; i < 5; ++i)
        frame({}, 0.1);
    EXPECT_EQ(enemy.aiState, EnemyPain);
    EXPECT_FLOAT_EQ(enemy.posX, 30.0f); // no moving while flinching
    frame({}, 0.1);
    frame({}, 0.1);
    EXPECT_EQ(enemy.aiState, EnemyIdle);
    EXPECT_EQ(animationFirst(), 0);
    EXPECT_FLOAT_EQ(enemy.painTimer, 0.0f);
}

TEST_F(Play, PlayerKilledByAStrikeFadesToGameOverAndReturnsToTheMenuAfterFourSeconds)
{
    addEnemy(30.0f, 30.0f);
    for (int effect : {SoundPlayerHurt, SoundPlayerDeath, SoundWalk})
        loadEffect(effect);
    loadMusic();
    o3DPlayMusic(&music, 1);
    masterVolume = 50;
    o3DCaptureMouse();
    player.health = 3;
    placePlayer(31.0f, 30.0f);
    faceYaw(180.0f, 0.0f);
    frame({O3D_KEY_W}, 0.1); // walking into the strike
    EXPECT_EQ(playerDead, 1);
    EXPECT_EQ(player.health, 0);
    EXPECT_EQ(o3DIsSoundPlaying(&soundEffects[SoundPlayerHurt]), 0);
    EXPECT_EQ(o3DIsSoundPlaying(&soundEffects[SoundPlayerDeath]), 1);
    EXPECT_EQ(o3DIsSoundPlaying(&soundEffects[SoundWalk]), 0);
    EXPECT_EQ(music.playing, 0);
    EXPECT_NEAR(hurtFlash, 0.1f, 1e-5f);
    EXPECT_EQ(o3DGetMasterVolume(), 95);
    const float x = player.posX;
    for (int i = 0; i < 4; ++i)
        frame({O3D_KEY_W}, 0.1);
    EXPECT_FLOAT_EQ(player.posX, x); // the view is frozen
    EXPECT_NEAR(hurtFlash, 0.5f, 1e-5f);
    EXPECT_EQ(o3DGetMasterVolume(), 75);
    EXPECT_EQ(enemy.aiState, EnemyIdle);
    for (int i = 0; i < 6; ++i)
        frame({}, 0.1);
    EXPECT_FLOAT_EQ(hurtFlash, 1.0f);
    EXPECT_EQ(o3DGetMasterVolume(), 0);
    for (int i = 0; i < 28; ++i)
        frame({}, 0.1);
    EXPECT_EQ(gameState, Playing); // 3.9 s
    frame({}, 0.1);
    frame({}, 0.1);
    EXPECT_EQ(gameState, MainMenu);
    EXPECT_EQ(playerDead, 0);
    EXPECT_FLOAT_EQ(hurtFlash, 0.0f);
    EXPECT_EQ(o3DGetMasterVolume(), 87);
    EXPECT_EQ(o3DIsMouseCaptured(), 0);
}

TEST_F(Play, DeadEnemyHoldsItsLastPoseFadesFromFiveSecondsAndIsRemovedAtSeven)
{
    addEnemy(30.0f, 30.0f);
    placePlayer(100.0f, 30.0f);
    faceYaw(180.0f, 0.0f);
    enemy.health = 2;
    frame({O3D_KEY_LBUTTON}, 0.1);
    ASSERT_EQ(enemy.aiState, EnemyDead);
    float t = 0.1f;
    while (t < 4.95f) {
        frame({}, 0.1);
        t += 0.1f;
    }
    EXPECT_EQ(enemy.deathPoseHeld, 1);
    EXPECT_EQ(o3DGetMD2CurrentFrame(enemyModel), 183);
    EXPECT_FLOAT_EQ(enemy.alpha, 1.0f);
    for (int i = 0; i < 10; ++i)
        frame({}, 0.1); // 6.0 s
    EXPECT_NEAR(enemy.alpha, 0.5f, 0.01f);
    EXPECT_EQ(o3DGetMD2CurrentFrame(enemyModel), 183);
    for (int i = 0; i < 9; ++i)
        frame({}, 0.1); // 6.9 s
    ASSERT_NE(enemyModel, nullptr);
    frame({}, 0.1);
    frame({}, 0.1);
    EXPECT_EQ(enemyModel, nullptr);
    EXPECT_EQ(enemy.removed, 1);
    // Shots and frames go on without it.
    click();
    frame({}, 0.1);
    EXPECT_EQ(enemy.removed, 1);
}

TEST_F(Play, PauseFrameRunsNoShotMovementOrEnemyStep)
{
    addEnemy(30.0f, 30.0f);
    placePlayer(40.0f, 30.0f);
    faceYaw(180.0f, 0.0f);
    frame({O3D_KEY_ESCAPE, O3D_KEY_W, O3D_KEY_LBUTTON}, 0.1);
    EXPECT_EQ(gameState, Paused);
    EXPECT_FLOAT_EQ(player.posX, 40.0f);
    EXPECT_FLOAT_EQ(enemy.posX, 30.0f);
    EXPECT_EQ(enemy.health, 100);
    EXPECT_FLOAT_EQ(shotCooldown, 0.0f);
}

TEST_F(Play, MouseLookTurnsAPointOneFiveDegreesPerPixelAndMovingUpLooksUp)
{
    player.mouseLook = 1;
    gFake.cursorX = 400;
    gFake.cursorY = 300;
    o3DCaptureMouse();
    frame({}, 0.01); // the captured cursor rests at the centre: no turn
    EXPECT_NEAR(gameCamera.yaw, 0.0f, 1e-4f);
    gFake.cursorX = 400 + 20;
    gFake.cursorY = 300 - 10;
    frame({}, 0.01);
    EXPECT_NEAR(gameCamera.yaw, 3.0f, 1e-4f);
    EXPECT_NEAR(gameCamera.pitch, 1.5f, 1e-4f);
    // Pitch stops short of straight up.
    gFake.cursorY = 300 - 1000;
    frame({}, 0.01);
    EXPECT_NEAR(gameCamera.pitch, 89.9f, 1e-3f);
}
