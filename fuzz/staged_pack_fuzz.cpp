// Staging on any pack: each entry (the first eight) goes through the staged loaders as an OBJ
// model, an MD2 model, a font, an image and a sound, which write it to a temporary file in the
// working directory, load that and delete it. Every result is whole or nothing, and no temporary
// file is left behind, whatever the loaders made of the bytes.
#include "ostrel3d.h"

#include "fake_audio.h"
#include "fuzz_support.h"

#include <string.h>

#include <string>

static const int kMaxStagedEntries = 8;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    installFakeAudio();
    FUZZ_CHECK(o3DSoundInit(nullptr) == 1);
    // Staging writes its temporary files into the working directory.
    std::filesystem::current_path(fuzzScratchFolder());
    return 0;
}

static void stageAsEveryKind(TPack *pack, const char *name)
{
    TMesh *mesh = o3DLoadOBJFromPack(pack, name);
    FUZZ_CHECK(!mesh || (mesh->vertexCount > 0 && mesh->indexCount == mesh->vertexCount));
    o3DFreeMesh(mesh);
    TMD2Model *model = o3DLoadMD2FromPack(pack, name);
    FUZZ_CHECK(!model || (model->valid && model->header.numFrames >= 1));
    o3DFreeMD2(model);
    TFont font = {};
    int loaded = o3DLoadFontFromPack(pack, &font, name, 0, 0, 0);
    FUZZ_CHECK(loaded == font.loaded && (!loaded || font.sheet.loaded));
    o3DFreeFont(&font);
    TTexture image = {};
    loaded = o3DLoadImageFromPack(pack, &image, name, 255, 0, 255);
    FUZZ_CHECK(loaded == image.loaded && (!loaded || image.mask != nullptr));
    o3DFreeTexture(&image);
    TSound sound = {};
    loaded = o3DLoadSoundFromPack(pack, &sound, name);
    FUZZ_CHECK(loaded == sound.loaded && gFakeAudio.liveBuffers == loaded);
    o3DFreeSound(&sound);
    FUZZ_CHECK(gFakeAudio.liveBuffers == 0);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    gFakeAudio.calls.clear(); // the stand-in logs every call
    TPack *pack = o3DOpenPack(fuzzInputFile("input.dat", data, size));
    if (!pack)
        return 0;
    int count = o3DGetPackFileCount(pack);
    for (int i = 0; i < count && i < kMaxStagedEntries; ++i) {
        std::string name = o3DGetPackEntry(pack, i)->name;
        stageAsEveryKind(pack, name.c_str());
    }
    o3DClosePack(pack);
    for (const auto &file : std::filesystem::directory_iterator(fuzzScratchFolder())) {
        std::string left = file.path().filename().string();
        if (left != "input.dat") {
            fprintf(stderr, "left behind: %s\n", left.c_str());
            FUZZ_CHECK(left == "input.dat");
        }
    }
    return 0;
}
