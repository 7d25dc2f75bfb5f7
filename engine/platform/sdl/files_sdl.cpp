// The sdl backend's file sweeps: POSIX glob over the current directory, unlink for each match.
#include "platform/seam.h"

#include <glob.h>
#include <unistd.h>

static void deleteMatching(const char *pattern)
{
    glob_t found;
    // No match is not an error here: the pattern is simply skipped.
    if (glob(pattern, 0, nullptr, &found) != 0) {
        return;
    }
    for (size_t i = 0; i < found.gl_pathc; i++) {
        unlink(found.gl_pathv[i]);
    }
    globfree(&found);
}

constexpr PlatformFileSeam kNativeFileSeam = {deleteMatching};
PlatformFileSeam gFileSeam = kNativeFileSeam;
