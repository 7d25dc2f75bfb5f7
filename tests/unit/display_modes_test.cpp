// The resolution list over a scripted mode source: filters, duplicates, order, growth,
// selection, best match, aspect kinds and the printed listing.
#include "ostrel3d.h"

#include "fake_platform.h"

#include <gtest/gtest.h>

#include <string>

class DisplayModes : public ::testing::Test {
  protected:
    void SetUp() override
    {
        installFakePlatform();
        o3DFreeDisplayModes();
    }
    void TearDown() override
    {
        o3DFreeDisplayModes();
        platformResetSeam();
    }
    void listModes(std::vector<FakeMode> modes, int desktopWidth = 0, int desktopHeight = 0)
    {
        gFake.modes = modes;
        gFake.desktopWidth = desktopWidth;
        gFake.desktopHeight = desktopHeight;
        o3DEnumDisplayModes();
    }
};

TEST_F(DisplayModes, KeepsOneEntryPerSizeInEnumerationOrderAndDropsSmallOrShallowModes)
{
    listModes({{1024, 768, 32},
               {800, 600, 16},
               {640, 480, 8},
               {800, 600, 32},
               {640, 400, 32},
               {320, 240, 32},
               {640, 480, 16},
               {1280, 720, 32}});
    ASSERT_EQ(o3DGetDisplayModeCount(), 4);
    EXPECT_STREQ(o3DGetDisplayMode(0)->name, "1024x768");
    EXPECT_STREQ(o3DGetDisplayMode(1)->name, "800x600");
    EXPECT_STREQ(o3DGetDisplayMode(2)->name, "640x480");
    EXPECT_STREQ(o3DGetDisplayMode(3)->name, "1280x720");
    EXPECT_FLOAT_EQ(o3DGetDisplayMode(3)->aspect, 1280.0f / 720.0f);
    EXPECT_EQ(o3DGetDisplayMode(4), nullptr);
    EXPECT_EQ(o3DGetDisplayMode(-1), nullptr);
}

TEST_F(DisplayModes, GrowsPastItsFirstSixtyFourEntries)
{
    std::vector<FakeMode> many;
    for (int i = 0; i < 300; ++i)
        many.push_back({640 + i, 480, 32});
    listModes(many);
    ASSERT_EQ(o3DGetDisplayModeCount(), 300);
    EXPECT_EQ(o3DGetDisplayMode(299)->width, 939);
}

TEST_F(DisplayModes, SelectsTheDesktopModeOnlyWhenItIsListed)
{
    listModes({{800, 600, 32}, {1024, 768, 32}}, 1024, 768);
    EXPECT_EQ(o3DGetResolutionIndex(), 1);
    EXPECT_EQ(o3DGetCurrentDisplayMode()->width, 1024);

    o3DSelectDisplayMode(0);
    listModes({{800, 600, 32}, {1024, 768, 32}}, 1920, 1080);
    EXPECT_EQ(o3DGetResolutionIndex(), 0); // unchanged
}

TEST_F(DisplayModes, SelectionByIndexSizeAndNameLeavesItUnchangedOnMisses)
{
    listModes({{640, 480, 32}, {800, 600, 32}, {1024, 768, 32}});
    EXPECT_EQ(o3DSelectDisplayMode(2), 1);
    EXPECT_EQ(o3DSelectDisplayMode(3), 0);
    EXPECT_EQ(o3DSelectDisplayMode(-1), 0);
    EXPECT_EQ(o3DGetResolutionIndex(), 2);

    EXPECT_EQ(o3DSelectDisplayModeSize(800, 600), 1);
    EXPECT_EQ(o3DGetResolutionIndex(), 1);
    EXPECT_EQ(o3DSelectDisplayModeSize(800, 601), 0);
    EXPECT_EQ(o3DGetResolutionIndex(), 1);

    EXPECT_EQ(o3DSelectDisplayModeName("1024x7"), 1);
    EXPECT_EQ(o3DGetResolutionIndex(), 2);
    EXPECT_EQ(o3DSelectDisplayModeName("800x6"), 1);
    EXPECT_EQ(o3DGetResolutionIndex(), 1);
    EXPECT_EQ(o3DSelectDisplayModeName(""), 1);
    EXPECT_EQ(o3DGetResolutionIndex(), 0);
    EXPECT_EQ(o3DSelectDisplayModeName("X"), 0);
    EXPECT_EQ(o3DSelectDisplayModeName(nullptr), 0);
    EXPECT_EQ(o3DGetResolutionIndex(), 0);

    EXPECT_EQ(o3DHasDisplayMode(1024, 768), 1);
    EXPECT_EQ(o3DHasDisplayMode(1024, 769), 0);
}

TEST_F(DisplayModes, BestMatchIsTheSmallestModeThatIsLargeEnough)
{
    listModes({{1280, 720, 32}, {1024, 768, 32}});
    EXPECT_EQ(o3DFindBestDisplayMode(800, 600), 1); // 392 beats 600
    EXPECT_EQ(o3DFindBestDisplayMode(1280, 700), 0);
    EXPECT_EQ(o3DFindBestDisplayMode(2000, 100), -1);

    listModes({{1024, 768, 32}, {800, 600, 32}, {900, 500, 32}});
    EXPECT_EQ(o3DFindBestDisplayMode(800, 600), 1);

    listModes({{900, 600, 32}, {800, 700, 32}}); // equal sums: the first wins
    EXPECT_EQ(o3DFindBestDisplayMode(800, 600), 0);
}

TEST_F(DisplayModes, AspectKindsNamesAndSearch)
{
    listModes(
        {{1024, 768, 32}, {1280, 1024, 32}, {1360, 768, 32}, {1440, 900, 32}, {1920, 1080, 32}});
    const char *names[] = {"4:3", "Custom", "16:9", "16:10", "16:9"};
    const int kinds[] = {0, -1, 1, 2, 1};
    for (int i = 0; i < 5; ++i) {
        o3DSelectDisplayMode(i);
        EXPECT_EQ(o3DGetAspectKind(), kinds[i]) << o3DGetDisplayMode(i)->name;
        EXPECT_STREQ(o3DGetAspectName(), names[i]);
    }

    int found[8] = {};
    EXPECT_EQ(o3DFindDisplayModesByAspect(1, found, 8), 2);
    EXPECT_EQ(found[0], 2);
    EXPECT_EQ(found[1], 4);
    EXPECT_EQ(o3DFindDisplayModesByAspect(1, found, 1), 1);
    EXPECT_EQ(o3DFindDisplayModesByAspect(3, found, 8), 0);
    EXPECT_EQ(o3DFindDisplayModesByAspect(0, found, 0), 0);
    EXPECT_EQ(o3DFindDisplayModesByAspect(0, nullptr, 8), 0);
}

TEST_F(DisplayModes, WithoutAListTheAspectIsFourToThree)
{
    EXPECT_EQ(o3DGetCurrentDisplayMode(), nullptr);
    EXPECT_FLOAT_EQ(o3DGetAspectRatio(), 1.333f);
    EXPECT_EQ(o3DGetAspectKind(), 0);
    EXPECT_EQ(o3DGetResolutionIndex(), 0);
}

TEST_F(DisplayModes, PrintsTheListWithTheSelectedEntryMarked)
{
    listModes({{800, 600, 32}, {1280, 1024, 32}}, 1280, 1024);
    testing::internal::CaptureStdout();
    o3DPrintDisplayModes();
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed, "Dostepne rozdzielczosci:\n"
                       "========================\n"
                       " 0. 800x600 (1.33:1)\n"
                       " 1. 1280x1024 (1.25:1) [aktualna]\n");
}
