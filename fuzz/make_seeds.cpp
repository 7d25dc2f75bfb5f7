// Writes the fuzz targets' seed corpora: small valid and edge-case files of every kind, written by
// code, and the default data's own entries when a game.dat is given (each entry small enough to
// fuzz as it is; the beast's model cut down to two frames). One folder per target under OUT_DIR.
//   make_seeds OUT_DIR [game.dat]
#include "ostrel3d.h"

#include "bmp_writer.h"
#include "font_fixture.h"
#include "hostile_bitmaps.h"
#include "md2_writer.h"
#include "wav_writer.h"

#include <string.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

using Bytes = std::vector<uint8_t>;

// The inputs the fuzzers start from stay at or below the length fuzz.sh lets them grow to.
static const size_t kMaxSeedBytes = 65536;

static fs::path gOut;
static int gWritten = 0;

static Bytes bytesOf(const std::string &text)
{
    return Bytes(text.begin(), text.end());
}

static void seed(const char *target, const std::string &name, const Bytes &bytes)
{
    if (bytes.size() > kMaxSeedBytes)
        return;
    fs::create_directories(gOut / target);
    FILE *file = fopen((gOut / target / name).string().c_str(), "wb");
    if (!file || fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
        fprintf(stderr, "make_seeds: cannot write %s/%s\n", target, name.c_str());
        exit(1);
    }
    fclose(file);
    ++gWritten;
}

static void seedBitmap(const std::string &name, const Bytes &bytes)
{
    seed("bmp24", name, bytes);
    seed("image", name, bytes);
}

static void seedMetrics(const std::string &name, const std::string &text)
{
    seed("font_metrics", name, bytesOf(text));
    // The staging target reads the metrics up to a NUL, then the staged sheet's name.
    seed("staging", name, bytesOf(text + std::string(1, '\0') + "temp_font_123.bmp"));
}

static void appendLe32(Bytes &bytes, uint32_t value)
{
    appendLe(bytes, value, 4);
}

// A pack of the files in order: header, directory, then their bytes.
static Bytes packOf(const std::vector<std::pair<std::string, Bytes>> &files)
{
    Bytes bytes;
    appendLe32(bytes, 2903);
    appendLe32(bytes, (uint32_t)files.size());
    uint32_t offset = 8 + 72 * (uint32_t)files.size();
    for (const auto &file : files) {
        std::string name = file.first;
        name.resize(64, '\0');
        bytes.insert(bytes.end(), name.begin(), name.end());
        appendLe32(bytes, (uint32_t)file.second.size());
        appendLe32(bytes, offset);
        offset += (uint32_t)file.second.size();
    }
    for (const auto &file : files)
        bytes.insert(bytes.end(), file.second.begin(), file.second.end());
    return bytes;
}

static void writeBitmaps(void)
{
    Picture two = makePicture(5, 3, [](int x, int y) {
        return (x + y) % 2 ? Rgb{255, 0, 255} : Rgb{10, 20, 30};
    });
    Picture sixteen = makePicture(7, 4, [](int x, int y) {
        return Rgb{(uint8_t)(x * 30), (uint8_t)(y * 60), (uint8_t)((x * y) % 4 * 50)};
    });
    Picture many = makePicture(6, 5, [](int x, int y) {
        return Rgb{(uint8_t)(x * 40 + y), (uint8_t)(y * 50), (uint8_t)(255 - x * 9)};
    });
    seedBitmap("1bit.bmp", bmpBytes(two, 1));
    seedBitmap("4bit.bmp", bmpBytes(sixteen, 4));
    seedBitmap("8bit.bmp", bmpBytes(sixteen, 8));
    seedBitmap("16bit.bmp", bmpBytes(many, 16));
    seedBitmap("24bit.bmp", bmpBytes(many, 24));
    seedBitmap("24bit_top_down.bmp", bmpBytes(many, 24, true));
    seedBitmap("24bit_1x1.bmp", bmpBytes(solidPicture(1, 1, {1, 2, 3}), 24));
    seedBitmap("32bit.bmp", bmpBytes(many, 32));
    seedBitmap("rle8.bmp", rle8Bytes(sixteen));
    seedBitmap("core_24bit.bmp", coreHeader(2, 2, 24, Bytes(16, 0x80)));
    Bytes noImageSize = bmpBytes(many, 24);
    putLe32(noImageSize, kBmpImageSize, 0);
    putLe32(noImageSize, kBmpDataOffset, 0);
    seedBitmap("24bit_zero_offset_and_size.bmp", noImageSize);
    int i = 0;
    for (const NamedBitmap &hostile : hostileBitmaps())
        seedBitmap("hostile_" + std::to_string(i++) + ".bmp", hostile.bytes);
}

static void writeMetrics(void)
{
    std::vector<std::string> glyphs = {"65 0 0 8 16", "66 8 0 16 16 extra", "32 16 0 20 16"};
    seedMetrics("plain.met", metricsText("sheet.bmp", glyphs));
    seedMetrics("crlf.met", "METRICS1\r\nsheet.bmp\r\n16\r\n65 0 0 8 16\r\n");
    seedMetrics("folder.met", metricsText("fonts\\sheet.bmp", {"-1 0 0 1 1", "300 0 0 1 1"}));
    seedMetrics("no_sheet.met", metricsText("", {}));
    seedMetrics("huge_numbers.met",
                metricsText("s.bmp", {"65 -2147483648 0 2147483647 99999999999999999999"}));
    seedMetrics("header_only.met", "METRICS1");
}

static void writeModels(void)
{
    seed("obj", "quad.obj",
         bytesOf("# a quad\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
                 "vn 0 0 1\nf 1/1/1 2/2/1 3/3/1 4/4/1\n"));
    seed(
        "obj", "forms.obj",
        bytesOf("v 0 0 0\r\nv 1 0 0\r\nv 0 1 0\r\nvn 0 1 0\r\nf 1//1 2//1 3//1\r\nf 1/1 2/1 3/1\r\n"
                "f -1 -2 -3\r\nf 1 2 99\r\n\tf 1 2\r\nvt 0.5\r\no name\r\ng group\r\n"));
    seed("obj", "floats.obj", bytesOf("v 1e38 -1e38 nan\nv inf 0x1p3 .5\nf 1 2 1\n"));
    seed("md2", "square_1.md2", md2Bytes(squareModel(1)));
    seed("md2", "square_3.md2", md2Bytes(squareModel(3)));
    Md2Spec empty = squareModel(2);
    empty.triangles.clear();
    empty.texCoords.clear();
    seed("md2", "no_triangles.md2", md2Bytes(empty));
}

static void writeSounds(void)
{
    WavSpec mono;
    mono.samples = samples16({0, 1000, -1000, 32767, -32768, 5});
    seed("wav", "mono16.wav", makeWav(mono));
    WavSpec stereo;
    stereo.channels = 2;
    stereo.bits = 8;
    stereo.rate = 11025;
    stereo.samples = {0, 255, 128, 128, 1, 2};
    stereo.chunks = {{"LIST", {'I', 'N', 'F', 'O', 0}}, {"fact", {4, 0, 0, 0}}};
    seed("wav", "stereo8_chunks.wav", makeWav(stereo));
    WavSpec extra;
    extra.bits = 24;
    extra.formatExtra = {0, 0};
    extra.samples = Bytes(9, 0x7F);
    seed("wav", "24bit_extra.wav", makeWav(extra));
    WavSpec longData = mono;
    longData.dataSize = 1000;
    seed("wav", "data_past_end.wav", makeWav(longData));
    WavSpec odd = mono;
    odd.chunks = {{"junk", {1, 2, 3}, 0xFFFFFFF0u}};
    seed("wav", "chunk_wraps.wav", makeWav(odd));
}

// Packs go to both pack targets: the reader's and staging's.
static void seedPack(const std::string &name, const Bytes &bytes)
{
    seed("pack", name, bytes);
    seed("staged_pack", name, bytes);
}

static void writePacks(void)
{
    seedPack("three.dat",
             packOf({{"a.txt", bytesOf("hello")}, {"empty", {}}, {"b.bin", Bytes(40, 0xAB)}}));
    seedPack("twins.dat", packOf({{"same", bytesOf("1")}, {"same", bytesOf("22")}}));
    Bytes pastEnd = packOf({{"long", bytesOf("abc")}});
    putLe32(pastEnd, 8 + 64, 100);
    seedPack("entry_past_end.dat", pastEnd);
    // One small entry of every kind staging loads, the font with its sheet.
    WavSpec wav;
    wav.samples = samples16({1, 2, 3, 4});
    Picture sheet = solidPicture(4, 2, {200, 100, 0});
    seedPack("kinds.dat", packOf({{"f.met", bytesOf(metricsText("sheet.bmp", {"65 0 0 2 2"}))},
                                  {"sheet.bmp", bmpBytes(sheet, 24)},
                                  {"m.obj", bytesOf("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n")},
                                  {"m.md2", md2Bytes(squareModel(2))},
                                  {"s.wav", makeWav(wav)},
                                  {"font.bmp", bmpBytes(sheet, 8)}}));
}

static void writeSettings(void)
{
    seed("config", "written.ini",
         bytesOf("[Video]\nResolutionIndex=1\nFullscreen=0\nFOV=60.0\nDrawDistance=1000.0\n\n"
                 "[Graphics]\nShadowQuality=1\n\n[Audio]\nMasterVolume=100\n"));
    seed("config", "odd.ini",
         bytesOf("ResolutionIndex=2\r\nFullscreen=7\r\nFOV=1e999\r\nDrawDistance=-5\r\n"
                 "ShadowQuality=99999999999\r\nMasterVolume=+40\r\nFOV =1\r\n=3\r\n[x\r\n"));
    const char args[][32] = {"512\0"
                             "512\0"
                             "1\0"
                             "12345",
                             "10\0"
                             "5000\0"
                             "9\0"
                             "-1",
                             "--help",
                             "-h",
                             "wide\0tall",
                             " +17\0-20"};
    for (size_t i = 0; i < sizeof args / sizeof args[0]; ++i) {
        size_t length = sizeof args[i];
        while (length > 0 && args[i][length - 1] == '\0')
            --length;
        seed("tellurix_args", "args_" + std::to_string(i), Bytes(args[i], args[i] + length));
    }
}

// The beast's model with its first two frames only: the real sections at a size worth fuzzing.
static Bytes cutModel(const Bytes &md2)
{
    std::string path = (gOut / "cut.md2").string();
    FILE *file = fopen(path.c_str(), "wb");
    if (!file)
        return {};
    fwrite(md2.data(), 1, md2.size(), file);
    fclose(file);
    TMD2Model *model = o3DLoadMD2(path.c_str());
    fs::remove(path);
    if (!model)
        return {};
    const TMD2Header &h = model->header;
    Md2Spec fixture;
    fixture.skinWidth = h.skinWidth;
    fixture.skinHeight = h.skinHeight;
    for (int32_t i = 0; i < h.numTexCoords; ++i)
        fixture.texCoords.push_back({model->texCoords[i].s, model->texCoords[i].t});
    for (int32_t i = 0; i < h.numTriangles; ++i) {
        Md2TriangleSpec t;
        memcpy(t.vertex, model->triangles[i].vertexIndex, sizeof t.vertex);
        memcpy(t.texCoord, model->triangles[i].texCoordIndex, sizeof t.texCoord);
        fixture.triangles.push_back(t);
    }
    for (int32_t f = 0; f < h.numFrames && f < 2; ++f) {
        Md2FrameSpec frame;
        const TMD2Frame &from = model->frames[f];
        memcpy(frame.scale, from.scale, sizeof frame.scale);
        memcpy(frame.translate, from.translate, sizeof frame.translate);
        frame.name = from.name;
        for (int32_t v = 0; v < h.numVertices; ++v) {
            const uint8_t *p = from.vertices + v * 4;
            frame.vertices.push_back({p[0], p[1], p[2], p[3]});
        }
        fixture.frames.push_back(frame);
    }
    o3DFreeMD2(model);
    return md2Bytes(fixture);
}

static bool endsWith(const std::string &name, const char *suffix)
{
    size_t n = strlen(suffix);
    return name.size() >= n && name.compare(name.size() - n, n, suffix) == 0;
}

// Every entry of the default data to the targets that read its kind, and a pack of the small
// ones under their own names.
static int writeDefaultData(const char *gameDat)
{
    TPack *pack = o3DOpenPack(gameDat);
    if (!pack) {
        fprintf(stderr, "make_seeds: %s is no pack\n", gameDat);
        return 0;
    }
    std::vector<std::pair<std::string, Bytes>> small;
    for (int i = 0; i < o3DGetPackFileCount(pack); ++i) {
        std::string name = o3DGetPackEntry(pack, i)->name;
        uint32_t size = 0;
        unsigned char *data = o3DReadPackEntry(pack, name.c_str(), &size);
        if (!data)
            continue;
        Bytes bytes(data, data + size);
        o3DFreePackData(data);
        std::string seedName = "default_" + name;
        if (endsWith(name, ".bmp"))
            seedBitmap(seedName, bytes);
        else if (endsWith(name, ".met"))
            seedMetrics(seedName, std::string(bytes.begin(), bytes.end()));
        else if (endsWith(name, ".obj"))
            seed("obj", seedName, bytes);
        else if (endsWith(name, ".wav"))
            seed("wav", seedName, bytes);
        else if (endsWith(name, ".md2"))
            seed("md2", seedName, cutModel(bytes));
        if (bytes.size() <= 4096)
            small.push_back({name, bytes});
    }
    o3DClosePack(pack);
    if (!small.empty())
        seedPack("default_small_entries.dat", packOf(small));
    return 1;
}

int main(int argc, char **argv)
{
    if (argc < 2 || argc > 3) {
        fprintf(stderr, "usage: make_seeds OUT_DIR [game.dat]\n");
        return 2;
    }
    gOut = argv[1];
    fs::create_directories(gOut);
    writeBitmaps();
    writeMetrics();
    writeModels();
    writeSounds();
    writePacks();
    writeSettings();
    if (argc == 3 && !writeDefaultData(argv[2]))
        return 1;
    printf("make_seeds: %d files in %s\n", gWritten, gOut.string().c_str());
    return 0;
}
