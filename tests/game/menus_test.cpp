// The menus' key handling in every state: moving with wrap-around and the click, Enter on each
// item, Esc, every options row with its steps and limits, and the volume curve on every sound.
#include "game_fixture.h"

#include "audio/audio_internal.h"

class Menus : public GameTest {};

TEST_F(Menus, UpAndDownWrapAroundOnEveryScreenWithAClickEach)
{
    loadEffect(SoundSelect);
    const struct {
        int state, count;
    } screens[] = {{MainMenu, 3}, {Paused, 4}, {Options, 7}};
    for (const auto &screen : screens) {
        gameState = screen.state;
        menuSelection = 0;
        const int before = playCalls();
        press(O3D_KEY_UP);
        EXPECT_EQ(menuSelection, screen.count - 1);
        press(O3D_KEY_DOWN);
        EXPECT_EQ(menuSelection, 0);
        for (int i = 0; i < screen.count; ++i)
            press(O3D_KEY_DOWN);
        EXPECT_EQ(menuSelection, 0);
        EXPECT_EQ(playCalls() - before, screen.count + 2);
        // Both in one frame: Up first, then Down.
        frame({O3D_KEY_UP, O3D_KEY_DOWN});
        EXPECT_EQ(menuSelection, 0);
        frame({});
        // Held keys move once.
        frame({O3D_KEY_DOWN});
        frame({O3D_KEY_DOWN});
        EXPECT_EQ(menuSelection, 1);
        frame({});
    }
}

TEST_F(Menus, EscDoesNothingInTheMainAndPauseMenus)
{
    for (int state : {MainMenu, Paused}) {
        gameState = state;
        menuSelection = 1;
        press(O3D_KEY_ESCAPE);
        EXPECT_EQ(gameState, state);
        EXPECT_EQ(menuSelection, 1);
    }
}

TEST_F(Menus, NewGameWithoutALevelShowsTheLoadErrorAndStays)
{
    press(O3D_KEY_ENTER);
    EXPECT_EQ(gameState, MainMenu);
    EXPECT_EQ(menuSelection, 0);
    ASSERT_EQ(gFake.boxes.size(), 1u);
    EXPECT_EQ(gFake.boxes[0], "Blad ladowania|BLAD: Paczka game.dat nie jest zaladowana!");
    // Every attempt tries again.
    press(O3D_KEY_ENTER);
    EXPECT_EQ(gFake.boxes.size(), 2u);
}

TEST_F(Menus, NewGameWithTheLevelStartsPlayWithMusicAndMouseLook)
{
    loadMusic();
    levelLoaded = 1;
    player.health = 3;
    // The cursor at the window's centre, so the captured mouse does not turn the view.
    gFake.cursorX = 400;
    gFake.cursorY = 300;
    press(O3D_KEY_ENTER);
    EXPECT_EQ(gameState, Playing);
    EXPECT_EQ(menuSelection, 0);
    EXPECT_EQ(player.health, 100);
    EXPECT_FLOAT_EQ(player.eyeY, 1.8f);
    EXPECT_FLOAT_EQ(gameCamera.yaw, 45.0f);
    EXPECT_EQ(music.playing, 1);
    EXPECT_EQ(music.loop, 1);
    EXPECT_EQ(o3DIsMouseCaptured(), 1);
    EXPECT_TRUE(gFake.boxes.empty());
}

TEST_F(Menus, WithoutMouseLookPlayStartsWithTheCursorFree)
{
    levelLoaded = 1;
    player.mouseLook = 0;
    press(O3D_KEY_ENTER);
    EXPECT_EQ(gameState, Playing);
    EXPECT_EQ(o3DIsMouseCaptured(), 0);
}

TEST_F(Menus, QuitStopsTheMusicAndTheFootstepsAndPostsTheQuit)
{
    for (int state : {MainMenu, Paused}) {
        loadMusic();
        loadEffect(SoundWalk);
        o3DPlayMusic(&music, 1);
        o3DPlaySoundLooped(&soundEffects[SoundWalk]);
        gameState = state;
        menuSelection = state == MainMenu ? 2 : 3;
        frame({O3D_KEY_ENTER});
        EXPECT_EQ(gFake.quitPosted, 1);
        EXPECT_EQ(music.playing, 0);
        EXPECT_EQ(o3DIsSoundPlaying(&soundEffects[SoundWalk]), 0);
        // The frame loop's next message step ends the run.
        frame({});
        EXPECT_EQ(o3DIsRunning(), 0);
        o3DFreeMusic(&music);
        o3DFreeSound(&soundEffects[SoundWalk]);
        o3DShutdown();
        ASSERT_EQ(o3DInit(nullptr, 800, 600, "Ostrel3D"), 1);
    }
}

TEST_F(Menus, OptionsReturnToTheMenuTheyWereOpenedFromOnItsOptionsItem)
{
    loadEffect(SoundSelect);
    const struct {
        int from, item, back;
    } cases[] = {{MainMenu, 1, 1}, {Paused, 2, 2}};
    for (const auto &c : cases) {
        gameState = c.from;
        menuSelection = c.item;
        press(O3D_KEY_ENTER);
        EXPECT_EQ(gameState, Options);
        EXPECT_EQ(menuSelection, 0);
        EXPECT_EQ(optionsReturnState, c.from);
        // Enter on any row but "Powrot" does nothing.
        for (int row = 0; row < 6; ++row) {
            menuSelection = row;
            press(O3D_KEY_ENTER);
            EXPECT_EQ(gameState, Options);
        }
        EXPECT_FALSE(std::filesystem::exists("config.ini"));
        menuSelection = 6;
        int before = playCalls();
        press(O3D_KEY_ENTER);
        EXPECT_EQ(gameState, c.from);
        EXPECT_EQ(menuSelection, c.back);
        EXPECT_EQ(playCalls() - before, 1);
        EXPECT_TRUE(std::filesystem::exists("config.ini"));
        std::filesystem::remove("config.ini");
        // Esc from any row leaves too, without the click, and writes the file.
        press(O3D_KEY_ENTER);
        menuSelection = 4;
        before = playCalls();
        press(O3D_KEY_ESCAPE);
        EXPECT_EQ(gameState, c.from);
        EXPECT_EQ(menuSelection, c.back);
        EXPECT_EQ(playCalls(), before);
        EXPECT_TRUE(std::filesystem::exists("config.ini"));
        std::filesystem::remove("config.ini");
    }
}

TEST_F(Menus, ResumeRestartsTheMusicAndCapturesTheMouse)
{
    loadMusic();
    gameState = Paused;
    press(O3D_KEY_ENTER);
    EXPECT_EQ(gameState, Playing);
    EXPECT_EQ(music.playing, 1);
    EXPECT_EQ(o3DIsMouseCaptured(), 1);
}

TEST_F(Menus, ResolutionRowCyclesThroughTheModeListBothWays)
{
    gameState = Options;
    menuSelection = 0;
    ASSERT_EQ(o3DGetResolutionIndex(), 1);
    const struct {
        int key, index, width;
    } steps[] = {{O3D_KEY_RIGHT, 2, 1024}, {O3D_KEY_RIGHT, 0, 640}, {O3D_KEY_LEFT, 2, 1024},
                 {O3D_KEY_LEFT, 1, 800},   {O3D_KEY_LEFT, 0, 640},  {O3D_KEY_LEFT, 2, 1024}};
    for (const auto &s : steps) {
        press(s.key);
        EXPECT_EQ(o3DGetResolutionIndex(), s.index);
        EXPECT_EQ(gFake.clientWidth, s.width);
    }
    // Both keys in one frame: Left wins.
    frame({O3D_KEY_LEFT, O3D_KEY_RIGHT});
    EXPECT_EQ(o3DGetResolutionIndex(), 1);
}

TEST_F(Menus, ResolutionRowDoesNothingWithAnEmptyModeList)
{
    o3DShutdown();
    gFake.modes.clear();
    ASSERT_EQ(o3DInit(nullptr, 800, 600, "Ostrel3D"), 1);
    ASSERT_EQ(o3DGetDisplayModeCount(), 0);
    loadEffect(SoundSelect);
    gameState = Options;
    menuSelection = 0;
    const int before = playCalls();
    press(O3D_KEY_LEFT);
    press(O3D_KEY_RIGHT);
    EXPECT_EQ(playCalls(), before);
    EXPECT_EQ(gameState, Options);
}

TEST_F(Menus, ModeAndShadowRowsToggleOnEitherKey)
{
    gameState = Options;
    menuSelection = 1;
    press(O3D_KEY_RIGHT);
    EXPECT_EQ(o3DIsFullscreen(), 1);
    press(O3D_KEY_LEFT);
    EXPECT_EQ(o3DIsFullscreen(), 0);
    menuSelection = 4;
    const int sequence[] = {0, 1, 0};
    for (int expected : sequence) {
        press(O3D_KEY_LEFT);
        EXPECT_EQ(shadowQuality, expected);
    }
    shadowQuality = 5;
    press(O3D_KEY_RIGHT);
    EXPECT_EQ(shadowQuality, 0);
}

TEST_F(Menus, FieldOfViewAndDrawDistanceStepByPressAndByHoldWithinTheirLimits)
{
    gameState = Options;
    const struct {
        int row;
        float *value;
        float perSecond, step, low, high;
    } rows[] = {{2, &fov, 60.0f, 5.0f, 45.0f, 120.0f},
                {3, &drawDistance, 120.0f, 10.0f, 50.0f, 1000.0f}};
    for (const auto &r : rows) {
        menuSelection = r.row;
        *r.value = 80.0f;
        // The first frame of a press moves by the held step and the pressed step.
        frame({O3D_KEY_RIGHT}, 0.25);
        EXPECT_FLOAT_EQ(*r.value, 80.0f + r.perSecond * 0.25f + r.step);
        frame({O3D_KEY_RIGHT}, 0.25);
        EXPECT_FLOAT_EQ(*r.value, 80.0f + r.perSecond * 0.5f + r.step);
        frame({});
        frame({O3D_KEY_LEFT}, 0.5);
        EXPECT_FLOAT_EQ(*r.value, 80.0f);
        for (int i = 0; i < 40; ++i)
            frame({O3D_KEY_RIGHT}, 1.0);
        EXPECT_FLOAT_EQ(*r.value, r.high);
        for (int i = 0; i < 40; ++i)
            frame({O3D_KEY_LEFT}, 1.0);
        EXPECT_FLOAT_EQ(*r.value, r.low);
        frame({});
        // Left wins over Right held together.
        *r.value = 80.0f;
        frame({O3D_KEY_LEFT, O3D_KEY_RIGHT}, 0.1);
        EXPECT_FLOAT_EQ(*r.value, 80.0f - r.perSecond * 0.1f - r.step);
        frame({});
    }
    EXPECT_FLOAT_EQ(gameCamera.fov, fov);
}

TEST_F(Menus, VolumeStepsTwoAFrameHeldAndFiveAPressAndGoesThroughTheCurve)
{
    loadMusic();
    for (int i = 0; i < SoundEffectCount; ++i)
        loadEffect(i);
    gameState = Options;
    menuSelection = 5;
    masterVolume = 50;
    frame({O3D_KEY_LEFT}, 0.001);
    EXPECT_EQ(masterVolume, 43);
    frame({O3D_KEY_LEFT}, 1.0);
    EXPECT_EQ(masterVolume, 41);
    frame({});
    for (int i = 0; i < 30; ++i)
        frame({O3D_KEY_LEFT});
    EXPECT_EQ(masterVolume, 0);
    EXPECT_EQ(o3DGetMasterVolume(), 0);
    frame({});
    masterVolume = 45;
    frame({O3D_KEY_RIGHT});
    EXPECT_EQ(masterVolume, 52);
    frame({});
    masterVolume = 48;
    press(O3D_KEY_RIGHT); // 48 + 2 + 5
    press(O3D_KEY_LEFT);  // 55 - 2 - 5
    EXPECT_EQ(masterVolume, 48);
    press(O3D_KEY_RIGHT);
    EXPECT_EQ(masterVolume, 55);
    masterVolume = 48;
    frame({O3D_KEY_RIGHT});
    EXPECT_EQ(masterVolume, 55);
    frame({});
    masterVolume = 50;
    frame({O3D_KEY_RIGHT});
    frame({O3D_KEY_LEFT});
    EXPECT_EQ(masterVolume, 50);
    applyVolume();
    EXPECT_EQ(o3DGetMasterVolume(), 87);
    EXPECT_EQ(fakeBuffer(music.buffer)->volume, audioVolumeToHundredths(87));
    for (const TSound &sound : soundEffects)
        EXPECT_EQ(fakeBuffer(sound.buffer)->volume, audioVolumeToHundredths(87));
    for (int i = 0; i < 60; ++i)
        frame({O3D_KEY_RIGHT});
    EXPECT_EQ(masterVolume, 100);
    EXPECT_EQ(o3DGetMasterVolume(), 100);
}

TEST(VolumeCurve, MapsTheSettingToTheLoudness)
{
    const int expected[][2] = {{0, 0},     {10, 27}, {20, 48}, {30, 65}, {40, 78},
                               {50, 87},   {60, 93}, {70, 97}, {80, 99}, {90, 99},
                               {100, 100}, {1, 2},   {99, 99}, {-5, 0},  {300, 100}};
    for (const auto &e : expected)
        EXPECT_EQ(volumeCurve(e[0]), e[1]) << e[0];
}

TEST_F(Menus, PlayFrameTimeIsClampedAndEscPausesOrLeavesTheDeathSequence)
{
    levelLoaded = 1;
    loadMusic();
    press(O3D_KEY_ENTER);
    ASSERT_EQ(gameState, Playing);
    frame({}, 0.5);
    EXPECT_FLOAT_EQ(frameDelta, 0.1f);
    EXPECT_FLOAT_EQ(fpsValue, 10.0f);
    frame({}, 0.0);
    EXPECT_FLOAT_EQ(frameDelta, 0.0001f);
    const float sky = skyAngle;
    frame({O3D_KEY_ESCAPE});
    EXPECT_EQ(gameState, Paused);
    EXPECT_EQ(menuSelection, 0);
    EXPECT_EQ(music.playing, 0);
    EXPECT_EQ(o3DIsMouseCaptured(), 0);
    EXPECT_FLOAT_EQ(skyAngle, sky); // nothing else of the play frame ran
    // Esc held on does not resume.
    frame({O3D_KEY_ESCAPE});
    EXPECT_EQ(gameState, Paused);
    frame({});
    press(O3D_KEY_ENTER);
    ASSERT_EQ(gameState, Playing);
    playerDead = 1;
    masterVolume = 50;
    press(O3D_KEY_ESCAPE);
    EXPECT_EQ(gameState, MainMenu);
    EXPECT_EQ(playerDead, 0);
    EXPECT_EQ(o3DGetMasterVolume(), 87);
}

TEST_F(Menus, MouseLookKeyTogglesOnlyInPlay)
{
    press(O3D_KEY_M);
    EXPECT_EQ(player.mouseLook, 1);
    levelLoaded = 1;
    press(O3D_KEY_ENTER);
    ASSERT_EQ(o3DIsMouseCaptured(), 1);
    press(O3D_KEY_M);
    EXPECT_EQ(player.mouseLook, 0);
    EXPECT_EQ(o3DIsMouseCaptured(), 0);
    press(O3D_KEY_M);
    EXPECT_EQ(player.mouseLook, 1);
    EXPECT_EQ(o3DIsMouseCaptured(), 1);
}
