// tellurix's bitmap writer: header fields, bottom-up rows of grey triples, row padding, failure.
#include "heightmap.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

uint32_t le16(const std::string &bytes, size_t at)
{
    return (uint32_t)(unsigned char)bytes[at] | (uint32_t)(unsigned char)bytes[at + 1] << 8;
}

uint32_t le32(const std::string &bytes, size_t at)
{
    return le16(bytes, at) | le16(bytes, at + 2) << 16;
}

class TellurixBmp : public ::testing::Test {
  protected:
    void SetUp() override
    {
        std::random_device seed;
        folder = fs::temp_directory_path() / ("o3d_tellurix_bmp_" + std::to_string(seed()));
        ASSERT_TRUE(fs::create_directories(folder));
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
    std::string written(const std::vector<unsigned char> &heights, int width, int height)
    {
        std::string path = (folder / "map.bmp").string();
        EXPECT_EQ(tellurixWriteBmp(path.c_str(), heights.data(), width, height), 1);
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    fs::path folder;
};

} // namespace

TEST_F(TellurixBmp, HeadersDescribeA24BitBottomUpImage)
{
    const int width = 17;
    const int height = 3;
    std::string file = written(std::vector<unsigned char>(width * height, 9), width, height);
    const uint32_t rowBytes = 52; // 51 bytes of pixels and one pad byte
    ASSERT_EQ(file.size(), rowBytes * height + 54);
    EXPECT_EQ(file.substr(0, 2), "BM");
    EXPECT_EQ(le32(file, 2), rowBytes * height + 54);
    EXPECT_EQ(le32(file, 6), 0u); // both reserved words
    EXPECT_EQ(le32(file, 10), 54u);
    EXPECT_EQ(le32(file, 14), 40u);
    EXPECT_EQ(le32(file, 18), (uint32_t)width);
    EXPECT_EQ(le32(file, 22), (uint32_t)height);
    EXPECT_EQ(le16(file, 26), 1u);
    EXPECT_EQ(le16(file, 28), 24u);
    for (size_t at = 30; at < 54; at += 4) {
        EXPECT_EQ(le32(file, at), 0u) << "info header byte " << at;
    }
}

TEST_F(TellurixBmp, LastMapRowComesFirstAsGreyTriplesWithZeroPadding)
{
    const int width = 5; // 15 bytes of pixels, padded to 16
    const int height = 2;
    std::vector<unsigned char> heights = {0, 1, 2, 254, 255, 10, 20, 30, 40, 50};
    std::string file = written(heights, width, height);
    ASSERT_EQ(file.size(), 54u + 2 * 16);
    std::string expected;
    for (int row = height - 1; row >= 0; row--) {
        for (int j = 0; j < width; j++) {
            expected.append(3, (char)heights[row * width + j]);
        }
        expected.push_back('\0');
    }
    EXPECT_EQ(file.substr(54), expected);
}

TEST_F(TellurixBmp, UnopenableFileFails)
{
    // A folder stands where the file should go.
    fs::create_directories(folder / "taken.bmp");
    std::vector<unsigned char> heights(16 * 16, 1);
    EXPECT_EQ(tellurixWriteBmp((folder / "taken.bmp").string().c_str(), heights.data(), 16, 16), 0);
    EXPECT_EQ(tellurixWriteBmp((folder / "no" / "such" / "dir.bmp").string().c_str(),
                               heights.data(), 16, 16),
              0);
}
