// Meshes without a display: creation, the setters' bounds and flags, alpha clamping. Nothing here
// builds or draws, so no GL call is made.
#include "ostrel3d.h"

#include <gtest/gtest.h>

#include <math.h>

TEST(Mesh, CreateZeroFillsEveryArrayWithDefaultFlags)
{
    TMesh *mesh = o3DCreateMesh(4, 6);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->vertexCount, 4);
    EXPECT_EQ(mesh->indexCount, 6);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(mesh->vertices[i], 0.0f);
        EXPECT_EQ(mesh->normals[i], 0.0f);
    }
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(mesh->texCoords[i], 0.0f);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(mesh->indices[i], 0u);
    EXPECT_EQ(mesh->hasNormals, 0);
    EXPECT_EQ(mesh->hasTexCoords, 0);
    EXPECT_EQ(mesh->hasDisplayList, 0);
    EXPECT_EQ(mesh->displayList, 0u);
    EXPECT_EQ(mesh->blended, 0);
    EXPECT_EQ(mesh->alpha, 1.0f);
    o3DFreeMesh(mesh);
}

TEST(Mesh, CreateRefusesNegativeAndUnaddressableCounts)
{
    EXPECT_EQ(o3DCreateMesh(-1, 3), nullptr);
    EXPECT_EQ(o3DCreateMesh(3, -1), nullptr);
    // Empty meshes still get all four arrays, so direct writers never meet a null pointer.
    TMesh *empty = o3DCreateMesh(0, 0);
    ASSERT_NE(empty, nullptr);
    EXPECT_NE(empty->vertices, nullptr);
    EXPECT_NE(empty->indices, nullptr);
    o3DFreeMesh(empty);
}

TEST(Mesh, SettersStoreInRangeAndIgnoreTheRest)
{
    TMesh *mesh = o3DCreateMesh(2, 2);
    ASSERT_NE(mesh, nullptr);
    struct {
        int i;
        bool stored;
    } cases[] = {{-1, false}, {0, true}, {1, true}, {2, false}, {1 << 30, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.i);
        o3DSetMeshVertex(mesh, c.i, 1.5f, 2.5f, 3.5f);
        o3DSetMeshNormal(mesh, c.i, 0.0f, 1.0f, 0.0f);
        o3DSetMeshTexCoord(mesh, c.i, 0.25f, 0.75f);
        o3DSetMeshIndex(mesh, c.i, 7u);
        if (!c.stored)
            continue;
        EXPECT_EQ(mesh->vertices[c.i * 3 + 2], 3.5f);
        EXPECT_EQ(mesh->normals[c.i * 3 + 1], 1.0f);
        EXPECT_EQ(mesh->texCoords[c.i * 2 + 1], 0.75f);
        EXPECT_EQ(mesh->indices[c.i], 7u);
    }
    o3DFreeMesh(mesh);

    // Each setter bounds by its own array: index 2 exists among three indices but not among two
    // vertices (a write there would be caught by the sanitizer build).
    mesh = o3DCreateMesh(2, 3);
    ASSERT_NE(mesh, nullptr);
    o3DSetMeshIndex(mesh, 2, 9u);
    o3DSetMeshVertex(mesh, 2, 1, 1, 1);
    EXPECT_EQ(mesh->indices[2], 9u);
    o3DFreeMesh(mesh);
}

TEST(Mesh, NormalAndTexCoordFlagsRiseOnlyOnAStoredValue)
{
    TMesh *mesh = o3DCreateMesh(1, 3);
    ASSERT_NE(mesh, nullptr);
    o3DSetMeshNormal(mesh, 1, 0, 1, 0);
    o3DSetMeshTexCoord(mesh, -1, 0, 1);
    EXPECT_EQ(mesh->hasNormals, 0);
    EXPECT_EQ(mesh->hasTexCoords, 0);
    o3DSetMeshNormal(mesh, 0, 0, 1, 0);
    EXPECT_EQ(mesh->hasNormals, 1);
    EXPECT_EQ(mesh->hasTexCoords, 0);
    o3DSetMeshTexCoord(mesh, 0, 0, 1);
    EXPECT_EQ(mesh->hasTexCoords, 1);
    o3DFreeMesh(mesh);
}

TEST(Mesh, AlphaIsClampedAndOpaqueRestoresIt)
{
    TMesh *mesh = o3DCreateMesh(1, 0);
    ASSERT_NE(mesh, nullptr);
    struct {
        float given, stored;
    } cases[] = {{0.5f, 0.5f}, {1.5f, 1.0f}, {-1.0f, 0.0f},    {0.0f, 0.0f},
                 {1.0f, 1.0f}, {NAN, 0.0f},  {INFINITY, 1.0f}, {-INFINITY, 0.0f}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.given);
        o3DSetMeshAlpha(mesh, c.given);
        EXPECT_EQ(mesh->alpha, c.stored);
    }
    o3DSetMeshAlpha(mesh, 0.25f);
    o3DSetMeshBlended(mesh);
    EXPECT_EQ(mesh->blended, 1);
    o3DSetMeshOpaque(mesh);
    EXPECT_EQ(mesh->blended, 0);
    EXPECT_EQ(mesh->alpha, 1.0f);
    o3DFreeMesh(mesh);
}

TEST(Mesh, NullMeshIsIgnoredEverywhere)
{
    o3DFreeMesh(nullptr);
    o3DSetMeshVertex(nullptr, 0, 1, 2, 3);
    o3DSetMeshNormal(nullptr, 0, 1, 2, 3);
    o3DSetMeshTexCoord(nullptr, 0, 1, 2);
    o3DSetMeshIndex(nullptr, 0, 1);
    o3DBuildMeshList(nullptr);
    o3DDrawMesh(nullptr);
    o3DSetMeshAlpha(nullptr, 0.5f);
    o3DSetMeshBlended(nullptr);
    o3DSetMeshOpaque(nullptr);
    SUCCEED();
}
