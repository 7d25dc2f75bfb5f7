// MD2 models without a display: decoding of files the tests write, refusal of damaged files
// without leaking or leaving the file open, the animation table and ranges, stepping through
// time, and the pose computation with its rate limit and cache over a scripted clock.
#include "ostrel3d.h"

#include "assets/md2.h"

#include "fake_platform.h"
#include "md2_writer.h"

#include <gtest/gtest.h>

#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include <functional>

namespace {

class Md2 : public ::testing::Test {
  protected:
    ScratchFolder folder;
    TMD2Model *model = nullptr;

    void SetUp() override
    {
        installFakePlatform();
        gFake.frequency = 1000000;
        o3DInitTimer();
    }
    void TearDown() override
    {
        o3DFreeMD2(model);
        platformResetSeam();
    }
    TMD2Model *load(const std::vector<uint8_t> &bytes)
    {
        std::string path = folder.file("model.md2");
        EXPECT_TRUE(writeBytes(path, bytes));
        return o3DLoadMD2(path.c_str());
    }
    // Lets `seconds` of engine time pass in one frame.
    void passTime(double seconds)
    {
        gFake.counter += (int64_t)(seconds * 1e6);
        o3DUpdateTimer();
    }
};

TEST_F(Md2, DecodesHeaderSectionsAndFrames)
{
    Md2Spec fixture = squareModel(2);
    fixture.skinWidth = 64;
    fixture.skinHeight = 32;
    fixture.texCoords[1] = {16, 8};
    Md2FrameSpec &frame = fixture.frames[1];
    frame.scale[0] = 0.5f;
    frame.scale[1] = 2.0f;
    frame.scale[2] = 0.25f;
    frame.translate[0] = 10.0f;
    frame.translate[1] = -3.0f;
    frame.translate[2] = 7.0f;
    frame.name = "runnerrunnerrunner"; // longer than its 16 bytes: cut and terminated
    frame.vertices[2] = {200, 100, 40, 161};
    model = load(md2Bytes(fixture));
    ASSERT_NE(model, nullptr);

    EXPECT_EQ(model->header.numVertices, 4);
    EXPECT_EQ(model->header.numTriangles, 2);
    EXPECT_EQ(model->header.numTexCoords, 4);
    EXPECT_EQ(model->header.frameSize, 56);
    EXPECT_EQ(o3DGetMD2FrameCount(model), 2);
    EXPECT_STREQ(o3DGetMD2FrameName(model, 0), "frame0");
    EXPECT_STREQ(o3DGetMD2FrameName(model, 1), "runnerrunnerrun");
    EXPECT_EQ(o3DGetMD2FrameName(model, 2), nullptr);
    EXPECT_EQ(o3DGetMD2FrameName(model, -1), nullptr);
    EXPECT_EQ(model->triangles[1].vertexIndex[2], 3);
    EXPECT_EQ(model->texCoords[1].s, 16);
    EXPECT_EQ(model->texCoords[1].t, 8);
    EXPECT_EQ(model->frames[1].vertices[8 + 3], 161);

    // u = s / skinWidth, v = 1 - t / skinHeight, per corner of each triangle.
    const float *uv = model->cornerTexCoords;
    EXPECT_FLOAT_EQ(uv[0], 0.0f); // (0, 32): t = skinHeight gives v = 0
    EXPECT_FLOAT_EQ(uv[1], 0.0f);
    EXPECT_FLOAT_EQ(uv[2], 0.25f); // (16, 8)
    EXPECT_FLOAT_EQ(uv[3], 0.75f);
    EXPECT_FLOAT_EQ(uv[4 * 2 + 0], 1.0f); // triangle 1, corner 1: (64, 0): t = 0 gives v = 1
    EXPECT_FLOAT_EQ(uv[4 * 2 + 1], 1.0f);

    EXPECT_EQ(model->valid, 1);
    EXPECT_EQ(model->cachedFrame, -1);
    EXPECT_EQ(model->cachedInterpolation, -1.0f);
    EXPECT_EQ(model->alpha, 1.0f);
    EXPECT_EQ(model->translucent, 0);
    EXPECT_EQ(model->animation, nullptr);
    EXPECT_EQ(model->skin, nullptr);

    // Positions are byte x scale + translate.
    o3DSetMD2Frame(model, 1);
    ASSERT_EQ(md2UpdatePose(model), 1);
    EXPECT_FLOAT_EQ(model->vertexPositions[2 * 3 + 0], 200 * 0.5f + 10.0f);
    EXPECT_FLOAT_EQ(model->vertexPositions[2 * 3 + 1], 100 * 2.0f - 3.0f);
    EXPECT_FLOAT_EQ(model->vertexPositions[2 * 3 + 2], 40 * 0.25f + 7.0f);
    EXPECT_FLOAT_EQ(model->vertexNormals[2 * 3 + 0], kMd2Normals[161][0]);
}

struct Damage {
    const char *what;
    std::function<void(std::vector<uint8_t> &)> apply;
};

TEST_F(Md2, RefusesDamagedFilesWithoutLeakingOrReadingPastThem)
{
    const Damage damages[] = {
        {"ident IDP3", [](auto &b) { b[3] = '3'; }},
        {"version 7", [](auto &b) { putMd2Header(b, kMd2Version, 7); }},
        {"negative vertex count", [](auto &b) { putMd2Header(b, kMd2NumVertices, -4); }},
        {"negative texture coordinate count",
         [](auto &b) { putMd2Header(b, kMd2NumTexCoords, -1); }},
        {"negative triangle count", [](auto &b) { putMd2Header(b, kMd2NumTriangles, -2); }},
        {"negative frame count", [](auto &b) { putMd2Header(b, kMd2NumFrames, -3); }},
        {"no frames", [](auto &b) { putMd2Header(b, kMd2NumFrames, 0); }},
        {"absurd vertex count", [](auto &b) { putMd2Header(b, kMd2NumVertices, 1 << 30); }},
        {"absurd frame count", [](auto &b) { putMd2Header(b, kMd2NumFrames, 0x7fffffff); }},
        {"absurd triangle count", [](auto &b) { putMd2Header(b, kMd2NumTriangles, 1 << 28); }},
        {"frame size below its vertices", [](auto &b) { putMd2Header(b, kMd2FrameSize, 55); }},
        {"negative frame size", [](auto &b) { putMd2Header(b, kMd2FrameSize, -56); }},
        {"zero skin width", [](auto &b) { putMd2Header(b, kMd2SkinWidth, 0); }},
        {"negative skin height", [](auto &b) { putMd2Header(b, kMd2SkinHeight, -32); }},
        {"texture coordinates past the end",
         [](auto &b) { putMd2Header(b, kMd2OffsetTexCoords, (int32_t)b.size() - 8); }},
        {"triangles at a negative offset",
         [](auto &b) { putMd2Header(b, kMd2OffsetTriangles, -12); }},
        {"triangles inside the header", [](auto &b) { putMd2Header(b, kMd2OffsetTriangles, 4); }},
        {"frames at the largest offset",
         [](auto &b) { putMd2Header(b, kMd2OffsetFrames, 0x7fffffff); }},
        {"last frame cut short", [](auto &b) { b.pop_back(); }},
        {"frames larger than the file",
         [](auto &b) { putMd2Header(b, kMd2FrameSize, (int32_t)b.size()); }},
        {"triangle names vertex 4 of 4",
         [](auto &b) { putLe16(b, md2HeaderValue(b, kMd2OffsetTriangles) + 12 + 4, 4); }},
        {"triangle names texture coordinate 4 of 4",
         [](auto &b) { putLe16(b, md2HeaderValue(b, kMd2OffsetTriangles) + 6, 4); }},
        {"normal index 162", [](auto &b) { b.back() = 162; }},
        {"normal index 255 in the first frame",
         [](auto &b) { b[md2HeaderValue(b, kMd2OffsetFrames) + 40 + 3] = 255; }},
        {"shorter than the header", [](auto &b) { b.resize(67); }},
        {"only the ident", [](auto &b) { b.resize(4); }},
    };
    const std::vector<uint8_t> good = md2Bytes(squareModel(3));
    model = load(good);
    ASSERT_NE(model, nullptr) << "the undamaged file must load";
    for (const Damage &damage : damages) {
        SCOPED_TRACE(damage.what);
        std::vector<uint8_t> bytes = good;
        damage.apply(bytes);
        int before = nextDescriptor(folder.file("probe"));
        ASSERT_GE(before, 0);
        TMD2Model *damaged = load(bytes);
        EXPECT_EQ(damaged, nullptr);
        o3DFreeMD2(damaged);
        EXPECT_EQ(nextDescriptor(folder.file("probe")), before) << "file left open";
    }
    EXPECT_EQ(o3DLoadMD2(folder.file("missing.md2").c_str()), nullptr);
    EXPECT_EQ(o3DLoadMD2(nullptr), nullptr);
}

TEST_F(Md2, EmptySectionsLoadAsAModelWithNothingToDraw)
{
    Md2Spec fixture = squareModel(1);
    fixture.triangles.clear();
    fixture.texCoords.clear();
    model = load(md2Bytes(fixture));
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(md2UpdatePose(model), 1);
}

TEST(Md2Table, RowsHoldTheirRangesAndBadRowsGiveRowZero)
{
    struct Row {
        int row, first, last, fps;
    } rows[] = {{0, 0, 39, 9},     {1, 40, 45, 10},  {2, 46, 53, 10},   {3, 54, 57, 7},
                {4, 66, 71, 7},    {9, 123, 134, 6}, {14, 173, 177, 5}, {15, 178, 183, 7},
                {17, 190, 197, 7}, {18, 0, 39, 9},   {-1, 0, 39, 9}};
    for (const Row &r : rows) {
        SCOPED_TRACE(r.row);
        int first = -1, last = -1, fps = -1;
        o3DGetMD2AnimationInfo(r.row, &first, &last, &fps);
        EXPECT_EQ(first, r.first);
        EXPECT_EQ(last, r.last);
        EXPECT_EQ(fps, r.fps);
    }
    int last = -1;
    o3DGetMD2AnimationInfo(1, nullptr, &last, nullptr);
    EXPECT_EQ(last, 45);
}

TEST_F(Md2, FrameRangesAreClampedToTheModel)
{
    struct Case {
        int first, last, fps;
        int wantFirst, wantLast, wantFps, wantCurrent, wantNext;
    } cases[] = {
        {5, 2, 0, 5, 5, 10, 5, 5},  // last below first plays first alone, fps below 1 gives 10
        {-1, 99, 5, 0, 9, 5, 0, 1}, // outside the frames: 0 and the final frame
        {12, 4, 7, 0, 4, 7, 0, 1},  // a first beyond the frames becomes 0
        {9, 9, 3, 9, 9, 3, 9, 9},   // a single frame: next is the same frame
        {3, 6, -4, 3, 6, 10, 3, 4},
    };
    model = load(md2Bytes(squareModel(10)));
    ASSERT_NE(model, nullptr);
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << ".." << c.last << " @" << c.fps);
        model->interpolation = 0.7f;
        model->frameTime = 0.3f;
        o3DSetMD2FrameRange(model, c.first, c.last, c.fps);
        ASSERT_NE(model->animation, nullptr);
        EXPECT_EQ(model->animation->first, c.wantFirst);
        EXPECT_EQ(model->animation->last, c.wantLast);
        EXPECT_EQ(model->animation->fps, c.wantFps);
        EXPECT_EQ(model->currentFrame, c.wantCurrent);
        EXPECT_EQ(model->nextFrame, c.wantNext);
        EXPECT_EQ(model->interpolation, 0.0f);
        EXPECT_EQ(model->frameTime, 0.0f);
    }
}

TEST_F(Md2, AnimationRowsPlayTheirTableRange)
{
    model = load(md2Bytes(squareModel(198)));
    ASSERT_NE(model, nullptr);
    o3DSetMD2Animation(model, 15);
    EXPECT_EQ(model->animation->first, 178);
    EXPECT_EQ(model->animation->last, 183);
    EXPECT_EQ(o3DGetMD2CurrentFrame(model), 178);
    o3DSetMD2Animation(model, 18);
    EXPECT_EQ(model->animation->first, 0);
    EXPECT_EQ(model->animation->last, 39);
    EXPECT_EQ(model->animation->fps, 9);
}

TEST_F(Md2, AnimatingStepsThroughTheRangeAndLoops)
{
    struct Case {
        const char *what;
        std::vector<float> steps;
        int current, next;
        float interpolation;
    } cases[] = {
        {"a quarter second at 10 fps", {0.25f}, 42, 43, 0.5f},
        {"small steps add up", {0.05f, 0.05f, 0.05f}, 41, 42, 0.5f},
        {"last to first", {0.55f}, 45, 40, 0.5f},
        {"a whole lap and a half", {0.65f}, 40, 41, 0.5f},
        {"a very long pause stays in the range", {100000.25f}, -1, -1, -1.0f},
        {"negative and NaN steps are ignored", {-1.0f, NAN}, 40, 41, 0.0f},
    };
    model = load(md2Bytes(squareModel(198)));
    ASSERT_NE(model, nullptr);
    o3DAnimateMD2(model, 0.5f); // nothing without a range
    EXPECT_EQ(model->currentFrame, 0);
    EXPECT_EQ(model->interpolation, 0.0f);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        o3DSetMD2Animation(model, 1);
        for (float dt : c.steps)
            o3DAnimateMD2(model, dt);
        if (c.current < 0) {
            EXPECT_GE(model->currentFrame, 40);
            EXPECT_LE(model->currentFrame, 45);
            EXPECT_GE(model->interpolation, 0.0f);
            EXPECT_LT(model->interpolation, 1.0f);
            continue;
        }
        EXPECT_EQ(model->currentFrame, c.current);
        EXPECT_EQ(model->nextFrame, c.next);
        EXPECT_NEAR(model->interpolation, c.interpolation, 1e-4f);
    }
}

TEST_F(Md2, PoseInterpolatesAtMostAtThePoseRateAndOnlyWhenChanged)
{
    model = load(md2Bytes(squareModel(3)));
    ASSERT_NE(model, nullptr);
    ASSERT_EQ(md2UpdatePose(model), 1) << "a model never posed is posed at once";
    EXPECT_FLOAT_EQ(model->vertexPositions[0], -1.0f);

    model->nextFrame = 1;
    model->interpolation = 0.25f;
    EXPECT_EQ(md2UpdatePose(model), 0) << "no time has passed";
    passTime(0.01);
    EXPECT_EQ(md2UpdatePose(model), 0) << "0.01 s is below 1/60 s";
    passTime(0.01);
    ASSERT_EQ(md2UpdatePose(model), 1) << "the two steps add up to 1/60 s";
    EXPECT_EQ(model->cachedFrame, 0);
    EXPECT_EQ(model->cachedInterpolation, 0.25f);
    EXPECT_EQ(model->poseTimer, 0.0f);
    // Vertex 2 lies at (1, 1, 0) in frame 0 and (2, 1, 0) in frame 1.
    EXPECT_FLOAT_EQ(model->vertexPositions[2 * 3 + 0], 1.25f);
    EXPECT_FLOAT_EQ(model->vertexPositions[2 * 3 + 1], 1.0f);
    for (int k = 0; k < 3; ++k)
        EXPECT_FLOAT_EQ(model->vertexNormals[k],
                        kMd2Normals[0][k] + (kMd2Normals[1][k] - kMd2Normals[0][k]) * 0.25f);
    // Triangle 1 is (0, 2, 3): its corners repeat those vertices.
    const float *corner = model->cornerPositions + 1 * 9;
    EXPECT_FLOAT_EQ(corner[3], model->vertexPositions[2 * 3]);
    EXPECT_FLOAT_EQ(corner[6 + 1], model->vertexPositions[3 * 3 + 1]);
    EXPECT_FLOAT_EQ(model->cornerNormals[9 + 3], model->vertexNormals[2 * 3]);

    passTime(1.0);
    EXPECT_EQ(md2UpdatePose(model), 0) << "the frame and interpolation are unchanged";
    model->currentFrame = 7; // frames the model does not have keep the previous pose
    passTime(1.0);
    EXPECT_EQ(md2UpdatePose(model), 0);
    EXPECT_FLOAT_EQ(model->vertexPositions[2 * 3 + 0], 1.25f);
}

TEST(Md2Normals, EachTableVectorIsFoundAsItsOwnNearest)
{
    for (int i = 0; i < kMd2NormalCount; ++i) {
        const float *n = kMd2Normals[i];
        EXPECT_NEAR(n[0] * n[0] + n[1] * n[1] + n[2] * n[2], 1.0f, 1e-4f) << i;
        EXPECT_EQ(o3DGetMD2NormalIndex(n[0] * 3.0f, n[1] * 3.0f, n[2] * 3.0f), i);
    }
    EXPECT_EQ(o3DGetMD2NormalIndex(0.0f, 0.0f, 0.0f), 0);
}

TEST_F(Md2, SettersKeepTheirValuesInRange)
{
    model = load(md2Bytes(squareModel(4)));
    ASSERT_NE(model, nullptr);
    struct Alpha {
        float given, stored;
        int translucent;
    } alphas[] = {{0.5f, 0.5f, 1}, {2.0f, 1.0f, 0}, {-1.0f, 0.0f, 1}, {NAN, 0.0f, 1}};
    for (const Alpha &a : alphas) {
        o3DSetMD2Alpha(model, a.given);
        EXPECT_EQ(model->alpha, a.stored);
        EXPECT_EQ(model->translucent, a.translucent);
    }
    model->interpolation = 0.5f;
    o3DSetMD2Frame(model, 3);
    EXPECT_EQ(model->currentFrame, 3);
    EXPECT_EQ(model->nextFrame, 3);
    EXPECT_EQ(model->interpolation, 0.0f);
    o3DSetMD2Frame(model, 4);
    o3DSetMD2Frame(model, -1);
    EXPECT_EQ(o3DGetMD2CurrentFrame(model), 3);

    // A record handed in is dropped by o3DFreeMD2 and freed by o3DFreeMD2Skin (the sanitizer
    // build tells a leak or a double free).
    TTexture *handed = (TTexture *)calloc(1, sizeof(TTexture));
    o3DSetMD2Skin(model, handed);
    EXPECT_EQ(model->skin, handed);
    o3DFreeMD2Skin(model);
    EXPECT_EQ(model->skin, nullptr);
    o3DFreeMD2Skin(model);
    TTexture kept = {};
    o3DSetMD2Skin(model, &kept); // freeing the model leaves a stack record alone

    model->valid = 0;
    EXPECT_EQ(o3DGetMD2FrameCount(model), 0);
    EXPECT_EQ(o3DGetMD2FrameName(model, 0), nullptr);
    model->valid = 1;
    EXPECT_EQ(o3DGetMD2FrameCount(nullptr), 0);
    EXPECT_EQ(o3DGetMD2CurrentFrame(nullptr), 0);
    o3DSetMD2Animation(nullptr, 1);
    o3DAnimateMD2(nullptr, 0.1f);
}

} // namespace
