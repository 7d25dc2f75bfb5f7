// The staging of a font from a pack: the glyph sheet's entry name read from the metrics entry,
// and the metrics rewritten to name the staged sheet. The input is split at its last NUL into
// the metrics bytes and the staged name (a name in the rewrite is a C string). Whatever the
// bytes, the name read is at most 254 characters without a line end, and the rewrite keeps line 1,
// names the sheet on line 2 (read back the same) and keeps every byte after the old line 2.
#include "pack/staging.h"

#include "fuzz_support.h"

#include <string.h>

#include <string>

// Longer names read as the default sheet's.
static const size_t kMaxStagedName = 254;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    size_t metricsBytes = size;
    while (metricsBytes > 0 && data[metricsBytes - 1] != '\0')
        --metricsBytes;
    std::string staged;
    if (metricsBytes > 0) {
        staged.assign((const char *)data + metricsBytes, size - metricsBytes);
        --metricsBytes;
    } else {
        metricsBytes = size;
    }
    std::string metrics((const char *)data, metricsBytes);
    // The readers get the metrics in a block of exactly their size, so a read past it shows.
    unsigned char *block = (unsigned char *)malloc(metricsBytes ? metricsBytes : 1);
    memcpy(block, data, metricsBytes);

    char name[kStagingNameChars];
    memset(name, 0x5A, sizeof name);
    stagingFontSheetName(block, (uint32_t)metricsBytes, name);
    // A NUL byte in line 2 ends the name early, as it does any C string; the name may then be
    // empty, and the look-up of the sheet finds no entry.
    size_t nameLength = strnlen(name, sizeof name);
    FUZZ_CHECK(nameLength < sizeof name && strpbrk(name, "\r\n") == nullptr);
    FUZZ_CHECK(nameLength >= 1 || metrics.find('\0') != std::string::npos);

    size_t outSize = 0;
    unsigned char *out =
        stagingRewriteMetrics(block, (uint32_t)metricsBytes, staged.c_str(), &outSize);
    free(block);
    FUZZ_CHECK(out != nullptr);
    std::string rewritten((const char *)out, outSize);
    free(out);
    size_t firstFeed = metrics.find('\n');
    std::string firstLine = metrics.substr(0, firstFeed);
    std::string rest;
    if (firstFeed != std::string::npos) {
        size_t secondFeed = metrics.find('\n', firstFeed + 1);
        rest = secondFeed == std::string::npos ? "" : metrics.substr(secondFeed + 1);
    }
    FUZZ_CHECK(rewritten == firstLine + "\n" + staged + "\n" + rest);

    // The staged name, when it is one, is what the rewritten file names.
    if (!staged.empty() && staged.size() <= kMaxStagedName &&
        staged.find_first_of("\r\n") == std::string::npos) {
        stagingFontSheetName((const unsigned char *)rewritten.data(), (uint32_t)rewritten.size(),
                             name);
        FUZZ_CHECK(staged == name);
    }
    return 0;
}
