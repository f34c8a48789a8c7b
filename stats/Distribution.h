#pragma once

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace tavrel {

// How a set of whole numbers is spread: how many, their mean, lowest and highest, and how many
// of each value. An empty set has count 0 and nothing else.
struct Distribution {
    long long count = 0;
    double mean = 0;
    std::int64_t min = 0;
    std::int64_t max = 0;
    std::vector<std::pair<std::int64_t, long long>> counts; // ascending values, each with its count
    bool operator==(const Distribution&) const = default;
};

Distribution Summarise(std::span<const std::int64_t> values);

// One bar of two histograms drawn over each other: the values low..high and how many of each set
// fall there.
struct HistogramBin {
    std::int64_t low = 0;
    std::int64_t high = 0;
    long long first = 0;
    long long second = 0;
    bool operator==(const HistogramBin&) const = default;
};

// Bins of equal width covering both sets from the lowest value to the highest, at most
// `maxBins` of them (one value per bin when that fits); none when both sets are empty.
std::vector<HistogramBin> SharedBins(const Distribution& first, const Distribution& second,
                                     int maxBins);

} // namespace tavrel
