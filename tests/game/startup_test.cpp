// Start-up, level loading and shutdown on the generated data, and whole runs of the entry steps:
// every start-up failure with its boxes, every level entry missing, nothing left behind.
#include "game_gl_support.h"

#include "platform/gl_api.h"

#include <algorithm>
#include <cstdlib>

static const char kLoaded[] =
    "Gra zaladowana. Uzyj WASD do ruchu, Spacja - skok, M - mysz, H - pomoc.";

class Startup : public GameRun {
  protected:
    void startEngine()
    {
        ASSERT_EQ(o3DInit(nullptr, 800, 600, "Ostrel3D"), 1);
    }
};

TEST_F(Startup, WithEveryAssetReachesTheMainMenuAndShutsDownCleanly)
{
    writeGameData();
    {
        std::FILE *f = std::fopen("config.ini", "w");
        std::fputs("FOV=75\nMasterVolume=50\n", f);
        std::fclose(f);
    }
    startEngine();
    ASSERT_EQ(gameInit(), 1);
    EXPECT_STREQ(statusText, kLoaded);
    EXPECT_TRUE(gScript.boxes.empty());
    EXPECT_EQ(gScript.events, (std::vector<std::string>{"sound device", "film intro.avi"}));
    EXPECT_EQ(gameState, MainMenu);
    EXPECT_EQ(menuSelection, 0);
    EXPECT_EQ(smallFontLoaded, 1);
    EXPECT_EQ(largeFontLoaded, 1);
    EXPECT_EQ(titleImage.loaded, 1);
    EXPECT_EQ(titleImage.additive, 1);
    EXPECT_EQ(healthImage.loaded, 1);
    EXPECT_EQ(healthImage.additive, 1);
    EXPECT_EQ(music.loaded, 1);
    for (const TSound &sound : soundEffects)
        EXPECT_EQ(sound.loaded, 1);
    EXPECT_EQ(o3DGetMasterVolume(), 87);
    EXPECT_FLOAT_EQ(gameCamera.fov, 75.0f);
    EXPECT_FLOAT_EQ(gameCamera.posY, 1.8f);
    EXPECT_EQ(player.mouseLook, 1);
    EXPECT_EQ(o3DIsMouseCaptured(), 0);
    EXPECT_EQ(levelLoaded, 0);
    EXPECT_TRUE(leftovers().empty());

    // The loading screen: black with the yellow "LOADING..." of the large font.
    int yellow = -1, black = -1;
    gScript.beforeSwap = [&yellow, &black]() {
        yellow = countBackBufferPixels(1.0f, 1.0f, 0.0f);
        black = countBackBufferPixels(0.0f, 0.0f, 0.0f);
    };
    ASSERT_EQ(loadLevel(), 1);
    gScript.beforeSwap = nullptr;
    EXPECT_GT(yellow, 200);
    EXPECT_GT(black, 800 * 600 * 9 / 10);
    EXPECT_STREQ(statusText, "Teren wczytany.");
    ASSERT_NE(terrainHandle, nullptr);
    EXPECT_EQ(o3DHasTerrainTexture(terrainHandle), 1);
    EXPECT_FLOAT_EQ(terrainHandle->repeatU, 120.0f);
    ASSERT_NE(skyboxHandle, nullptr);
    EXPECT_EQ(skyboxHandle->ready, 1);
    EXPECT_NE(treeMesh, nullptr);
    EXPECT_EQ(treeTexture.loaded, 1);
    EXPECT_FLOAT_EQ(treeY, o3DGetTerrainHeight(terrainHandle, 55.0f, 50.0f));
    ASSERT_NE(enemyModel, nullptr);
    EXPECT_FLOAT_EQ(enemy.posY, o3DGetTerrainHeight(terrainHandle, 30.0f, 30.0f));
    EXPECT_NE(gunMesh, nullptr);
    EXPECT_EQ(gunTexture.loaded, 1);
    EXPECT_EQ(muzzleFlashTexture.loaded, 1);
    EXPECT_TRUE(leftovers().empty());
    // Loaded once: a second game shows no loading screen.
    const int swaps = gScript.swaps;
    EXPECT_EQ(loadLevel(), 1);
    EXPECT_EQ(gScript.swaps, swaps);

    gameShutdown();
    EXPECT_TRUE(std::filesystem::exists("config.ini"));
    EXPECT_EQ(packHandle, nullptr);
    EXPECT_EQ(smallFontLoaded + largeFontLoaded + titleImage.loaded + healthImage.loaded, 0);
    EXPECT_EQ(terrainHandle, nullptr);
    EXPECT_EQ(skyboxHandle, nullptr);
    EXPECT_EQ(treeMesh, nullptr);
    EXPECT_EQ(gunMesh, nullptr);
    EXPECT_EQ(enemyModel, nullptr);
    EXPECT_EQ(music.loaded, 0);
    for (const TSound &sound : soundEffects)
        EXPECT_EQ(sound.loaded, 0);
    EXPECT_EQ(gFakeAudio.liveBuffers, 0);
    EXPECT_EQ(gFakeAudio.isOpen, 0);
    EXPECT_EQ(o3DIsVideoAvailable(), 0);
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(Startup, AMissingPackShowsTwoErrorBoxesAndExitsWithOne)
{
    EXPECT_EQ(gameMain(nullptr), 1);
    ASSERT_EQ(gScript.boxes.size(), 2u);
    const char text[] = "BLAD: Nie mozna otworzyc paczki game.dat!";
    EXPECT_EQ(gScript.boxes[0].text, text);
    EXPECT_EQ(gScript.boxes[0].caption, "Blad");
    EXPECT_EQ(gScript.boxes[1].text, text);
    EXPECT_EQ(gScript.boxes[1].caption, "Blad inicjalizacji gry");
    for (const ShownBox &box : gScript.boxes) {
        EXPECT_EQ(box.icon, kBoxError);
        EXPECT_EQ(box.owned, 0);
    }
    EXPECT_EQ(o3DIsRunning(), 0);
    EXPECT_FALSE(std::filesystem::exists("config.ini"));
}

TEST_F(Startup, AMissingFontEndsStartUpWithOneBoxAfterTheIntro)
{
    const char *const fonts[] = {"BankGothic16.met", "BankGothic24.met"};
    for (const char *font : fonts) {
        gScript.boxes.clear();
        gScript.events.clear();
        writeGameData({font});
        EXPECT_EQ(gameMain(nullptr), 1);
        ASSERT_EQ(gScript.boxes.size(), 1u) << font;
        EXPECT_EQ(gScript.boxes[0].text,
                  std::string("BLAD: Nie mozna zaladowac czcionki ") + font + " z paczki!");
        EXPECT_EQ(gScript.boxes[0].caption, "Blad inicjalizacji gry");
        EXPECT_EQ(gScript.boxes[0].icon, kBoxError);
        EXPECT_EQ(gScript.events, (std::vector<std::string>{"sound device", "film intro.avi",
                                                            "box Blad inicjalizacji gry"}));
        EXPECT_EQ(o3DIsRunning(), 0);
        // Nothing that start-up began is released on this path, so the next run starts afresh.
        releaseFailedStartUp();
    }
}

// Runs the whole program with the keys of each frame: frame i (counted by buffer swaps) holds
// keys[i]; after the script the program is told to quit.
static void scriptKeys(const std::vector<std::vector<int>> &keys, int firstSwap)
{
    gScript.onSwap = [keys, firstSwap](int swap) {
        const int i = swap - firstSwap;
        for (unsigned char &k : gFake.keys)
            k = 0;
        if (i >= 0 && i < (int)keys.size())
            for (int key : keys[i])
                gFake.keys[key] = 1;
        else if (i >= (int)keys.size())
            o3DQuit();
        gFake.counter += gFake.frequency / 60;
    };
}

TEST_F(Startup, AMissingTitleShowsOneInformationBoxAndTheGameGoesOn)
{
    writeGameData({"title.bmp"});
    scriptKeys({{}}, 1);
    EXPECT_EQ(gameMain(nullptr), 0);
    ASSERT_EQ(gScript.boxes.size(), 1u);
    EXPECT_EQ(gScript.boxes[0].text,
              "UWAGA: Nie znaleziono title.bmp w paczce!\nUzywam tekstu jako fallback.");
    EXPECT_EQ(gScript.boxes[0].caption, "Info");
    EXPECT_EQ(gScript.boxes[0].icon, kBoxInformation);
    EXPECT_TRUE(std::filesystem::exists("config.ini"));
}

TEST_F(Startup, WithoutASoundDeviceTheWarningComesBeforeTheIntroAndTheGameRunsSilent)
{
    writeGameData();
    gFakeAudio.openSucceeds = 0;
    startEngine();
    ASSERT_EQ(gameInit(), 1);
    ASSERT_EQ(gScript.boxes.size(), 1u);
    EXPECT_EQ(gScript.boxes[0].text, "UWAGA: Nie mozna zainicjalizowac systemu dzwieku!\n"
                                     "Gra bedzie dzialac bez dzwieku.");
    EXPECT_EQ(gScript.boxes[0].caption, "Ostrzezenie");
    EXPECT_EQ(gScript.boxes[0].icon, kBoxWarning);
    EXPECT_EQ(gScript.events,
              (std::vector<std::string>{"sound device", "box Ostrzezenie", "film intro.avi"}));
    EXPECT_STREQ(statusText, kLoaded);
    EXPECT_EQ(music.loaded, 0);
    for (const TSound &sound : soundEffects)
        EXPECT_EQ(sound.loaded, 0);
    // The menus, a new game and the options work in silence.
    gameState = MainMenu;
    holdKeys({O3D_KEY_ENTER});
    o3DUpdateKeyboard();
    updateMenus();
    EXPECT_EQ(gameState, Playing);
    gameShutdown();
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(Startup, WithoutTheFilmSystemThereIsNoIntroAndNoBox)
{
    writeGameData();
    gScript.videoStarts = 0;
    startEngine();
    ASSERT_EQ(gameInit(), 1);
    EXPECT_TRUE(gScript.boxes.empty());
    EXPECT_EQ(gScript.events, (std::vector<std::string>{"sound device"}));
    gameShutdown();
}

TEST_F(Startup, ClosingTheWindowDuringTheIntroEndsTheProgramAfterStartUp)
{
    writeGameData();
    gScript.closeDuringFilm = 1;
    gScript.filmEndsAfterPasses = 1000000;
    int framesDrawn = 0;
    gScript.onSwap = [&framesDrawn](int) { ++framesDrawn; };
    EXPECT_EQ(gameMain(nullptr), 0);
    EXPECT_EQ(o3DIsRunning(), 0);
    // Start-up finished (the settings were written at shutdown) and no frame of the menu was
    // drawn: the only swap is start-up's own, after the film.
    EXPECT_TRUE(std::filesystem::exists("config.ini"));
    EXPECT_EQ(framesDrawn, 1);
}

TEST_F(Startup, AWholeRunThroughTheMenusOptionsAPlayAndThePauseMenu)
{
    writeGameData();
    // Swap 1 ends the intro; the frames follow.
    scriptKeys(
        {{},
         {O3D_KEY_DOWN},
         {O3D_KEY_ENTER}, // Opcje
         {},
         {O3D_KEY_DOWN},
         {},
         {O3D_KEY_DOWN},
         {O3D_KEY_LEFT}, // field of view 60 -> 54: the held step (1/60 s) and the pressed one
         {O3D_KEY_ESCAPE},
         {O3D_KEY_UP},
         {O3D_KEY_ENTER}, // Nowa gra: the loading screen and the level
         {},
         {O3D_KEY_ESCAPE}, // pause
         {O3D_KEY_UP},
         {O3D_KEY_ENTER}}, // Wyjscie
        1);
    EXPECT_EQ(gameMain(nullptr), 0);
    EXPECT_TRUE(gScript.boxes.empty());
    EXPECT_EQ(levelLoaded, 1);
    EXPECT_EQ(gameState, Paused);
    std::FILE *f = std::fopen("config.ini", "r");
    ASSERT_NE(f, nullptr);
    char line[64] = {};
    std::string text;
    while (std::fgets(line, sizeof line, f))
        text += line;
    std::fclose(f);
    EXPECT_NE(text.find("FOV=54.0\n"), std::string::npos) << text;
    EXPECT_TRUE(leftovers().empty());
}

struct MissingEntry {
    const char *entry;
    int levelResult;
    const char *status;
};

TEST_F(Startup, LevelLoadingWithEachEntryMissing)
{
    const MissingEntry cases[] = {
        {"heightmap.bmp", 0, "BLAD: Nie mozna wczytac heightmap.bmp z paczki!"},
        {"terrain.bmp", 1, "Teren wczytany."},
        {"skybox_top.bmp", 1, "Teren wczytany."},
        {"tree_winter.obj", 1, "BLAD: Nie mozna zaladowac tree_winter.obj z paczki!"},
        {"tree_winter.bmp", 1, "Teren wczytany."},
        {"tris.md2", 1, "Teren wczytany."},
        {"skin.bmp", 1, "UWAGA: Nie mozna zaladowac skin.bmp z paczki!"},
        {"gun.obj", 1, "BLAD: Nie mozna zaladowac gun.obj z paczki!"},
        {"gun.bmp", 1, "Teren wczytany."},
        {"fire.bmp", 1, "UWAGA: Nie mozna zaladowac fire.bmp z paczki (efekt strzalu nieaktywny)"},
    };
    startEngine();
    for (const MissingEntry &c : cases) {
        SCOPED_TRACE(c.entry);
        writeGameData({c.entry});
        gScript.videoStarts = 0;
        ASSERT_EQ(gameInit(), 1);
        const int swaps = gScript.swaps;
        EXPECT_EQ(loadLevel(), c.levelResult);
        EXPECT_STREQ(statusText, c.status);
        EXPECT_EQ(gScript.swaps, swaps + 1); // the loading screen
        const std::string name = c.entry;
        EXPECT_EQ(terrainHandle != nullptr, name != "heightmap.bmp");
        if (terrainHandle) {
            EXPECT_EQ(o3DHasTerrainTexture(terrainHandle) != 0, name != "terrain.bmp");
        }
        EXPECT_EQ(skyboxHandle != nullptr, c.levelResult && name != "skybox_top.bmp");
        EXPECT_EQ(treeMesh != nullptr, c.levelResult && name != "tree_winter.obj");
        EXPECT_EQ(treeTexture.loaded != 0, c.levelResult && name.rfind("tree_winter", 0) != 0);
        EXPECT_EQ(enemyModel != nullptr, c.levelResult && name != "tris.md2");
        EXPECT_EQ(gunMesh != nullptr, c.levelResult && name != "gun.obj");
        EXPECT_EQ(gunTexture.loaded != 0, c.levelResult && name.rfind("gun", 0) != 0);
        EXPECT_EQ(muzzleFlashTexture.loaded != 0,
                  c.levelResult && name != "gun.obj" && name != "fire.bmp");
        if (!c.levelResult) {
            // Every new attempt shows the loading screen again and fails the same way.
            EXPECT_EQ(loadLevel(), 0);
            EXPECT_EQ(gScript.swaps, swaps + 2);
            EXPECT_EQ(levelLoaded, 0);
        }
        EXPECT_TRUE(leftovers().empty());
        gameShutdown();
        resetGameState();
    }
}

TEST_F(Startup, AMissingSoundLeavesItsWarningAndTheOthersLoaded)
{
    const char *const sounds[] = {"day.wav", "walk.wav", "select.wav"};
    startEngine();
    for (const char *sound : sounds) {
        writeGameData({sound});
        gScript.videoStarts = 0;
        ASSERT_EQ(gameInit(), 1);
        // Start-up's closing line replaced the warning: load the sounds once more on their own.
        o3DFreeMusic(&music);
        for (TSound &s : soundEffects)
            o3DFreeSound(&s);
        loadSounds();
        EXPECT_EQ(std::string(statusText),
                  std::string("UWAGA: Nie mozna zaladowac ") + sound + " z paczki");
        int loaded = music.loaded;
        for (const TSound &s : soundEffects)
            loaded += s.loaded;
        EXPECT_EQ(loaded, 8) << sound;
        gameShutdown();
        resetGameState();
    }
}

// Pixels of a part of the back buffer (screen coordinates, y downwards) within 0.1 of a colour.
static int countInRect(int x, int y, int w, int h, float r, float g, float b)
{
    const int screenHeight = o3DGetScreenHeight();
    std::vector<unsigned char> pixels((size_t)w * h * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, screenHeight - y - h, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    int count = 0;
    for (size_t i = 0; i < pixels.size(); i += 4)
        count += std::abs(pixels[i] - r * 255.0f) < 26.0f &&
                 std::abs(pixels[i + 1] - g * 255.0f) < 26.0f &&
                 std::abs(pixels[i + 2] - b * 255.0f) < 26.0f;
    return count;
}

TEST_F(Startup, MenusDrawTheirBackgroundTitleHighlightAndBars)
{
    writeGameData({"title.bmp"});
    startEngine();
    gScript.videoStarts = 0;
    ASSERT_EQ(gameInit(), 1);
    const int w = o3DGetScreenWidth(), h = o3DGetScreenHeight();
    drawMenus();
    EXPECT_GT(countInRect(0, 0, w, h, 0.1f, 0.1f, 0.15f), w * h * 8 / 10);
    // The text title in place of the missing picture, and "Nowa gra" highlighted in yellow.
    EXPECT_GT(countInRect(w / 2 - 80, 100, 200, 30, 0.0f, 0.8f, 1.0f), 50);
    EXPECT_GT(countInRect(w / 2 - 70, h / 2 - 50, 150, 25, 1.0f, 1.0f, 0.0f), 50);
    EXPECT_EQ(countInRect(w / 2 - 70, h / 2, 150, 25, 1.0f, 1.0f, 0.0f), 0);
    // The options screen: the volume bar fills in proportion, in yellow on its highlighted row.
    gameState = Options;
    menuSelection = 5;
    const int barX = w / 2 + 110, barY = h / 2 - 125 + 250 + 5;
    masterVolume = 100;
    drawMenus();
    EXPECT_GE(countInRect(barX + 1, barY + 1, 148, 8, 1.0f, 1.0f, 0.0f), 148 * 8 * 9 / 10);
    masterVolume = 50;
    drawMenus();
    EXPECT_GE(countInRect(barX + 1, barY + 1, 73, 8, 1.0f, 1.0f, 0.0f), 73 * 8 * 9 / 10);
    EXPECT_EQ(countInRect(barX + 77, barY + 1, 72, 8, 1.0f, 1.0f, 0.0f), 0);
    // Not highlighted, the fill takes the value colour.
    menuSelection = 0;
    drawMenus();
    EXPECT_GE(countInRect(barX + 1, barY + 1, 73, 8, 0.0f, 1.0f, 0.5f), 73 * 8 * 9 / 10);
    // Without the small font nothing at all is drawn.
    o3DClearScreen(1.0f, 0.0f, 0.0f);
    smallFontLoaded = 0;
    drawMenus();
    EXPECT_EQ(countInRect(0, 0, w, h, 1.0f, 0.0f, 0.0f), w * h);
    smallFontLoaded = 1;
    gameShutdown();
}
