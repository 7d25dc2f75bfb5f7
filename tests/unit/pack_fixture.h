// Pack fixtures for the pack tests: a per-test temporary folder (removed afterwards) and small
// writers that lay out pack files byte by byte, well-formed or deliberately broken.
#ifndef O3D_TEST_PACK_FIXTURE_H
#define O3D_TEST_PACK_FIXTURE_H

#include "ostrel3d.h"

#include <gtest/gtest.h>

#include <stdint.h>

#include <filesystem>
#include <string>
#include <vector>

// One directory record as it goes to disk; `name` is copied into the 64 name bytes (longer text
// is cut at 64 bytes, so a 64-character name has no terminator).
struct FixtureEntry {
    std::string name;
    uint32_t size;
    uint32_t offset;
};

// A name and its bytes, for packs whose directory is laid out by writePack.
struct FixtureFile {
    std::string name;
    std::string data;
};

const int32_t kFixtureMagic = 2903;
const uint32_t kFixtureHeaderBytes = 8;
const uint32_t kFixtureEntryBytes = 72;

void appendLe32(std::string &bytes, uint32_t value);
// Header and directory as given, nothing else.
std::string packHeader(int32_t magic, int32_t count, const std::vector<FixtureEntry> &entries);
void writeBytes(const std::filesystem::path &path, const std::string &bytes);
std::string readBytes(const std::filesystem::path &path);
// A well-formed pack: header, directory, then each file's data in order.
void writePack(const std::filesystem::path &path, const std::vector<FixtureFile> &files);
// What a call printed to standard output, with Windows line ends made plain.
std::string capturePrintPack(TPack *pack);
// The number of files this process has open, or -1 where the system can't tell.
int openFileCount();

// Every pack test starts with a free pack table and its own temporary folder as the current
// directory, and ends with every pack closed, the directory given back and the folder removed.
class PackTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    std::string pathOf(const std::string &fileName) const;
    // Names in the folder starting with "temp_", the staging prefix.
    std::vector<std::string> stagedLeftovers() const;

    std::filesystem::path folder;
    std::filesystem::path previousFolder;
};

#endif
