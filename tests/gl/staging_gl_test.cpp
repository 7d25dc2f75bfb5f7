// Staging in a real context: every operation that loads a picture gives from a pack entry exactly
// what its file loader gives from the same bytes on disk (result, record, texels, glyphs), good
// and damaged input alike, and leaves no temporary file; fonts find their sheet through the
// rewritten metrics; a skybox face from a pack is clamped and releases the face it replaces.
#include "gl_test_window.h"

#include "bmp_writer.h"
#include "pack_fixture.h"

#include <functional>
#include <string>
#include <vector>

namespace {

const int kWindowWidth = 160;
const int kWindowHeight = 120;

::testing::Environment *const gStagingWindow = ::testing::AddGlobalTestEnvironment(
    new GlTestWindow(kWindowWidth, kWindowHeight, "staging tests", pumpUntilMapped));

const Rgb kMagenta = {255, 0, 255};

// Everything a load leaves that a test can compare: the result, the record's fields and the
// uploaded texels (and for fonts the glyph table).
struct Loaded {
    int result = -1;
    std::vector<int> fields;
    std::vector<uint8_t> texels;

    bool operator==(const Loaded &o) const
    {
        return result == o.result && fields == o.fields && texels == o.texels;
    }
};

void PrintTo(const Loaded &l, std::ostream *out)
{
    *out << "result " << l.result << ", " << l.fields.size() << " fields, " << l.texels.size()
         << " texel bytes";
}

std::vector<uint8_t> texelsOf(unsigned id)
{
    if (id == 0 || !glIsTexture(id))
        return {};
    glBindTexture(GL_TEXTURE_2D, id);
    GLint width = 0, height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    std::vector<uint8_t> pixels((size_t)width * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

void addTexture(Loaded &l, const TTexture &t)
{
    l.fields.insert(l.fields.end(), {t.width, t.height, t.texWidth, t.texHeight, t.loaded,
                                     t.colorKeyOn, t.keyR, t.keyG, t.keyB, t.additive});
    if (t.mask)
        l.fields.insert(l.fields.end(), t.mask, t.mask + (size_t)t.width * t.height);
    l.texels = texelsOf(t.id);
}

void addFont(Loaded &l, const TFont &f)
{
    addTexture(l, f.sheet);
    l.fields.insert(l.fields.end(), {f.kind, f.loaded, f.lineHeight, f.headerNumber});
    for (const TFontGlyph &g : f.glyphs)
        l.fields.insert(l.fields.end(), {g.x0, g.y0, g.x1, g.y1, g.width, g.height, g.present});
}

// One staging operation beside the file loader it stands for; `good` and `broken` name inputs
// that exist both as files in the folder and as pack entries of the same bytes.
struct Row {
    const char *what;
    std::function<Loaded(TPack *, const char *)> fromPack;
    std::function<Loaded(const char *)> fromFile;
    const char *good;
    const char *broken;
};

template <class Record, class Add, class Load, class Free>
Loaded loadInto(Add add, Load load, Free release)
{
    Record record = {};
    Loaded l;
    l.result = load(&record);
    add(l, record);
    release(&record);
    return l;
}

Loaded textureLoad(const std::function<int(TTexture *)> &load)
{
    return loadInto<TTexture>(addTexture, load, o3DFreeTexture);
}

Loaded backgroundLoad(const std::function<int(TBackground *)> &load)
{
    return loadInto<TBackground>(
        [](Loaded &l, const TBackground &bg) {
            addTexture(l, bg.image);
            l.fields.push_back(bg.loaded);
        },
        [&](TBackground *bg) {
            o3DInitBackground(bg);
            return load(bg);
        },
        o3DFreeBackground);
}

Loaded fontLoad(const std::function<int(TFont *)> &load)
{
    return loadInto<TFont>(addFont, load, o3DFreeFont);
}

Loaded skyboxLoad(const std::function<int(TSkybox *)> &load)
{
    TSkybox *sky = o3DCreateSkybox(10.0f);
    Loaded l;
    l.result = load(sky);
    l.fields.push_back(sky->ready);
    if (sky->faces[O3D_SKYBOX_RIGHT])
        addTexture(l, *sky->faces[O3D_SKYBOX_RIGHT]);
    o3DFreeSkybox(sky);
    return l;
}

const std::vector<Row> &rows()
{
    static const std::vector<Row> table = {
        {"texture",
         [](TPack *p, const char *n) {
             return textureLoad([&](TTexture *t) { return o3DLoadTextureFromPack(p, t, n); });
         },
         [](const char *f) { return textureLoad([&](TTexture *t) { return o3DLoadImage(t, f); }); },
         "picture.bmp", "cut.bmp"},
        {"keyed image",
         [](TPack *p, const char *n) {
             return textureLoad(
                 [&](TTexture *t) { return o3DLoadImageFromPack(p, t, n, 255, 0, 255); });
         },
         [](const char *f) {
             return textureLoad([&](TTexture *t) { return o3DLoadImageKeyed(t, f, 255, 0, 255); });
         },
         "picture.bmp", "cut.bmp"},
        {"3d texture",
         [](TPack *p, const char *n) {
             return textureLoad([&](TTexture *t) { return o3DLoadTextureImageFromPack(p, t, n); });
         },
         [](const char *f) {
             return textureLoad([&](TTexture *t) { return o3DLoadTexture(t, f); });
         },
         "picture.bmp", "cut.bmp"},
        {"background",
         [](TPack *p, const char *n) {
             return backgroundLoad(
                 [&](TBackground *bg) { return o3DLoadBackgroundFromPack(p, bg, n); });
         },
         [](const char *f) {
             return backgroundLoad([&](TBackground *bg) { return o3DLoadBackground(bg, f); });
         },
         "picture.bmp", "cut.bmp"},
        {"keyed background",
         [](TPack *p, const char *n) {
             return backgroundLoad([&](TBackground *bg) {
                 return o3DLoadBackgroundKeyedFromPack(p, bg, n, 255, 0, 255);
             });
         },
         [](const char *f) {
             return backgroundLoad(
                 [&](TBackground *bg) { return o3DLoadBackgroundKeyed(bg, f, 255, 0, 255); });
         },
         "picture.bmp", "cut.bmp"},
        {"skybox face",
         [](TPack *p, const char *n) {
             return skyboxLoad(
                 [&](TSkybox *s) { return o3DLoadSkyboxFaceFromPack(p, s, O3D_SKYBOX_RIGHT, n); });
         },
         [](const char *f) {
             return skyboxLoad(
                 [&](TSkybox *s) { return o3DLoadSkyboxFace(s, O3D_SKYBOX_RIGHT, f); });
         },
         "picture.bmp", "cut.bmp"},
        {"font",
         [](TPack *p, const char *n) {
             return fontLoad([&](TFont *f) { return o3DLoadFontFromPackDefault(p, f, n); });
         },
         [](const char *m) { return fontLoad([&](TFont *f) { return o3DLoadFont(f, m); }); },
         "font.met", "broken.met"},
        {"keyed font",
         [](TPack *p, const char *n) {
             return fontLoad([&](TFont *f) { return o3DLoadFontFromPack(p, f, n, 255, 0, 255); });
         },
         [](const char *m) {
             return fontLoad([&](TFont *f) { return o3DLoadFontKeyed(f, m, 255, 0, 255); });
         },
         "font.met", "broken.met"},
    };
    return table;
}

std::string bytesOf(const std::vector<uint8_t> &bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

const std::string kGlyphLines = "16\n65 0 0 8 8\n66 8 0 16 8\n";

// Each test's folder holds these files, and game.dat holds them again as entries.
class Staging : public PackTest {
  protected:
    void SetUp() override
    {
        PackTest::SetUp();
        Picture picture = makePicture(6, 5, [](int x, int y) {
            return (x + y) % 3 == 0 ? kMagenta : Rgb{(uint8_t)(40 * x), (uint8_t)(50 * y), 90};
        });
        Picture sheet = makePicture(16, 8, [](int x, int y) {
            return (x % 8 + y) % 2 ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
        });
        std::string bmp = bytesOf(bmpBytes(picture, 24));
        files = {
            {"picture.bmp", bmp},
            {"cut.bmp", bmp.substr(0, 40)},
            {"glyphs.bmp", bytesOf(bmpBytes(sheet, 24))},
            {"font.met", "METRICS1\nglyphs.bmp\n" + kGlyphLines},
            {"broken.met", "METRICS2\nglyphs.bmp\n" + kGlyphLines},
        };
        for (const FixtureFile &file : files)
            writeBytes(folder / file.name, file.data);
    }

    TPack *openPack(const std::vector<FixtureFile> &extra = {})
    {
        std::vector<FixtureFile> all = files;
        all.insert(all.end(), extra.begin(), extra.end());
        writePack(pathOf("game.dat"), all);
        return o3DOpenPack(pathOf("game.dat").c_str());
    }

    std::vector<FixtureFile> files;
};

} // namespace

TEST_F(Staging, EveryOperationGivesWhatItsFileLoaderGivesAndLeavesNoFile)
{
    TPack *pack = openPack();
    ASSERT_NE(pack, nullptr);
    for (const Row &row : rows()) {
        SCOPED_TRACE(row.what);
        Loaded staged = row.fromPack(pack, row.good);
        EXPECT_TRUE(stagedLeftovers().empty());
        Loaded direct = row.fromFile(pathOf(row.good).c_str());
        EXPECT_EQ(staged.result, 1);
        EXPECT_FALSE(staged.texels.empty());
        EXPECT_EQ(staged, direct);

        Loaded stagedBroken = row.fromPack(pack, row.broken);
        EXPECT_TRUE(stagedLeftovers().empty());
        EXPECT_EQ(stagedBroken.result, 0);
        EXPECT_EQ(stagedBroken, row.fromFile(pathOf(row.broken).c_str()));
    }
}

// The edge cases of the sheet's name: CR LF line ends, and an empty second line meaning
// "font.bmp".
TEST_F(Staging, FontsFindTheirSheetByTheSecondLineOrByTheDefaultName)
{
    TPack *pack = openPack({
        {"crlf.met", "METRICS1\r\nglyphs.bmp\r\n16\r\n65 0 0 8 8\r\n66 8 0 16 8\r\n"},
        {"blank.met", "METRICS1\n\n" + kGlyphLines},
        {"font.bmp", files[2].data},
        {"nosheet.met", "METRICS1\nabsent.bmp\n" + kGlyphLines},
    });
    ASSERT_NE(pack, nullptr);
    Loaded direct = fontLoad([&](TFont *f) { return o3DLoadFont(f, pathOf("font.met").c_str()); });
    ASSERT_EQ(direct.result, 1);
    for (const char *entry : {"crlf.met", "blank.met"}) {
        SCOPED_TRACE(entry);
        EXPECT_EQ(fontLoad([&](TFont *f) { return o3DLoadFontFromPackDefault(pack, f, entry); }),
                  direct);
        EXPECT_TRUE(stagedLeftovers().empty());
    }
    TFont font = {};
    EXPECT_EQ(o3DLoadFontFromPackDefault(pack, &font, "nosheet.met"), 0);
    EXPECT_EQ(font.loaded, 0);
    EXPECT_TRUE(stagedLeftovers().empty());
}

TEST_F(Staging, ASkyboxFaceFromAPackIsClampedAndReleasesTheFaceItReplaces)
{
    TPack *pack = openPack();
    ASSERT_NE(pack, nullptr);
    TSkybox *sky = o3DCreateSkybox(10.0f);
    ASSERT_NE(sky, nullptr);
    ASSERT_EQ(o3DLoadSkyboxFaceFromPack(pack, sky, O3D_SKYBOX_TOP, "picture.bmp"), 1);
    TTexture *first = sky->faces[O3D_SKYBOX_TOP];
    ASSERT_NE(first, nullptr);
    unsigned firstId = first->id;
    ASSERT_TRUE(glIsTexture(firstId));

    ASSERT_EQ(o3DLoadSkyboxFaceFromPack(pack, sky, O3D_SKYBOX_TOP, "picture.bmp"), 1);
    TTexture *second = sky->faces[O3D_SKYBOX_TOP];
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second->id, firstId);
    EXPECT_FALSE(glIsTexture(firstId)) << "the replaced face's texture is deleted";
    for (GLenum wrap : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T}) {
        GLint value = 0;
        glBindTexture(GL_TEXTURE_2D, second->id);
        glGetTexParameteriv(GL_TEXTURE_2D, wrap, &value);
        EXPECT_EQ(value, GL_CLAMP);
    }

    // A face that fails keeps the one it would have replaced.
    EXPECT_EQ(o3DLoadSkyboxFaceFromPack(pack, sky, O3D_SKYBOX_TOP, "cut.bmp"), 0);
    EXPECT_EQ(sky->faces[O3D_SKYBOX_TOP], second);
    EXPECT_TRUE(glIsTexture(second->id));

    // Ready is the caller's to set, even with all six faces in.
    for (int face = 0; face < 6; ++face)
        ASSERT_EQ(o3DLoadSkyboxFaceFromPack(pack, sky, face, "picture.bmp"), 1);
    EXPECT_EQ(sky->ready, 0);
    EXPECT_TRUE(stagedLeftovers().empty());
    o3DFreeSkybox(sky);
}
