// tellurix's generator: the random generator and permutation, the noise, the agreement of the
// fast path with the sample-by-sample reference, and pinned maps that keep saved seeds valid.
#include "heightmap.h"

#include <gtest/gtest.h>

#include <math.h>

#include <algorithm>

#include <vector>

namespace {

std::vector<unsigned char> generate(int width, int height, int type, uint32_t seed)
{
    std::vector<unsigned char> heights((size_t)width * (size_t)height, 0xAB);
    tellurixGenerate(heights.data(), width, height, type, seed);
    return heights;
}

std::vector<unsigned char> generateReference(int width, int height, int type, uint32_t seed)
{
    std::vector<unsigned char> heights((size_t)width * (size_t)height, 0xCD);
    tellurixGenerateReference(heights.data(), width, height, type, seed);
    return heights;
}

// FNV-1a, 64 bits: enough to pin a map.
uint64_t hashOf(const std::vector<unsigned char> &bytes)
{
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char byte : bytes) {
        hash = (hash ^ byte) * 1099511628211ull;
    }
    return hash;
}

} // namespace

TEST(TellurixGenerator, RandomGeneratorIsTheSharedLinearCongruence)
{
    // The well-known first draws of state * 214013 + 2531011 from state 1.
    TellurixRandom random;
    tellurixSeedRandom(&random, 1u);
    for (int expected : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358}) {
        EXPECT_EQ(tellurixDrawRandom(&random), expected);
    }
    tellurixSeedRandom(&random, 0xFFFFFFFFu);
    int draw = tellurixDrawRandom(&random);
    EXPECT_EQ(random.state, 0xFFFFFFFFu * 214013u + 2531011u);
    EXPECT_EQ(draw, (int)((random.state >> 16) & 0x7FFF));
}

TEST(TellurixGenerator, PermutationShufflesFromTheTopAndRepeats)
{
    TellurixPermutation perm{};
    tellurixSeedPermutation(&perm, 1u);
    EXPECT_TRUE(perm.seeded);
    // The first draws, 41 and 18467, swap index 255 with 41 % 256 and 254 with 18467 % 255.
    EXPECT_EQ(perm.table[255], 41);
    EXPECT_EQ(perm.table[254], 107);
    std::vector<int> seen(256, 0);
    for (int i = 0; i < 256; i++) {
        ASSERT_GE(perm.table[i], 0);
        ASSERT_LT(perm.table[i], 256);
        seen[perm.table[i]]++;
        EXPECT_EQ(perm.table[i + 256], perm.table[i]) << i;
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), 256);
}

TEST(TellurixGenerator, NoiseHashesEachCornerThroughTheTableOnceMore)
{
    // With table[i] = i + 1 the cell (0, 0) has A = 1, AA = 2, AB = 3, B = 2, BA = 3, BB = 4, so
    // the corner hashes table[AA], table[BA], table[AB], table[BB] are 3, 4, 4 and 5. At
    // (0.25, 0.5): u = fade(0.25) = 0.103515625, v = 0.5; the four gradients are -0.75, -0.25,
    // -0.25 and -0.25, so n = -0.4741... and the noise (n + 1) / 2 = 0.262939453125 exactly.
    // Hashing with AA itself (2, 3, 3, 4) would give 0.474... instead.
    TellurixPermutation perm{};
    for (int i = 0; i < 512; i++) {
        perm.table[i] = (i + 1) & 255;
    }
    perm.seeded = 1;
    EXPECT_EQ(tellurixFade(0.25f), 0.103515625f);
    EXPECT_EQ(tellurixNoise(&perm, 0.25f, 0.5f), 0.262939453125f);
    // One cell to the right every hash grows by one: 4, 5, 5, 6.
    EXPECT_EQ(tellurixNoise(&perm, 1.5f, 0.5f), 0.625f);
    // Lattice points have no gradient contribution at all.
    EXPECT_EQ(tellurixNoise(&perm, 3.0f, 7.0f), 0.5f);
    // The fractal sum of one octave is the noise itself.
    EXPECT_EQ(tellurixFbm(&perm, 0.25f, 0.5f, 1, 0.5f), 0.262939453125f);
}

TEST(TellurixGenerator, FastPathMatchesTheReferenceByteForByte)
{
    // Narrow maps skip lattice cells between columns; odd widths leave vector tails; 2048 wide
    // meets every column split of the finest octave.
    const int sizes[][2] = {{16, 16}, {17, 19}, {33, 16}, {100, 37}, {257, 24}, {2048, 6}};
    for (const auto &size : sizes) {
        for (int type = 1; type <= 6; type++) {
            for (uint32_t seed : {0u, 12345u, 4294967295u}) {
                EXPECT_EQ(generate(size[0], size[1], type, seed),
                          generateReference(size[0], size[1], type, seed))
                    << size[0] << " x " << size[1] << ", type " << type << ", seed " << seed;
            }
        }
    }
}

TEST(TellurixGenerator, SavedSeedsRecreateTheirMaps)
{
    // Pinned maps: a change here means every seed a user saved now makes different terrain.
    const uint64_t pinned[6] = {0xf32b4f804890304cull, 0x5bc1b937e69782afull,
                                0xf7816494e11b04e2ull, 0x8798fcaa781cc44aull,
                                0x04a43632dc98e5e2ull, 0xc703641b5111871eull};
    for (int type = 1; type <= 6; type++) {
        EXPECT_EQ(hashOf(generate(67, 45, type, 12345u)), pinned[type - 1]) << "type " << type;
    }
    EXPECT_EQ(hashOf(generate(512, 512, 1, 12345u)), 0xad0ee32ebbd026dbull);
    EXPECT_EQ(generate(67, 45, 3, 99u), generate(67, 45, 3, 99u));
    EXPECT_NE(generate(67, 45, 3, 99u), generate(67, 45, 3, 100u));
}

TEST(TellurixGenerator, IslandIsFlatFromHalfwayToTheEdgeOut)
{
    const int width = 96;
    const int height = 80;
    std::vector<unsigned char> map = generate(width, height, 5, 2024u);
    int raised = 0;
    for (int i = 0; i < height; i++) {
        for (int j = 0; j < width; j++) {
            float dx = (float)j / (float)width - 0.5f;
            float dy = (float)i / (float)height - 0.5f;
            unsigned char h = map[(size_t)i * width + j];
            if (sqrtf(dx * dx + dy * dy) >= 0.5f) {
                ASSERT_EQ(h, 0) << "row " << i << ", column " << j;
            } else if (h > 0) {
                raised++;
            }
        }
    }
    EXPECT_GT(raised, width * height / 2);
}

TEST(TellurixGenerator, HeightsUseTheRangeTheirTypeGives)
{
    // Plains are n * 0.3 + 0.3 with n in about 0..1: never below 0.3 * 255.
    std::vector<unsigned char> plains = generate(128, 128, 2, 7u);
    EXPECT_GE(*std::min_element(plains.begin(), plains.end()), 76);
    EXPECT_LE(*std::max_element(plains.begin(), plains.end()), 153);
    // Mountains square n, so they spread down to the dark end.
    std::vector<unsigned char> mountains = generate(128, 128, 6, 7u);
    EXPECT_LT(*std::min_element(mountains.begin(), mountains.end()), 60);
    // Gentle hills add up to 0.2 towards the centre, so a high peak passes 1 and clamps to white
    // (rather than wrapping around to black).
    std::vector<unsigned char> hills = generate(64, 64, 1, 75u);
    EXPECT_GT(std::count(hills.begin(), hills.end(), 255), 0);
    EXPECT_EQ(hills, generateReference(64, 64, 1, 75u));
}
