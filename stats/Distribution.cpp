#include "stats/Distribution.h"

#include <algorithm>
#include <map>

namespace tavrel {
namespace {

// Ratings are bytes or 16-bit numbers, so counting into one slot per value is the quick way;
// a wider spread (only from values stored by another tool) is counted in a map instead.
constexpr std::int64_t kDenseSpan = 1 << 17;

void AddCounts(const Distribution& d, std::vector<HistogramBin>& bins, std::int64_t low,
               std::int64_t width, bool first) {
    for (const auto& [value, n] : d.counts) {
        HistogramBin& bin = bins[std::size_t((value - low) / width)];
        (first ? bin.first : bin.second) += n;
    }
}

} // namespace

Distribution Summarise(std::span<const std::int64_t> values) {
    Distribution d;
    if (values.empty())
        return d;
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    d.count = static_cast<long long>(values.size());
    d.min = *low;
    d.max = *high;
    long double sum = 0;
    for (const std::int64_t v : values)
        sum += v;
    d.mean = static_cast<double>(sum / d.count);
    if (d.max - d.min < kDenseSpan) {
        std::vector<long long> slots(std::size_t(d.max - d.min + 1));
        for (const std::int64_t v : values)
            ++slots[std::size_t(v - d.min)];
        for (std::size_t i = 0; i < slots.size(); ++i)
            if (slots[i])
                d.counts.emplace_back(d.min + std::int64_t(i), slots[i]);
    } else {
        std::map<std::int64_t, long long> map;
        for (const std::int64_t v : values)
            ++map[v];
        d.counts.assign(map.begin(), map.end());
    }
    return d;
}

std::vector<HistogramBin> SharedBins(const Distribution& first, const Distribution& second,
                                     int maxBins) {
    if (first.count == 0 && second.count == 0)
        return {};
    const std::int64_t low = first.count == 0    ? second.min
                             : second.count == 0 ? first.min
                                                 : std::min(first.min, second.min);
    const std::int64_t high = first.count == 0    ? second.max
                              : second.count == 0 ? first.max
                                                  : std::max(first.max, second.max);
    const std::int64_t bins = std::max(1, maxBins);
    const std::int64_t width = (high - low + bins) / bins; // ceil((high - low + 1) / bins)
    std::vector<HistogramBin> result(std::size_t((high - low) / width + 1));
    for (std::size_t i = 0; i < result.size(); ++i) {
        result[i].low = low + std::int64_t(i) * width;
        result[i].high = std::min(high, result[i].low + width - 1);
    }
    AddCounts(first, result, low, width, true);
    AddCounts(second, result, low, width, false);
    return result;
}

} // namespace tavrel
