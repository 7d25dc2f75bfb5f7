// Background records without GL: the initial values, the clamps, and the offsets that follow the
// camera's yaw and pitch.
#include "ostrel3d.h"

#include <gtest/gtest.h>
#include <math.h>
#include <string.h>

namespace {

class Background : public ::testing::Test {
  protected:
    TBackground bg;
    TCamera cam = {};
    void SetUp() override
    {
        memset(&bg, 0x5A, sizeof bg);
        o3DInitBackground(&bg);
        bg.image.width = 512;
        bg.image.height = 256;
    }
};

TEST_F(Background, InitGivesTheDocumentedStartingValues)
{
    EXPECT_EQ(bg.loaded, 0);
    EXPECT_EQ(bg.image.loaded, 0);
    EXPECT_EQ(bg.image.id, 0u);
    EXPECT_EQ(bg.image.mask, nullptr);
    EXPECT_EQ(bg.speed, 1.0f);
    EXPECT_EQ(bg.yawRange, 360.0f);
    EXPECT_EQ(bg.pitchRange, 180.0f);
    EXPECT_EQ(bg.scrollX, 1);
    EXPECT_EQ(bg.scrollY, 1);
    EXPECT_EQ(bg.offsetX, 0.0f);
    EXPECT_EQ(bg.offsetY, 0.0f);
    EXPECT_EQ(bg.color.r + bg.color.g + bg.color.b, 3.0f);
    EXPECT_EQ(bg.alpha, 1.0f);
    EXPECT_EQ(bg.blend, 1);
    EXPECT_EQ(bg.stretch, 1);
}

TEST_F(Background, YawScrollsOnePictureWidthPerYawRange)
{
    cam.yaw = 90.0f;
    o3DUpdateBackground(&bg, &cam);
    EXPECT_FLOAT_EQ(bg.offsetX, 128.0f);
    EXPECT_FLOAT_EQ(bg.offsetX / bg.image.width, 0.25f);
    o3DSetBackgroundSpeed(&bg, 2.0f);
    o3DSetBackgroundRanges(&bg, 180.0f, 90.0f);
    o3DUpdateBackground(&bg, &cam);
    EXPECT_FLOAT_EQ(bg.offsetX, 512.0f);
    EXPECT_FLOAT_EQ(bg.offsetY, 512.0f); // pitch 0: (0 + 90) / 90 x 256 x 2
}

TEST_F(Background, PitchIsCountedWithinPlusMinus90)
{
    cam.pitch = -120.0f;
    o3DUpdateBackground(&bg, &cam);
    EXPECT_EQ(bg.offsetY, 0.0f);
    cam.pitch = 135.0f;
    o3DUpdateBackground(&bg, &cam);
    EXPECT_FLOAT_EQ(bg.offsetY, 256.0f);
    cam.pitch = 45.0f;
    o3DUpdateBackground(&bg, &cam);
    EXPECT_FLOAT_EQ(bg.offsetY, 192.0f);
}

TEST_F(Background, ScrollFlagsPinTheirOffsetAtZero)
{
    cam.yaw = 200.0f;
    cam.pitch = 30.0f;
    o3DSetBackgroundScroll(&bg, 0, 1);
    o3DUpdateBackground(&bg, &cam);
    EXPECT_EQ(bg.offsetX, 0.0f);
    EXPECT_GT(bg.offsetY, 0.0f);
    o3DSetBackgroundScrollX(&bg, 1);
    o3DSetBackgroundScrollY(&bg, 0);
    o3DUpdateBackground(&bg, &cam);
    EXPECT_GT(bg.offsetX, 0.0f);
    EXPECT_EQ(bg.offsetY, 0.0f);
}

TEST_F(Background, NullCameraOrRecordChangesNothing)
{
    o3DSetBackgroundOffset(&bg, 3.0f, 4.0f);
    o3DUpdateBackground(&bg, nullptr);
    o3DDrawBackgroundForCamera(&bg, nullptr);
    EXPECT_EQ(bg.offsetX, 3.0f);
    EXPECT_EQ(bg.offsetY, 4.0f);
    o3DResetBackgroundOffset(&bg);
    EXPECT_EQ(bg.offsetX + bg.offsetY, 0.0f);
    o3DUpdateBackground(nullptr, &cam);
    o3DInitBackground(nullptr);
    EXPECT_EQ(o3DIsBackgroundLoaded(nullptr), 0);
    EXPECT_EQ(o3DLoadBackground(nullptr, "x.bmp"), 0);
}

TEST_F(Background, AlphaIsClampedToTheUnitRange)
{
    o3DSetBackgroundAlpha(&bg, -1.0f);
    EXPECT_EQ(bg.alpha, 0.0f);
    o3DSetBackgroundAlpha(&bg, NAN);
    EXPECT_EQ(bg.alpha, 0.0f);
    o3DSetBackgroundAlpha(&bg, 7.0f);
    EXPECT_EQ(bg.alpha, 1.0f);
    o3DSetBackgroundAlpha(&bg, 0.4f);
    EXPECT_EQ(bg.alpha, 0.4f);
}

TEST_F(Background, UnloadedBackgroundIsNotDrawnAndKeepsItsOffsets)
{
    o3DSetBackgroundOffset(&bg, 5.0f, 6.0f);
    o3DDrawBackgroundStatic(&bg); // unloaded: no GL call, no reset
    o3DDrawBackground(&bg);
    o3DFreeBackground(&bg);
    EXPECT_EQ(bg.offsetX, 5.0f);
    EXPECT_EQ(bg.image.width, 512);
}

} // namespace
