// createUniqueFile on Windows: names made of the process id and a counter, each tried with an
// exclusive _open until one is free.
#include "temp_file.h"

#include <errno.h>
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>

static const int kMaxAttempts = 1000;

FILE *createUniqueFile(const std::string &prefix, std::string &path)
{
    std::string stem = prefix + "." + std::to_string(_getpid()) + ".";
    for (int attempt = 0; attempt < kMaxAttempts; attempt++) {
        std::string name = stem + std::to_string(attempt);
        int fd =
            _open(name.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
        if (fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return nullptr;
        }
        FILE *file = _fdopen(fd, "wb");
        if (file == nullptr) {
            _close(fd);
            _unlink(name.c_str());
            return nullptr;
        }
        path = name;
        return file;
    }
    return nullptr;
}
