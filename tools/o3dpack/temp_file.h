// A new file of a name no other file has: how o3dpack writes a pack beside its destination
// without touching any existing file. One implementation per system.
#ifndef O3DPACK_TEMP_FILE_H
#define O3DPACK_TEMP_FILE_H

#include <stdio.h>

#include <string>

// Creates and opens for binary writing a file whose path is `prefix` followed by a fresh suffix,
// so it lands in the prefix's folder. The creation is exclusive: an existing file is never
// opened. Sets `path` to the file's path; null on failure.
FILE *createUniqueFile(const std::string &prefix, std::string &path);

#endif
