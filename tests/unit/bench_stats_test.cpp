// Percentiles of unsorted samples with linear interpolation between ranks, and frame rates at a
// percentile taken from the matching tail of the frame times.
#include "frame_stats.h"

#include <gtest/gtest.h>

#include <vector>

static std::vector<double> oneToHundred()
{
    std::vector<double> v;
    for (int i = 100; i >= 1; --i)
        v.push_back(i);
    return v;
}

TEST(BenchStats, PercentilesInterpolateBetweenRanksOfUnsortedSamples)
{
    struct Case {
        const char *what;
        std::vector<double> samples;
        double p, expected;
    } cases[] = {
        {"no samples", {}, 50, 0.0},
        {"one sample", {7.0}, 50, 7.0},
        {"one sample, tail", {7.0}, 95, 7.0},
        {"odd count median", {9, 1, 5}, 50, 5.0},
        {"even count median halfway", {4, 1, 3, 2}, 50, 2.5},
        {"lowest", {3, 1, 2}, 0, 1.0},
        {"highest", {3, 1, 2}, 100, 3.0},
        {"below range clamps", {3, 1, 2}, -5, 1.0},
        {"above range clamps", {3, 1, 2}, 130, 3.0},
        {"95th of 1..100", oneToHundred(), 95, 95.05},
        {"5th of 1..100", oneToHundred(), 5, 5.95},
        {"quarter between two", {10, 20}, 25, 12.5},
    };
    for (const Case &c : cases)
        EXPECT_NEAR(percentile(c.samples, c.p), c.expected, 1e-9) << c.what;
}

TEST(BenchStats, FrameRatesAtAPercentileComeFromTheSlowTailOfTheFrameTimes)
{
    // Nineteen frames of 10 ms and one of 100 ms: the slow frame drags the low tail only.
    std::vector<double> frames(19, 0.010);
    frames.push_back(0.100);
    struct Case {
        double p, expected;
    } cases[] = {
        {50, 100.0},
        {5, 1.0 / (0.010 + 0.090 * 0.05)},
        {0, 10.0},
        {100, 100.0},
    };
    for (const Case &c : cases)
        EXPECT_NEAR(framesPerSecondAt(frames, c.p), c.expected, 1e-6) << "percentile " << c.p;
    EXPECT_EQ(framesPerSecondAt({}, 50), 0.0);
    EXPECT_EQ(framesPerSecondAt({0.0, 0.0}, 50), 0.0);
}
