// Writes a resource pack from files on disk, for o3dpack create.
#ifndef O3DPACK_PACK_WRITER_H
#define O3DPACK_PACK_WRITER_H

#include <string>
#include <vector>

// Builds the pack `outPath` from `files` in the given order, each entry named by its file's base
// name. An existing `outPath` is replaced only if it is a pack and not one of the files. On
// failure returns false with a one-line reason in `error`, and leaves `outPath` as it was (the
// pack is written to a new file beside it and renamed into place only when complete).
bool writePackFromFiles(const std::string &outPath, const std::vector<std::string> &files,
                        std::string &error);

#endif
