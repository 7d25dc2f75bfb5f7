// The game's default data as the build makes it: the same bytes on every run, the pack holding
// exactly what assetgen writes, and each asset shaped for how the game uses it (walkable ground
// where things stand, a sky without seams, keyed pictures without fringes, fonts covering every
// printable character, the enemy's animation rows, sounds the engine's WAV reader takes, a
// seamless music loop and a short film).
#include "assetgen.h"

#include "fake_audio.h"

#include "ostrel3d.h"

#include <gtest/gtest.h>

#include <math.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <sstream>

namespace {

const AssetList &assets()
{
    static AssetList list;
    if (list.empty())
        makeAllAssets(&list, ASSETGEN_TEST_FONT);
    return list;
}

const Bytes &entry(const char *name)
{
    for (const Asset &a : assets())
        if (a.name == name)
            return a.bytes;
    static const Bytes none;
    ADD_FAILURE() << "no asset named " << name;
    return none;
}

Image picture(const char *name)
{
    Image image;
    EXPECT_TRUE(readBmp(entry(name), &image)) << name;
    return image;
}

uint32_t le32(const Bytes &b, size_t at)
{
    return (uint32_t)b[at] | ((uint32_t)b[at + 1] << 8) | ((uint32_t)b[at + 2] << 16) |
           ((uint32_t)b[at + 3] << 24);
}

float colourDistance(Rgb a, Rgb b)
{
    return fabsf(a.r - b.r) + fabsf(a.g - b.g) + fabsf(a.b - b.b);
}

} // namespace

TEST(AssetgenData, TwoRunsGiveIdenticalBytes)
{
    AssetList again;
    ASSERT_EQ(makeAllAssets(&again, ASSETGEN_TEST_FONT), 1);
    ASSERT_EQ(again.size(), assets().size());
    for (size_t i = 0; i < again.size(); ++i) {
        EXPECT_EQ(again[i].name, assets()[i].name);
        EXPECT_TRUE(again[i].bytes == assets()[i].bytes) << again[i].name << " differs";
    }
}

TEST(AssetgenData, MissingFontIsRefused)
{
    AssetList list;
    EXPECT_EQ(makeAllAssets(&list, "no-such-font.ttf"), 0);
}

TEST(AssetgenData, BuiltPackHoldsExactlyTheGeneratedAssetsButTheFilm)
{
    TPack *pack = o3DOpenPack(ASSETGEN_TEST_PACK);
    ASSERT_NE(pack, nullptr) << "build the game_data target first";
    std::set<std::string> expected;
    for (const Asset &a : assets())
        if (a.name != "intro.avi")
            expected.insert(a.name);
    EXPECT_EQ(o3DGetPackFileCount(pack), (int)expected.size());
    for (const std::string &name : expected) {
        uint32_t size = 0;
        unsigned char *data = o3DReadPackEntry(pack, name.c_str(), &size);
        ASSERT_NE(data, nullptr) << name;
        const Bytes &made = entry(name.c_str());
        EXPECT_TRUE(size == made.size() && memcmp(data, made.data(), size) == 0)
            << name << " in the pack is not what assetgen makes now";
        o3DFreePackData(data);
    }
    o3DClosePack(pack);
    EXPECT_EQ(o3DGetPackFileSize(nullptr, "tris.md2"), -1);
}

TEST(AssetgenData, GroundIsLevelWhereThePlayerTreeAndEnemyStand)
{
    Image map = picture("heightmap.bmp");
    ASSERT_EQ(map.width, 512);
    ASSERT_EQ(map.height, 512);
    std::vector<uint8_t> heights((size_t)512 * 512);
    for (int r = 0; r < 512; ++r)
        for (int c = 0; c < 512; ++c)
            heights[(size_t)r * 512 + c] = (uint8_t)map.get(c, r).r;
    for (GroundPoint p : {kSpawnPoint, kTreePoint, kEnemyPoint}) {
        const float centre = groundHeight(heights, p.x, p.z);
        EXPECT_GT(centre, 0.5f) << p.x << "," << p.z; // inside the map, not on its zero edge
        // Within the body's reach the ground stays within a hand's breadth of the centre.
        for (float dx = -3; dx <= 3; dx += 0.5f)
            for (float dz = -3; dz <= 3; dz += 0.5f)
                EXPECT_NEAR(groundHeight(heights, p.x + dx, p.z + dz), centre, 0.15f)
                    << "at " << p.x + dx << "," << p.z + dz;
    }
    // Hills elsewhere: the map is not flat.
    float lo = 1e9f, hi = -1e9f;
    for (float x = -400; x <= 400; x += 8)
        for (float z = -400; z <= 400; z += 8) {
            lo = fminf(lo, groundHeight(heights, x, z));
            hi = fmaxf(hi, groundHeight(heights, x, z));
        }
    EXPECT_GT(hi - lo, 12.0f);
}

// The skybox's corners per face (front, back, left, right, top, bottom), texture (0, 0) at the
// first, running counter-clockwise as the engine lays the quads out.
static const float kSkyCorners[6][4][3] = {{{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}},
                                           {{1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}},
                                           {{-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}},
                                           {{1, -1, 1}, {1, -1, -1}, {1, 1, -1}, {1, 1, 1}},
                                           {{-1, 1, 1}, {1, 1, 1}, {1, 1, -1}, {-1, 1, -1}},
                                           {{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}}};

TEST(AssetgenData, SkyFacesMeetWithoutSeamsAndLookUpward)
{
    static const char *const kNames[6] = {"front", "back", "left", "right", "top", "bottom"};
    // Every edge pixel by the direction it shows; the same direction on two faces must have the
    // same colour. A texture row counts from the bottom, as the engine uploads it.
    std::map<std::tuple<int, int, int>, Rgb> seen;
    int shared = 0;
    for (int f = 0; f < 6; ++f) {
        Image face = picture((std::string("skybox_") + kNames[f] + ".bmp").c_str());
        ASSERT_EQ(face.width, 256);
        ASSERT_EQ(face.height, 256);
        const int n = face.width;
        for (int i = 0; i < n; ++i)
            for (int edge = 0; edge < 4; ++edge) {
                const int col = edge == 0 ? 0 : edge == 1 ? n - 1 : i;
                const int rowFromBottom = edge == 2 ? 0 : edge == 3 ? n - 1 : i;
                const float s = (float)col / (n - 1), t = (float)rowFromBottom / (n - 1);
                int key[3];
                for (int a = 0; a < 3; ++a) {
                    const float *c0 = kSkyCorners[f][0], *c1 = kSkyCorners[f][1],
                                *c3 = kSkyCorners[f][3];
                    key[a] =
                        (int)lrintf((c0[a] + s * (c1[a] - c0[a]) + t * (c3[a] - c0[a])) * 1000);
                }
                const Rgb colour = face.get(col, n - 1 - rowFromBottom);
                auto found = seen.find({key[0], key[1], key[2]});
                if (found == seen.end()) {
                    seen[{key[0], key[1], key[2]}] = colour;
                } else {
                    ++shared;
                    EXPECT_LE(colourDistance(found->second, colour), 6.0f)
                        << kNames[f] << " edge " << edge << " pixel " << i;
                }
            }
    }
    EXPECT_GE(shared, 6 * 4 * 256 / 2 - 16); // every edge pixel met its neighbour
    // Overcast: the top is cloud-grey, the horizon the fog's colour (0.7, 0.72, 0.75).
    Image front = picture("skybox_front.bmp");
    const Rgb horizon = front.get(128, 128);
    EXPECT_LE(colourDistance(horizon, {178.5f, 183.6f, 191.25f}), 12.0f);
}

TEST(AssetgenData, SnowTextureTilesWithoutSeams)
{
    Image snow = picture("terrain.bmp");
    ASSERT_EQ(snow.width, 256);
    ASSERT_EQ(snow.height, 256);
    // The step across the wrap is no larger than the steps inside the texture.
    double inside = 0, across = 0, acrossRows = 0;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x + 1 < 256; ++x)
            inside += colourDistance(snow.get(x, y), snow.get(x + 1, y));
        across += colourDistance(snow.get(255, y), snow.get(0, y));
        acrossRows += colourDistance(snow.get(y, 255), snow.get(y, 0));
    }
    inside /= 255.0;
    EXPECT_LT(across, inside * 2.0);
    EXPECT_LT(acrossRows, inside * 2.0);
    // Snow: bright, and with enough texture to read distance on unlit ground.
    EXPECT_GT(inside / 256.0, 1.0);
}

TEST(AssetgenData, KeyedPicturesHaveOnlyKeyOrClearColours)
{
    for (const char *name : {"health.bmp", "title.bmp"}) {
        Image image = picture(name);
        const Rgb key = {255, 0, 255};
        EXPECT_EQ(colourDistance(image.get(0, 0), key), 0.0f) << name;
        int keyed = 0, drawn = 0;
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x) {
                const float d = colourDistance(image.get(x, y), key);
                keyed += d == 0.0f;
                drawn += d != 0.0f;
                // A near-magenta pixel would show as a pink fringe around the picture.
                EXPECT_TRUE(d == 0.0f || d > 150.0f) << name << " at " << x << "," << y;
            }
        EXPECT_GT(keyed, 0) << name;
        EXPECT_GT(drawn, image.width * image.height / 10) << name;
    }
    Image fire = picture("fire.bmp");
    for (int i = 0; i < fire.width; ++i) {
        EXPECT_EQ(colourDistance(fire.get(i, 0), {0, 0, 0}), 0.0f);
        EXPECT_EQ(colourDistance(fire.get(0, i), {0, 0, 0}), 0.0f);
    }
    EXPECT_GT(fire.get(fire.width / 2, fire.height / 2).r, 240.0f);
}

TEST(AssetgenData, FontsCoverEveryPrintableCharacterOnABlackSheet)
{
    for (const char *base : {"BankGothic16", "BankGothic24"}) {
        const Bytes &met = entry((std::string(base) + ".met").c_str());
        std::istringstream lines(std::string(met.begin(), met.end()));
        std::string header, sheetName, number;
        std::getline(lines, header);
        std::getline(lines, sheetName);
        std::getline(lines, number);
        EXPECT_EQ(header, "METRICS1");
        EXPECT_EQ(sheetName, std::string(base) + ".bmp");
        Image sheet = picture(sheetName.c_str());
        std::set<int> codes;
        int code, x0, y0, x1, y1, height = -1;
        while (lines >> code >> x0 >> y0 >> x1 >> y1) {
            codes.insert(code);
            EXPECT_TRUE(x0 >= 0 && y0 >= 0 && x1 <= sheet.width && y1 <= sheet.height && x1 > x0)
                << base << " glyph " << code;
            height = height < 0 ? y1 - y0 : height;
            EXPECT_EQ(y1 - y0, height) << base << " glyph " << code;
            int lit = 0;
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x)
                    lit += colourDistance(sheet.get(x, y), {0, 0, 0}) > 0;
            EXPECT_EQ(lit > 0, code != ' ') << base << " glyph " << code;
        }
        for (int c = 32; c <= 126; ++c)
            EXPECT_TRUE(codes.count(c)) << base << " lacks " << (char)c;
        EXPECT_EQ(colourDistance(sheet.get(sheet.width - 1, sheet.height - 1), {0, 0, 0}), 0.0f);
    }
}

namespace {

// Frame `f` of the MD2 in metres about the model's origin, z up, as the game scales it.
struct Md2Pose {
    std::string name;
    std::vector<float> xyz;
};

std::vector<Md2Pose> md2Frames(const Bytes &md2, int *numVertices)
{
    std::vector<Md2Pose> frames;
    if (md2.size() < 68 || le32(md2, 0) != 0x32504449u || le32(md2, 4) != 8)
        return frames;
    const uint32_t frameSize = le32(md2, 16), count = le32(md2, 40), offset = le32(md2, 56);
    *numVertices = (int)le32(md2, 24);
    if ((uint64_t)offset + (uint64_t)frameSize * count > md2.size() ||
        frameSize != 40 + 4u * (uint32_t)*numVertices)
        return frames;
    for (uint32_t f = 0; f < count; ++f) {
        const uint8_t *p = &md2[offset + f * frameSize];
        float scale[3], translate[3];
        memcpy(scale, p, 12);
        memcpy(translate, p + 12, 12);
        Md2Pose pose;
        pose.name.assign((const char *)p + 24, strnlen((const char *)p + 24, 16));
        for (int v = 0; v < *numVertices; ++v)
            for (int a = 0; a < 3; ++a)
                pose.xyz.push_back((p[40 + v * 4 + a] * scale[a] + translate[a]) * 0.06f);
        frames.push_back(pose);
    }
    return frames;
}

float largestMove(const Md2Pose &a, const Md2Pose &b)
{
    float most = 0;
    for (size_t i = 0; i < a.xyz.size(); ++i)
        most = fmaxf(most, fabsf(a.xyz[i] - b.xyz[i]));
    return most;
}

} // namespace

TEST(AssetgenData, EnemyHasTheGamesFrameLayoutAndEveryPlayedRowMoves)
{
    int vertices = 0;
    const std::vector<Md2Pose> frames = md2Frames(entry("tris.md2"), &vertices);
    ASSERT_EQ((int)frames.size(), kBeastFrameCount);
    EXPECT_EQ(frames[0].name, "stand01");
    EXPECT_EQ(frames[40].name, "run01");
    EXPECT_EQ(frames[46].name, "attack01");
    EXPECT_EQ(frames[54].name, "pain01");
    EXPECT_EQ(frames[178].name, "death01");
    EXPECT_EQ(frames[197].name, "deathc08");
    // Every step of every played row moves the body, looping rows through their wrap too
    // (all but death, which the game holds on its last frame).
    for (int row = 0; row < 5; ++row) {
        const AnimationRow r = kPlayedRows[row];
        for (int f = r.first; f <= r.last; ++f) {
            const int next = f < r.last ? f + 1 : r.first;
            if (row == 4 && f == r.last)
                break;
            EXPECT_GT(largestMove(frames[f], frames[next]), 0.02f)
                << "row " << row << " frame " << f << " to " << next;
        }
    }
    // Standing: feet on the ground (1.3 below the origin), about 3 m tall, facing +x (its head
    // and chest lean forward of its middle). Dead: lying low.
    auto extent = [&](const Md2Pose &p, int axis, bool top) {
        float v = top ? -1e9f : 1e9f;
        for (int i = 0; i < vertices; ++i)
            v = top ? fmaxf(v, p.xyz[i * 3 + axis]) : fminf(v, p.xyz[i * 3 + axis]);
        return v;
    };
    for (int f : {0, 20, 40, 46, 54}) {
        EXPECT_NEAR(extent(frames[f], 2, false), -1.3f, 0.12f) << "frame " << f;
        EXPECT_GT(extent(frames[f], 2, true), 1.2f) << "frame " << f; // 2.5 m above the ground
        EXPECT_GT(extent(frames[f], 0, true), -extent(frames[f], 0, false)) << "frame " << f;
    }
    const Md2Pose &dead = frames[183];
    EXPECT_NEAR(extent(dead, 2, false), -1.3f, 0.12f);
    EXPECT_LT(extent(dead, 2, true), 0.8f); // at most about 2 m above the ground
}

TEST(AssetgenData, SoundsLoadThroughTheEngineAndTheMusicLoopsWithoutAJump)
{
    installFakeAudio();
    ASSERT_EQ(o3DSoundInit(nullptr), 1);
    struct Expect {
        const char *name;
        float shortest, longest; // seconds
    };
    static const Expect kSounds[] = {
        {"shot.wav", 0.1f, 1.0f},        {"walk.wav", 0.3f, 1.5f},
        {"jump.wav", 0.1f, 1.0f},        {"enemysound.wav", 0.5f, 3.0f},
        {"enemydeath.wav", 1.0f, 4.0f},  {"playerhurt.wav", 0.1f, 1.0f},
        {"playerdeath.wav", 0.5f, 3.0f}, {"select.wav", 0.03f, 0.3f},
        {"day.wav", 20.0f, 40.0f}};
    for (const Expect &e : kSounds) {
        const Bytes &wav = entry(e.name);
        TSound sound = {};
        ASSERT_EQ(o3DLoadSoundFromMemory(&sound, wav.data(), (int)wav.size()), 1) << e.name;
        EXPECT_EQ(sound.sampleRate, 22050u) << e.name;
        EXPECT_EQ(sound.bitsPerSample, 16u) << e.name;
        EXPECT_EQ(sound.channels, 1u) << e.name;
        const float seconds = (float)sound.size / 2 / 22050;
        EXPECT_GE(seconds, e.shortest) << e.name;
        EXPECT_LE(seconds, e.longest) << e.name;
        o3DFreeSound(&sound);
    }
    // The loop's wrap is a step like any other: no larger than the largest inside it.
    const Bytes &day = entry("day.wav");
    std::vector<int> s;
    for (size_t i = 44; i + 1 < day.size(); i += 2)
        s.push_back((int16_t)(day[i] | (day[i + 1] << 8)));
    int largest = 0;
    for (size_t i = 0; i + 1 < s.size(); ++i)
        largest = std::max(largest, abs(s[i + 1] - s[i]));
    EXPECT_LE(abs(s.front() - s.back()), largest);
    EXPECT_LT(abs(s.front() - s.back()), 1500);
    // The footsteps loop too: they begin and end nearly silent.
    const Bytes &walk = entry("walk.wav");
    const int first = (int16_t)(walk[44] | (walk[45] << 8));
    const int last = (int16_t)(walk[walk.size() - 2] | (walk[walk.size() - 1] << 8));
    EXPECT_LT(abs(first - last), 300);
    o3DSoundShutdown();
}

TEST(AssetgenData, FilmIsShortSmallAndPlainlyLaidOut)
{
    const Bytes &avi = entry("intro.avi");
    EXPECT_LT(avi.size(), 10u * 1024 * 1024);
    ASSERT_GT(avi.size(), 256u);
    EXPECT_EQ(memcmp(&avi[0], "RIFF", 4), 0);
    EXPECT_EQ(le32(avi, 4), avi.size() - 8);
    EXPECT_EQ(memcmp(&avi[8], "AVI LIST", 8), 0);
    // avih: microseconds per frame, ..., frame count at +16, streams +24, width +32, height +36.
    const size_t avih = 32;
    ASSERT_EQ(memcmp(&avi[avih - 8], "avih", 4), 0);
    const double seconds = le32(avi, avih) * 1e-6 * le32(avi, avih + 16);
    EXPECT_GE(seconds, 4.0);
    EXPECT_LE(seconds, 8.0);
    EXPECT_EQ(le32(avi, avih + 24), 2u);
    EXPECT_EQ(le32(avi, avih + 32), 320u);
    EXPECT_EQ(le32(avi, avih + 36), 180u);
    const std::string text(avi.begin(), avi.end());
    EXPECT_NE(text.find("vids"), std::string::npos);
    EXPECT_NE(text.find("auds"), std::string::npos);
    const size_t index = text.rfind("idx1");
    ASSERT_NE(index, std::string::npos);
    EXPECT_EQ(le32(avi, index + 4), le32(avi, avih + 16) * 2 * 16); // picture + sound per frame
}

namespace {

std::vector<std::array<float, 3>> objPositions(const Bytes &obj)
{
    std::vector<std::array<float, 3>> out;
    std::istringstream in(std::string(obj.begin(), obj.end()));
    std::string line;
    while (std::getline(in, line)) {
        std::array<float, 3> p;
        if (sscanf(line.c_str(), "v %f %f %f", &p[0], &p[1], &p[2]) == 3)
            out.push_back(p);
    }
    return out;
}

// Six times the volume the triangles enclose, signed by their winding: positive when they wind
// counter-clockwise seen from outside.
double signedVolume(const Bytes &obj)
{
    const auto p = objPositions(obj);
    std::istringstream in(std::string(obj.begin(), obj.end()));
    std::string line;
    double volume = 0;
    while (std::getline(in, line)) {
        int a, b, c, skip;
        if (sscanf(line.c_str(), "f %d/%d/%d %d/%d/%d %d/%d/%d", &a, &skip, &skip, &b, &skip, &skip,
                   &c, &skip, &skip) != 9)
            continue;
        const auto &u = p[a - 1], &v = p[b - 1], &w = p[c - 1];
        volume += u[0] * (v[1] * w[2] - v[2] * w[1]) - u[1] * (v[0] * w[2] - v[2] * w[0]) +
                  u[2] * (v[0] * w[1] - v[1] * w[0]);
    }
    return volume;
}

} // namespace

TEST(AssetgenData, SpruceFitsTheTreesPlaceAndGunSitsLowerRightFacingIn)
{
    // The game draws the spruce scaled by 3 and keeps bodies 2.5 units from its axis.
    const auto tree = objPositions(entry("tree_winter.obj"));
    ASSERT_FALSE(tree.empty());
    float top = 0, reach = 0, bottom = 1e9f;
    for (const auto &p : tree) {
        top = fmaxf(top, p[1] * 3);
        bottom = fminf(bottom, p[1] * 3);
        reach = fmaxf(reach, sqrtf(p[0] * p[0] + p[2] * p[2]) * 3);
    }
    EXPECT_GT(top, 8.0f);
    EXPECT_LT(top, 14.0f);
    EXPECT_LE(bottom, 0.0f); // the trunk reaches into the ground
    EXPECT_LE(reach, 3.2f);

    // The gun in the eye's frame: right, up and forward as the game places it.
    const auto gun = objPositions(entry("gun.obj"));
    ASSERT_FALSE(gun.empty());
    float nearest = 1e9f, farthest = 0;
    for (const auto &p : gun) {
        const float right = 0.45f - 0.01f * p[2], up = -1.3f + 0.01f * p[1];
        const float forward = 0.5f - 0.01f * p[0];
        nearest = fminf(nearest, forward);
        farthest = fmaxf(farthest, forward);
        EXPECT_GT(right, 0.2f);
        EXPECT_LT(up, -0.15f);
        EXPECT_LT(fabsf(right / forward), 2.0f); // not beside the eye
    }
    EXPECT_GT(nearest, 0.1f);  // beyond the near plane
    EXPECT_GT(farthest, 1.1f); // the barrel reaches into the screen
    // The game culls front faces when drawing the gun, so its closed parts wind inwards.
    EXPECT_LT(signedVolume(entry("gun.obj")), 0.0);
}
