// The win32 file sweeps: FindFirstFileA/FindNextFileA over the current directory, DeleteFileA
// for every name found.
#include "platform/seam.h"

#include <windows.h>

static void deleteMatching(const char *pattern)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        // The found name carries no folder, which is right: the pattern searches the current one.
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            DeleteFileA(found.cFileName);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

constexpr PlatformFileSeam kNativeFileSeam = {deleteMatching};
PlatformFileSeam gFileSeam = kNativeFileSeam;
