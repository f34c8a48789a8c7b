#pragma once

#include "grid/GridTable.h"

#include <QCollator>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace tavrel::grid {

struct SortKey {
    int column;
    bool descending = false;
};

// The order of the grid's texts (names, teams) in the user's language, as a rank per row that
// sorts as fast as a number. Ranks are worked out once per column and kept until a cell of the
// column changes (Forget) or the table is replaced (ForgetAll).
class TextOrder {
public:
    explicit TextOrder(const QLocale& locale = QLocale());

    const std::vector<std::uint32_t>& Ranks(const GridTable& table, int column);
    void Forget(int column) { ranks_[static_cast<std::size_t>(column)].clear(); }
    void ForgetAll();

private:
    QCollator collator_;
    std::array<std::vector<std::uint32_t>, kGridColumnCount> ranks_;
};

// Sorts `rows` (indexes of table rows) by the keys, the first key first; rows equal on every key
// keep the order they had. Numbers sort as numbers; empty cells come first.
void SortRows(const GridTable& table, std::vector<int>& rows, std::span<const SortKey> keys,
              TextOrder& order);

} // namespace tavrel::grid
