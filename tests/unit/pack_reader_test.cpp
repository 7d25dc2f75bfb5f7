// The pack reader: which files it accepts, the slot table and the active pack, look-up by exact
// name, reading, text, extraction and closing, over packs written by the fixture writers.
#include "pack_fixture.h"

#include <string.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::vector<FixtureFile> numberedFiles(int count)
{
    std::vector<FixtureFile> files;
    for (int i = 0; i < count; i++) {
        files.push_back({"entry" + std::to_string(i) + ".bin", std::to_string(i)});
    }
    return files;
}

// Reads an entry whole as a string; "<null>" if the reader refused it.
std::string readEntryText(TPack *pack, const char *name, uint32_t *outSize = nullptr)
{
    uint32_t size = 0;
    unsigned char *data = o3DReadPackEntry(pack, name, &size);
    if (data == nullptr) {
        return "<null>";
    }
    std::string text((const char *)data, size);
    o3DFreePackData(data);
    if (outSize != nullptr) {
        *outSize = size;
    }
    return text;
}

} // namespace

TEST_F(PackTest, OpenAcceptsOneToTenTwentyFourEntriesOnly)
{
    writePack(pathOf("one.dat"), numberedFiles(1));
    writePack(pathOf("full.dat"), numberedFiles(1024));
    writePack(pathOf("over.dat"), numberedFiles(1025));
    writeBytes(pathOf("empty.dat"), packHeader(kFixtureMagic, 0, {}));
    writeBytes(pathOf("negative.dat"), packHeader(kFixtureMagic, -1, {{"a", 0, 0}}));

    TPack *one = o3DOpenPack(pathOf("one.dat").c_str());
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(o3DGetPackFileCount(one), 1);
    TPack *full = o3DOpenPack(pathOf("full.dat").c_str());
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(o3DGetPackFileCount(full), 1024);
    EXPECT_EQ(readEntryText(full, "entry1023.bin"), "1023");
    EXPECT_STREQ(full->path, pathOf("full.dat").c_str());
    EXPECT_EQ(full->magic, 2903);

    EXPECT_EQ(o3DOpenPack(pathOf("over.dat").c_str()), nullptr);
    EXPECT_EQ(o3DOpenPack(pathOf("empty.dat").c_str()), nullptr);
    EXPECT_EQ(o3DOpenPack(pathOf("negative.dat").c_str()), nullptr);
}

TEST_F(PackTest, OpenRefusesWrongMagicMissingFileAndNullPath)
{
    writeBytes(pathOf("off_by_one.dat"), packHeader(2902, 1, {{"a", 0, 80}}));
    // 2903 written big-endian: a writer that forgot the byte order.
    std::string rest = packHeader(kFixtureMagic, 1, {{"a", 0, 80}}).substr(4);
    writeBytes(pathOf("big_endian.dat"), std::string("\0\0\x0B\x57", 4) + rest);

    EXPECT_EQ(o3DOpenPack(pathOf("off_by_one.dat").c_str()), nullptr);
    EXPECT_EQ(o3DOpenPack(pathOf("big_endian.dat").c_str()), nullptr);
    EXPECT_EQ(o3DOpenPack(pathOf("missing.dat").c_str()), nullptr);
    EXPECT_EQ(o3DOpenPack(nullptr), nullptr);
    EXPECT_EQ(o3DGetActivePack(), nullptr);
}

TEST_F(PackTest, TruncatedHeaderOrDirectoryIsRefusedAndTheFileClosed)
{
    std::string twoEntries = packHeader(kFixtureMagic, 2, {{"a.txt", 1, 152}, {"b.txt", 1, 153}});
    writeBytes(pathOf("nothing.dat"), "");
    writeBytes(pathOf("half_header.dat"), twoEntries.substr(0, 4));
    writeBytes(pathOf("seven.dat"), twoEntries.substr(0, 7));
    writeBytes(pathOf("header_only.dat"), twoEntries.substr(0, 8));
    writeBytes(pathOf("short_directory.dat"), twoEntries.substr(0, twoEntries.size() - 1));

    int filesBefore = openFileCount();
    for (const char *name : {"nothing.dat", "half_header.dat", "seven.dat", "header_only.dat",
                             "short_directory.dat"}) {
        EXPECT_EQ(o3DOpenPack(pathOf(name).c_str()), nullptr) << name;
        // Where the system forbids removing open files this proves the reader let go of it.
        std::error_code ec;
        EXPECT_TRUE(fs::remove(pathOf(name), ec)) << name << ": " << ec.message();
    }
    EXPECT_EQ(openFileCount(), filesBefore);
    EXPECT_EQ(o3DGetActivePack(), nullptr);

    // No slot was kept either: all 16 are still there to open.
    writePack(pathOf("good.dat"), numberedFiles(1));
    for (int i = 0; i < 16; i++) {
        EXPECT_NE(o3DOpenPack(pathOf("good.dat").c_str()), nullptr) << i;
    }
}

TEST_F(PackTest, SeventeenthPackIsRefusedAndTheLowestFreeSlotIsReused)
{
    writePack(pathOf("game.dat"), numberedFiles(2));
    TPack *packs[16];
    for (int i = 0; i < 16; i++) {
        packs[i] = o3DOpenPack(pathOf("game.dat").c_str());
        ASSERT_NE(packs[i], nullptr) << i;
        // Handed out in table order: each open takes the next slot of the one table.
        EXPECT_EQ(packs[i], packs[0] + i);
    }
    EXPECT_EQ(o3DOpenPack(pathOf("game.dat").c_str()), nullptr);

    o3DClosePack(packs[9]);
    o3DClosePack(packs[4]);
    EXPECT_EQ(o3DOpenPack(pathOf("game.dat").c_str()), packs[4]);
    EXPECT_EQ(o3DOpenPack(pathOf("game.dat").c_str()), packs[9]);
    EXPECT_EQ(o3DOpenPack(pathOf("game.dat").c_str()), nullptr);
    EXPECT_EQ(readEntryText(packs[9], "entry1.bin"), "1");
}

TEST_F(PackTest, FirstPackOpenedWithoutAnActiveOneBecomesActive)
{
    writePack(pathOf("a.dat"), numberedFiles(1));
    TPack *first = o3DOpenPack(pathOf("a.dat").c_str());
    TPack *second = o3DOpenPack(pathOf("a.dat").c_str());
    EXPECT_EQ(o3DGetActivePack(), first);

    // Closing the active pack leaves none active; the other open pack does not step in.
    o3DClosePack(first);
    EXPECT_EQ(o3DGetActivePack(), nullptr);
    TPack *third = o3DOpenPack(pathOf("a.dat").c_str());
    EXPECT_EQ(o3DGetActivePack(), third);

    o3DSetActivePack(second);
    EXPECT_EQ(o3DGetActivePack(), second);
    o3DClosePack(third);
    EXPECT_EQ(o3DGetActivePack(), second);

    o3DCleanupTempFiles();
    EXPECT_EQ(o3DGetActivePack(), nullptr);
    EXPECT_EQ(o3DGetPackFileCount(second), 0);
    EXPECT_FALSE(second->loaded);
}

TEST_F(PackTest, LookupMatchesTheWholeNameWithCase)
{
    writePack(pathOf("game.dat"), {{"tris.md2", "model"}, {"skin.bmp", "BM"}});
    TPack *pack = o3DOpenPack(pathOf("game.dat").c_str());
    ASSERT_NE(pack, nullptr);

    EXPECT_EQ(o3DFindPackEntry(pack, "skin.bmp"), o3DGetPackEntry(pack, 1));
    EXPECT_EQ(o3DFindPackEntry(pack, "Tris.md2"), nullptr);
    EXPECT_EQ(o3DFindPackEntry(pack, "tris.md"), nullptr);
    EXPECT_EQ(o3DFindPackEntry(pack, "tris.md2.bak"), nullptr);
    EXPECT_EQ(o3DFindPackEntry(pack, ""), nullptr);
    EXPECT_EQ(o3DFindPackEntry(pack, nullptr), nullptr);
    EXPECT_TRUE(o3DPackHasFile(pack, "tris.md2"));
    EXPECT_FALSE(o3DPackHasFile(pack, "TRIS.MD2"));
    EXPECT_EQ(o3DGetPackFileSize(pack, "tris.md2"), 5);
    EXPECT_EQ(o3DGetPackFileSize(pack, "Tris.md2"), -1);
    EXPECT_EQ(readEntryText(pack, "Tris.md2"), "<null>");
}

TEST_F(PackTest, FirstOfTwoEntriesWithOneNameWins)
{
    writePack(pathOf("game.dat"), {{"sky.bmp", "first"}, {"sky.bmp", "second!"}});
    TPack *pack = o3DOpenPack(pathOf("game.dat").c_str());
    ASSERT_NE(pack, nullptr);
    EXPECT_EQ(o3DFindPackEntry(pack, "sky.bmp"), o3DGetPackEntry(pack, 0));
    EXPECT_EQ(readEntryText(pack, "sky.bmp"), "first");
    EXPECT_EQ(o3DGetPackFileSize(pack, "sky.bmp"), 5);
}

TEST_F(PackTest, NameWithoutTerminatorRefusesThePackAndKeepsNothing)
{
    const std::string full(64, 'n');
    writePack(pathOf("first.dat"), {{full, "sixty-four"}, {"next.txt", "x"}});
    writePack(pathOf("last.dat"), {{"a.txt", "x"}, {"b.txt", "y"}, {full, "sixty-four"}});
    // A name running on into its record's size bytes; the first zero is in the offset field.
    std::string intoSize = packHeader(kFixtureMagic, 1, {{full, 0x01010101, 80}});
    writeBytes(pathOf("into_size.dat"), intoSize + "data");

    int filesBefore = openFileCount();
    for (const char *name : {"first.dat", "last.dat", "into_size.dat"}) {
        EXPECT_EQ(o3DOpenPack(pathOf(name).c_str()), nullptr) << name;
        std::error_code ec;
        EXPECT_TRUE(fs::remove(pathOf(name), ec)) << name << ": " << ec.message();
    }
    EXPECT_EQ(openFileCount(), filesBefore);
    EXPECT_EQ(o3DGetActivePack(), nullptr);
    writePack(pathOf("good.dat"), numberedFiles(1));
    for (int i = 0; i < 16; i++) {
        EXPECT_NE(o3DOpenPack(pathOf("good.dat").c_str()), nullptr) << i;
    }
}

TEST_F(PackTest, SixtyThreeCharacterNameIsFoundWhole)
{
    const std::string longest(63, 'n');
    writePack(pathOf("game.dat"), {{longest, "sixty-three"}, {"next.txt", "x"}});
    TPack *pack = o3DOpenPack(pathOf("game.dat").c_str());
    ASSERT_NE(pack, nullptr);

    EXPECT_EQ(strlen(o3DGetPackEntry(pack, 0)->name), 63u);
    EXPECT_EQ(readEntryText(pack, longest.c_str()), "sixty-three");
    EXPECT_EQ(o3DFindPackEntry(pack, (longest + "n").c_str()), nullptr);
    EXPECT_EQ(o3DFindPackEntry(pack, longest.substr(0, 62).c_str()), nullptr);
}

TEST_F(PackTest, ReadEntryReturnsItsBytesAndSize)
{
    const std::string binary("\0\x01\xFF\x80zero\0inside", 15);
    writePack(pathOf("game.dat"), {{"a.txt", "alpha"}, {"blob.bin", binary}, {"z.txt", "zeta"}});
    TPack *pack = o3DOpenPack(pathOf("game.dat").c_str());
    ASSERT_NE(pack, nullptr);

    uint32_t size = 0;
    EXPECT_EQ(readEntryText(pack, "blob.bin", &size), binary);
    EXPECT_EQ(size, 15u);
    EXPECT_EQ(readEntryText(pack, "z.txt"), "zeta");
    EXPECT_EQ(readEntryText(pack, "a.txt"), "alpha");

    unsigned char *noSize = o3DReadPackEntry(pack, "a.txt", nullptr);
    ASSERT_NE(noSize, nullptr);
    EXPECT_EQ(memcmp(noSize, "alpha", 5), 0);
    o3DFreePackData(noSize);
    o3DFreePackData(nullptr);

    char *text = o3DReadPackText(pack, "blob.bin");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(text, 16), binary + std::string(1, '\0'));
    o3DFreePackData(text);
}

TEST_F(PackTest, EmptyEntryIsAnEmptyBufferAndAnEmptyText)
{
    writePack(pathOf("game.dat"), {{"empty.txt", ""}, {"b.txt", "b"}});
    TPack *pack = o3DOpenPack(pathOf("game.dat").c_str());
    ASSERT_NE(pack, nullptr);

    uint32_t size = 99;
    unsigned char *data = o3DReadPackEntry(pack, "empty.txt", &size);
    EXPECT_NE(data, nullptr);
    EXPECT_EQ(size, 0u);
    o3DFreePackData(data);
    char *text = o3DReadPackText(pack, "empty.txt");
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "");
    o3DFreePackData(text);
    EXPECT_EQ(o3DGetPackFileSize(pack, "empty.txt"), 0);
}

TEST_F(PackTest, ReadEntryZeroFillsPastEndOfFile)
{
    // 8 + 2 * 72 = 152 bytes of header and directory, then "tail" at 152..155.
    std::string bytes = packHeader(kFixtureMagic, 2, {{"cut.bin", 10, 152}, {"gone.bin", 6, 500}});
    writeBytes(pathOf("game.dat"), bytes + "tail");
    TPack *pack = o3DOpenPack(pathOf("game.dat").c_str());
    ASSERT_NE(pack, nullptr);

    uint32_t size = 0;
    EXPECT_EQ(readEntryText(pack, "cut.bin", &size), std::string("tail\0\0\0\0\0\0", 10));
    EXPECT_EQ(size, 10u);
    EXPECT_EQ(readEntryText(pack, "gone.bin"), std::string(6, '\0'));
}

TEST_F(PackTest, EntryLargerThanTheWholeFileIsRefused)
{
    // 8 + 3 * 72 + 4 = 228 bytes in all.
    std::string bytes =
        packHeader(kFixtureMagic, 3,
                   {{"huge.bin", 0xFFFFFFFFu, 8}, {"whole.bin", 228, 0}, {"over.bin", 229, 0}});
    writeBytes(pathOf("game.dat"), bytes + "data");
    ASSERT_EQ(fs::file_size(pathOf("game.dat")), 228u);
    TPack *pack = o3DOpenPack(pathOf("game.dat").c_str());
    ASSERT_NE(pack, nullptr);

    uint32_t size = 7;
    EXPECT_EQ(o3DReadPackEntry(pack, "huge.bin", &size), nullptr);
    EXPECT_EQ(size, 7u);
    EXPECT_EQ(o3DReadPackText(pack, "huge.bin"), nullptr);
    EXPECT_EQ(o3DExtractPackFile(pack, "huge.bin", pathOf("huge.out").c_str()), 0);
    EXPECT_FALSE(fs::exists(pathOf("huge.out")));
    EXPECT_EQ(readEntryText(pack, "over.bin"), "<null>");
    // Exactly the file's size is still a (whole-file) entry.
    EXPECT_EQ(readEntryText(pack, "whole.bin"), readBytes(pathOf("game.dat")));
}

TEST_F(PackTest, ExtractWritesTheEntryWholeOverAnyOldFile)
{
    const std::string binary("\x89PNG\r\n\x1A\n\0\0end", 13);
    writePack(pathOf("game.dat"), {{"logo.bin", binary}, {"empty.txt", ""}});
    TPack *pack = o3DOpenPack(pathOf("game.dat").c_str());
    ASSERT_NE(pack, nullptr);

    writeBytes(pathOf("logo.out"), std::string(100, 'o'));
    EXPECT_EQ(o3DExtractPackFile(pack, "logo.bin", pathOf("logo.out").c_str()), 1);
    EXPECT_EQ(readBytes(pathOf("logo.out")), binary);
    EXPECT_EQ(o3DExtractPackFile(pack, "empty.txt", pathOf("empty.out").c_str()), 1);
    EXPECT_TRUE(fs::exists(pathOf("empty.out")));
    EXPECT_EQ(fs::file_size(pathOf("empty.out")), 0u);

    EXPECT_EQ(o3DExtractPackFile(pack, "none.bin", pathOf("none.out").c_str()), 0);
    EXPECT_FALSE(fs::exists(pathOf("none.out")));
    EXPECT_EQ(o3DExtractPackFile(pack, "logo.bin", folder.string().c_str()), 0);
    EXPECT_EQ(o3DExtractPackFile(pack, "logo.bin", nullptr), 0);
    EXPECT_EQ(o3DExtractPackFile(pack, nullptr, pathOf("x.out").c_str()), 0);
    EXPECT_EQ(o3DExtractPackFile(nullptr, "logo.bin", pathOf("x.out").c_str()), 0);
    EXPECT_FALSE(fs::exists(pathOf("x.out")));
}

TEST_F(PackTest, GetPackEntryKeepsToTheDirectory)
{
    writePack(pathOf("game.dat"), {{"a", "1"}, {"b", "22"}, {"c", "333"}});
    TPack *pack = o3DOpenPack(pathOf("game.dat").c_str());
    ASSERT_NE(pack, nullptr);
    ASSERT_NE(o3DGetPackEntry(pack, 2), nullptr);
    EXPECT_STREQ(o3DGetPackEntry(pack, 2)->name, "c");
    EXPECT_EQ(o3DGetPackEntry(pack, 2)->size, 3u);
    EXPECT_EQ(o3DGetPackEntry(pack, 2)->offset, 8u + 3u * 72u + 3u);
    EXPECT_EQ(o3DGetPackEntry(pack, 3), nullptr);
    EXPECT_EQ(o3DGetPackEntry(pack, -1), nullptr);
    EXPECT_EQ(o3DGetPackEntry(nullptr, 0), nullptr);
}

TEST_F(PackTest, ClosedOrNullPackAnswersNothingAndClosesOnce)
{
    writePack(pathOf("game.dat"), {{"a.txt", "a"}});
    TPack *pack = o3DOpenPack(pathOf("game.dat").c_str());
    ASSERT_NE(pack, nullptr);
    o3DClosePack(pack);
    o3DClosePack(pack);
    o3DClosePack(nullptr);

    for (TPack *gone : {pack, (TPack *)nullptr}) {
        EXPECT_FALSE(o3DPackHasFile(gone, "a.txt"));
        EXPECT_EQ(o3DFindPackEntry(gone, "a.txt"), nullptr);
        EXPECT_EQ(o3DGetPackFileCount(gone), 0);
        EXPECT_EQ(o3DGetPackEntry(gone, 0), nullptr);
        EXPECT_EQ(o3DGetPackFileSize(gone, "a.txt"), -1);
        EXPECT_EQ(o3DReadPackEntry(gone, "a.txt", nullptr), nullptr);
        EXPECT_EQ(o3DReadPackText(gone, "a.txt"), nullptr);
    }
    // The one slot it held is free again: 16 packs open.
    for (int i = 0; i < 16; i++) {
        EXPECT_NE(o3DOpenPack(pathOf("game.dat").c_str()), nullptr) << i;
    }
}
