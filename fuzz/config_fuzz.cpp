// The game's settings-file reader on any text, over the fake platform's three display modes.
// Whatever the file says, the settings land in their ranges, and what the game then writes reads
// back to the same settings (the written form is a fixed point of reading and writing).
#include "game.h"

#include "fake_platform.h"
#include "fuzz_support.h"

#include <string.h>

#include <string>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    installFakePlatform();
    gFake.modes = {{640, 480, 32}, {800, 600, 32}, {1024, 768, 32}};
    gFake.desktopWidth = 1024;
    gFake.desktopHeight = 768;
    FUZZ_CHECK(o3DInit(nullptr, 800, 600, "Ostrel3D") == 1);
    // The reader takes config.ini from the working directory.
    std::filesystem::current_path(fuzzScratchFolder());
    return 0;
}

static std::string writtenSettings(void)
{
    char text[512];
    formatConfig(text, sizeof text);
    return text;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    resetGameState();
    fuzzInputFile("config.ini", data, size);
    loadConfig();
    FUZZ_CHECK(fov >= 45.0f && fov <= 120.0f);
    FUZZ_CHECK(drawDistance >= 50.0f && drawDistance <= 1000.0f);
    FUZZ_CHECK(masterVolume >= 0 && masterVolume <= 100);
    FUZZ_CHECK(o3DGetResolutionIndex() >= 0 && o3DGetResolutionIndex() < o3DGetDisplayModeCount());

    std::string written = writtenSettings();
    saveConfig();
    resetGameState();
    loadConfig();
    FUZZ_CHECK(writtenSettings() == written);
    return 0;
}
