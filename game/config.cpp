// The settings file "config.ini" in the working directory: read leniently line by line, written
// whole through a temporary file that is renamed into place, so a crash or a full disk never
// leaves a half-written or empty file behind.
#include "game.h"

#include <ctype.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <filesystem>
#include <system_error>

static const char kConfigName[] = "config.ini";
static const char kConfigTempName[] = "config.ini.new";

// An optionally signed decimal integer after leading blanks, the longest valid prefix; 0 without
// one. Values beyond int are held at its limits.
static int readInt(const char *text)
{
    long value = strtol(text, nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return (int)value;
}

// An optionally signed decimal number with an optional fraction and exponent, the longest valid
// prefix; 0 without one. Only decimal digits count, so "nan", "inf" and hexadecimal text give 0.
static float readFloat(const char *text)
{
    const char *p = text;
    while (isspace((unsigned char)*p))
        ++p;
    const char *start = p;
    if (*p == '+' || *p == '-')
        ++p;
    int digits = 0;
    while (isdigit((unsigned char)*p))
        ++p, ++digits;
    if (*p == '.') {
        ++p;
        while (isdigit((unsigned char)*p))
            ++p, ++digits;
    }
    if (digits == 0)
        return 0.0f;
    if (*p == 'e' || *p == 'E') {
        const char *e = p + 1;
        if (*e == '+' || *e == '-')
            ++e;
        if (isdigit((unsigned char)*e)) {
            while (isdigit((unsigned char)*e))
                ++e;
            p = e;
        }
    }
    char number[128];
    size_t length = (size_t)(p - start);
    if (length >= sizeof number)
        length = sizeof number - 1;
    memcpy(number, start, length);
    number[length] = '\0';
    return (float)strtod(number, nullptr);
}

static float clampSetting(float value, float low, float high)
{
    if (!(value >= low)) // a value that is no number at all falls back to the lower bound too
        value = low;
    if (value > high)
        value = high;
    return value;
}

static void applySetting(const char *key, const char *value)
{
    if (strcmp(key, "ResolutionIndex") == 0) {
        int index = readInt(value);
        if (index >= 0 && index < o3DGetDisplayModeCount())
            o3DSetResolution(index);
    } else if (strcmp(key, "Fullscreen") == 0) {
        int on = readInt(value);
        if ((on != 0) != (o3DIsFullscreen() != 0))
            o3DToggleFullscreen();
    } else if (strcmp(key, "FOV") == 0) {
        fov = clampSetting(readFloat(value), 45.0f, 120.0f);
    } else if (strcmp(key, "DrawDistance") == 0) {
        drawDistance = clampSetting(readFloat(value), 50.0f, 1000.0f);
    } else if (strcmp(key, "ShadowQuality") == 0) {
        shadowQuality = readInt(value);
    } else if (strcmp(key, "MasterVolume") == 0) {
        int volume = readInt(value);
        masterVolume = volume < 0 ? 0 : volume > 100 ? 100 : volume;
    }
}

void loadConfig(void)
{
    FILE *file = fopen(kConfigName, "r");
    if (!file)
        return;
    // Lines longer than the buffer arrive in pieces, each read as a line of its own.
    char line[256];
    while (fgets(line, sizeof line, file)) {
        if (line[0] == '\n' || line[0] == '\r' || line[0] == '[')
            continue;
        char key[128], value[128];
        if (sscanf(line, "%127[^=]=%127s", key, value) != 2)
            continue;
        applySetting(key, value);
    }
    fclose(file);
}

void formatConfig(char *out, int size)
{
    snprintf(out, (size_t)size,
             "[Video]\n"
             "ResolutionIndex=%d\n"
             "Fullscreen=%d\n"
             "FOV=%.1f\n"
             "DrawDistance=%.1f\n"
             "\n"
             "[Graphics]\n"
             "ShadowQuality=%d\n"
             "\n"
             "[Audio]\n"
             "MasterVolume=%d\n",
             o3DGetResolutionIndex(), o3DIsFullscreen() ? 1 : 0, (double)fov, (double)drawDistance,
             shadowQuality, masterVolume);
}

void saveConfig(void)
{
    char text[512];
    formatConfig(text, sizeof text);
    FILE *file = fopen(kConfigTempName, "w");
    if (!file)
        return;
    int written = fputs(text, file) >= 0;
    written = (fflush(file) == 0) && written;
    written = (fclose(file) == 0) && written;
    std::error_code error;
    if (written)
        std::filesystem::rename(kConfigTempName, kConfigName, error);
    if (!written || error)
        std::filesystem::remove(kConfigTempName, error);
}
