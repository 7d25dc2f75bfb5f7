// The game in-process on a real window (under Xvfb) with the default data the build made: keys,
// time and message boxes come from the test, the sound device is the recording fake, and the film
// system is scripted. A script runs at every buffer swap, so whole runs of the game's entry steps
// can be driven frame by frame.
#ifndef GAME_TESTS_GAME_GL_SUPPORT_H
#define GAME_TESTS_GAME_GL_SUPPORT_H

#include "game.h"

#include "fake_audio.h"
#include "fake_platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

struct ShownBox {
    std::string text, caption;
    PlatformBoxIcon icon;
    int owned;
};

struct GameScript {
    std::vector<ShownBox> boxes;
    std::vector<std::string> events; // "box Caption", "film intro.avi", "sound device" in order
    int videoStarts = 1;             // the film system can start
    int filmEndsAfterPasses = 3;     // passes of the blocking player until the film ends
    int closeDuringFilm = 0;         // the user closes the window while the film runs
    int filmPasses = 0;
    int swaps = 0;
    // Called after every buffer swap with the number of swaps so far.
    std::function<void(int)> onSwap;
    // Called just before every buffer swap, while the back buffer holds the frame.
    std::function<void(void)> beforeSwap;
};

extern GameScript gScript;

// One entry of a pack: its name and its bytes.
struct DataEntry {
    std::string name;
    std::string bytes;
};

// The entries of the game.dat the build made, in directory order (read once; empty when the file
// is missing).
const std::vector<DataEntry> &builtGameData(void);
// Writes a pack of these entries in this order at path; false when it cannot be written.
bool writePackFile(const std::string &path, const std::vector<DataEntry> &entries);

// Resets gScript and points every seam at the test's: the fake platform's input, clock and
// dialogs (boxes recorded in gScript), the native window with the scripted swap and pump, the
// recording fake sound device and the scripted film system.
void installGameSeams(void);
// What a failed start-up leaves running (sound, film system, pack, the first font), released so
// that the next run starts afresh, and the game's variables back at their start values.
void releaseFailedStartUp(void);

class GameRun : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Writes game.dat into the test's folder: the build's game.dat without these entries.
    void writeGameData(const std::set<std::string> &without = {});
    // The build's game.dat in an 800 x 600 window, the game started and its level loaded, a new
    // game begun and in play, as after "Nowa gra".
    void startPlaying();
    // Keys held from now on (pressed at the next keyboard update where they were up).
    void holdKeys(std::initializer_list<int> keys);
    // The whole back buffer, RGB rows from the bottom.
    static std::vector<unsigned char> backBuffer();
    // Pixels of the back buffer within 0.1 of this colour.
    static int countBackBufferPixels(float r, float g, float b);

    // Names in the working folder that start with "temp_".
    std::vector<std::string> leftovers() const;

    std::filesystem::path folder, previousFolder;
};

#endif
