// The frame timer over a scripted counter and tick clock.
#include "ostrel3d.h"

#include "fake_platform.h"

#include <gtest/gtest.h>

#include <time.h>

class Timer : public ::testing::Test {
  protected:
    void SetUp() override
    {
        installFakePlatform();
        gFake.frequency = 1000000; // microsecond ticks
        o3DInitTimer();
    }
    void TearDown() override
    {
        platformResetSeam();
    }
};

TEST_F(Timer, DeltaIsTheCounterDifferenceOverTheFrequency)
{
    EXPECT_EQ(o3DGetDeltaTime(), 0.0);
    EXPECT_EQ(o3DGetFPS(), 0.0f);
    gFake.counter += 16667;
    o3DUpdateTimer();
    EXPECT_DOUBLE_EQ(o3DGetDeltaTime(), 0.016667);
    EXPECT_NEAR(o3DGetFPS(), 60.0f, 0.01f);
    o3DUpdateTimer();
    EXPECT_EQ(o3DGetDeltaTime(), 0.0);
}

TEST_F(Timer, FramesShorterThanATenthOfAMillisecondReportNoRate)
{
    gFake.counter += 100; // exactly 0.0001 s
    o3DUpdateTimer();
    EXPECT_NEAR(o3DGetFPS(), 10000.0f, 1.0f);
    gFake.counter += 99;
    o3DUpdateTimer();
    EXPECT_EQ(o3DGetFPS(), 0.0f);
}

TEST_F(Timer, TicksCountFromTheirFirstUseAndWrap)
{
    gFake.ticks = 0xFFFFFF00u;
    uint32_t first = o3DGetTicks();
    gFake.ticks += 0x200; // wraps past 2^32
    EXPECT_EQ(o3DGetTicks() - first, 0x200u);
    uint32_t sinceInit = o3DGetElapsedMs();
    gFake.ticks += 15;
    EXPECT_EQ(o3DGetElapsedMs(), sinceInit + 15);
}

TEST_F(Timer, UpdateTakesALocalDateSnapshot)
{
    o3DUpdateTimer();
    EXPECT_GE(o3DGetYear(), 2024);
    EXPECT_GE(o3DGetMonth(), 1);
    EXPECT_LE(o3DGetMonth(), 12);
    EXPECT_GE(o3DGetDay(), 1);
    EXPECT_LE(o3DGetHour(), 23);
    EXPECT_LE(o3DGetSecond(), 60);
}

TEST_F(Timer, TheDateSnapshotFollowsTheClockFromSecondToSecond)
{
    // Updates over at least two changes of the clock's second (about a second of real time);
    // each update that fell within one second must show that second's local time.
    const time_t start = time(nullptr);
    time_t last = start;
    int secondsSeen = 0, checked = 0;
    while (secondsSeen < 2 && time(nullptr) < start + 4) {
        const time_t before = time(nullptr);
        o3DUpdateTimer();
        if (time(nullptr) != before)
            continue;
        const struct tm local = *localtime(&before);
        ASSERT_EQ(o3DGetSecond(), local.tm_sec);
        ASSERT_EQ(o3DGetMinute(), local.tm_min);
        ASSERT_EQ(o3DGetHour(), local.tm_hour);
        ASSERT_EQ(o3DGetDay(), local.tm_mday);
        checked += 1;
        if (before != last) {
            secondsSeen += 1;
            last = before;
        }
    }
    EXPECT_EQ(secondsSeen, 2);
    EXPECT_GT(checked, 2);
}

TEST_F(Timer, LimiterSleepsWhileMoreThanAMillisecondRemainsThenSpins)
{
    o3DUpdateTimer();
    gFake.counter += 200; // called 0.2 ms after the update
    gFake.counterStepPerSleep = 1200;
    gFake.counterStepPerRead = 10;
    o3DLimitFrame(0.0015f);
    EXPECT_EQ(gFake.sleeps, 1);
    EXPECT_GE(gFake.counter - 200, 1500 - 200);
}

TEST_F(Timer, LimiterReturnsAtOnceForATargetAlreadyPassed)
{
    o3DUpdateTimer();
    gFake.counter += 5000;
    gFake.counterStepPerRead = 1;
    int64_t before = gFake.counter;
    o3DLimitFrame(0.001f);
    o3DLimitFrame(0.0f);
    EXPECT_EQ(gFake.sleeps, 0);
    EXPECT_EQ(gFake.counter - before, 2); // one counter read each
}
