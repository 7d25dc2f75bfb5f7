// The play view on a real window with the default data: the HUD's geometry read back from the
// screen at 800 x 600, the gun hidden while dead, the shadow kind by the setting, and every
// drawing step with its object missing.
#include "game_gl_support.h"

#include "platform/gl_api.h"

#include <vector>

class Render : public GameRun {
  protected:
    void SetUp() override
    {
        GameRun::SetUp();
        startPlaying();
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_EQ(o3DGetScreenWidth(), 800);
        ASSERT_EQ(o3DGetScreenHeight(), 600);
    }
    void TearDown() override
    {
        gameShutdown();
        GameRun::TearDown();
    }
    static std::vector<unsigned char> frame()
    {
        return backBuffer();
    }
    // Whether the pixel at (x, y), y downwards, is within 0.1 of the colour.
    static bool isColour(const std::vector<unsigned char> &pixels, int x, int y, float r, float g,
                         float b)
    {
        const int w = o3DGetScreenWidth(), h = o3DGetScreenHeight();
        const unsigned char *p = &pixels[((size_t)(h - 1 - y) * w + x) * 3];
        return std::abs(p[0] - r * 255.0f) < 26.0f && std::abs(p[1] - g * 255.0f) < 26.0f &&
               std::abs(p[2] - b * 255.0f) < 26.0f;
    }
    static int countRow(const std::vector<unsigned char> &pixels, int y, int x0, int x1, float r,
                        float g, float b)
    {
        int n = 0;
        for (int x = x0; x < x1; ++x)
            n += isColour(pixels, x, y, r, g, b);
        return n;
    }
    static std::vector<unsigned char> hudOverBlack()
    {
        o3DBegin2D();
        o3DClearScreen(0.0f, 0.0f, 0.0f);
        drawHud();
        return frame();
    }
    static std::vector<unsigned char> playView()
    {
        gameRender();
        return frame();
    }
};

TEST_F(Render, CrosshairArmsEndFifteenFromTheCentreAroundATenPixelGap)
{
    const std::vector<unsigned char> hud = hudOverBlack();
    // The arms run from 15 to 5 pixels out on each side of (400, 300), give or take the
    // rasteriser's half pixel; nothing is drawn in the 10-pixel gap or beyond the arms.
    std::vector<int> row, column;
    for (int i = 360; i < 440; ++i) {
        if (isColour(hud, i, 300, 0, 1, 0) || isColour(hud, i, 299, 0, 1, 0))
            row.push_back(i);
        if (isColour(hud, 400, i - 100, 0, 1, 0) || isColour(hud, 399, i - 100, 0, 1, 0))
            column.push_back(i);
    }
    for (const std::vector<int> &line : {row, column}) {
        ASSERT_FALSE(line.empty());
        EXPECT_NEAR(line.front(), 385, 1);
        EXPECT_NEAR(line.back(), 415, 1);
        int gapStart = 0, gapEnd = 0;
        for (size_t i = 1; i < line.size(); ++i)
            if (line[i] - line[i - 1] > 1) {
                gapStart = line[i - 1];
                gapEnd = line[i];
            }
        EXPECT_NEAR(gapStart, 395, 1);
        EXPECT_NEAR(gapEnd, 405, 1);
        EXPECT_NEAR(gapEnd - gapStart, 10, 1);
        EXPECT_EQ(line.size(), (size_t)(line.back() - line.front() + 1) - (gapEnd - gapStart - 1));
    }
}
TEST_F(Render, EnemyBarSpansTwoFiftyToFiveFiftyWithItsRedPartInProportion)
{
    struct Case {
        int health, redEnd; // the bar's red part runs from x 250 to redEnd
    };
    const Case cases[] = {{100, 550}, {25, 325}, {1, 253}, {0, 250}};
    for (const Case &c : cases) {
        enemy.health = c.health;
        const std::vector<unsigned char> hud = hudOverBlack();
        const int y = 28; // a row of the bar below the label, which is white and black only
        int firstRed = -1, lastRed = -1, lastDark = -1, firstWhite = -1, lastWhite = -1;
        for (int x = 200; x < 600; ++x) {
            if (isColour(hud, x, y, 1, 0, 0)) {
                firstRed = firstRed < 0 ? x : firstRed;
                lastRed = x;
            }
            if (isColour(hud, x, y, 0.2f, 0, 0))
                lastDark = x;
            if (isColour(hud, x, y, 1, 1, 1)) {
                firstWhite = firstWhite < 0 ? x : firstWhite;
                lastWhite = x;
            }
        }
        EXPECT_NEAR(firstWhite, 250, 1) << c.health; // the outline's sides
        EXPECT_NEAR(lastWhite, 550, 1) << c.health;
        if (c.health > 0) {
            EXPECT_NEAR(firstRed, 251, 1) << c.health;
            EXPECT_NEAR(lastRed + 1, c.redEnd, 1) << c.health;
        } else {
            EXPECT_EQ(lastRed, -1);
        }
        if (c.health < 100) {
            EXPECT_NEAR(lastDark, 549, 1) << c.health;
        }
    }
    // Removed: no bar and no label.
    enemy.removed = 1;
    const std::vector<unsigned char> hud = hudOverBlack();
    EXPECT_EQ(countRow(hud, 28, 200, 600, 1, 1, 1) + countRow(hud, 28, 200, 600, 0.2f, 0, 0), 0);
}

TEST_F(Render, DeathTurnsTheScreenBlackWithGameOverFromOneSecondAndHidesTheGun)
{
    player.mouseLook = 0;
    const std::vector<unsigned char> alive = playView();
    playerDead = 1;
    const std::vector<unsigned char> dead = playView();
    TMesh *gun = gunMesh;
    gunMesh = nullptr;
    playerDead = 0;
    const std::vector<unsigned char> noGun = playView();
    gunMesh = gun;
    EXPECT_NE(alive, dead);
    EXPECT_EQ(dead, noGun) << "the gun must not be drawn while dead";

    playerDead = 1;
    playerDeathTimer = 0.5f;
    hurtFlash = 1.0f;
    std::vector<unsigned char> view = playView();
    int yellow = 0;
    for (int y = 270; y < 320; ++y)
        yellow += countRow(view, y, 280, 520, 1, 1, 0);
    EXPECT_EQ(yellow, 0);
    EXPECT_EQ(countRow(view, 500, 0, 800, 0, 0, 0), 800);
    playerDeathTimer = 1.0f;
    view = playView();
    for (int y = 270; y < 320; ++y)
        yellow += countRow(view, y, 280, 520, 1, 1, 0);
    EXPECT_GT(yellow, 200);
    // Alive, a strike tints the view red.
    playerDead = 0;
    hurtFlash = 1.0f;
    view = playView();
    EXPECT_EQ(countRow(view, 500, 0, 800, 1, 0, 0), 800);
}

TEST_F(Render, MuzzleFlashShowsRightOfAndBelowTheCrosshairWhileOn)
{
    // Against the dark, where the additive flash shows best.
    o3DSetCamera(&gameCamera, 0.0f, -50.0f, 0.0f, 0.0f, 0.0f);
    o3DUpdateCamera(&gameCamera);
    TSkybox *sky = skyboxHandle;
    skyboxHandle = nullptr;
    TMesh *gun = gunMesh;
    gunMesh = nullptr;
    muzzleFlashOn = 0;
    const std::vector<unsigned char> off = playView();
    muzzleFlashOn = 1;
    const std::vector<unsigned char> on = playView();
    skyboxHandle = sky;
    gunMesh = gun;
    int changedNear = 0, changedElsewhere = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            const size_t i = ((size_t)(599 - y) * 800 + x) * 3;
            const bool changed = off[i] != on[i] || off[i + 1] != on[i + 1];
            const bool inFlash = x > 380 && x < 580 && y > 260 && y < 460;
            (inFlash ? changedNear : changedElsewhere) += changed;
        }
    EXPECT_GT(changedNear, 500);
    EXPECT_EQ(changedElsewhere, 0);
}

TEST_F(Render, ShadowIsABlobOrAFlattenedModelByTheSetting)
{
    // Look down at the enemy from above and behind it.
    player.posX = enemy.posX - 6.0f;
    player.posZ = enemy.posZ;
    o3DSetCamera(&gameCamera, player.posX, enemy.posY + 6.0f, player.posZ, 0.0f, -40.0f);
    o3DUpdateCamera(&gameCamera);
    shadowQuality = 0;
    const std::vector<unsigned char> blob = playView();
    shadowQuality = 1;
    const std::vector<unsigned char> projected = playView();
    shadowQuality = 2;
    const std::vector<unsigned char> projectedToo = playView();
    EXPECT_NE(blob, projected);
    EXPECT_EQ(projected, projectedToo);
}

TEST_F(Render, EachMissingObjectDropsOnlyItself)
{
    gameRender();
    // Every level object gone, one at a time and then all together: the frame is still drawn.
    TTerrain *terrain = terrainHandle;
    TSkybox *sky = skyboxHandle;
    TMesh *tree = treeMesh, *gun = gunMesh;
    TMD2Model *model = enemyModel;
    terrainHandle = nullptr;
    gameRender();
    skyboxHandle = nullptr;
    gameRender();
    treeMesh = nullptr;
    gunMesh = nullptr;
    enemyModel = nullptr;
    muzzleFlashOn = 1;
    gameRender();
    const std::vector<unsigned char> empty = frame();
    // The sky colour fills what the world leaves.
    EXPECT_TRUE(isColour(empty, 700, 500, 0.7f, 0.72f, 0.75f));
    // Without the small font nothing of the HUD is drawn.
    smallFontLoaded = 0;
    gameRender();
    EXPECT_EQ(countRow(frame(), 300, 380, 420, 0, 1, 0), 0);
    smallFontLoaded = 1;
    terrainHandle = terrain;
    skyboxHandle = sky;
    treeMesh = tree;
    gunMesh = gun;
    enemyModel = model;
}
