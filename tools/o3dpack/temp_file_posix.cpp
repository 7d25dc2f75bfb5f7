// createUniqueFile on POSIX systems: mkstemp, then the permissions an ordinary new file gets
// (mkstemp's are owner-only, which the finished pack would keep after its rename).
#include "temp_file.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

static const mode_t kNewFileMode = 0666;

FILE *createUniqueFile(const std::string &prefix, std::string &path)
{
    std::string pattern = prefix + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = mkstemp(name.data());
    if (fd < 0) {
        return nullptr;
    }
    mode_t mask = umask(0);
    umask(mask);
    FILE *file = fchmod(fd, kNewFileMode & ~mask) == 0 ? fdopen(fd, "wb") : nullptr;
    if (file == nullptr) {
        close(fd);
        unlink(name.data());
        return nullptr;
    }
    path = name.data();
    return file;
}
