#include "stats/Distribution.h"

#include <algorithm>
#include <map>

namespace tavrel {
namespace {

// Ratings are bytes or 16-bit numbers, so counting into one slot per value is the quick way;
// a wider spread (only from values stored by another tool) is counted in a map instead.
constexpr std::uint64_t kDenseSpan = 1 << 17;

// high - low, which a signed difference cannot hold when a value beyond 16 bits lies on each side.
std::uint64_t Span(std::int64_t low, std::int64_t high) {
    return std::uint64_t(high) - std::uint64_t(low);
}

void AddCounts(const Distribution& d, std::vector<HistogramBin>& bins, std::int64_t low,
               std::uint64_t width, bool first) {
    for (const auto& [value, n] : d.counts) {
        HistogramBin& bin = bins[std::size_t(Span(low, value) / width)];
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
    if (Span(d.min, d.max) < kDenseSpan) {
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
    const std::uint64_t span = Span(low, high);
    const std::uint64_t bins = std::uint64_t(std::max(1, maxBins));
    if (span == UINT64_MAX && bins == 1) // every 64-bit value in one bin: no width holds that
        return {{low, high, first.count, second.count}};
    const std::uint64_t width = span / bins + 1; // ceil((span + 1) / bins)
    std::vector<HistogramBin> result(std::size_t(span / width + 1));
    for (std::size_t i = 0; i < result.size(); ++i) {
        // Offsets from low, in unsigned arithmetic (which wraps into the signed range); the last
        // bin ends at high.
        const std::uint64_t start = i * width;
        result[i].low = std::int64_t(std::uint64_t(low) + start);
        result[i].high =
            std::int64_t(std::uint64_t(low) + start + std::min(width - 1, span - start));
    }
    AddCounts(first, result, low, width, true);
    AddCounts(second, result, low, width, false);
    return result;
}

} // namespace tavrel
