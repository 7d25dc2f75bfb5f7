// The OBJ reader without a display: the face-corner parse and the line dispatch fed directly,
// the working arrays' growth and its bounds, and whole files (written by the tests) loaded into
// meshes, including damaged ones that must give null without leaking or leaving a file open.
#include "assets/obj_parse.h"
#include "ostrel3d.h"

#include "bmp_writer.h"

#include <gtest/gtest.h>

#include <limits.h>
#include <stdio.h>

#include <string>
#include <vector>

namespace {

struct CornerCase {
    const char *token;
    ObjCorner expected;
};

TEST(ObjCorner, ParsesEachFormAndGivesZerosForOthers)
{
    const CornerCase cases[] = {
        {"7", {7, 0, 0}},
        {"3/5", {3, 5, 0}},
        {"3//9", {3, 0, 9}},
        {"3/5/9", {3, 5, 9}},
        {"1/2/3/4", {0, 0, 0}},
        {"1///", {0, 0, 0}},
        {"", {0, 0, 0}},
        {"abc", {0, 0, 0}},
        {"12abc", {12, 0, 0}},
        {"-2/-1/-3", {-2, -1, -3}},
        {"+4/x/5", {4, 0, 5}},
        {"/5", {0, 5, 0}},
        {"3/", {3, 0, 0}},
        {"3//", {3, 0, 0}},
        {"99999999999/-99999999999", {INT_MAX, INT_MIN, 0}},
    };
    for (const CornerCase &c : cases) {
        ObjCorner got = objParseCorner(c.token);
        EXPECT_EQ(got.position, c.expected.position) << c.token;
        EXPECT_EQ(got.texCoord, c.expected.texCoord) << c.token;
        EXPECT_EQ(got.normal, c.expected.normal) << c.token;
    }
}

struct Counts {
    size_t positions, texCoords, normals, triangles;
};

// What one line leaves in a fresh reader: the counts, and the first entry of each kind it made.
struct LineCase {
    const char *line;
    Counts counts;
    std::vector<float> firstEntry;     // of the kind whose count is not 0, when not a face
    std::vector<int32_t> cornerValues; // the triangles' corners, three numbers each
};

class ObjLines : public ::testing::Test {
  protected:
    ObjReader reader;
    void SetUp() override
    {
        ASSERT_EQ(objReaderInit(&reader, 4, 0), 1);
    }
    void TearDown() override
    {
        objReaderFree(&reader);
    }
    int read(const char *text)
    {
        std::string copy = text;
        return objReadLine(&reader, &copy[0]);
    }
};

TEST_F(ObjLines, DispatchesEveryKindAndSkipsDamagedLines)
{
    const LineCase cases[] = {
        {"v 1 2 3", {1, 0, 0, 0}, {1, 2, 3}, {}},
        {"  \tv -1.5 2e1 .25\r\n", {1, 0, 0, 0}, {-1.5f, 20, 0.25f}, {}},
        {"v 1 2 3 4", {1, 0, 0, 0}, {1, 2, 3}, {}},
        {"v 1 2", {0, 0, 0, 0}, {}, {}},
        {"v 1 x 3", {0, 0, 0, 0}, {}, {}},
        {"v\t1 2 3", {0, 0, 0, 0}, {}, {}},
        {"v", {0, 0, 0, 0}, {}, {}},
        {"vertex 1 2 3", {0, 0, 0, 0}, {}, {}},
        {"vt 0.5 0.25 0.0", {0, 1, 0, 0}, {0.5f, 0.25f}, {}},
        {"vt 0.5", {0, 0, 0, 0}, {}, {}},
        {"vn 0 0 1", {0, 0, 1, 0}, {0, 0, 1}, {}},
        {"vn 0 1", {0, 0, 0, 0}, {}, {}},
        {"# v 1 2 3", {0, 0, 0, 0}, {}, {}},
        {"   ", {0, 0, 0, 0}, {}, {}},
        {"o tree", {0, 0, 0, 0}, {}, {}},
        {"g trunk", {0, 0, 0, 0}, {}, {}},
        {"usemtl bark", {0, 0, 0, 0}, {}, {}},
        {"s 1", {0, 0, 0, 0}, {}, {}},
        {"f 1 2 3", {0, 0, 0, 1}, {}, {1, 0, 0, 2, 0, 0, 3, 0, 0}},
        {"f 1 2 3 4", {0, 0, 0, 2}, {}, {1, 0, 0, 2, 0, 0, 3, 0, 0, 1, 0, 0, 3, 0, 0, 4, 0, 0}},
        {"f 1 2 3 4 5", {0, 0, 0, 2}, {}, {1, 0, 0, 2, 0, 0, 3, 0, 0, 1, 0, 0, 3, 0, 0, 4, 0, 0}},
        {"f 1 2", {0, 0, 0, 0}, {}, {}},
        {"f 1\t2\t3", {0, 0, 0, 0}, {}, {}},
        {"f", {0, 0, 0, 0}, {}, {}},
        {"f  1   2  3 \r\n", {0, 0, 0, 1}, {}, {1, 0, 0, 2, 0, 0, 3, 0, 0}},
        {"f 1/4/7 2//8 3/6", {0, 0, 0, 1}, {}, {1, 4, 7, 2, 0, 8, 3, 6, 0}},
        {"f 1/2/3/4 5 6", {0, 0, 0, 1}, {}, {0, 0, 0, 5, 0, 0, 6, 0, 0}},
    };
    for (const LineCase &c : cases) {
        SCOPED_TRACE(c.line);
        objReaderFree(&reader);
        ASSERT_EQ(objReaderInit(&reader, 4, 0), 1);
        ASSERT_EQ(read(c.line), 1);
        EXPECT_EQ(reader.positions.count, c.counts.positions);
        EXPECT_EQ(reader.texCoords.count, c.counts.texCoords);
        EXPECT_EQ(reader.normals.count, c.counts.normals);
        ASSERT_EQ(reader.triangles.count, c.counts.triangles);
        const float *first = c.counts.positions   ? objPosition(&reader, 0)
                             : c.counts.texCoords ? objTexCoord(&reader, 0)
                             : c.counts.normals   ? objNormal(&reader, 0)
                                                  : nullptr;
        for (size_t i = 0; first && i < c.firstEntry.size(); ++i)
            EXPECT_EQ(first[i], c.firstEntry[i]) << "value " << i;
        ASSERT_EQ(c.cornerValues.size(), c.counts.triangles * 9);
        for (size_t t = 0; t < c.counts.triangles; ++t)
            for (int k = 0; k < 3; ++k) {
                const ObjCorner &corner = objTriangle(&reader, t)[k];
                const int32_t *want = &c.cornerValues[(t * 3 + k) * 3];
                EXPECT_EQ(corner.position, want[0]) << "triangle " << t << " corner " << k;
                EXPECT_EQ(corner.texCoord, want[1]) << "triangle " << t << " corner " << k;
                EXPECT_EQ(corner.normal, want[2]) << "triangle " << t << " corner " << k;
            }
    }
}

TEST_F(ObjLines, ArraysGrowByDoublingAndKeepTheirEntries)
{
    for (int i = 0; i < 37; ++i) {
        std::string line = "v " + std::to_string(i) + " 0 " + std::to_string(-i);
        ASSERT_EQ(read(line.c_str()), 1);
    }
    ASSERT_EQ(reader.positions.count, 37u);
    EXPECT_EQ(reader.positions.room, 64u);
    for (int i = 0; i < 37; ++i) {
        EXPECT_EQ(objPosition(&reader, i)[0], (float)i);
        EXPECT_EQ(objPosition(&reader, i)[2], (float)-i);
    }
}

TEST(ObjGrowth, StopsCleanlyAtTheBoundKeepingWhatWasRead)
{
    ObjReader reader;
    ASSERT_EQ(objReaderInit(&reader, 2, 4), 1);
    char line[] = "vn 0 1 0";
    for (int i = 0; i < 4; ++i) {
        std::string copy = line;
        ASSERT_EQ(objReadLine(&reader, &copy[0]), 1);
    }
    std::string fifth = line;
    EXPECT_EQ(objReadLine(&reader, &fifth[0]), 0);
    EXPECT_EQ(reader.normals.count, 4u);
    EXPECT_EQ(reader.normals.room, 4u);
    objReaderFree(&reader);
    EXPECT_EQ(reader.normals.data, nullptr);
}

// A quad needs two places: it grows the array first, and fails whole when only one is left.
TEST(ObjGrowth, AQuadReservesBothTrianglesBeforeWritingEither)
{
    ObjReader reader;
    ASSERT_EQ(objReaderInit(&reader, 2, 3), 1);
    std::string triangle = "f 1 2 3", quad = "f 1 2 3 4", again = "f 1 2 3 4";
    ASSERT_EQ(objReadLine(&reader, &triangle[0]), 1);
    ASSERT_EQ(objReadLine(&reader, &quad[0]), 1);
    EXPECT_EQ(reader.triangles.count, 3u);
    EXPECT_EQ(reader.triangles.room, 3u);
    EXPECT_EQ(objReadLine(&reader, &again[0]), 0);
    EXPECT_EQ(reader.triangles.count, 3u);
    objReaderFree(&reader);
}

// Whole files. A loader that leaves a file open shows as a higher next descriptor.

class ObjFile : public ::testing::Test {
  protected:
    ScratchFolder folder;

    std::string write(const std::string &text)
    {
        std::string path = folder.file("model.obj");
        FILE *file = fopen(path.c_str(), "wb");
        EXPECT_NE(file, nullptr);
        if (file) {
            EXPECT_EQ(fwrite(text.data(), 1, text.size(), file), text.size());
            fclose(file);
        }
        return path;
    }
    TMesh *load(const std::string &text)
    {
        return o3DLoadOBJ(write(text).c_str());
    }
};

void expectVertex(const TMesh *mesh, int i, std::vector<float> position, std::vector<float> uv,
                  std::vector<float> normal)
{
    SCOPED_TRACE("vertex " + std::to_string(i));
    ASSERT_LT(i, mesh->vertexCount);
    for (int a = 0; a < 3; ++a) {
        EXPECT_EQ(mesh->vertices[i * 3 + a], position[a]);
        EXPECT_EQ(mesh->normals[i * 3 + a], normal[a]);
    }
    for (int a = 0; a < 2; ++a)
        EXPECT_EQ(mesh->texCoords[i * 2 + a], uv[a]);
}

TEST_F(ObjFile, QuadBecomesTwoTrianglesOfOwnVerticesWithIdentityIndices)
{
    TMesh *mesh = load("# a unit quad\n"
                       "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
                       "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
                       "vn 0 0 1\n"
                       "usemtl none\n"
                       "f 1/1/1 2/2/1 3/3/1 4/4/1\n");
    ASSERT_NE(mesh, nullptr);
    ASSERT_EQ(mesh->vertexCount, 6);
    ASSERT_EQ(mesh->indexCount, 6);
    EXPECT_EQ(mesh->hasNormals, 1);
    EXPECT_EQ(mesh->hasTexCoords, 1);
    EXPECT_EQ(mesh->hasDisplayList, 0);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(mesh->indices[i], (uint32_t)i);
    const int order[6] = {0, 1, 2, 0, 2, 3};
    const float corner[4][3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    for (int i = 0; i < 6; ++i) {
        const float *p = corner[order[i]];
        expectVertex(mesh, i, {p[0], p[1], p[2]}, {p[0], p[1]}, {0, 0, 1});
    }
    o3DFreeMesh(mesh);
}

// Corners that name nothing in the file read no array: position (0, 0, 0), texture coordinate
// (0, 0), normal (0, 1, 0).
TEST_F(ObjFile, CornersNamingNoEntryTakeTheDefaults)
{
    TMesh *mesh = load("v 1 2 3\nv 4 5 6\nvt 0.5 0.75\nvn 1 0 0\n"
                       "f 0/0/0 -1/-1/-1 3/2/2\n"
                       "f 2//1 1 2147483647/2147483647/2147483647\n"
                       "f -2147483648/1/1 1/1 2/0\n");
    ASSERT_NE(mesh, nullptr);
    ASSERT_EQ(mesh->vertexCount, 9);
    expectVertex(mesh, 0, {0, 0, 0}, {0, 0}, {0, 1, 0});
    expectVertex(mesh, 1, {0, 0, 0}, {0, 0}, {0, 1, 0});
    expectVertex(mesh, 2, {0, 0, 0}, {0, 0}, {0, 1, 0});
    expectVertex(mesh, 3, {4, 5, 6}, {0, 0}, {1, 0, 0});
    expectVertex(mesh, 4, {1, 2, 3}, {0, 0}, {0, 1, 0});
    expectVertex(mesh, 5, {0, 0, 0}, {0, 0}, {0, 1, 0});
    expectVertex(mesh, 6, {0, 0, 0}, {0.5f, 0.75f}, {1, 0, 0});
    expectVertex(mesh, 7, {1, 2, 3}, {0.5f, 0.75f}, {0, 1, 0});
    expectVertex(mesh, 8, {4, 5, 6}, {0, 0}, {0, 1, 0});
    o3DFreeMesh(mesh);
}

// A line is read in pieces of 255 characters: the rest of a longer line is a line of its own.
TEST_F(ObjFile, TheRestOfALineLongerThan255CharactersIsReadAsALine)
{
    std::string comment = "#" + std::string(254, 'x');
    TMesh *mesh = load("v 1 1 1\nv 2 2 2\nv 3 3 3\n" + comment + "f 3 2 1\n");
    ASSERT_NE(mesh, nullptr);
    ASSERT_EQ(mesh->vertexCount, 3);
    expectVertex(mesh, 0, {3, 3, 3}, {0, 0}, {0, 1, 0});
    o3DFreeMesh(mesh);

    EXPECT_EQ(load("v 1 1 1\nv 2 2 2\nv 3 3 3\n" + comment + "x f 3 2 1\n"), nullptr);
}

TEST_F(ObjFile, LastLineWithoutNewlineIsRead)
{
    TMesh *mesh = load("v 1 1 1\nf 1 1 1");
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->vertexCount, 3);
    o3DFreeMesh(mesh);
}

// A file that outgrows the arrays' bound fails whole, with everything read so far freed.
TEST_F(ObjFile, OutgrowingTheBoundGivesNull)
{
    std::string text = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
    for (int i = 0; i < 10; ++i)
        text += "f 1 2 3\n";
    std::string path = write(text);
    TMesh *fits = objLoad(path.c_str(), 2, 16);
    ASSERT_NE(fits, nullptr);
    EXPECT_EQ(fits->vertexCount, 30);
    o3DFreeMesh(fits);
    EXPECT_EQ(objLoad(path.c_str(), 2, 9), nullptr);
    EXPECT_EQ(objLoad(path.c_str(), 2, 2), nullptr);
}

struct BadFile {
    const char *what;
    std::string text;
};

TEST_F(ObjFile, FilesWithoutAUsableFaceGiveNullAndStayClosed)
{
    const BadFile cases[] = {
        {"empty", ""},
        {"only comments and blank lines", "# nothing\n\n   \n"},
        {"vertices without faces", "v 1 2 3\nv 4 5 6\nv 7 8 9\n"},
        {"truncated inside the face line", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2"},
        {"faces of two corners", "v 0 0 0\nf 1 1\nf 2 3\n"},
        {"faces split by tabs", "v 0 0 0\nf 1\t1\t1\n"},
        {"binary bytes", std::string("\x7f\x45\x4c\x46\x02\x01\x00\x00\xff\xfe\n\x01", 12)},
        {"a NUL inside the face line", std::string("v 0 0 0\nf") + '\0' + " 1 1 1\n"},
    };
    int before = nextDescriptor(folder.file("probe"));
    ASSERT_GE(before, 0);
    for (const BadFile &c : cases) {
        SCOPED_TRACE(c.what);
        TMesh *mesh = load(c.text);
        EXPECT_EQ(mesh, nullptr);
        o3DFreeMesh(mesh);
        EXPECT_EQ(nextDescriptor(folder.file("probe")), before);
    }
    EXPECT_EQ(o3DLoadOBJ(folder.file("missing.obj").c_str()), nullptr);
    EXPECT_EQ(o3DLoadOBJ(nullptr), nullptr);
    EXPECT_EQ(nextDescriptor(folder.file("probe")), before);
}

} // namespace
