// A whole game through the real frame loop on a real window with the default data, at a fixed
// time step of 0.1 s: the player turns to the snow beast and shoots it fifty times, sees it die,
// fade and vanish, starts a new game from the pause menu, lets the new beast kill it, is back at
// the main menu after GAME OVER and quits. The keys of each frame are chosen from what the last
// frame left, as a player would.
#include "game_gl_support.h"

#include <math.h>

#include <vector>

namespace {

enum Phase { StartGame, Fight, WaitForRemoval, Pause, NewGameFromPause, Die, Quit, Done };

struct PlayRun {
    Phase phase = StartGame;
    int hits = 0, lastEnemyHealth = 100;
    int sawDeadEnemy = 0, sawRemoval = 0, secondEnemyHealth = -1;
    int sawPlayerDeath = 0, sawGameOverTimer = 0, backAtMenu = 0;
    int shotsFired = 0;
    std::vector<int> keys;
};

PlayRun gRun;

void hold(std::vector<int> keys)
{
    for (unsigned char &k : gFake.keys)
        k = 0;
    for (int key : keys)
        gFake.keys[key] = 1;
}

// Every other frame the key goes down; in between everything is up.
void pressEveryOther(int swap, int key)
{
    hold(swap % 2 ? std::vector<int>{key} : std::vector<int>{});
}

void step(int swap)
{
    gFake.counter += gFake.frequency / 10;
    PlayRun &r = gRun;
    if (swap > 4000) {
        o3DQuit();
        return;
    }
    switch (r.phase) {
    case StartGame:
        pressEveryOther(swap, O3D_KEY_ENTER);
        if (gameState == Playing)
            r.phase = Fight;
        break;
    case Fight: {
        if (enemy.health < r.lastEnemyHealth) {
            r.hits += 1;
            r.lastEnemyHealth = enemy.health;
        }
        if (enemy.aiState == EnemyDead) {
            r.sawDeadEnemy = 1;
            r.phase = WaitForRemoval;
            hold({});
            break;
        }
        const float wanted =
            atan2f(enemy.posZ - player.posZ, enemy.posX - player.posX) * (180.0f / 3.14159265f);
        float diff = wanted - gameCamera.yaw;
        while (diff > 180.0f)
            diff -= 360.0f;
        while (diff < -180.0f)
            diff += 360.0f;
        if (diff > 4.0f)
            hold({O3D_KEY_RIGHT});
        else if (diff < -4.0f)
            hold({O3D_KEY_LEFT});
        else
            pressEveryOther(swap, O3D_KEY_LBUTTON);
        break;
    }
    case WaitForRemoval:
        hold({});
        if (enemy.removed && !enemyModel) {
            r.sawRemoval = 1;
            r.phase = Pause;
        }
        break;
    case Pause:
        hold({O3D_KEY_ESCAPE});
        if (gameState == Paused) {
            hold({});
            r.phase = NewGameFromPause;
        }
        break;
    case NewGameFromPause:
        // "Nowa gra" is the pause menu's second item.
        if (menuSelection == 0)
            pressEveryOther(swap, O3D_KEY_DOWN);
        else
            pressEveryOther(swap, O3D_KEY_ENTER);
        if (gameState == Playing) {
            r.secondEnemyHealth = enemyModel ? enemy.health : -1;
            hold({});
            r.phase = Die;
        }
        break;
    case Die:
        hold({});
        if (playerDead)
            r.sawPlayerDeath = 1;
        if (playerDead && playerDeathTimer >= 1.0f)
            r.sawGameOverTimer = 1;
        if (r.sawPlayerDeath && gameState == MainMenu) {
            r.backAtMenu = 1;
            r.phase = Quit;
        }
        break;
    case Quit:
        // Up from "Nowa gra" wraps to "Wyjscie".
        if (menuSelection == 0)
            pressEveryOther(swap, O3D_KEY_UP);
        else
            pressEveryOther(swap, O3D_KEY_ENTER);
        break;
    case Done:
        break;
    }
}

} // namespace

class ScriptedPlay : public GameRun {};

TEST_F(ScriptedPlay, KillTheBeastWatchItVanishThenDieAndQuit)
{
    writeGameData();
    gRun = PlayRun();
    gScript.videoStarts = 0;
    // The cursor rests at the window's centre, so mouse look turns nothing by itself.
    gFake.cursorX = 400;
    gFake.cursorY = 300;
    gScript.onSwap = step;
    EXPECT_EQ(gameMain(nullptr), 0);
    EXPECT_LT(gScript.swaps, 4000) << "the run did not finish; phase " << gRun.phase;
    EXPECT_EQ(gRun.hits, 50);
    EXPECT_EQ(gRun.sawDeadEnemy, 1);
    EXPECT_EQ(gRun.sawRemoval, 1);
    EXPECT_EQ(gRun.secondEnemyHealth, 100);
    EXPECT_EQ(gRun.sawPlayerDeath, 1);
    EXPECT_EQ(gRun.sawGameOverTimer, 1);
    EXPECT_EQ(gRun.backAtMenu, 1);
    EXPECT_TRUE(gScript.boxes.empty());
    EXPECT_TRUE(leftovers().empty());
    EXPECT_TRUE(std::filesystem::exists("config.ini"));
}
