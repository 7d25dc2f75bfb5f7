// The start-up and level-load marks the game's benchmark reads: printed only when O3D_GAME_TIMING
// asks, each once, on the steady clock and with the process's processor time, at the moments the
// benchmark measures between.
#include "game_gl_support.h"

#include <stdlib.h>

#include <chrono>
#include <sstream>
#include <string>
#include <vector>

namespace {

long long steadyNow()
{
    return (long long)std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

struct Mark {
    std::string event;
    long long at, cpu;
};

class Timing : public GameRun {
  protected:
    void TearDown() override
    {
        unsetenv("O3D_GAME_TIMING");
        GameRun::TearDown();
    }

    // The whole program: the first menu frame takes Enter ("Nowa gra"), two play frames are drawn
    // and the window closes. Keeps the steady clock just before and just after every swap, and
    // the first swap that showed a play frame.
    std::vector<Mark> runMenuToPlay()
    {
        writeGameData();
        gScript.videoStarts = 0;
        gScript.swaps = 0;
        before.assign(1, 0);
        after.assign(1, 0);
        firstPlaySwap = 0;
        gScript.beforeSwap = [this] {
            before.push_back(steadyNow());
            if (gameState == Playing && firstPlaySwap == 0)
                firstPlaySwap = (int)before.size() - 1;
        };
        gScript.onSwap = [this](int swap) {
            after.push_back(steadyNow());
            for (unsigned char &k : gFake.keys)
                k = 0;
            if (swap == 1)
                gFake.keys[O3D_KEY_ENTER] = 1;
            // One quit only: a second one would stay queued for the next run.
            if ((firstPlaySwap && swap == firstPlaySwap + 1) || swap == 40)
                o3DQuit();
            gFake.counter += gFake.frequency / 60;
        };
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(gameMain(nullptr), 0);
        std::istringstream out(::testing::internal::GetCapturedStdout());
        std::vector<Mark> marks;
        std::string prefix, event;
        long long at, cpu;
        while (out >> prefix >> event >> at >> cpu) {
            EXPECT_EQ(prefix, "o3d-timing");
            marks.push_back({event, at, cpu});
        }
        EXPECT_TRUE(out.eof()) << "a line that is not a mark";
        return marks;
    }

    std::vector<long long> before, after; // indexed by swap number, from 1
    int firstPlaySwap = 0;
};

TEST_F(Timing, NothingIsPrintedUnlessTheVariableAsksWithAValue)
{
    for (const char *value : {(const char *)nullptr, ""}) {
        if (value)
            setenv("O3D_GAME_TIMING", value, 1);
        else
            unsetenv("O3D_GAME_TIMING");
        const std::vector<Mark> marks = runMenuToPlay();
        EXPECT_TRUE(marks.empty()) << (value ? "empty value" : "unset");
        EXPECT_GT(firstPlaySwap, 1) << "the run never reached play";
        resetGameState();
    }
}

TEST_F(Timing, MarksTheFirstMenuFrameTheNewGameFrameAndTheFirstPlayFrameOnce)
{
    setenv("O3D_GAME_TIMING", "1", 1);
    const std::vector<Mark> marks = runMenuToPlay();
    ASSERT_EQ(marks.size(), 3u);
    EXPECT_EQ(marks[0].event, "menu-frame");
    EXPECT_EQ(marks[1].event, "new-game");
    EXPECT_EQ(marks[2].event, "play-frame");
    // The level's loading screen is one swap of its own between the menu and play frames.
    ASSERT_EQ(firstPlaySwap, 3);
    ASSERT_GE(after.size(), 5u);
    // The menu mark once the first frame is shown, before anything of the next frame.
    EXPECT_GE(marks[0].at, after[1]);
    EXPECT_LE(marks[0].at, before[2]);
    // The new game from the start of the frame that took Enter, before the loading screen.
    EXPECT_GE(marks[1].at, marks[0].at);
    EXPECT_LE(marks[1].at, before[2]);
    // The play mark once the first play frame is shown, not at a later one.
    EXPECT_GE(marks[2].at, after[firstPlaySwap]);
    EXPECT_LE(marks[2].at, before[firstPlaySwap + 1]);
    // The processor time grows with the work: start-up before the menu, the level load between
    // the new game and the play frame (both far above the clock's step).
    EXPECT_GT(marks[0].cpu, 0);
    EXPECT_GE(marks[1].cpu, marks[0].cpu);
    EXPECT_GT(marks[2].cpu, marks[1].cpu);
}

} // namespace
