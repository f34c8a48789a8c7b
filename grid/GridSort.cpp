#include "grid/GridSort.h"

#include "fileformat/Windows1252.h"

#include <algorithm>
#include <numeric>
#include <string_view>

namespace tavrel::grid {

TextOrder::TextOrder(const QLocale& locale) : collator_(locale) {}

void TextOrder::ForgetAll() {
    for (auto& r : ranks_)
        r.clear();
}

const std::vector<std::uint32_t>& TextOrder::Ranks(const GridTable& table, int column) {
    std::vector<std::uint32_t>& ranks = ranks_[static_cast<std::size_t>(column)];
    const auto rowCount = static_cast<std::size_t>(table.RowCount());
    if (ranks.size() == rowCount)
        return ranks;
    // Group equal texts by their bytes first, so the collator sees each distinct text once.
    std::vector<int> rows(rowCount);
    std::iota(rows.begin(), rows.end(), 0);
    std::sort(rows.begin(), rows.end(),
              [&](int a, int b) { return table.Text(a, column) < table.Text(b, column); });
    std::vector<std::string_view> distinct;
    std::vector<std::uint32_t> distinctOfRow(rowCount);
    for (const int row : rows) {
        const std::string_view text = table.Text(row, column);
        if (distinct.empty() || distinct.back() != text)
            distinct.push_back(text);
        distinctOfRow[static_cast<std::size_t>(row)] =
            static_cast<std::uint32_t>(distinct.size() - 1);
    }
    std::vector<QCollatorSortKey> keys;
    keys.reserve(distinct.size());
    for (const std::string_view text : distinct)
        keys.push_back(collator_.sortKey(QString::fromStdString(DecodeWindows1252(text))));
    std::vector<std::uint32_t> byOrder(distinct.size());
    std::iota(byOrder.begin(), byOrder.end(), 0u);
    std::stable_sort(byOrder.begin(), byOrder.end(), [&](std::uint32_t a, std::uint32_t b) {
        return keys[a].compare(keys[b]) < 0;
    });
    std::vector<std::uint32_t> rankOfDistinct(distinct.size());
    std::uint32_t rank = 0;
    for (std::size_t i = 0; i < byOrder.size(); ++i) {
        if (i > 0 && keys[byOrder[i - 1]].compare(keys[byOrder[i]]) != 0)
            ++rank;
        rankOfDistinct[byOrder[i]] = rank;
    }
    ranks.resize(rowCount);
    for (std::size_t row = 0; row < rowCount; ++row)
        ranks[row] = rankOfDistinct[distinctOfRow[row]];
    return ranks;
}

void SortRows(const GridTable& table, std::vector<int>& rows, std::span<const SortKey> keys,
              TextOrder& order) {
    if (keys.empty())
        return;
    // One number per row and key, so the sort compares numbers only.
    constexpr std::int64_t kEmpty = INT64_MIN;
    std::vector<std::vector<std::int64_t>> values(keys.size());
    for (std::size_t k = 0; k < keys.size(); ++k) {
        const int column = keys[k].column;
        std::vector<std::int64_t>& v = values[k];
        v.resize(static_cast<std::size_t>(table.RowCount()));
        if (GridColumns()[static_cast<std::size_t>(column)].kind == GridColumnKind::Number) {
            for (const int row : rows)
                v[static_cast<std::size_t>(row)] = table.Number(row, column).value_or(kEmpty);
        } else {
            const std::vector<std::uint32_t>& ranks = order.Ranks(table, column);
            for (const int row : rows)
                v[static_cast<std::size_t>(row)] = ranks[static_cast<std::size_t>(row)];
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
        for (std::size_t k = 0; k < keys.size(); ++k) {
            const std::int64_t x = values[k][static_cast<std::size_t>(a)];
            const std::int64_t y = values[k][static_cast<std::size_t>(b)];
            if (x != y)
                return keys[k].descending ? x > y : x < y;
        }
        return false;
    });
}

} // namespace tavrel::grid
