// o3dpack: the command-line tool for the engine's resource packs. `create` builds a pack from
// files, `list` prints a pack's directory and `extract` writes one entry back to a file, the last
// two through the engine's own reader. Exit status: 0 done, 1 failed, 2 bad command line.
#include "ostrel3d.h"
#include "pack_writer.h"

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
    "                                    (at most 63 characters, no two alike, 1 to 1024 files)\n"
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
    o3DPrintPack(pack);
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
    int status = kExitOk;
    if (!o3DPackHasFile(pack, name)) {
        fprintf(stderr, "o3dpack: %s has no entry named %s\n", argv[2], name);
        status = kExitFailed;
    } else if (dest.empty() || !o3DExtractPackFile(pack, name, dest.c_str())) {
        fprintf(stderr, "o3dpack: cannot extract %s to %s\n", name, dest.c_str());
        status = kExitFailed;
    }
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
