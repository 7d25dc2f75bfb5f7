// tellurix: writes one greyscale heightmap bitmap per run from a size, a terrain type and a seed
// that recreates it. Prints its settings, the file name, the line of engine code that loads the
// file as terrain, and its usage. Exit status 0 when the file is written, 1 otherwise; -h or
// --help prints the usage alone and exits with 0.
#include "heightmap.h"

#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static const char *const kUsageLines[] = {
    "\n=== PROGRAM USAGE ===\n",
    "tellurix.exe [width] [height] [type] [seed]\n",
    "  Types:\n",
    "    1 = Gentle hills (RECOMMENDED for gentle terrain)\n",
    "    2 = Plains with waves\n",
    "    3 = Rolling hills\n",
    "    4 = Valleys and ridges\n",
    "    5 = Island\n",
    "    6 = Mountains\n",
    "  Example: tellurix.exe 512 512 1 12345\n",
    "\n",
};

static void printProgramUsage(void)
{
    for (const char *line : kUsageLines) {
        printf("%s", line);
    }
}

static void printUsage(const char *fileName)
{
    printf("\n=== USAGE IN OSTREL ===\n");
    printf("TTerrain* land = o3DCreateTerrain(\"%s\", 2.0f, 30.0f);\n", fileName);
    printProgramUsage();
}

int main(int argc, char **argv)
{
    if (tellurixWantsHelp(argc, argv)) {
        printProgramUsage();
        return 0;
    }
    printf("==============================================\n");
    printf("  HEIGHTMAP GENERATOR - RANDOM VERSION\n");
    printf("==============================================\n\n");

    // The clock is read only when no seed is given, so a given seed never depends on it.
    uint32_t clockSeed = argc > 4 ? 0u : (uint32_t)time(nullptr);
    TellurixSettings settings = tellurixReadSettings(argc, argv, clockSeed);
    printf("Size: %d x %d\n", settings.width, settings.height);
    printf("Seed: %u (save it to recreate the same terrain!)\n", (unsigned)settings.seed);

    size_t pixels = (size_t)settings.width * (size_t)settings.height;
    unsigned char *heights = (unsigned char *)malloc(pixels);
    if (heights == nullptr) {
        printf("ERROR: Out of memory!\n");
        return 1;
    }

    printf("Type: %s\n", tellurixTypeName(settings.type));
    char fileName[kTellurixFileNameSize];
    tellurixFormatFileName(&settings, fileName);
    tellurixGenerate(heights, settings.width, settings.height, settings.type, settings.seed);

    printf("Saving to: %s...\n", fileName);
    if (!tellurixWriteBmp(fileName, heights, settings.width, settings.height)) {
        printf("ERROR: Cannot save file!\n");
        free(heights);
        return 1;
    }
    printf("OK! File saved.\n");
    free(heights);
    printUsage(fileName);
    return 0;
}
