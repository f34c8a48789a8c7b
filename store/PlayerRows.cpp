#include "store/PlayerRows.h"

#include <SQLiteCpp/Column.h>

namespace tavrel {

void BindValue(SQLite::Statement& statement, int parameter, const Value& value) {
    if (const auto* n = std::get_if<std::int64_t>(&value))
        statement.bind(parameter, *n);
    else if (const auto* s = std::get_if<std::string>(&value))
        statement.bind(parameter, *s);
    else
        statement.bind(parameter);
}

Value ReadValue(const SQLite::Statement& statement, int column) {
    const SQLite::Column c = statement.getColumn(column);
    if (c.isNull())
        return std::monostate{};
    if (c.isInteger())
        return static_cast<std::int64_t>(c.getInt64());
    if (c.isFloat()) {
        // A value typed through another tool; keep whole numbers whole, anything else as text
        // so that the save check refuses it by name.
        const double d = c.getDouble();
        if (d >= -9.0e18 && d <= 9.0e18 && d == static_cast<double>(static_cast<std::int64_t>(d)))
            return static_cast<std::int64_t>(d);
    }
    return c.getString();
}

void BindPlayerRow(SQLite::Statement& statement, const PlayerRow& row, int firstParameter) {
    for (int i = 0; i < kPlayersColumnCount; ++i)
        BindValue(statement, firstParameter + i, row[i]);
}

void ReadPlayerRow(const SQLite::Statement& statement, PlayerRow& row, int firstColumn) {
    for (int i = 0; i < kPlayersColumnCount; ++i)
        row[i] = ReadValue(statement, firstColumn + i);
}

const std::string& PlayersColumnList() {
    static const std::string list = [] {
        std::string s;
        for (const PlayersColumn& c : kPlayersColumns) {
            if (!s.empty())
                s += ", ";
            s += c.name;
        }
        return s;
    }();
    return list;
}

} // namespace tavrel
