// The OBJ reader on any text: the loader as games call it, the same file read again with working
// arrays that start at one entry (every growth step runs) and with arrays bounded at 16 entries.
// A mesh has one vertex per face corner, indices 0, 1, 2, ... and all three arrays; the three
// reads give the same mesh, except that the bounded one refuses a file that needs more room.
#include "ostrel3d.h"

#include "assets/obj_parse.h"

#include "fuzz_support.h"

#include <string.h>

static const size_t kBoundedEntries = 16;

static void checkMesh(const TMesh *mesh)
{
    FUZZ_CHECK(mesh->vertexCount > 0 && mesh->vertexCount % 3 == 0);
    FUZZ_CHECK(mesh->indexCount == mesh->vertexCount);
    FUZZ_CHECK(mesh->hasNormals && mesh->hasTexCoords);
    for (int i = 0; i < mesh->indexCount; ++i)
        FUZZ_CHECK(mesh->indices[i] == (uint32_t)i);
    size_t n = (size_t)mesh->vertexCount;
    fuzzTouch(mesh->vertices, n * 3 * sizeof(float));
    fuzzTouch(mesh->normals, n * 3 * sizeof(float));
    fuzzTouch(mesh->texCoords, n * 2 * sizeof(float));
}

static int sameMesh(const TMesh *a, const TMesh *b)
{
    size_t n = (size_t)a->vertexCount;
    return a->vertexCount == b->vertexCount &&
           memcmp(a->vertices, b->vertices, n * 3 * sizeof(float)) == 0 &&
           memcmp(a->normals, b->normals, n * 3 * sizeof(float)) == 0 &&
           memcmp(a->texCoords, b->texCoords, n * 2 * sizeof(float)) == 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const char *path = fuzzInputFile("input.obj", data, size);
    TMesh *mesh = o3DLoadOBJ(path);
    TMesh *grown = objLoad(path, 1, 0);
    TMesh *bounded = objLoad(path, 1, kBoundedEntries);
    FUZZ_CHECK((mesh == nullptr) == (grown == nullptr));
    FUZZ_CHECK(mesh != nullptr || bounded == nullptr);
    if (mesh) {
        checkMesh(mesh);
        FUZZ_CHECK(sameMesh(mesh, grown));
        if (bounded) {
            FUZZ_CHECK(bounded->vertexCount <= (int)(3 * kBoundedEntries));
            FUZZ_CHECK(sameMesh(mesh, bounded));
        }
    }
    o3DFreeMesh(mesh);
    o3DFreeMesh(grown);
    o3DFreeMesh(bounded);
    return 0;
}
