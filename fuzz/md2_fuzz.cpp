// The MD2 reader on any file. A model loaded keeps the header's counts, with frames holding
// numVertices vertices whose normal indices lie in the table and triangles that name vertices
// and texture coordinates the model has; posing its first and last frame and playing an
// animation row touches every array; freeing it releases everything.
#include "ostrel3d.h"

#include "assets/md2.h"

#include "fuzz_support.h"

static void checkArrays(const TMD2Model *model)
{
    const TMD2Header &h = model->header;
    FUZZ_CHECK(h.numFrames >= 1 && h.numVertices >= 0 && h.numTriangles >= 0 &&
               h.numTexCoords >= 0);
    for (int32_t f = 0; f < h.numFrames; ++f) {
        const TMD2Frame &frame = model->frames[f];
        FUZZ_CHECK(frame.name[sizeof frame.name - 1] == '\0');
        for (int32_t v = 0; v < h.numVertices; ++v)
            FUZZ_CHECK(frame.vertices[v * 4 + 3] < kMd2NormalCount);
    }
    for (int32_t i = 0; i < h.numTriangles; ++i) {
        for (int k = 0; k < 3; ++k) {
            FUZZ_CHECK(model->triangles[i].vertexIndex[k] < h.numVertices);
            FUZZ_CHECK(model->triangles[i].texCoordIndex[k] < h.numTexCoords);
        }
    }
    fuzzTouch(model->texCoords, (size_t)h.numTexCoords * sizeof(TMD2TexCoord));
    fuzzTouch(model->cornerTexCoords, (size_t)h.numTriangles * 3 * 2 * sizeof(float));
}

// Poses the model now, whatever the pose rate says.
static void pose(TMD2Model *model)
{
    model->cachedFrame = -1;
    FUZZ_CHECK(md2UpdatePose(model) == 1);
    const TMD2Header &h = model->header;
    fuzzTouch(model->vertexPositions, (size_t)h.numVertices * 3 * sizeof(float));
    fuzzTouch(model->vertexNormals, (size_t)h.numVertices * 3 * sizeof(float));
    fuzzTouch(model->cornerPositions, (size_t)h.numTriangles * 9 * sizeof(float));
    fuzzTouch(model->cornerNormals, (size_t)h.numTriangles * 9 * sizeof(float));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const char *path = fuzzInputFile("input.md2", data, size);
    TMD2Model *model = o3DLoadMD2(path);
    if (!model)
        return 0;
    FUZZ_CHECK(model->valid && o3DGetMD2FrameCount(model) == model->header.numFrames);
    checkArrays(model);
    pose(model);
    o3DSetMD2Frame(model, model->header.numFrames - 1);
    pose(model);
    o3DSetMD2Animation(model, 1);
    o3DAnimateMD2(model, 0.25f);
    FUZZ_CHECK(model->currentFrame >= 0 && model->currentFrame < model->header.numFrames);
    FUZZ_CHECK(model->nextFrame >= 0 && model->nextFrame < model->header.numFrames);
    pose(model);
    o3DFreeMD2(model);
    return 0;
}
