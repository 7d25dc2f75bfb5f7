// The pack tests' writers and temporary folder.
#include "pack_fixture.h"

#include <stdio.h>

#include <fstream>
#include <iterator>
#include <random>

namespace fs = std::filesystem;

void appendLe32(std::string &bytes, uint32_t value)
{
    for (int i = 0; i < 4; i++) {
        bytes.push_back((char)((value >> (8 * i)) & 0xFFu));
    }
}

std::string packHeader(int32_t magic, int32_t count, const std::vector<FixtureEntry> &entries)
{
    std::string bytes;
    appendLe32(bytes, (uint32_t)magic);
    appendLe32(bytes, (uint32_t)count);
    for (const FixtureEntry &entry : entries) {
        std::string name = entry.name.substr(0, 64);
        name.resize(64, '\0');
        bytes += name;
        appendLe32(bytes, entry.size);
        appendLe32(bytes, entry.offset);
    }
    return bytes;
}

void writeBytes(const fs::path &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), (std::streamsize)bytes.size());
    ASSERT_TRUE(out.good()) << path;
}

std::string readBytes(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writePack(const fs::path &path, const std::vector<FixtureFile> &files)
{
    std::vector<FixtureEntry> entries;
    uint32_t offset = kFixtureHeaderBytes + kFixtureEntryBytes * (uint32_t)files.size();
    std::string data;
    for (const FixtureFile &file : files) {
        entries.push_back({file.name, (uint32_t)file.data.size(), offset});
        offset += (uint32_t)file.data.size();
        data += file.data;
    }
    writeBytes(path, packHeader(kFixtureMagic, (int32_t)files.size(), entries) + data);
}

std::string capturePrintPack(TPack *pack)
{
    testing::internal::CaptureStdout();
    o3DPrintPack(pack);
    fflush(stdout);
    std::string text = testing::internal::GetCapturedStdout();
    std::string plain;
    for (char c : text) {
        if (c != '\r') {
            plain.push_back(c);
        }
    }
    return plain;
}

int openFileCount()
{
#ifdef _WIN32
    // Under Wine /proc/self/fd lists Wine's own descriptors, which come and go with its threads;
    // on Windows the tests prove a file was closed by removing it instead.
    return -1;
#endif
    std::error_code ec;
    fs::directory_iterator it("/proc/self/fd", ec);
    if (ec) {
        return -1;
    }
    int count = 0;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        count++;
    }
    return count;
}

void PackTest::SetUp()
{
    std::random_device seed;
    std::mt19937 random(seed());
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder = fs::temp_directory_path() /
             ("o3d_pack_" + std::string(test->name()) + "_" + std::to_string(random()));
    ASSERT_TRUE(fs::create_directories(folder)) << folder;
    // Staging writes into, and the sweeps delete from, the current directory: make it ours.
    previousFolder = fs::current_path();
    fs::current_path(folder);
    o3DInitPacks();
}

void PackTest::TearDown()
{
    o3DCleanupTempFiles();
    std::error_code ec;
    if (!previousFolder.empty()) {
        fs::current_path(previousFolder, ec);
    }
    fs::remove_all(folder, ec);
}

std::vector<std::string> PackTest::stagedLeftovers() const
{
    std::vector<std::string> names;
    for (const fs::directory_entry &entry : fs::directory_iterator(folder)) {
        std::string name = entry.path().filename().string();
        if (name.rfind("temp_", 0) == 0) {
            names.push_back(name);
        }
    }
    return names;
}

std::string PackTest::pathOf(const std::string &fileName) const
{
    return (folder / fileName).string();
}
