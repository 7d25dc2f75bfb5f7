// The settings file as read (every key, clamps, lenient and strict parts of the line format, long
// lines, duplicates, garbage) and as written (byte for byte, through a file renamed into place).
#include "game_fixture.h"

#include <math.h>

class Config : public GameTest {};

struct ReadCase {
    const char *file;
    float fov, drawDistance;
    int shadowQuality, masterVolume;
};

TEST_F(Config, ReadsEachKeyWithItsRangeAndTheLenientLineFormat)
{
    const std::string longPiece(255, 'x');
    const ReadCase cases[] = {
        {"", 60, 1000, 1, 100},
        {"FOV=30\n", 45, 1000, 1, 100},
        {"FOV=150\n", 120, 1000, 1, 100},
        {"FOV=72.5\n", 72.5f, 1000, 1, 100},
        {"FOV=abc\n", 45, 1000, 1, 100},
        {"FOV=nan\n", 45, 1000, 1, 100},
        {"FOV=-NaN\n", 45, 1000, 1, 100},
        {"DrawDistance=nan\n", 60, 50, 1, 100},
        {"FOV=inf\n", 45, 1000, 1, 100},
        {"FOV=1e999\n", 120, 1000, 1, 100},
        {"FOV=0x50\n", 45, 1000, 1, 100},
        {"FOV=8e1xyz\n", 80, 1000, 1, 100},
        {"FOV=90.\n", 90, 1000, 1, 100},
        {"FOV=.9e2\n", 90, 1000, 1, 100},
        {"FOV=75e\n", 75, 1000, 1, 100},
        {"FOV=   100\n", 100, 1000, 1, 100},
        {"FOV=\t100\r\n", 100, 1000, 1, 100},
        {"FOV=100 110\n", 100, 1000, 1, 100},
        {"  FOV=100\n", 60, 1000, 1, 100},
        {"FOV =100\n", 60, 1000, 1, 100},
        {"fov=100\n", 60, 1000, 1, 100},
        {"FOV\n", 60, 1000, 1, 100},
        {"FOV=\n", 60, 1000, 1, 100},
        {"=100\n", 60, 1000, 1, 100},
        {"[FOV=100\n", 60, 1000, 1, 100},
        {"\rFOV=100\n", 60, 1000, 1, 100},
        {"FOV=100\nFOV=50\n", 50, 1000, 1, 100},
        {"FOV=100\n[Audio]\nFOV=110\n", 110, 1000, 1, 100},
        {"[Audio]\nDrawDistance=10\n", 60, 50, 1, 100},
        {"DrawDistance=2000\n", 60, 1000, 1, 100},
        {"DrawDistance=500.5\n", 60, 500.5f, 1, 100},
        {"ShadowQuality=7\n", 60, 1000, 7, 100},
        {"ShadowQuality=-3\n", 60, 1000, -3, 100},
        {"ShadowQuality=0\n", 60, 1000, 0, 100},
        {"ShadowQuality=x\n", 60, 1000, 0, 100},
        {"ShadowQuality=99999999999\n", 60, 1000, 2147483647, 100},
        {"MasterVolume=-7\n", 60, 1000, 1, 0},
        {"MasterVolume=250\n", 60, 1000, 1, 100},
        {"MasterVolume=50.9\n", 60, 1000, 1, 50},
        {"MasterVolume=+40\n", 60, 1000, 1, 40},
        {"MasterVolume=abc\n", 60, 1000, 1, 0},
        {"Unknown=5\nMasterVolume=30\n", 60, 1000, 1, 30},
        {"FOV=70\nthis is no setting\n\n\n=\n==\nMasterVolume=20\n", 70, 1000, 1, 20},
    };
    for (const ReadCase &c : cases) {
        resetGameState();
        writeFile("config.ini", c.file);
        loadConfig();
        SCOPED_TRACE(c.file);
        EXPECT_FLOAT_EQ(fov, c.fov);
        EXPECT_FLOAT_EQ(drawDistance, c.drawDistance);
        EXPECT_EQ(shadowQuality, c.shadowQuality);
        EXPECT_EQ(masterVolume, c.masterVolume);
    }
}

TEST_F(Config, ReadsALongLineInPiecesOf255Characters)
{
    // The second piece of the first line is a setting of its own; a key of 300 characters is
    // no key at all, and neither is its tail piece, an unknown one.
    writeFile("config.ini", std::string(255, 'x') + "FOV=90\n" + std::string(300, 'K') +
                                "=5\nMasterVolume=" + std::string(250, '1') + "\n");
    loadConfig();
    EXPECT_FLOAT_EQ(fov, 90.0f);
    EXPECT_EQ(masterVolume, 100);
}

TEST_F(Config, SurvivesGarbageAndKeepsTheDefaultsWithoutAFile)
{
    loadConfig();
    EXPECT_FLOAT_EQ(fov, 60.0f);
    EXPECT_EQ(o3DGetResolutionIndex(), 1);
    std::string garbage;
    uint32_t state = 1;
    for (int i = 0; i < 20000; ++i) {
        state = state * 214013u + 2531011u;
        // Ctrl-Z ends a text-mode read on Windows, as the file is read in text mode.
        const char c = (char)(state >> 16);
        garbage.push_back(c == 0x1A ? 'z' : c);
    }
    writeFile("config.ini", garbage + "\nFOV=99\n" + std::string("\0\0FOV=98\n", 9));
    loadConfig();
    EXPECT_FLOAT_EQ(fov, 99.0f);
}

TEST_F(Config, AppliesTheDisplayModeIndexOnlyWithinTheList)
{
    ASSERT_EQ(o3DGetDisplayModeCount(), 3);
    ASSERT_EQ(o3DGetResolutionIndex(), 1); // 800 x 600 at start
    const struct {
        const char *file;
        int index;
    } cases[] = {{"ResolutionIndex=99\n", 1}, {"ResolutionIndex=-1\n", 1},
                 {"ResolutionIndex=3\n", 1},  {"ResolutionIndex=2\n", 2},
                 {"ResolutionIndex=0\n", 0},  {"ResolutionIndex=x\n", 0}};
    for (const auto &c : cases) {
        writeFile("config.ini", c.file);
        loadConfig();
        EXPECT_EQ(o3DGetResolutionIndex(), c.index) << c.file;
    }
    EXPECT_EQ(gFake.clientWidth, 640);
}

TEST_F(Config, TogglesFullScreenOnlyWhenTheFileDiffersFromTheWindow)
{
    writeFile("config.ini", "Fullscreen=0\n");
    loadConfig();
    EXPECT_EQ(o3DIsFullscreen(), 0);
    EXPECT_EQ(gFake.fullscreenFrameCalls, 0);
    writeFile("config.ini", "Fullscreen=7\n");
    loadConfig();
    EXPECT_EQ(o3DIsFullscreen(), 1);
    writeFile("config.ini", "Fullscreen=1\n");
    loadConfig();
    EXPECT_EQ(o3DIsFullscreen(), 1);
    EXPECT_EQ(gFake.fullscreenFrameCalls, 1);
    writeFile("config.ini", "Fullscreen=0\n");
    loadConfig();
    EXPECT_EQ(o3DIsFullscreen(), 0);
}

static std::string withLineEnds(const std::string &text)
{
    std::string out;
    const std::string end = platformLineEnd();
    for (char c : text)
        out += c == '\n' ? end : std::string(1, c);
    return out;
}

TEST_F(Config, WritesTheElevenLinesByteForByte)
{
    saveConfig();
    EXPECT_EQ(readFile("config.ini"),
              withLineEnds("[Video]\nResolutionIndex=1\nFullscreen=0\nFOV=60.0\n"
                           "DrawDistance=1000.0\n\n[Graphics]\nShadowQuality=1\n\n[Audio]\n"
                           "MasterVolume=100\n"));
    o3DSetResolution(2);
    o3DToggleFullscreen();
    fov = 72.5f;
    drawDistance = 333.36f;
    shadowQuality = -4;
    masterVolume = 0;
    saveConfig();
    EXPECT_EQ(readFile("config.ini"),
              withLineEnds("[Video]\nResolutionIndex=2\nFullscreen=1\nFOV=72.5\n"
                           "DrawDistance=333.4\n\n[Graphics]\nShadowQuality=-4\n\n[Audio]\n"
                           "MasterVolume=0\n"));
    EXPECT_FALSE(std::filesystem::exists("config.ini.new"));
}

TEST_F(Config, WhatIsWrittenReadsBackTheSame)
{
    writeFile("config.ini", "FOV=72.5\nDrawDistance=640\nShadowQuality=0\nMasterVolume=35\n"
                            "ResolutionIndex=0\n");
    loadConfig();
    saveConfig();
    resetGameState();
    o3DSetResolution(1);
    loadConfig();
    EXPECT_FLOAT_EQ(fov, 72.5f);
    EXPECT_FLOAT_EQ(drawDistance, 640.0f);
    EXPECT_EQ(shadowQuality, 0);
    EXPECT_EQ(masterVolume, 35);
    EXPECT_EQ(o3DGetResolutionIndex(), 0);
}

TEST_F(Config, AFailedWriteLeavesTheOldFileWholeAndNoTemporaryFile)
{
    writeFile("config.ini", "FOV=99\n");
    // The temporary name taken by a folder: the new file cannot be opened.
    std::filesystem::create_directory("config.ini.new");
    saveConfig();
    EXPECT_EQ(readFile("config.ini"), "FOV=99\n");
    std::filesystem::remove("config.ini.new");
    // The target taken by a folder: the finished file cannot be renamed and is removed again.
    std::filesystem::remove("config.ini");
    std::filesystem::create_directory("config.ini");
    std::filesystem::create_directory("config.ini/keep");
    saveConfig();
    EXPECT_TRUE(std::filesystem::is_directory("config.ini"));
    EXPECT_FALSE(std::filesystem::exists("config.ini.new"));
    EXPECT_FLOAT_EQ(fov, 60.0f);
}
