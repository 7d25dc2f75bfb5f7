// The staging of a font from a pack: the glyph sheet's entry name read from the metrics entry,
// and the metrics rewritten to name the staged sheet. The input is split at its first NUL into
// the metrics bytes and the staged name (a name in the rewrite is a C string). Whatever the
// bytes, the name read is 1 to 255 characters without a line end, and the rewrite keeps line 1,
// names the sheet on line 2 (read back the same) and keeps every byte after the old line 2.
#include "pack/staging.h"

#include "fuzz_support.h"

#include <string.h>

#include <string>

// Longer names read as the default sheet's.
static const size_t kMaxStagedName = 254;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const uint8_t *nul = (const uint8_t *)memchr(data, '\0', size);
    size_t metricsBytes = nul ? (size_t)(nul - data) : size;
    std::string metrics((const char *)data, metricsBytes);
    std::string staged = nul ? std::string((const char *)nul + 1, size - metricsBytes - 1) : "";
    staged = staged.substr(0, strlen(staged.c_str()));

    char name[kStagingNameChars];
    memset(name, 0x5A, sizeof name);
    stagingFontSheetName((const unsigned char *)metrics.data(), (uint32_t)metrics.size(), name);
    size_t nameLength = strnlen(name, sizeof name);
    FUZZ_CHECK(nameLength >= 1 && nameLength < sizeof name);
    FUZZ_CHECK(strpbrk(name, "\r\n") == nullptr);

    size_t outSize = 0;
    unsigned char *out = stagingRewriteMetrics((const unsigned char *)metrics.data(),
                                               (uint32_t)metrics.size(), staged.c_str(), &outSize);
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
