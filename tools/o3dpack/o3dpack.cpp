// o3dpack: the command-line tool for the engine's resource packs. `create` builds a pack from
// files, `list` prints a pack's directory and `extract` writes one entry back to a file, the last
// two through the engine's own reader. Exit status: 0 done, 1 failed, 2 bad command line.
#include "ostrel3d.h"
#include "pack_writer.h"

#include <errno.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <filesystem>
#include <string>
#include <vector>

enum {
    kExitOk = 0,
    kExitFailed = 1,
    kExitUsage = 2,
};

static const char kUsage[] =
    "Usage:\n"
    "  o3dpack create OUT FILE...        build the pack OUT from the files, in order;\n"
    "                                    each entry is named by its file's base name\n"
    "                                    (at most 63 characters, no two alike, 1 to 1024 files);\n"
    "                                    an existing OUT must be a pack and none of the files\n"
    "  o3dpack list PACK                 print the pack's directory\n"
    "  o3dpack extract PACK NAME [DEST]  write the entry NAME to DEST\n"
    "                                    (default: NAME in the current directory)\n"
    "  o3dpack --help                    show this text\n";

static int usageError(const char *problem)
{
    fprintf(stderr, "o3dpack: %s\n%s", problem, kUsage);
    return kExitUsage;
}

// Opens a pack for list and extract; no o3DInitPacks here, since it would also sweep the staging
// files of a game that may be running in this directory. The slot table starts out free.
static TPack *openPackOrSay(const char *path)
{
    TPack *pack = o3DOpenPack(path);
    if (pack == nullptr) {
        fprintf(stderr, "o3dpack: cannot open pack %s (missing, unreadable or not a pack)\n", path);
    }
    return pack;
}

// A name as the listing shows it: printable ASCII as it is, every other byte as \xNN, so a
// pack's names cannot send control sequences to the terminal.
static std::string printableName(const char *name)
{
    std::string shown;
    for (const unsigned char *p = (const unsigned char *)name; *p != '\0'; p++) {
        if (*p >= 0x20 && *p < 0x7F) {
            shown += (char)*p;
        } else {
            char escape[5];
            snprintf(escape, sizeof escape, "\\x%02X", *p);
            shown += escape;
        }
    }
    return shown;
}

// The engine's directory listing (o3DPrintPack), with names made printable.
static void printListing(TPack *pack)
{
    printf("Paczka: %s\n", printableName(pack->path).c_str());
    printf("Liczba plikow: %d\n", o3DGetPackFileCount(pack));
    printf("==================================\n");
    for (int i = 0; i < o3DGetPackFileCount(pack); i++) {
        const TPackEntry *entry = o3DGetPackEntry(pack, i);
        printf("%3d. %-30s %8d bajtow (offset: %d)\n", i + 1, printableName(entry->name).c_str(),
               (int)entry->size, (int)entry->offset);
    }
    printf("==================================\n");
}

// Writes the bytes to a new or truncated file; false if any write or the close fails, and then
// a regular file is removed rather than left looking complete.
static bool writeWholeFile(const std::string &path, const unsigned char *data, size_t size)
{
    FILE *out = fopen(path.c_str(), "wb");
    if (out == nullptr) {
        return false;
    }
    // fflush on its own: some C libraries' fclose forgets a failure of its final flush.
    bool ok = fwrite(data, 1, size, out) == size && fflush(out) == 0;
    ok = fclose(out) == 0 && ok;
    if (!ok) {
        int saved = errno;
        std::error_code ec;
        if (std::filesystem::is_regular_file(path, ec)) {
            std::filesystem::remove(path, ec);
        }
        errno = saved;
    }
    return ok;
}

// Extracts one entry after checking that it lies whole inside the pack file and that the
// destination is not the pack itself.
static int extractEntry(TPack *pack, const char *packPath, const char *name,
                        const std::string &dest)
{
    const TPackEntry *entry = o3DFindPackEntry(pack, name);
    if (entry == nullptr) {
        fprintf(stderr, "o3dpack: %s has no entry named %s\n", packPath, name);
        return kExitFailed;
    }
    std::error_code ec;
    uintmax_t packBytes = std::filesystem::file_size(packPath, ec);
    if (ec || (uintmax_t)entry->offset + entry->size > packBytes) {
        fprintf(stderr, "o3dpack: the entry %s runs past the end of %s (the pack is damaged)\n",
                name, packPath);
        return kExitFailed;
    }
    if (dest.empty()) {
        fprintf(stderr, "o3dpack: %s names no file to extract to\n", name);
        return kExitFailed;
    }
    if (std::filesystem::equivalent(dest, packPath, ec)) {
        fprintf(stderr, "o3dpack: cannot extract %s onto %s: that is the pack itself\n", name,
                dest.c_str());
        return kExitFailed;
    }
    uint32_t size = 0;
    unsigned char *data = o3DReadPackEntry(pack, name, &size);
    if (data == nullptr) {
        fprintf(stderr, "o3dpack: cannot read %s from %s\n", name, packPath);
        return kExitFailed;
    }
    bool written = writeWholeFile(dest, data, size);
    int error = errno;
    o3DFreePackData(data);
    if (!written) {
        fprintf(stderr, "o3dpack: cannot write %s to %s: %s\n", name, dest.c_str(),
                strerror(error));
        return kExitFailed;
    }
    return kExitOk;
}

static int runCreate(int argc, char **argv)
{
    if (argc < 3) {
        return usageError("create needs an output pack name");
    }
    std::vector<std::string> files(argv + 3, argv + argc);
    std::string error;
    if (!writePackFromFiles(argv[2], files, error)) {
        fprintf(stderr, "o3dpack: %s; %s not written\n", error.c_str(), argv[2]);
        return kExitFailed;
    }
    printf("%s: %d entries\n", argv[2], (int)files.size());
    return kExitOk;
}

static int runList(int argc, char **argv)
{
    if (argc != 3) {
        return usageError("list takes one pack");
    }
    TPack *pack = openPackOrSay(argv[2]);
    if (pack == nullptr) {
        return kExitFailed;
    }
    printListing(pack);
    o3DClosePack(pack);
    return kExitOk;
}

static int runExtract(int argc, char **argv)
{
    if (argc != 4 && argc != 5) {
        return usageError("extract takes a pack, an entry name and an optional destination");
    }
    const char *name = argv[3];
    // Without DEST the file lands in the current directory even if NAME has a directory part.
    std::string dest = argc == 5 ? argv[4] : std::filesystem::path(name).filename().string();
    TPack *pack = openPackOrSay(argv[2]);
    if (pack == nullptr) {
        return kExitFailed;
    }
    int status = extractEntry(pack, argv[2], name, dest);
    o3DClosePack(pack);
    return status;
}

int main(int argc, char **argv)
{
    if (argc < 2) {
        return usageError("no command given");
    }
    const char *command = argv[1];
    if (strcmp(command, "--help") == 0 || strcmp(command, "-h") == 0) {
        printf("%s", kUsage);
        return kExitOk;
    }
    if (strcmp(command, "create") == 0) {
        return runCreate(argc, argv);
    }
    if (strcmp(command, "list") == 0) {
        return runList(argc, argv);
    }
    if (strcmp(command, "extract") == 0) {
        return runExtract(argc, argv);
    }
    return usageError("unknown command");
}
