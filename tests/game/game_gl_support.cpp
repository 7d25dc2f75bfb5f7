#include "game_gl_support.h"

#include "platform/gl_api.h"
#include "video/video_seam.h"

#include <stdio.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <random>

GameScript gScript;

// Read through the engine's pack reader.
const std::vector<DataEntry> &builtGameData(void)
{
    static std::vector<DataEntry> entries;
    if (!entries.empty())
        return entries;
    TPack *pack = o3DOpenPack(O3D_TEST_GAME_DAT);
    if (!pack)
        return entries;
    for (int i = 0; i < o3DGetPackFileCount(pack); ++i) {
        TPackEntry *entry = o3DGetPackEntry(pack, i);
        uint32_t size = 0;
        unsigned char *bytes = o3DReadPackEntry(pack, entry->name, &size);
        if (bytes)
            entries.push_back({entry->name, std::string((const char *)bytes, size)});
        o3DFreePackData(bytes);
    }
    o3DClosePack(pack);
    return entries;
}

static void recordBox(const char *text, const char *caption, PlatformBoxIcon icon, int owned)
{
    gScript.boxes.push_back({text, caption, icon, owned});
    gScript.events.push_back(std::string("box ") + caption);
}

static void scriptedSwap(void)
{
    if (gScript.beforeSwap)
        gScript.beforeSwap();
    kNativeWindowSeam.swapBuffers();
    ++gScript.swaps;
    if (gScript.onSwap)
        gScript.onSwap(gScript.swaps);
}

static int gFilmOpen = 0;

static void scriptedPump(void (*dispatch)(PlatformEvent, int))
{
    kNativeWindowSeam.pump(dispatch);
    if (gFilmOpen && gScript.closeDuringFilm)
        dispatch(kEventCloseRequest, 0);
}

static int videoStartup(void)
{
    return gScript.videoStarts;
}
static void videoNothing(void)
{
}
static void *videoOpen(void *, const char *fileName, int *width, int *height)
{
    gScript.events.push_back(std::string("film ") + fileName);
    *width = 320;
    *height = 240;
    gScript.filmPasses = 0;
    gFilmOpen = 1;
    return &gScript;
}
static void videoClose(void *)
{
    gFilmOpen = 0;
}
static void videoMedia(void *)
{
}
static void videoSetPosition(void *, int64_t)
{
}
static int64_t videoTime(void *)
{
    return 0;
}
static void videoSetVolume(void *, int)
{
}
static void videoSetRect(void *, int, int, int, int)
{
}
static void videoFlag(void *, int)
{
}
static int videoTakeEvent(void *, int *ended)
{
    if (++gScript.filmPasses < gScript.filmEndsAfterPasses)
        return 0;
    *ended = 1;
    return gScript.filmPasses == gScript.filmEndsAfterPasses;
}
static int videoPresent(void *, int)
{
    return 0;
}
static void videoOwnerSize(void *, int *width, int *height)
{
    *width = 800;
    *height = 600;
}

static int recordingSoundOpen(void *window)
{
    gScript.events.push_back("sound device");
    if (!gFakeAudio.openSucceeds)
        return 0;
    gFakeAudio.isOpen = 1;
    gFakeAudio.openedFor = window;
    return 1;
}

void installGameSeams(void)
{
    gScript = GameScript();
    installFakePlatform();
    installFakeAudio();
    gAudioSeam.open = recordingSoundOpen;
    gWindowSeam = kNativeWindowSeam;
    gDisplaySeam = kNativeDisplaySeam;
    gWindowSeam.swapBuffers = scriptedSwap;
    gWindowSeam.pump = scriptedPump;
    gDialogSeam.messageBox = recordBox;
    gVideoSeam = VideoSeam{
        videoStartup, videoNothing,     videoOpen,      videoClose,   videoMedia,     videoMedia,
        videoMedia,   videoSetPosition, videoTime,      videoTime,    videoSetVolume, videoSetRect,
        videoFlag,    videoFlag,        videoTakeEvent, videoPresent, videoOwnerSize};
}

void releaseFailedStartUp(void)
{
    o3DSoundShutdown();
    o3DVideoShutdown();
    o3DCleanupTempFiles();
    if (smallFontLoaded)
        o3DFreeFont(&smallFont);
    resetGameState();
}

void GameRun::SetUp()
{
    installGameSeams();
    resetGameState();
    previousFolder = std::filesystem::current_path();
    const ::testing::TestInfo *info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder = std::filesystem::temp_directory_path() /
             ("game_run_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" +
              std::to_string(std::random_device{}()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
}

void GameRun::TearDown()
{
    o3DShutdown();
    std::filesystem::current_path(previousFolder);
    std::filesystem::remove_all(folder);
    platformResetSeam();
    audioResetSeam();
    videoResetSeam();
    resetGameState();
}

static void appendLe32(std::string &bytes, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back((char)((value >> (8 * i)) & 0xFFu));
}

bool writePackFile(const std::string &path, const std::vector<DataEntry> &entries)
{
    std::string header;
    appendLe32(header, 2903);
    appendLe32(header, (uint32_t)entries.size());
    uint32_t offset = 8 + 72 * (uint32_t)entries.size();
    for (const DataEntry &e : entries) {
        std::string name = e.name;
        name.resize(64, '\0');
        header += name;
        appendLe32(header, (uint32_t)e.bytes.size());
        appendLe32(header, offset);
        offset += (uint32_t)e.bytes.size();
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << header;
    for (const DataEntry &e : entries)
        out.write(e.bytes.data(), (std::streamsize)e.bytes.size());
    out.close();
    return out.good();
}

std::vector<unsigned char> GameRun::backBuffer()
{
    const int w = o3DGetScreenWidth(), h = o3DGetScreenHeight();
    std::vector<unsigned char> pixels((size_t)w * h * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

void GameRun::startPlaying()
{
    writeGameData();
    ASSERT_EQ(o3DInit(nullptr, 800, 600, "Ostrel3D"), 1);
    gScript.videoStarts = 0;
    ASSERT_EQ(gameInit(), 1);
    ASSERT_EQ(loadLevel(), 1);
    startNewGame();
    gameState = Playing;
}

void GameRun::writeGameData(const std::set<std::string> &without)
{
    const std::vector<DataEntry> &entries = builtGameData();
    ASSERT_FALSE(entries.empty()) << "no game.dat at " << O3D_TEST_GAME_DAT;
    std::vector<DataEntry> kept;
    for (const DataEntry &e : entries)
        if (!without.count(e.name))
            kept.push_back(e);
    ASSERT_TRUE(writePackFile("game.dat", kept));
}

void GameRun::holdKeys(std::initializer_list<int> keys)
{
    for (unsigned char &k : gFake.keys)
        k = 0;
    for (int key : keys)
        gFake.keys[key] = 1;
}

std::vector<std::string> GameRun::leftovers() const
{
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().rfind("temp_", 0) == 0)
            names.push_back(entry.path().filename().string());
    return names;
}

int GameRun::countBackBufferPixels(float r, float g, float b)
{
    const int w = o3DGetScreenWidth(), h = o3DGetScreenHeight();
    std::vector<unsigned char> pixels((size_t)w * h * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    int count = 0;
    for (size_t i = 0; i < pixels.size(); i += 4)
        count += std::abs(pixels[i] - r * 255.0f) < 26.0f &&
                 std::abs(pixels[i + 1] - g * 255.0f) < 26.0f &&
                 std::abs(pixels[i + 2] - b * 255.0f) < 26.0f;
    return count;
}
