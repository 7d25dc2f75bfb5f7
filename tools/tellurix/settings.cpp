// tellurix's command line: the four positional numbers with their defaults and clamps, the type
// names and the output file name. Parsing is our own so both builds read every text alike.
#include "heightmap.h"
#include "terrain.h"

#include <stdio.h>
#include <string.h>

enum {
    kDefaultSizePixels = 256,
    kDefaultType = 1,
};

static int isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

static int clampInt(int value, int low, int high)
{
    return value < low ? low : (value > high ? high : value);
}

int tellurixParseInt(const char *text)
{
    if (text == nullptr) {
        return 0;
    }
    while (isBlank(*text)) {
        text++;
    }
    int negative = 0;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        text++;
    }
    // Unsigned arithmetic wraps modulo 2^32, so no input is undefined behaviour.
    uint32_t value = 0;
    while (*text >= '0' && *text <= '9') {
        value = value * 10u + (uint32_t)(*text - '0');
        text++;
    }
    if (negative) {
        value = 0u - value;
    }
    return (int)value;
}

TellurixSettings tellurixReadSettings(int argc, const char *const *argv, uint32_t clockSeed)
{
    TellurixSettings settings;
    settings.width = kDefaultSizePixels;
    settings.height = kDefaultSizePixels;
    settings.type = kDefaultType;
    settings.seed = clockSeed;
    if (argc > 1) {
        settings.width = clampInt(tellurixParseInt(argv[1]), kTellurixMinSize, kTellurixMaxSize);
    }
    if (argc > 2) {
        settings.height = clampInt(tellurixParseInt(argv[2]), kTellurixMinSize, kTellurixMaxSize);
    }
    if (argc > 3) {
        settings.type = clampTerrainType(tellurixParseInt(argv[3]));
    }
    if (argc > 4) {
        settings.seed = (uint32_t)tellurixParseInt(argv[4]);
    }
    return settings;
}

int tellurixWantsHelp(int argc, const char *const *argv)
{
    for (int i = 1; i < argc; i++) {
        if (argv[i] != nullptr && (strcmp(argv[i], "-h") == 0 || strcmp(argv[i], "--help") == 0)) {
            return 1;
        }
    }
    return 0;
}

const char *tellurixTypeName(int type)
{
    return terrainType(type)->name;
}

const char *tellurixFileNamePattern(int type)
{
    return terrainType(type)->fileNamePattern;
}

void tellurixFormatFileName(const TellurixSettings *settings, char *out)
{
    snprintf(out, kTellurixFileNameSize, tellurixFileNamePattern(settings->type),
             (unsigned)settings->seed);
}
