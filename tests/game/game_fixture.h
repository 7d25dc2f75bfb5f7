// What the game tests share: the engine started over the fake platform and the fake sound device,
// a temporary working directory of the test's own, and one frame of input and time at a time.
#ifndef GAME_TESTS_GAME_FIXTURE_H
#define GAME_TESTS_GAME_FIXTURE_H

#include "game.h"

#include "fake_audio.h"
#include "fake_platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>

class GameTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // One frame with these keys down (pressed where they were up the frame before) and this raw
    // frame time in seconds, run through gameUpdate.
    void frame(std::initializer_list<int> keys, double seconds = 0.016);
    // A key press followed by a frame with nothing down.
    void press(int key);
    // Loads a short sound into an effect or the music, on the fake device.
    void loadEffect(int effect);
    void loadMusic();
    // How many times the fake device was told to start a buffer.
    int playCalls() const;

    std::string readFile(const std::string &name) const;
    void writeFile(const std::string &name, const std::string &bytes) const;

    std::filesystem::path folder;
    std::filesystem::path previousFolder;
};

// The bytes a text-mode write of "\n" leaves in a file on this platform.
std::string platformLineEnd();

#endif
