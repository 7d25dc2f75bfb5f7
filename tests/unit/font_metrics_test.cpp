// The metrics-file reader without a display: header check, where the sheet is looked for, the
// glyph lines and their limits, rectangles outside the sheet, a missing sheet, measuring and
// freeing. The sheet comes from a fake bitmap reader that records the path it was given.
#include "ostrel3d.h"
#include "platform/seam.h"

#include "bmp_writer.h"
#include "font_fixture.h"

#include <gtest/gtest.h>
#include <limits.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

namespace {

struct FakeSheet {
    int width = 64, height = 32;
    int present = 1;
    int reads = 0;
    std::string path;
};

FakeSheet gSheet;

unsigned char *readFakeSheet(const char *path, int *width, int *height)
{
    ++gSheet.reads;
    gSheet.path = path;
    if (!gSheet.present)
        return nullptr;
    *width = gSheet.width;
    *height = gSheet.height;
    size_t stride = ((size_t)gSheet.width * 3 + 3) & ~(size_t)3;
    return (unsigned char *)calloc(stride * (size_t)gSheet.height, 1);
}

// Each test works inside its scratch folder, so paths are relative and read the same on every
// system (a temporary folder on Windows has backslashes of its own).
class FontMetrics : public ::testing::Test {
  protected:
    ScratchFolder folder;
    std::filesystem::path before;
    TFont font = {};

    void SetUp() override
    {
        gSheet = FakeSheet();
        gImageSeam.readBitmap = readFakeSheet;
        installFakeFontSeam();
        before = std::filesystem::current_path();
        std::filesystem::current_path(folder.root);
    }
    void TearDown() override
    {
        o3DFreeFont(&font);
        platformResetSeam();
        std::filesystem::current_path(before);
    }
    int load(const std::string &contents, const std::string &path = "font.met")
    {
        EXPECT_TRUE(writeTextFile(path, contents));
        o3DFreeFont(&font); // a load zeroes the record without freeing it
        return o3DLoadFont(&font, path.c_str());
    }
};

TEST_F(FontMetrics, OnlyTheFirstEightCharactersOfLineOneAreChecked)
{
    EXPECT_EQ(load(metricsText("sheet.bmp", {}, "METRICS2")), 0);
    EXPECT_EQ(font.loaded, 0);
    EXPECT_EQ(gSheet.reads, 0);
    EXPECT_EQ(load(metricsText("sheet.bmp", {}, "METRICS")), 0);
    EXPECT_EQ(load(metricsText("sheet.bmp", {}, "metrics1")), 0);

    EXPECT_EQ(load(metricsText("sheet.bmp", {}, "METRICS1 made by hand, version 3")), 1);
    EXPECT_EQ(font.loaded, 1);
    EXPECT_EQ(font.kind, 1);
}

TEST_F(FontMetrics, MissingFileOrLinesFail)
{
    EXPECT_EQ(o3DLoadFont(&font, "absent.met"), 0);
    EXPECT_EQ(load(""), 0);
    EXPECT_EQ(load("METRICS1\n"), 0);
    EXPECT_EQ(load("METRICS1\nsheet.bmp\n"), 0);
    EXPECT_EQ(gSheet.reads, 0);
    // A last line without its line feed still counts.
    EXPECT_EQ(load("METRICS1\nsheet.bmp\n24"), 1);
    EXPECT_EQ(font.headerNumber, 24);
    EXPECT_EQ(o3DLoadFont(nullptr, "font.met"), 0);
    EXPECT_EQ(o3DLoadFont(&font, nullptr), 0);
}

TEST_F(FontMetrics, SheetIsLookedForBesideTheMetricsFile)
{
    std::filesystem::create_directories("fonts");
    ASSERT_EQ(load(metricsText("sheet.bmp\r", {}), "fonts/a.met"), 1);
    EXPECT_EQ(gSheet.path, "fonts/sheet.bmp") << "line 2 is cut at its CR";

    ASSERT_EQ(load(metricsText("glyphs.bmp", {}), "a.met"), 1);
    EXPECT_EQ(gSheet.path, "glyphs.bmp");
}

// A folder named with a backslash exists on both systems: on Windows as a folder, elsewhere as
// part of a file name. Either way the sheet path is built from the text of the path.
TEST_F(FontMetrics, LastSeparatorOfEitherKindEndsTheFolder)
{
    std::filesystem::create_directories("data\\fonts");
    ASSERT_EQ(load(metricsText("sheet.bmp", {}), "data\\fonts\\a.met"), 1);
    EXPECT_EQ(gSheet.path, "data\\fonts\\sheet.bmp");

    // Mixed separators: whichever comes last ends the folder.
    std::filesystem::create_directories("data\\fonts/x");
    ASSERT_EQ(load(metricsText("sheet.bmp", {}), "data\\fonts/x/a.met"), 1);
    EXPECT_EQ(gSheet.path, "data\\fonts/x/sheet.bmp");

    std::filesystem::create_directories("data/fonts\\y");
    ASSERT_EQ(load(metricsText("sheet.bmp", {}), "data/fonts\\y\\a.met"), 1);
    EXPECT_EQ(gSheet.path, "data/fonts\\y\\sheet.bmp");
}

TEST_F(FontMetrics, GlyphLinesFillTheTable)
{
    ASSERT_EQ(load(metricsText("sheet.bmp",
                               {"65 0 0 10 12", "300 0 0 8 8", "-1 0 0 8 8", "66 1 2 3",
                                "67 4 4 6 30 trailing words", "garbage", "", "68 1 1 2 2",
                                "68 20 2 27 9"},
                               "METRICS1", "-7")),
              1);
    EXPECT_EQ(font.headerNumber, -7);
    const TFontGlyph &a = font.glyphs['A'];
    EXPECT_EQ(a.present, 1);
    EXPECT_EQ(a.width, 10);
    EXPECT_EQ(a.height, 12);
    EXPECT_EQ(font.glyphs['B'].present, 0) << "a line of four numbers";
    EXPECT_EQ(font.glyphs['C'].height, 26);
    const TFontGlyph &d = font.glyphs['D'];
    EXPECT_EQ(d.x0 + d.y0 * 100 + d.x1 * 10000 + d.y1 * 1000000, 20 + 200 + 270000 + 9000000)
        << "a later line for the same code replaces the earlier";
    EXPECT_EQ(d.width, 7);
    int present = 0;
    for (const TFontGlyph &g : font.glyphs)
        present += g.present;
    EXPECT_EQ(present, 3);
    EXPECT_EQ(font.lineHeight, 26);
    EXPECT_EQ(o3DGetFontLineHeight(&font), 26);
    EXPECT_EQ(o3DGetFontHeight(&font), 26);
}

TEST_F(FontMetrics, RectanglesReachingOutsideTheSheetAreKeptAsWritten)
{
    gSheet.width = 64;
    gSheet.height = 32;
    ASSERT_EQ(load(metricsText("sheet.bmp", {"65 0 0 64 32", "66 60 0 70 10", "67 0 -1 8 8",
                                             "68 0 20 8 40", "69 2147483647 0 8 8"})),
              1);
    struct Expected {
        int code, width, height;
    } expected[] = {{'A', 64, 32}, {'B', 10, 10}, {'C', 8, 9}, {'D', 8, 20}, {'E', 8 - INT_MAX, 8}};
    for (const Expected &e : expected) {
        SCOPED_TRACE((char)e.code);
        EXPECT_EQ(font.glyphs[e.code].present, 1);
        EXPECT_EQ(font.glyphs[e.code].width, e.width);
        EXPECT_EQ(font.glyphs[e.code].height, e.height);
    }
    EXPECT_EQ(font.lineHeight, 32);
    EXPECT_EQ(o3DMeasureText(&font, "AB"), 64 + 10);
    EXPECT_EQ(o3DMeasureText(&font, "EE"), INT_MIN) << "summed without overflow, then clamped";
}

TEST_F(FontMetrics, MissingSheetLeavesTheGlyphTableFilled)
{
    gSheet.present = 0;
    EXPECT_EQ(load(metricsText("sheet.bmp", {"65 0 0 10 12", "66 0 0 90 90"})), 0);
    EXPECT_EQ(gSheet.reads, 1);
    EXPECT_EQ(font.loaded, 0);
    EXPECT_EQ(font.kind, 1);
    EXPECT_EQ(font.glyphs['A'].present, 1);
    EXPECT_EQ(font.glyphs['B'].width, 90);
    EXPECT_EQ(font.lineHeight, 90);
    EXPECT_EQ(o3DMeasureText(&font, "A"), 0) << "an unloaded font measures nothing";
}

// Each line is read up to its limit (63, 255, then 511 characters); what follows on the same line
// is skipped rather than taken for the next line.
TEST_F(FontMetrics, OverlongLinesAreCutAndNeverSpillIntoTheNext)
{
    std::string longHeader = "METRICS1" + std::string(100, 'x');
    std::string longName(300, 'n');
    std::string longGlyph = "70 0 0 5 5" + std::string(520, ' ') + "71 0 0 6 6";
    ASSERT_EQ(load(longHeader + "\n" + longName + "\n12\n" + longGlyph + "\n72 0 0 4 4\n"), 1);
    EXPECT_EQ(font.headerNumber, 12);
    EXPECT_EQ(gSheet.path, std::string(255, 'n'));
    EXPECT_EQ(font.glyphs['F'].present, 1);
    EXPECT_EQ(font.glyphs['G'].present, 0);
    EXPECT_EQ(font.glyphs['H'].present, 1);
}

TEST_F(FontMetrics, MissingCharactersAdvanceByTheSpaceOrEight)
{
    ASSERT_EQ(load(metricsText("sheet.bmp", {"65 0 0 10 12"})), 1);
    EXPECT_EQ(o3DMeasureText(&font, "A\x01"), 18);
    EXPECT_EQ(o3DMeasureText(&font, "\xff\xff"), 16) << "bytes above 127 are codes too";
    EXPECT_EQ(o3DGetTextWidth(&font, "A\x01"), 18);
    EXPECT_EQ(o3DMeasureText(&font, ""), 0);
    EXPECT_EQ(o3DGetTextWidth(&font, ""), 0);
    EXPECT_EQ(o3DMeasureText(&font, nullptr), 0);

    ASSERT_EQ(load(metricsText("sheet.bmp", {"65 0 0 10 12", "32 10 0 15 12"})), 1);
    EXPECT_EQ(o3DMeasureText(&font, "A\x01 "), 20);
    EXPECT_EQ(o3DMeasureText(nullptr, "A"), 0);
}

TEST_F(FontMetrics, MeasuringWantsALoadedBitmapFont)
{
    ASSERT_EQ(load(metricsText("sheet.bmp", {"65 0 0 10 12"})), 1);
    font.kind = 0;
    EXPECT_EQ(o3DMeasureText(&font, "A"), 0);
    EXPECT_EQ(o3DGetFontLineHeight(&font), 0);
    font.kind = 1;
    font.loaded = 0;
    EXPECT_EQ(o3DGetFontLineHeight(&font), 0);
    EXPECT_EQ(o3DGetFontHeight(&font), 0);
    EXPECT_EQ(o3DGetTextWidth(&font, "A"), 0);
    font.loaded = 1;
}

TEST_F(FontMetrics, FreeingReleasesTheSheetOnce)
{
    ASSERT_EQ(load(metricsText("sheet.bmp", {"65 0 0 10 12"})), 1);
    EXPECT_EQ(font.sheet.loaded, 1);
    o3DFreeFont(&font);
    EXPECT_EQ(font.loaded, 0);
    EXPECT_EQ(font.sheet.loaded, 0);
    EXPECT_EQ(font.sheet.width, 0);
    o3DFreeFont(&font);
    EXPECT_EQ(font.loaded, 0);
    EXPECT_EQ(gFakeFont.releaseCalls, 0) << "a bitmap font has no system handle";
    o3DFreeFont(nullptr);
}

} // namespace
