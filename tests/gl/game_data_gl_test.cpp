// The built default data through the engine's own loaders, in a real window: every entry of
// game.dat the game reads loads with the loader the game uses for it, the ground the engine
// reports is walkable where the player, the tree and the enemy stand, the sounds load on the
// sound device, the enemy's rows all have their frames, and intro.avi opens in the video backend
// with its size and length and plays to its end. Entries are written to files in a scratch
// folder first, as the game's staging does.
#include "bmp_writer.h"
#include "gl_test_window.h"

#include <math.h>

#include <string>

static ::testing::Environment *const kWindow =
    ::testing::AddGlobalTestEnvironment(new GlTestWindow(320, 240, "Ostrel3D game data GL test"));

namespace {

class GameData : public ::testing::Test {
  protected:
    void SetUp() override
    {
        pumpUntilMapped();
        pack = o3DOpenPack(O3D_TEST_GAME_DAT);
        ASSERT_NE(pack, nullptr) << O3D_TEST_GAME_DAT << ": build the game_data target first";
    }
    void TearDown() override
    {
        o3DClosePack(pack);
    }
    // The entry as a file of its own name in the scratch folder; "" if it is missing.
    std::string staged(const char *name)
    {
        const std::string path = folder.file(name);
        return o3DExtractPackFile(pack, name, path.c_str()) ? path : std::string();
    }
    TPack *pack = nullptr;
    ScratchFolder folder;
};

} // namespace

TEST_F(GameData, TerrainLoadsAndIsWalkableWhereThingsStand)
{
    TTerrain *terrain = o3DCreateTerrain(staged("heightmap.bmp").c_str(), 2.0f, 40.0f);
    ASSERT_NE(terrain, nullptr);
    EXPECT_EQ(terrain->width, 512);
    EXPECT_EQ(terrain->depth, 512);
    TTexture *snow = (TTexture *)calloc(1, sizeof(TTexture));
    ASSERT_EQ(o3DLoadTexture(snow, staged("terrain.bmp").c_str()), 1);
    o3DSetTerrainTexture(terrain, snow);
    EXPECT_EQ(o3DHasTerrainTexture(terrain), 1);
    // The player's spawn, the tree and the enemy: the ground the game will ask for is level
    // within a step of each, so nobody stands on a slope or in a pit.
    const float points[3][2] = {{50, 50}, {55, 50}, {30, 30}};
    for (const auto &p : points) {
        const float centre = o3DGetTerrainHeight(terrain, p[0], p[1]);
        EXPECT_GT(centre, 0.5f);
        for (float d = -2; d <= 2; d += 1) {
            EXPECT_NEAR(o3DGetTerrainHeight(terrain, p[0] + d, p[1]), centre, 0.15f);
            EXPECT_NEAR(o3DGetTerrainHeight(terrain, p[0], p[1] + d), centre, 0.15f);
        }
        const TVector3 n = o3DGetTerrainNormal(terrain, p[0], p[1]);
        EXPECT_GT(n.y, 0.99f) << p[0] << "," << p[1];
    }
    o3DFreeTerrain(terrain);
}

TEST_F(GameData, SkyFacesLoadIntoAReadySkybox)
{
    static const char *const kFaces[6] = {"front", "back", "left", "right", "top", "bottom"};
    TSkybox *sky = o3DCreateSkybox(900);
    ASSERT_NE(sky, nullptr);
    for (int f = 0; f < 6; ++f) {
        const std::string name = std::string("skybox_") + kFaces[f] + ".bmp";
        EXPECT_EQ(o3DLoadSkyboxFace(sky, f, staged(name.c_str()).c_str()), 1) << name;
        EXPECT_EQ(sky->faces[f]->width, 256) << name; // a power of two: not resampled
    }
    EXPECT_EQ(o3DIsSkyboxReady(sky), 1);
    o3DFreeSkybox(sky);
}

TEST_F(GameData, ModelsAndTheirTexturesLoad)
{
    for (const char *name : {"tree_winter.obj", "gun.obj"}) {
        TMesh *mesh = o3DLoadOBJ(staged(name).c_str());
        ASSERT_NE(mesh, nullptr) << name;
        EXPECT_GT(mesh->vertexCount, 100) << name;
        o3DFreeMesh(mesh);
    }
    // The game loads these as images: a power-of-two picture fills its texture exactly, so the
    // models' texture coordinates land where they were painted.
    for (const char *name : {"tree_winter.bmp", "gun.bmp", "fire.bmp"}) {
        TTexture tex = {};
        ASSERT_EQ(o3DLoadImage(&tex, staged(name).c_str()), 1) << name;
        EXPECT_EQ(tex.width, tex.texWidth) << name;
        EXPECT_EQ(tex.height, tex.texHeight) << name;
        o3DFreeTexture(&tex);
    }
    TMD2Model *enemy = o3DLoadMD2(staged("tris.md2").c_str());
    ASSERT_NE(enemy, nullptr);
    EXPECT_EQ(o3DGetMD2FrameCount(enemy), 198);
    EXPECT_STREQ(o3DGetMD2FrameName(enemy, 178), "death01");
    TTexture *skin = (TTexture *)calloc(1, sizeof(TTexture));
    ASSERT_EQ(o3DLoadTexture(skin, staged("skin.bmp").c_str()), 1);
    EXPECT_EQ(skin->width, enemy->header.skinWidth);
    EXPECT_EQ(skin->height, enemy->header.skinHeight);
    o3DSetMD2Skin(enemy, skin);
    // The rows the game plays: each one's frames exist and the animation runs through them.
    for (int row : {0, 1, 2, 3, 15}) {
        int first = -1, last = -1, fps = 0;
        o3DGetMD2AnimationInfo(row, &first, &last, &fps);
        o3DSetMD2Animation(enemy, row);
        EXPECT_EQ(o3DGetMD2CurrentFrame(enemy), first) << "row " << row;
        o3DAnimateMD2(enemy, (float)(last - first) / (float)fps + 0.001f);
        EXPECT_EQ(o3DGetMD2CurrentFrame(enemy), last) << "row " << row;
    }
    o3DFreeMD2Skin(enemy);
    o3DFreeMD2(enemy);
}

TEST_F(GameData, OverlayPicturesAndFontsLoadAsTheGameLoadsThem)
{
    for (const char *name : {"health.bmp", "title.bmp"}) {
        TTexture image = {};
        ASSERT_EQ(o3DLoadImageKeyed(&image, staged(name).c_str(), 255, 0, 255), 1) << name;
        int keyed = 0;
        for (int i = 0; i < image.width * image.height; ++i)
            keyed += image.mask[i] == 0;
        EXPECT_GT(keyed, 0) << name; // the magenta around the picture is see-through
        EXPECT_LT(keyed, image.width * image.height) << name;
        o3DFreeTexture(&image);
    }
    // The title fits above the menu (items start at y = 250 on 800 x 600; it is drawn at y = 25).
    TTexture title = {};
    ASSERT_EQ(o3DLoadImageKeyed(&title, staged("title.bmp").c_str(), 255, 0, 255), 1);
    EXPECT_LE(title.height, 150);
    EXPECT_LE(title.width, 800);
    o3DFreeTexture(&title);

    const char *const kLines[] = {
        "Nowa gra",  "Wyjscie", "Odleglosc rysowania:",
        "GAME OVER", "FPS: 60", "Strzalki: Wybor/Zmiana   Enter/ESC: Powrot"};
    for (const char *base : {"BankGothic16", "BankGothic24"}) {
        staged((std::string(base) + ".bmp").c_str());
        TFont font = {};
        ASSERT_EQ(o3DLoadFont(&font, staged((std::string(base) + ".met").c_str()).c_str()), 1)
            << base;
        for (int c = 32; c < 127; ++c)
            EXPECT_EQ(font.glyphs[c].present, 1) << base << " " << (char)c;
        EXPECT_GE(o3DGetFontLineHeight(&font), base[10] == '1' ? 16 : 24);
        for (const char *line : kLines)
            EXPECT_GT(o3DMeasureText(&font, line), 0) << base << ": " << line;
        // The longest hint stays on an 800-pixel screen where the menu draws it (x = 160).
        if (base[10] == '1') {
            EXPECT_LT(o3DMeasureText(&font, kLines[5]), 800 - 160);
        }
        o3DFreeFont(&font);
    }
}

TEST_F(GameData, MusicAndEffectsLoadOnTheSoundDevice)
{
    ASSERT_EQ(o3DSoundInit(o3DGetWindowHandle()), 1);
    TMusic music = {};
    EXPECT_EQ(o3DLoadMusic(&music, staged("day.wav").c_str()), 1);
    EXPECT_GE(music.size / 2 / music.sampleRate, 20u);
    o3DFreeMusic(&music);
    for (const char *name : {"playerdeath.wav", "playerhurt.wav", "walk.wav", "jump.wav",
                             "enemysound.wav", "enemydeath.wav", "shot.wav", "select.wav"}) {
        uint32_t size = 0;
        unsigned char *bytes = o3DReadPackEntry(pack, name, &size);
        ASSERT_NE(bytes, nullptr) << name;
        TSound sound = {};
        EXPECT_EQ(o3DLoadSoundFromMemory(&sound, bytes, (int)size), 1) << name;
        o3DFreeSound(&sound);
        o3DFreePackData(bytes);
    }
    o3DSoundShutdown();
}

TEST_F(GameData, IntroFilmOpensWithItsSizeAndLengthAndPlaysToItsEnd)
{
    ASSERT_EQ(o3DVideoInit(), 1);
    TVideo video = {};
    ASSERT_EQ(o3DOpenVideo(&video, o3DGetWindowHandle(), O3D_TEST_INTRO_AVI), 1);
    EXPECT_EQ(video.width, 320);
    EXPECT_EQ(video.height, 180);
    EXPECT_NEAR(o3DVideoGetDuration(&video), 5.0, 0.05);
    o3DCloseVideo(&video);
    // The intro as the game shows it: the blocking player runs it to its end.
    EXPECT_EQ(o3DPlayVideo(o3DGetWindowHandle(), O3D_TEST_INTRO_AVI, 0), 1);
    o3DVideoShutdown();
}
