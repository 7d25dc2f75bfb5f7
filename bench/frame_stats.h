// Order statistics of per-frame or per-run samples for the game benchmarks: the benchmarks report
// medians and tails, which Google Benchmark's mean-based counters cannot give.
#ifndef BENCH_FRAME_STATS_H
#define BENCH_FRAME_STATS_H

#include <algorithm>
#include <vector>

// The p-th percentile (0..100) of the samples, interpolated linearly between the two nearest
// ranks; 0 for no samples.
inline double percentile(std::vector<double> samples, double p)
{
    if (samples.empty())
        return 0.0;
    std::sort(samples.begin(), samples.end());
    if (p <= 0.0)
        return samples.front();
    if (p >= 100.0)
        return samples.back();
    const double rank = p / 100.0 * (double)(samples.size() - 1);
    const size_t below = (size_t)rank;
    if (below + 1 >= samples.size())
        return samples.back();
    const double t = rank - (double)below;
    return samples[below] + (samples[below + 1] - samples[below]) * t;
}

// Frames per second at the p-th percentile of the frame rate: a slow frame is a low rate, so the
// 5th percentile of the rate is the 95th of the frame times. 0 when there are no frames.
inline double framesPerSecondAt(const std::vector<double> &frameSeconds, double p)
{
    const double seconds = percentile(frameSeconds, 100.0 - p);
    return seconds > 0.0 ? 1.0 / seconds : 0.0;
}

#endif
