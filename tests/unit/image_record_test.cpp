// The image record's rules that need no GL: what a load resets and keeps, the modifiers and their
// clamps, and the operations that must leave an unloaded record alone.
#include "ostrel3d.h"
#include "platform/seam.h"

#include <gtest/gtest.h>
#include <math.h>
#include <string.h>

namespace {

int gReads = 0;

unsigned char *refuseEveryBitmap(const char *, int *, int *)
{
    ++gReads;
    return nullptr;
}

class ImageRecord : public ::testing::Test {
  protected:
    TTexture img = {};
    void SetUp() override
    {
        gReads = 0;
        gImageSeam.readBitmap = refuseEveryBitmap;
    }
    void TearDown() override
    {
        platformResetSeam();
    }
};

TEST_F(ImageRecord, FailedLoadResetsTheRecordButKeepsTheColourKey)
{
    img.id = 7;
    img.width = img.height = 5;
    img.texWidth = img.texHeight = 8;
    img.loaded = 1;
    img.colorKeyOn = 1;
    img.keyR = 1, img.keyG = 2, img.keyB = 3;
    img.additive = 1;
    img.tintR = img.tintG = img.tintB = 0.25f;
    img.tintA = 0.5f;
    EXPECT_EQ(o3DLoadImage(&img, "missing.bmp"), 0);
    EXPECT_EQ(gReads, 1);
    EXPECT_EQ(img.id, 0u);
    EXPECT_EQ(img.width + img.height + img.texWidth + img.texHeight, 0);
    EXPECT_EQ(img.loaded, 0);
    EXPECT_EQ(img.additive, 0);
    EXPECT_EQ(img.mask, nullptr);
    EXPECT_EQ(img.colorKeyOn, 1);
    EXPECT_EQ(img.keyR + img.keyG * 10 + img.keyB * 100, 321);
    EXPECT_EQ(img.tintR + img.tintG + img.tintB + img.tintA, 4.0f);
}

TEST_F(ImageRecord, KeyedLoadSetsTheKeyBeforeReading)
{
    EXPECT_EQ(o3DLoadImageKeyed(&img, "missing.bmp", 255, 0, 255), 0);
    EXPECT_EQ(img.colorKeyOn, 1);
    EXPECT_EQ(img.keyR, 255);
    EXPECT_EQ(img.keyG, 0);
    EXPECT_EQ(img.keyB, 255);
    EXPECT_EQ(o3DLoadImageKeyed(nullptr, "missing.bmp", 1, 1, 1), 0);
    EXPECT_EQ(o3DLoadImage(nullptr, "missing.bmp"), 0);
    EXPECT_EQ(o3DLoadTexture(nullptr, "missing.bmp"), 0);
}

TEST_F(ImageRecord, AlphaIsClampedToTheUnitRange)
{
    const float cases[][2] = {{-0.5f, 0.0f}, {2.0f, 1.0f},     {0.25f, 0.25f},
                              {NAN, 0.0f},   {INFINITY, 1.0f}, {-INFINITY, 0.0f}};
    for (const auto &c : cases) {
        o3DSetImageAlpha(&img, c[0]);
        EXPECT_EQ(img.tintA, c[1]) << "alpha " << c[0];
    }
}

TEST_F(ImageRecord, ColourKeyChangesOnlyOnALoadedRecordButClearsAlways)
{
    o3DSetImageColorKey(&img, 9, 9, 9);
    EXPECT_EQ(img.colorKeyOn, 0);
    EXPECT_EQ(img.keyR, 0);
    img.loaded = 1;
    o3DSetImageColorKey(&img, 9, 8, 7);
    EXPECT_EQ(img.colorKeyOn, 1);
    EXPECT_EQ(img.keyB, 7);
    img.loaded = 0;
    o3DClearImageColorKey(&img);
    EXPECT_EQ(img.colorKeyOn, 0);
}

TEST_F(ImageRecord, UnloadedRecordsAreLeftAloneByFreeBindAndDraw)
{
    img.id = 42;
    img.width = 3;
    img.texWidth = 4;
    TTexture before = img;
    o3DFreeTexture(&img);
    o3DBindTexture(&img);
    o3DDrawImage(&img, 0, 0);
    o3DDrawImageEx(&img, 0, 0, 1, 1, 45, 0.5f, 1, 1, 1);
    EXPECT_EQ(memcmp(&img, &before, sizeof img), 0);
    // Null records are accepted everywhere.
    o3DFreeTexture(nullptr);
    o3DBindTexture(nullptr);
    o3DDrawImage(nullptr, 0, 0);
    o3DSetImageAlpha(nullptr, 1);
    o3DSetImageTint(nullptr, 1, 1, 1);
    o3DSetImageAdditive(nullptr);
    o3DClearImageColorKey(nullptr);
}

} // namespace
