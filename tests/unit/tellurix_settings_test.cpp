// tellurix's command line: atoi rules, defaults, clamps and the output file names.
#include "heightmap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TellurixSettings readArgs(std::initializer_list<const char *> args, uint32_t clockSeed = 777u)
{
    std::vector<const char *> argv{"tellurix"};
    argv.insert(argv.end(), args.begin(), args.end());
    return tellurixReadSettings((int)argv.size(), argv.data(), clockSeed);
}

std::string fileNameOf(const TellurixSettings &settings)
{
    char name[kTellurixFileNameSize];
    tellurixFormatFileName(&settings, name);
    return name;
}

} // namespace

TEST(TellurixSettings, NumbersFollowAtoiRules)
{
    EXPECT_EQ(tellurixParseInt("512"), 512);
    EXPECT_EQ(tellurixParseInt("  \t 42"), 42);
    EXPECT_EQ(tellurixParseInt("+7"), 7);
    EXPECT_EQ(tellurixParseInt("-13"), -13);
    EXPECT_EQ(tellurixParseInt("12abc"), 12);
    EXPECT_EQ(tellurixParseInt("3.9"), 3);
    EXPECT_EQ(tellurixParseInt("abc"), 0);
    EXPECT_EQ(tellurixParseInt(""), 0);
    EXPECT_EQ(tellurixParseInt("- 5"), 0);
    EXPECT_EQ(tellurixParseInt("0x10"), 0);
    EXPECT_EQ(tellurixParseInt("2147483647"), 2147483647);
    EXPECT_EQ(tellurixParseInt("-2147483648"), -2147483647 - 1);
}

TEST(TellurixSettings, EveryPrintedSeedReadsBackAsItself)
{
    for (uint32_t seed : {0u, 1u, 2147483647u, 2147483648u, 4000000000u, 4294967295u}) {
        std::string text = std::to_string(seed);
        EXPECT_EQ(readArgs({"16", "16", "1", text.c_str()}).seed, seed) << text;
    }
    EXPECT_EQ(readArgs({"16", "16", "1", "-1"}).seed, 4294967295u);
    EXPECT_EQ(readArgs({"16", "16", "1", "-2147483648"}).seed, 2147483648u);
}

TEST(TellurixSettings, MissingArgumentsTakeDefaultsAndTheClockSeed)
{
    TellurixSettings none = readArgs({}, 1733600000u);
    EXPECT_EQ(none.width, 256);
    EXPECT_EQ(none.height, 256);
    EXPECT_EQ(none.type, 1);
    EXPECT_EQ(none.seed, 1733600000u);
    EXPECT_EQ(fileNameOf(none), "heightmap_hills_1733600000.bmp");

    TellurixSettings three = readArgs({"100", "200", "4"}, 55u);
    EXPECT_EQ(three.width, 100);
    EXPECT_EQ(three.height, 200);
    EXPECT_EQ(three.type, 4);
    EXPECT_EQ(three.seed, 55u);

    EXPECT_EQ(readArgs({"300"}).height, 256);
    EXPECT_EQ(readArgs({"16", "16", "2", "0"}, 99u).seed, 0u);
}

TEST(TellurixSettings, OutOfRangeValuesAreClamped)
{
    TellurixSettings s = readArgs({"10", "5000", "9", "-1"});
    EXPECT_EQ(s.width, 16);
    EXPECT_EQ(s.height, 2048);
    EXPECT_EQ(s.type, 6);
    EXPECT_EQ(s.seed, 4294967295u);
    EXPECT_EQ(fileNameOf(s), "heightmap_mountains_4294967295.bmp");

    TellurixSettings garbage = readArgs({"wide", "-20", "0", "x"});
    EXPECT_EQ(garbage.width, 16);
    EXPECT_EQ(garbage.height, 16);
    EXPECT_EQ(garbage.type, 1);
    EXPECT_EQ(garbage.seed, 0u);

    TellurixSettings edges = readArgs({"16", "2048", "1", "5"});
    EXPECT_EQ(edges.width, 16);
    EXPECT_EQ(edges.height, 2048);
    EXPECT_EQ(readArgs({"2049", "15", "7"}).width, 2048);
    EXPECT_EQ(readArgs({"2049", "15", "7"}).height, 16);
    EXPECT_EQ(readArgs({"2049", "15", "-3"}).type, 1);
}

TEST(TellurixSettings, EachTypeHasItsNameAndFile)
{
    const char *names[] = {"Gentle hills",  "Plains with waves",
                           "Rolling hills", "Valleys and ridges",
                           "Island",        "Mountains"};
    const char *files[] = {"hills", "plains", "rolling", "valleys", "island", "mountains"};
    for (int type = 1; type <= 6; type++) {
        EXPECT_STREQ(tellurixTypeName(type), names[type - 1]);
        TellurixSettings s{512, 512, type, 12345u};
        EXPECT_EQ(fileNameOf(s), "heightmap_" + std::string(files[type - 1]) + "_12345.bmp");
    }
}

TEST(TellurixSettings, OnlyTheExactHelpWordsAskForHelpWhereverTheyStand)
{
    struct HelpCase {
        std::vector<const char *> args;
        int help;
    };
    const HelpCase cases[] = {
        {{"--help"}, 1},    {{"-h"}, 1},    {{"512", "512", "1", "-h"}, 1},
        {{"-h", "512"}, 1}, {{}, 0},        {{"512", "512", "1", "12345"}, 0},
        {{"--HELP"}, 0},    {{"-help"}, 0}, {{"--h"}, 0},
        {{"-h "}, 0},       {{" -h"}, 0},   {{"-hh"}, 0},
        {{"--help=1"}, 0},  {{"-"}, 0},
    };
    for (const HelpCase &c : cases) {
        std::vector<const char *> argv{"tellurix"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        EXPECT_EQ(tellurixWantsHelp((int)argv.size(), argv.data()), c.help)
            << (c.args.empty() ? "(none)" : c.args[0]);
    }
    // The program's own name is not an argument.
    const char *named[] = {"-h"};
    EXPECT_EQ(tellurixWantsHelp(1, named), 0);
}
