// The timed fade state machine, driven by scripted frame times.
#include "ostrel3d.h"

#include "fake_platform.h"

#include <gtest/gtest.h>

class Fades : public ::testing::Test {
  protected:
    void SetUp() override
    {
        installFakePlatform();
        gFake.frequency = 1000;
        o3DInitTimer();
    }
    void TearDown() override
    {
        platformResetSeam();
    }
    void frameOf(int64_t ms)
    {
        gFake.counter += ms;
        o3DUpdateTimer();
        o3DUpdateFade();
    }
};

TEST_F(Fades, AFadeOutProgressesWithFrameTimeAndStopsAtItsDuration)
{
    o3DStartFadeOut(2.0f);
    EXPECT_EQ(o3DIsFading(), 1);
    EXPECT_FLOAT_EQ(o3DGetFadeProgress(), 0.0f);
    const float expected[] = {0.25f, 0.5f, 0.75f, 1.0f};
    for (int i = 0; i < 4; ++i) {
        frameOf(500);
        EXPECT_FLOAT_EQ(o3DGetFadeProgress(), expected[i]);
        EXPECT_EQ(o3DIsFading(), i < 3 ? 1 : 0);
    }
    frameOf(500);
    EXPECT_FLOAT_EQ(o3DGetFadeProgress(), 1.0f); // stays finished
}

TEST_F(Fades, StartingAgainRestartsFromZero)
{
    o3DStartFadeIn(1.0f);
    frameOf(700);
    o3DStartFadeToColor(1, 0, 0, 4.0f);
    EXPECT_FLOAT_EQ(o3DGetFadeProgress(), 0.0f);
    frameOf(1000);
    EXPECT_FLOAT_EQ(o3DGetFadeProgress(), 0.25f);
}

TEST_F(Fades, AZeroDurationReportsFullProgress)
{
    o3DStartFadeIn(0.0f);
    EXPECT_FLOAT_EQ(o3DGetFadeProgress(), 1.0f);
    frameOf(16);
    EXPECT_EQ(o3DIsFading(), 0);
}
