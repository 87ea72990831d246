#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace ostrovik::bench {

/// Prints the median and the 99th percentile of @p samples (microseconds)
/// against @p targetUs.
inline void report(const char* what, std::vector<double>& samples, double targetUs)
{
    std::sort(samples.begin(), samples.end());
    const double median = samples[samples.size() / 2];
    const double p99 = samples[samples.size() * 99 / 100];
    std::printf("%-44s median %9.1f us   p99 %9.1f us   target %7.0f us   %s\n", what, median, p99, targetUs,
                median < targetUs ? "ok" : "OVER");
}

/// @p n timings of @p f, in microseconds.
template <typename F>
std::vector<double> time(int n, F&& f)
{
    using Clock = std::chrono::steady_clock;
    std::vector<double> samples;
    samples.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const auto t0 = Clock::now();
        f();
        samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
    }
    return samples;
}

} // namespace ostrovik::bench
