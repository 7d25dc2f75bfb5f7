// The pack reader on any file: opening checks the header and directory; every entry is looked up
// by name, read as bytes and as text, and one is extracted. A pack that opens has 1 to 1024
// terminated names; an entry read gives exactly its directory size; closing frees everything.
#include "ostrel3d.h"

#include "fuzz_support.h"

#include <string.h>

static void readEveryEntry(TPack *pack)
{
    int count = o3DGetPackFileCount(pack);
    FUZZ_CHECK(count >= 1 && count <= 1024);
    FUZZ_CHECK(o3DGetPackEntry(pack, count) == nullptr && o3DGetPackEntry(pack, -1) == nullptr);
    for (int i = 0; i < count; ++i) {
        const TPackEntry *entry = o3DGetPackEntry(pack, i);
        FUZZ_CHECK(entry != nullptr && memchr(entry->name, '\0', sizeof entry->name) != nullptr);
        // Names may repeat: the look-up finds the first entry of the name.
        const TPackEntry *found = o3DFindPackEntry(pack, entry->name);
        FUZZ_CHECK(found != nullptr && found <= entry && strcmp(found->name, entry->name) == 0);
        FUZZ_CHECK(o3DGetPackFileSize(pack, entry->name) == (int)found->size);
        uint32_t size = 0xFFFFFFFFu;
        unsigned char *bytes = o3DReadPackEntry(pack, entry->name, &size);
        if (bytes) {
            FUZZ_CHECK(size == found->size);
            fuzzTouch(bytes, size);
            o3DFreePackData(bytes);
        }
        char *text = o3DReadPackText(pack, entry->name);
        if (text) {
            FUZZ_CHECK(text[found->size] == '\0');
            fuzzTouch(text, (size_t)found->size + 1);
            o3DFreePackData(text);
        }
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const char *path = fuzzInputFile("input.dat", data, size);
    TPack *pack = o3DOpenPack(path);
    if (!pack)
        return 0;
    FUZZ_CHECK(o3DGetActivePack() == pack);
    readEveryEntry(pack);
    const TPackEntry *first = o3DGetPackEntry(pack, 0);
    o3DExtractPackFile(pack, first->name, fuzzScratchPath("extracted").c_str());
    o3DClosePack(pack);
    FUZZ_CHECK(o3DGetActivePack() == nullptr && o3DGetPackFileCount(pack) == 0);
    return 0;
}
