// The pack listing printed by o3DPrintPack, compared whole.
#include "pack_fixture.h"

TEST_F(PackTest, PrintListsEveryEntryInDirectoryOrder)
{
    std::string bytes = packHeader(kFixtureMagic, 4,
                                   {{"tris.md2", 1234, 296},
                                    {"exactly_thirty_characters_.bmp", 0, 1530},
                                    {"a_name_longer_than_thirty_characters.met", 123456789, 8},
                                    {"x", 7, 4000000000u}});
    writeBytes(pathOf("game.dat"), bytes);
    TPack *pack = o3DOpenPack(pathOf("game.dat").c_str());
    ASSERT_NE(pack, nullptr);

    // Names pad to 30 columns and longer ones push the size right; sizes and offsets print as
    // signed ints, as the format has always done.
    std::string expected =
        "Paczka: " + pathOf("game.dat") + "\n" +
        "Liczba plikow: 4\n"
        "==================================\n"
        "  1. tris.md2                           1234 bajtow (offset: 296)\n"
        "  2. exactly_thirty_characters_.bmp        0 bajtow (offset: 1530)\n"
        "  3. a_name_longer_than_thirty_characters.met 123456789 bajtow (offset: 8)\n"
        "  4. x                                     7 bajtow (offset: -294967296)\n"
        "==================================\n";
    EXPECT_EQ(capturePrintPack(pack), expected);
}

TEST_F(PackTest, PrintNumbersPastNinetyNineAndShowsTheLongestNames)
{
    std::vector<FixtureFile> files;
    for (int i = 0; i < 100; i++) {
        files.push_back({"f" + std::to_string(i), ""});
    }
    files.push_back({std::string(63, 'L'), "abc"});
    writePack(pathOf("big.dat"), files);
    TPack *pack = o3DOpenPack(pathOf("big.dat").c_str());
    ASSERT_NE(pack, nullptr);

    std::string text = capturePrintPack(pack);
    uint32_t dataStart = 8 + 101 * 72;
    EXPECT_NE(text.find("Liczba plikow: 101\n"), std::string::npos);
    EXPECT_NE(text.find("\n  9. f8                                    0 bajtow (offset: " +
                        std::to_string(dataStart) + ")\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\n100. f99 "), std::string::npos);
    EXPECT_NE(text.find("\n101. " + std::string(63, 'L') +
                        "        3 bajtow (offset: " + std::to_string(dataStart) + ")\n==="),
              std::string::npos)
        << text;
}

TEST_F(PackTest, PrintOfNoPackSaysItIsNotLoaded)
{
    EXPECT_EQ(capturePrintPack(nullptr), "Paczka nie jest zaladowana!\n");
    writePack(pathOf("game.dat"), {{"a", "b"}});
    TPack *pack = o3DOpenPack(pathOf("game.dat").c_str());
    ASSERT_NE(pack, nullptr);
    o3DClosePack(pack);
    EXPECT_EQ(capturePrintPack(pack), "Paczka nie jest zaladowana!\n");
}
