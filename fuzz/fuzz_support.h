// What every fuzz target shares: a scratch folder of its own process, the one input file in it
// that readers taking a path are given (rewritten for every input, so a run makes no files), and
// the checks that stop the run on a broken invariant. libFuzzer takes an abort as a finding and
// keeps the input that caused it.
#ifndef O3D_FUZZ_SUPPORT_H
#define O3D_FUZZ_SUPPORT_H

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

// A broken invariant: say which, and abort so the fuzzer records the input.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition);      \
            abort();                                                                               \
        }                                                                                          \
    } while (0)

// The process's own folder under the system's temporary directory, made on first use and removed
// when the process ends normally (a crashing run leaves it for the post-mortem).
inline const std::filesystem::path &fuzzScratchFolder(void)
{
    static const std::filesystem::path folder = [] {
        std::filesystem::path made =
            std::filesystem::temp_directory_path() / ("o3d-fuzz-" + std::to_string((long)getpid()));
        std::filesystem::create_directories(made);
        atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(fuzzScratchFolder(), ignored);
        });
        return made;
    }();
    return folder;
}

// The path of a file named `name` in the scratch folder.
inline std::string fuzzScratchPath(const char *name)
{
    return (fuzzScratchFolder() / name).string();
}

// Writes the input to the scratch file `name` (the same file every time) and returns its path.
inline const char *fuzzInputFile(const char *name, const uint8_t *data, size_t size)
{
    static std::string path;
    path = fuzzScratchPath(name);
    FILE *file = fopen(path.c_str(), "wb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(size == 0 || fwrite(data, 1, size, file) == size);
    FUZZ_CHECK(fclose(file) == 0);
    return path.c_str();
}

// Reads every byte of an array the reader handed out, so AddressSanitizer sees an array shorter
// than its record claims; the sum goes to a volatile so the reads are not optimised away.
inline void fuzzTouch(const void *bytes, size_t size)
{
    static volatile unsigned sink;
    const unsigned char *p = (const unsigned char *)bytes;
    unsigned sum = 0;
    for (size_t i = 0; i < size; ++i)
        sum += p[i];
    sink = sink + sum;
}

#endif
