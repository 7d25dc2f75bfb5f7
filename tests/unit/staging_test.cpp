// Staging without a display: the leftover sweeps, the names' numbers, the font metrics rewrite,
// OBJ and MD2 models, sounds and music staged from packs the tests write, and the failures every
// operation must survive without leaving a temporary file. Each test runs in its own folder as the
// current directory.
#include "pack_fixture.h"

#include "pack/staging.h"

#include "fake_audio.h"
#include "md2_writer.h"
#include "wav_writer.h"

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using StagingSweep = PackTest;
using StagingNames = PackTest;
using StagingObj = PackTest;
using StagingFailures = PackTest;
using StagingMd2 = PackTest;

// Sounds need an open device: the fake one of tests/support.
class StagingAudio : public PackTest {
  protected:
    void SetUp() override
    {
        PackTest::SetUp();
        installFakeAudio();
        ASSERT_TRUE(o3DSoundInit(this));
    }
    void TearDown() override
    {
        o3DSoundShutdown();
        audioResetSeam();
        PackTest::TearDown();
    }
};

// What a sound or music load leaves: the result, the format fields and the device's samples.
struct AudioLoaded {
    int result;
    std::vector<uint32_t> fields;
    std::vector<unsigned char> samples;
    bool operator==(const AudioLoaded &o) const
    {
        return result == o.result && fields == o.fields && samples == o.samples;
    }
};

template <class Record> AudioLoaded audioLoaded(int result, const Record &r)
{
    AudioLoaded l = {
        result, {r.size, r.sampleRate, r.channels, r.bitsPerSample, (uint32_t)r.loaded}, {}};
    if (r.buffer)
        l.samples = fakeBuffer(r.buffer)->samples;
    return l;
}

std::string stringOf(const std::vector<uint8_t> &bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

const std::string kTriangleObj = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 0 1\n"
                                 "vn 0 0 1\nf 1/1/1 2/2/1 3/3/1\nf 3/3/1 2/2/1 1/1/1\n";

std::string formatted(const char *format, const void *target)
{
    char name[256];
    snprintf(name, sizeof name, format, target);
    return name;
}

std::vector<float> floatsOf(const float *values, int count)
{
    return values ? std::vector<float>(values, values + count) : std::vector<float>();
}

struct SweptFile {
    std::string name;
    bool goneAtStartUp;
    bool goneAtShutdown;
};

} // namespace

TEST_F(StagingSweep, EachSweepDeletesExactlyItsPatternsInTheCurrentDirectory)
{
    const std::vector<SweptFile> files = {
        {"temp_sound_12.wav", true, true},
        {"temp_bitmap_0x55aa.bmp", false, true},
        {"temp_font_0x55aa.bmp", false, true},
        {"temp_md2_-42.md2", false, true},
        {"temp_obj_7.obj", false, true},
        // Staging patterns that are never swept.
        {"temp_music_0x55aa.wav", false, false},
        {"temp_texture3d_0x55aa.bmp", false, false},
        {"temp_skybox_3_0x55aa.bmp", false, false},
        {"temp_bg_9.bmp", false, false},
        {"temp_font_0x55aa.met", false, false},
        {"temp_heightmap_0x55aa.bmp", false, false},
        // Near misses of the swept patterns.
        {"temp_sound_12.txt", false, false},
        {"temp_obj.obj", false, false},
        {"xtemp_obj_7.obj", false, false},
        {"temp_bitmap_1.png", false, false},
        {"game.dat", false, false},
    };
    for (const SweptFile &file : files) {
        writeBytes(folder / file.name, "x");
    }
    fs::create_directories(folder / "sub");
    writeBytes(folder / "sub" / "temp_obj_1.obj", "x");

    o3DInitPacks();
    for (const SweptFile &file : files) {
        EXPECT_EQ(fs::exists(folder / file.name), !file.goneAtStartUp) << file.name;
    }
    o3DCleanupTempFiles();
    for (const SweptFile &file : files) {
        EXPECT_EQ(fs::exists(folder / file.name), !file.goneAtShutdown) << file.name;
    }
    EXPECT_TRUE(fs::exists(folder / "sub" / "temp_obj_1.obj")) << "only the current directory";
}

TEST_F(StagingSweep, ShutdownClosesEveryPackBeforeSweeping)
{
    writePack(pathOf("a.dat"), {{"one", "1"}});
    TPack *pack = o3DOpenPack(pathOf("a.dat").c_str());
    ASSERT_NE(pack, nullptr);
    o3DCleanupTempFiles();
    EXPECT_EQ(pack->loaded, 0);
    EXPECT_EQ(o3DGetActivePack(), nullptr);
}

TEST(StagingAddressNumber, KeepsTheLow32BitsAsASignedNumber)
{
    struct Row {
        uint64_t address;
        int32_t number;
    };
    std::vector<Row> rows = {
        {0, 0},
        {0x7FFFFFFF, 2147483647},
        {0x80000000u, INT32_MIN},
        {0xFFFFFFFEu, -2},
    };
    if (sizeof(void *) == 8) {
        rows.push_back({0x123456789ull, 0x23456789});
        rows.push_back({0x7FFFFFFFFFFFFFFFull, -1});
    }
    for (const Row &row : rows) {
        EXPECT_EQ(stagingAddressNumber((const void *)(uintptr_t)row.address), row.number)
            << std::hex << row.address;
    }
}

TEST(StagingFontSheetName, IsTheSecondLineOrTheDefault)
{
    struct Row {
        std::string metrics;
        std::string sheet;
    };
    const std::vector<Row> rows = {
        {"METRICS1\nsheet.bmp\n16\n", "sheet.bmp"},
        {"METRICS1\r\nsheet.bmp\r\n16\r\n", "sheet.bmp"},
        {"METRICS1\nsheet.bmp", "sheet.bmp"},
        {"METRICS1\nsheet.bmp\r", "sheet.bmp"},
        {"METRICS1", "font.bmp"},
        {"", "font.bmp"},
        {"METRICS1\n\n16\n", "font.bmp"},
        {"METRICS1\n\r\n16\n", "font.bmp"},
        {"METRICS1\n" + std::string(254, 'a') + "\n", std::string(254, 'a')},
        {"METRICS1\n" + std::string(255, 'a') + "\n", "font.bmp"},
        {"METRICS1\n" + std::string(4000, 'a'), "font.bmp"},
    };
    for (const Row &row : rows) {
        char name[kStagingNameChars];
        stagingFontSheetName((const unsigned char *)row.metrics.data(),
                             (uint32_t)row.metrics.size(), name);
        EXPECT_EQ(name, row.sheet) << row.metrics.substr(0, 40);
    }
}

TEST(StagingRewriteMetrics, NamesTheStagedSheetOnTheSecondLineEndedByALineFeed)
{
    struct Row {
        std::string metrics;
        std::string rewritten;
    };
    const std::vector<Row> rows = {
        {"METRICS1\nsheet.bmp\n16\n65 0 0 8 8\n", "METRICS1\nS\n16\n65 0 0 8 8\n"},
        // The first line keeps its CR; the second line loses its own.
        {"METRICS1\r\nsheet.bmp\r\n16\r\n", "METRICS1\r\nS\n16\r\n"},
        {"METRICS1", "METRICS1\nS\n"},
        {"", "\nS\n"},
        {"METRICS1\nsheet.bmp", "METRICS1\nS\n"},
        {"METRICS1\n\n16\n", "METRICS1\nS\n16\n"},
        {std::string("METRICS1\nsheet\0.bmp\n1\0\n", 24), std::string("METRICS1\nS\n1\0\n", 15)},
    };
    for (const Row &row : rows) {
        size_t size = 0;
        unsigned char *out = stagingRewriteMetrics((const unsigned char *)row.metrics.data(),
                                                   (uint32_t)row.metrics.size(), "S", &size);
        ASSERT_NE(out, nullptr);
        EXPECT_EQ(std::string((const char *)out, size), row.rewritten) << row.metrics;
        free(out);
    }
}

TEST_F(StagingObj, APackEntryGivesTheSameMeshAsItsFileAndLeavesNoFile)
{
    writeBytes(folder / "tree.obj", kTriangleObj);
    writePack(pathOf("game.dat"), {{"tree.obj", kTriangleObj}});
    TPack *pack = o3DOpenPack(pathOf("game.dat").c_str());
    ASSERT_NE(pack, nullptr);

    TMesh *staged = o3DLoadOBJFromPack(pack, "tree.obj");
    TMesh *direct = o3DLoadOBJ(pathOf("tree.obj").c_str());
    ASSERT_NE(staged, nullptr);
    ASSERT_NE(direct, nullptr);
    EXPECT_EQ(staged->vertexCount, 6);
    EXPECT_EQ(staged->vertexCount, direct->vertexCount);
    EXPECT_EQ(staged->indexCount, direct->indexCount);
    EXPECT_EQ(staged->hasNormals, direct->hasNormals);
    EXPECT_EQ(staged->hasTexCoords, direct->hasTexCoords);
    int n = staged->vertexCount;
    EXPECT_EQ(floatsOf(staged->vertices, 3 * n), floatsOf(direct->vertices, 3 * n));
    EXPECT_EQ(floatsOf(staged->normals, 3 * n), floatsOf(direct->normals, 3 * n));
    EXPECT_EQ(floatsOf(staged->texCoords, 2 * n), floatsOf(direct->texCoords, 2 * n));
    EXPECT_TRUE(std::equal(staged->indices, staged->indices + staged->indexCount, direct->indices));
    o3DFreeMesh(staged);
    o3DFreeMesh(direct);
    EXPECT_TRUE(stagedLeftovers().empty());
}

TEST_F(StagingObj, AnEntryTheLoaderRefusesGivesNullAndLeavesNoFile)
{
    writePack(pathOf("game.dat"), {{"empty.obj", ""}, {"lines.obj", "v 0 0 0\n# no face\n"}});
    TPack *pack = o3DOpenPack(pathOf("game.dat").c_str());
    ASSERT_NE(pack, nullptr);
    for (const char *entry : {"empty.obj", "lines.obj", "missing.obj", "EMPTY.obj"}) {
        EXPECT_EQ(o3DLoadOBJFromPack(pack, entry), nullptr) << entry;
        EXPECT_TRUE(stagedLeftovers().empty()) << entry;
    }
}

// Every operation refuses null arguments and missing entries before it touches its target, so
// these run without a GL context.
TEST_F(StagingFailures, NullArgumentsAndMissingEntriesFailWithoutAFile)
{
    writePack(pathOf("game.dat"), {{"face.bmp", "BM not really"}, {"tree.obj", kTriangleObj}});
    TPack *pack = o3DOpenPack(pathOf("game.dat").c_str());
    ASSERT_NE(pack, nullptr);
    TPack closed = {};
    TTexture tex = {};
    TBackground bg = {};
    TFont font = {};
    TSkybox *sky = o3DCreateSkybox(10.0f);
    ASSERT_NE(sky, nullptr);

    struct Row {
        const char *what;
        int (*call)(TPack *, TTexture *, TBackground *, TFont *, TSkybox *, const char *);
    };
    const Row rows[] = {
        {"texture", [](TPack *p, TTexture *t, TBackground *, TFont *, TSkybox *,
                       const char *n) { return o3DLoadTextureFromPack(p, t, n); }},
        {"image keyed", [](TPack *p, TTexture *t, TBackground *, TFont *, TSkybox *,
                           const char *n) { return o3DLoadImageFromPack(p, t, n, 255, 0, 255); }},
        {"3d texture", [](TPack *p, TTexture *t, TBackground *, TFont *, TSkybox *,
                          const char *n) { return o3DLoadTextureImageFromPack(p, t, n); }},
        {"skybox face", [](TPack *p, TTexture *, TBackground *, TFont *, TSkybox *s,
                           const char *n) { return o3DLoadSkyboxFaceFromPack(p, s, 0, n); }},
        {"font", [](TPack *p, TTexture *, TBackground *, TFont *f, TSkybox *,
                    const char *n) { return o3DLoadFontFromPackDefault(p, f, n); }},
        {"font keyed", [](TPack *p, TTexture *, TBackground *, TFont *f, TSkybox *,
                          const char *n) { return o3DLoadFontFromPack(p, f, n, 0, 0, 0); }},
        {"background", [](TPack *p, TTexture *, TBackground *b, TFont *, TSkybox *,
                          const char *n) { return o3DLoadBackgroundFromPack(p, b, n); }},
        {"background keyed",
         [](TPack *p, TTexture *, TBackground *b, TFont *, TSkybox *, const char *n) {
             return o3DLoadBackgroundKeyedFromPack(p, b, n, 255, 0, 255);
         }},
        {"obj", [](TPack *p, TTexture *, TBackground *, TFont *, TSkybox *,
                   const char *n) { return o3DLoadOBJFromPack(p, n) != nullptr ? 1 : 0; }},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(row.call(nullptr, &tex, &bg, &font, sky, "face.bmp"), 0);
        EXPECT_EQ(row.call(&closed, &tex, &bg, &font, sky, "face.bmp"), 0);
        EXPECT_EQ(row.call(pack, &tex, &bg, &font, sky, nullptr), 0);
        EXPECT_EQ(row.call(pack, &tex, &bg, &font, sky, "nothing.bmp"), 0);
        EXPECT_TRUE(stagedLeftovers().empty());
    }
    // Null targets, where the operation has one.
    EXPECT_EQ(o3DLoadTextureFromPack(pack, nullptr, "face.bmp"), 0);
    EXPECT_EQ(o3DLoadImageFromPack(pack, nullptr, "face.bmp", 0, 0, 0), 0);
    EXPECT_EQ(o3DLoadTextureImageFromPack(pack, nullptr, "face.bmp"), 0);
    EXPECT_EQ(o3DLoadSkyboxFaceFromPack(pack, nullptr, 0, "face.bmp"), 0);
    EXPECT_EQ(o3DLoadFontFromPackDefault(pack, nullptr, "face.bmp"), 0);
    EXPECT_EQ(o3DLoadFontFromPack(pack, nullptr, "face.bmp", 0, 0, 0), 0);
    EXPECT_EQ(o3DLoadBackgroundFromPack(pack, nullptr, "face.bmp"), 0);
    EXPECT_EQ(o3DLoadBackgroundKeyedFromPack(pack, nullptr, "face.bmp", 0, 0, 0), 0);
    // A face outside 0..5 is refused although the entry is there.
    EXPECT_EQ(o3DLoadSkyboxFaceFromPack(pack, sky, 6, "face.bmp"), 0);
    EXPECT_EQ(o3DLoadSkyboxFaceFromPack(pack, sky, -1, "face.bmp"), 0);
    for (TTexture *face : sky->faces) {
        EXPECT_EQ(face, nullptr);
    }
    EXPECT_TRUE(stagedLeftovers().empty());
    EXPECT_EQ(tex.loaded, 0);
    EXPECT_EQ(bg.loaded, 0);
    EXPECT_EQ(font.loaded, 0);
    o3DFreeSkybox(sky);
}

// A temporary file that cannot be created (a folder holds its name) fails the call before any
// loader runs; a font whose metrics file cannot be created takes its staged sheet away again.
TEST_F(StagingFailures, AFileThatCannotBeCreatedFailsAndLeavesNothingOfItsOwn)
{
    writePack(pathOf("game.dat"), {{"face.bmp", "BM"},
                                   {"font.met", "METRICS1\nsheet.bmp\n16\n65 0 0 8 8\n"},
                                   {"sheet.bmp", "BM"}});
    TPack *pack = o3DOpenPack(pathOf("game.dat").c_str());
    ASSERT_NE(pack, nullptr);
    TTexture tex = {};
    TFont font = {};
    TSkybox *sky = o3DCreateSkybox(10.0f);
    ASSERT_NE(sky, nullptr);

    struct Row {
        std::string blocked;
        int (*call)(TPack *, TTexture *, TFont *, TSkybox *);
    };
    const std::vector<Row> rows = {
        {formatted("temp_bitmap_%p.bmp", &tex),
         [](TPack *p, TTexture *t, TFont *, TSkybox *) {
             return o3DLoadTextureFromPack(p, t, "face.bmp");
         }},
        {formatted("temp_bitmap_%p.bmp", &tex),
         [](TPack *p, TTexture *t, TFont *, TSkybox *) {
             return o3DLoadImageFromPack(p, t, "face.bmp", 1, 2, 3);
         }},
        {formatted("temp_texture3d_%p.bmp", &tex),
         [](TPack *p, TTexture *t, TFont *, TSkybox *) {
             return o3DLoadTextureImageFromPack(p, t, "face.bmp");
         }},
        {formatted("temp_skybox_2_%p.bmp", sky),
         [](TPack *p, TTexture *, TFont *, TSkybox *s) {
             return o3DLoadSkyboxFaceFromPack(p, s, 2, "face.bmp");
         }},
        {formatted("temp_font_%p.bmp", &font),
         [](TPack *p, TTexture *, TFont *f, TSkybox *) {
             return o3DLoadFontFromPackDefault(p, f, "font.met");
         }},
        {formatted("temp_font_%p.met", &font),
         [](TPack *p, TTexture *, TFont *f, TSkybox *) {
             return o3DLoadFontFromPack(p, f, "font.met", 0, 0, 0);
         }},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.blocked);
        ASSERT_TRUE(fs::create_directory(folder / row.blocked));
        EXPECT_EQ(row.call(pack, &tex, &font, sky), 0);
        EXPECT_EQ(stagedLeftovers(), std::vector<std::string>{row.blocked});
        fs::remove(folder / row.blocked);
    }
    EXPECT_EQ(sky->faces[2], nullptr);
    o3DFreeSkybox(sky);
}

TEST_F(StagingMd2, APackEntryGivesTheSameModelAsItsFileAndLeavesNoFile)
{
    std::string md2 = stringOf(md2Bytes(squareModel(3)));
    writeBytes(folder / "tris.md2", md2);
    writePack(pathOf("game.dat"), {{"tris.md2", md2}, {"cut.md2", md2.substr(0, 100)}});
    TPack *pack = o3DOpenPack(pathOf("game.dat").c_str());
    ASSERT_NE(pack, nullptr);

    TMD2Model *staged = o3DLoadMD2FromPack(pack, "tris.md2");
    EXPECT_TRUE(stagedLeftovers().empty());
    TMD2Model *direct = o3DLoadMD2(pathOf("tris.md2").c_str());
    ASSERT_NE(staged, nullptr);
    ASSERT_NE(direct, nullptr);
    EXPECT_EQ(memcmp(&staged->header, &direct->header, sizeof staged->header), 0);
    ASSERT_EQ(o3DGetMD2FrameCount(staged), 3);
    for (int f = 0; f < 3; ++f) {
        EXPECT_STREQ(staged->frames[f].name, direct->frames[f].name);
        int bytes = 4 * staged->header.numVertices;
        EXPECT_TRUE(std::equal(staged->frames[f].vertices, staged->frames[f].vertices + bytes,
                               direct->frames[f].vertices));
    }
    int corners = 3 * staged->header.numTriangles;
    EXPECT_EQ(floatsOf(staged->cornerTexCoords, 2 * corners),
              floatsOf(direct->cornerTexCoords, 2 * corners));
    EXPECT_EQ(staged->skin, nullptr);
    o3DFreeMD2(staged);
    o3DFreeMD2(direct);

    for (const char *entry : {"cut.md2", "missing.md2"}) {
        EXPECT_EQ(o3DLoadMD2FromPack(pack, entry), nullptr) << entry;
        EXPECT_TRUE(stagedLeftovers().empty()) << entry;
    }
    EXPECT_EQ(o3DLoadMD2FromPack(nullptr, "tris.md2"), nullptr);
    EXPECT_EQ(o3DLoadMD2FromPack(pack, nullptr), nullptr);
}

TEST_F(StagingAudio, SoundsAndMusicFromAPackMatchTheirFilesAndLeaveNoFile)
{
    WavSpec fixture;
    fixture.channels = 2;
    fixture.samples = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    std::string wav = stringOf(makeWav(fixture));
    std::string cut = wav.substr(0, 30);
    writeBytes(folder / "shot.wav", wav);
    writeBytes(folder / "cut.wav", cut);
    writePack(pathOf("game.dat"), {{"shot.wav", wav}, {"cut.wav", cut}});
    TPack *pack = o3DOpenPack(pathOf("game.dat").c_str());
    ASSERT_NE(pack, nullptr);

    struct Row {
        const char *what;
        AudioLoaded (*fromPack)(TPack *, const char *);
        AudioLoaded (*fromFile)(const char *);
    };
    const Row rows[] = {
        {"sound",
         [](TPack *p, const char *n) {
             TSound sound = {};
             AudioLoaded l = audioLoaded(o3DLoadSoundFromPack(p, &sound, n), sound);
             o3DFreeSound(&sound);
             return l;
         },
         [](const char *f) {
             TSound sound = {};
             AudioLoaded l = audioLoaded(o3DLoadSoundFile(&sound, f), sound);
             o3DFreeSound(&sound);
             return l;
         }},
        {"music",
         [](TPack *p, const char *n) {
             TMusic music = {};
             AudioLoaded l = audioLoaded(o3DLoadMusicFromPack(p, &music, n), music);
             o3DFreeMusic(&music);
             return l;
         },
         [](const char *f) {
             TMusic music = {};
             AudioLoaded l = audioLoaded(o3DLoadMusic(&music, f), music);
             o3DFreeMusic(&music);
             return l;
         }},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        AudioLoaded staged = row.fromPack(pack, "shot.wav");
        EXPECT_EQ(staged.result, 1);
        EXPECT_EQ(staged.samples, fixture.samples);
        EXPECT_TRUE(staged == row.fromFile(pathOf("shot.wav").c_str()));
        AudioLoaded broken = row.fromPack(pack, "cut.wav");
        EXPECT_EQ(broken.result, 0);
        EXPECT_TRUE(broken == row.fromFile(pathOf("cut.wav").c_str()));
        EXPECT_EQ(row.fromPack(pack, "missing.wav").result, 0);
        EXPECT_EQ(row.fromPack(nullptr, "shot.wav").result, 0);
        EXPECT_EQ(row.fromPack(pack, nullptr).result, 0);
        EXPECT_TRUE(stagedLeftovers().empty());
    }
    EXPECT_EQ(gFakeAudio.liveBuffers, 0);
    EXPECT_EQ(o3DLoadSoundFromPack(pack, nullptr, "shot.wav"), 0);
    EXPECT_EQ(o3DLoadMusicFromPack(pack, nullptr, "shot.wav"), 0);

    // A music file that cannot be created fails before the loader runs.
    TMusic music = {};
    std::string blocked = formatted("temp_music_%p.wav", &music);
    ASSERT_TRUE(fs::create_directory(folder / blocked));
    EXPECT_EQ(o3DLoadMusicFromPack(pack, &music, "shot.wav"), 0);
    EXPECT_EQ(music.loaded, 0);
    EXPECT_EQ(stagedLeftovers(), std::vector<std::string>{blocked});

    // The music keeps the name it was loaded from: the staged file's.
    fs::remove(folder / blocked);
    ASSERT_EQ(o3DLoadMusicFromPack(pack, &music, "shot.wav"), 1);
    EXPECT_STREQ(music.name, blocked.c_str());
    o3DFreeMusic(&music);
    EXPECT_TRUE(stagedLeftovers().empty());
}
