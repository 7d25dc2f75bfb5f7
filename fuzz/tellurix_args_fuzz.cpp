// tellurix's argument handling on any command line: the input's NUL bytes separate the arguments
// (at most six after the program's name). Help is asked for exactly when an argument is "-h" or
// "--help"; otherwise the settings lie in their ranges, the clock gives the seed only without a
// fourth argument, the seed printed with %u reads back as itself, and the file name, terminated
// within its buffer, is "heightmap_<type>_<seed>.bmp".
#include "heightmap.h"

#include "fuzz_support.h"

#include <string.h>

#include <string>
#include <vector>

static const size_t kMaxArguments = 6;
static const uint32_t kClockSeed = 0xC10C4u;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::vector<std::string> texts(1);
    for (size_t i = 0; i < size && texts.size() <= kMaxArguments; ++i) {
        if (data[i] == '\0')
            texts.emplace_back();
        else
            texts.back().push_back((char)data[i]);
    }
    std::vector<const char *> argv = {"tellurix"};
    int help = 0;
    for (const std::string &text : texts) {
        argv.push_back(text.c_str());
        help = help || text == "-h" || text == "--help";
    }
    int argc = (int)argv.size();
    FUZZ_CHECK(tellurixWantsHelp(argc, argv.data()) == help);

    TellurixSettings settings = tellurixReadSettings(argc, argv.data(), kClockSeed);
    FUZZ_CHECK(settings.width >= kTellurixMinSize && settings.width <= kTellurixMaxSize);
    FUZZ_CHECK(settings.height >= kTellurixMinSize && settings.height <= kTellurixMaxSize);
    FUZZ_CHECK(settings.type >= 1 && settings.type <= kTellurixTypeCount);
    FUZZ_CHECK(argc > 4 || settings.seed == kClockSeed);

    char printed[16];
    snprintf(printed, sizeof printed, "%u", (unsigned)settings.seed);
    FUZZ_CHECK((uint32_t)tellurixParseInt(printed) == settings.seed);

    char fileName[kTellurixFileNameSize];
    memset(fileName, 0x5A, sizeof fileName);
    tellurixFormatFileName(&settings, fileName);
    FUZZ_CHECK(memchr(fileName, '\0', sizeof fileName) != nullptr);
    std::string name = fileName;
    std::string tail = std::string("_") + printed + ".bmp";
    FUZZ_CHECK(name.compare(0, 10, "heightmap_") == 0);
    FUZZ_CHECK(name.size() > tail.size() &&
               name.compare(name.size() - tail.size(), tail.size(), tail) == 0);
    return 0;
}
