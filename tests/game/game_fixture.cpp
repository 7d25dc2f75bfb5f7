#include "game_fixture.h"

#include "wav_writer.h"

#include <stdio.h>

#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

void GameTest::SetUp()
{
    installFakePlatform();
    installFakeAudio();
    gFake.modes = {{640, 480, 32}, {800, 600, 32}, {1024, 768, 32}};
    gFake.desktopWidth = 1024;
    gFake.desktopHeight = 768;
    ASSERT_EQ(o3DInit(nullptr, 800, 600, "Ostrel3D"), 1);
    resetGameState();
    previousFolder = std::filesystem::current_path();
    const ::testing::TestInfo *info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder = std::filesystem::temp_directory_path() /
             ("game_test_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" +
              std::to_string(std::random_device{}()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
}

void GameTest::TearDown()
{
    if (music.loaded)
        o3DFreeMusic(&music);
    for (TSound &sound : soundEffects)
        if (sound.loaded)
            o3DFreeSound(&sound);
    o3DSoundShutdown();
    o3DShutdown();
    std::filesystem::current_path(previousFolder);
    std::filesystem::remove_all(folder);
    platformResetSeam();
    audioResetSeam();
    resetGameState();
}

void GameTest::frame(std::initializer_list<int> keys, double seconds)
{
    for (unsigned char &k : gFake.keys)
        k = 0;
    for (int key : keys)
        gFake.keys[key] = 1;
    gFake.counter += (int64_t)(seconds * (double)gFake.frequency);
    o3DProcessMessages();
    o3DUpdateTimer();
    o3DUpdateMouse();
    o3DUpdateKeyboard();
    gameUpdate();
}

void GameTest::press(int key)
{
    frame({key});
    frame({});
}

static std::vector<uint8_t> shortSound()
{
    WavSpec fixture;
    fixture.samples = samples16({0, 1000, -1000, 0});
    return makeWav(fixture);
}

void GameTest::loadEffect(int effect)
{
    ASSERT_EQ(o3DSoundInit(o3DGetWindowHandle()), 1);
    std::vector<uint8_t> wav = shortSound();
    ASSERT_EQ(o3DLoadSoundFromMemory(&soundEffects[effect], wav.data(), (int)wav.size()), 1);
}

void GameTest::loadMusic()
{
    ASSERT_EQ(o3DSoundInit(o3DGetWindowHandle()), 1);
    std::vector<uint8_t> wav = shortSound();
    writeFile("music.wav", std::string(wav.begin(), wav.end()));
    ASSERT_EQ(o3DLoadMusic(&music, "music.wav"), 1);
}

int GameTest::playCalls() const
{
    int count = 0;
    for (const std::string &call : gFakeAudio.calls)
        count += call == "play" || call.rfind("play ", 0) == 0;
    return count;
}

std::string GameTest::readFile(const std::string &name) const
{
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void GameTest::writeFile(const std::string &name, const std::string &bytes) const
{
    std::ofstream out(name, std::ios::binary);
    out << bytes;
}

std::string platformLineEnd()
{
    const char *name = "line_end_probe.txt";
    FILE *f = fopen(name, "w");
    fputs("\n", f);
    fclose(f);
    std::ifstream in(name, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    remove(name);
    return bytes;
}
