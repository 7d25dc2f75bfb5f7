// The resource pack reader: the engine's fixed table of 16 pack slots and the active pack,
// opening and closing packs, exact-name look-up, reading entries into memory, extraction and the
// directory listing. Plain C stdio only; callers own the buffers it returns. Staging entries into
// temporary files is the job of the staging module, which also sweeps their leftovers.
//
// Every integer on disk is little-endian and decoded byte by byte, so the reader gives the same
// answers on any host. Malformed packs are refused before anything is kept: a short header, a
// directory shorter than its count, or a name without its terminator; an entry larger than the
// whole file is refused when it is read.

// 64-bit file positions for the seek/tell below on every C library (MinGW's need asking for).
#define _FILE_OFFSET_BITS 64

#include "ostrel3d.h"
#include "pack/staging.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum {
    kPackSlotCount = 16,
    kPackMagic = 2903,
    kPackMaxEntries = 1024,
    kPackHeaderBytes = 8,
    kPackEntryBytes = 72,
    kPackNameBytes = 64,
    kPackPathChars = 256,
};

static_assert(sizeof(TPackEntry) == kPackEntryBytes, "TPackEntry must match the on-disk record");

static struct {
    TPack slots[kPackSlotCount];
    TPack *active;
} packs;

static uint32_t readLe32(const unsigned char *at)
{
    return (uint32_t)at[0] | ((uint32_t)at[1] << 8) | ((uint32_t)at[2] << 16) |
           ((uint32_t)at[3] << 24);
}

static FILE *packFile(const TPack *pack)
{
    return (FILE *)pack->file;
}

static int isLoaded(const TPack *pack)
{
    return pack != nullptr && pack->loaded;
}

static void markFree(TPack *pack)
{
    pack->file = nullptr;
    pack->entries = nullptr;
    pack->loaded = 0;
    pack->path[0] = '\0';
}

// Decodes the directory in place: the 72-byte records on disk have the layout of TPackEntry,
// only the two integers need their byte order fixed. 0 if a name fills all 64 bytes without its
// terminator: users of the directory may call strlen on entry names.
static int decodeDirectory(TPackEntry *entries, int count)
{
    for (int i = 0; i < count; i++) {
        if (memchr(entries[i].name, '\0', kPackNameBytes) == nullptr) {
            return 0;
        }
        const unsigned char *raw = (const unsigned char *)&entries[i];
        uint32_t size = readLe32(raw + kPackNameBytes);
        uint32_t offset = readLe32(raw + kPackNameBytes + 4);
        entries[i].size = size;
        entries[i].offset = offset;
    }
    return 1;
}

// The size of the pack file in bytes, or -1 if it can't be told.
static long long packFileBytes(FILE *file)
{
    if (fseeko(file, 0, SEEK_END) != 0) {
        return -1;
    }
    return (long long)ftello(file);
}

// Reads an entry into a new zeroed buffer with `extraBytes` more zero bytes after it.
static unsigned char *readEntry(TPack *pack, const char *name, uint32_t *outSize, size_t extraBytes)
{
    if (!isLoaded(pack) || name == nullptr) {
        return nullptr;
    }
    const TPackEntry *entry = o3DFindPackEntry(pack, name);
    if (entry == nullptr) {
        return nullptr;
    }
    FILE *file = packFile(pack);
    // No entry can hold more bytes than the whole file: a larger size is corrupt, and trusting
    // it would allocate up to 4 GiB.
    long long fileBytes = packFileBytes(file);
    if (fileBytes < 0 || (long long)entry->size > fileBytes) {
        return nullptr;
    }
    size_t bufferBytes = (size_t)entry->size + extraBytes;
    unsigned char *buffer = (unsigned char *)calloc(bufferBytes > 0 ? bufferBytes : 1, 1);
    if (buffer == nullptr) {
        return nullptr;
    }
    // An entry that runs past the end of the file keeps zeros where the file ends.
    if (fseeko(file, (long long)entry->offset, SEEK_SET) == 0) {
        size_t got = fread(buffer, 1, entry->size, file);
        (void)got;
    }
    if (outSize != nullptr) {
        *outSize = entry->size;
    }
    return buffer;
}

void o3DInitPacks(void)
{
    for (int i = 0; i < kPackSlotCount; i++) {
        markFree(&packs.slots[i]);
    }
    packs.active = nullptr;
    stagingSweepAtStartUp();
}

void o3DCleanupTempFiles(void)
{
    for (int i = 0; i < kPackSlotCount; i++) {
        o3DClosePack(&packs.slots[i]);
    }
    packs.active = nullptr;
    stagingSweepAtShutdown();
}

TPack *o3DOpenPack(const char *path)
{
    if (path == nullptr) {
        return nullptr;
    }
    TPack *pack = nullptr;
    for (int i = 0; i < kPackSlotCount && pack == nullptr; i++) {
        if (!packs.slots[i].loaded) {
            pack = &packs.slots[i];
        }
    }
    if (pack == nullptr) {
        return nullptr;
    }
    FILE *file = fopen(path, "rb");
    if (file == nullptr) {
        return nullptr;
    }
    unsigned char header[kPackHeaderBytes];
    if (fread(header, 1, sizeof header, file) != sizeof header) {
        fclose(file);
        return nullptr;
    }
    int32_t magic = (int32_t)readLe32(header);
    int32_t count = (int32_t)readLe32(header + 4);
    if (magic != kPackMagic || count < 1 || count > kPackMaxEntries) {
        fclose(file);
        return nullptr;
    }
    size_t directoryBytes = (size_t)count * kPackEntryBytes;
    TPackEntry *entries = (TPackEntry *)malloc(directoryBytes);
    if (entries == nullptr) {
        fclose(file);
        return nullptr;
    }
    if (fread(entries, 1, directoryBytes, file) != directoryBytes ||
        !decodeDirectory(entries, count)) {
        free(entries);
        fclose(file);
        return nullptr;
    }

    snprintf(pack->path, sizeof pack->path, "%s", path);
    pack->file = file;
    pack->magic = magic;
    pack->count = count;
    pack->entries = entries;
    pack->loaded = 1;
    if (packs.active == nullptr) {
        packs.active = pack;
    }
    return pack;
}

void o3DClosePack(TPack *pack)
{
    if (!isLoaded(pack)) {
        return;
    }
    if (pack->file != nullptr) {
        fclose(packFile(pack));
    }
    free(pack->entries);
    markFree(pack);
    if (packs.active == pack) {
        packs.active = nullptr;
    }
}

void o3DSetActivePack(TPack *pack)
{
    packs.active = pack;
}

TPack *o3DGetActivePack(void)
{
    return packs.active;
}

TPackEntry *o3DFindPackEntry(TPack *pack, const char *name)
{
    if (!isLoaded(pack) || name == nullptr) {
        return nullptr;
    }
    for (int i = 0; i < pack->count; i++) {
        if (strcmp(pack->entries[i].name, name) == 0) {
            return &pack->entries[i];
        }
    }
    return nullptr;
}

int o3DPackHasFile(TPack *pack, const char *name)
{
    return o3DFindPackEntry(pack, name) != nullptr;
}

int o3DGetPackFileCount(TPack *pack)
{
    return isLoaded(pack) ? pack->count : 0;
}

TPackEntry *o3DGetPackEntry(TPack *pack, int index)
{
    if (!isLoaded(pack) || index < 0 || index >= pack->count) {
        return nullptr;
    }
    return &pack->entries[index];
}

int o3DGetPackFileSize(TPack *pack, const char *name)
{
    const TPackEntry *entry = o3DFindPackEntry(pack, name);
    return entry != nullptr ? (int)entry->size : -1;
}

unsigned char *o3DReadPackEntry(TPack *pack, const char *name, uint32_t *outSize)
{
    return readEntry(pack, name, outSize, 0);
}

void o3DFreePackData(void *data)
{
    free(data);
}

char *o3DReadPackText(TPack *pack, const char *name)
{
    // The zeroed extra byte terminates the text.
    return (char *)readEntry(pack, name, nullptr, 1);
}

int o3DExtractPackFile(TPack *pack, const char *name, const char *destPath)
{
    if (!isLoaded(pack) || name == nullptr || destPath == nullptr) {
        return 0;
    }
    uint32_t size = 0;
    unsigned char *data = o3DReadPackEntry(pack, name, &size);
    if (data == nullptr) {
        return 0;
    }
    FILE *out = fopen(destPath, "wb");
    if (out == nullptr) {
        o3DFreePackData(data);
        return 0;
    }
    size_t written = fwrite(data, 1, size, out);
    (void)written; // not checked: a short write still counts as extracted
    fclose(out);
    o3DFreePackData(data);
    return 1;
}

void o3DPrintPack(TPack *pack)
{
    if (!isLoaded(pack)) {
        printf("Paczka nie jest zaladowana!\n");
        return;
    }
    printf("Paczka: %s\n", pack->path);
    printf("Liczba plikow: %d\n", pack->count);
    printf("==================================\n");
    for (int i = 0; i < pack->count; i++) {
        const TPackEntry *entry = &pack->entries[i];
        printf("%3d. %-30s %8d bajtow (offset: %d)\n", i + 1, entry->name, (int)entry->size,
               (int)entry->offset);
    }
    printf("==================================\n");
}
