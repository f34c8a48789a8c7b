#include "store/PlayerRows.h"

#include <SQLiteCpp/Column.h>
#include <SQLiteCpp/Exception.h>
#include <optional>
#include <sqlite3.h>

namespace tavrel {
namespace {

// A number stored as a fraction, as another tool may have typed it: whole numbers stay whole,
// anything else is kept as text so that the save check refuses it by name.
std::optional<std::int64_t> WholeNumber(double d) {
    if (d >= -9.0e18 && d <= 9.0e18 && d == static_cast<double>(static_cast<std::int64_t>(d)))
        return static_cast<std::int64_t>(d);
    return std::nullopt;
}

void AssignText(Value& into, const void* text, int size) {
    const std::string_view value =
        text ? std::string_view(static_cast<const char*>(text), static_cast<std::size_t>(size))
             : std::string_view();
    if (auto* s = std::get_if<std::string>(&into))
        s->assign(value); // reuses the room of the previous row's text
    else
        into = std::string(value);
}

// The one way a result column becomes a Value, for raw statements and the SQLite::Statement
// wrapper alike (a Column reads from the raw statement underneath).
template <typename Source> void ReadValueInto(const Source& source, int column, Value& into) {
    switch (source.Type(column)) { // asked once: every question is a call into SQLite
    case SQLITE_NULL:
        into = std::monostate{};
        return;
    case SQLITE_INTEGER:
        into = static_cast<std::int64_t>(source.Int64(column));
        return;
    case SQLITE_FLOAT:
        if (const auto whole = WholeNumber(source.Double(column))) {
            into = *whole;
            return;
        }
        break;
    }
    const void* text = source.Blob(column); // as stored, NULs included; before its size
    AssignText(into, text, source.Bytes(column));
}

struct RawColumns {
    sqlite3_stmt* statement;
    int Type(int c) const { return sqlite3_column_type(statement, c); }
    sqlite3_int64 Int64(int c) const { return sqlite3_column_int64(statement, c); }
    double Double(int c) const { return sqlite3_column_double(statement, c); }
    const void* Blob(int c) const { return sqlite3_column_blob(statement, c); }
    int Bytes(int c) const { return sqlite3_column_bytes(statement, c); }
};

struct WrappedColumns {
    const SQLite::Statement& statement;
    int Type(int c) const { return statement.getColumn(c).getType(); }
    sqlite3_int64 Int64(int c) const { return statement.getColumn(c).getInt64(); }
    double Double(int c) const { return statement.getColumn(c).getDouble(); }
    const void* Blob(int c) const { return statement.getColumn(c).getBlob(); }
    int Bytes(int c) const { return statement.getColumn(c).getBytes(); }
};

} // namespace

void BindValue(SQLite::Statement& statement, int parameter, const Value& value) {
    if (const auto* n = std::get_if<std::int64_t>(&value))
        statement.bind(parameter, *n);
    else if (const auto* s = std::get_if<std::string>(&value))
        statement.bind(parameter, *s);
    else
        statement.bind(parameter);
}

Value ReadValue(const SQLite::Statement& statement, int column) {
    Value value;
    ReadValueInto(WrappedColumns{statement}, column, value);
    return value;
}

void BindPlayerRow(SQLite::Statement& statement, const PlayerRow& row, int firstParameter) {
    for (int i = 0; i < kPlayersColumnCount; ++i)
        BindValue(statement, firstParameter + i, row[i]);
}

void ReadPlayerRow(const SQLite::Statement& statement, PlayerRow& row, int firstColumn) {
    for (int i = 0; i < kPlayersColumnCount; ++i)
        ReadValueInto(WrappedColumns{statement}, firstColumn + i, row[i]);
}

PlayerRowCursor::PlayerRowCursor(SQLite::Database& db, const std::string& query)
    : db_(db.getHandle()) {
    const int rc = sqlite3_prepare_v2(db_, query.c_str(), -1, &statement_, nullptr);
    if (rc != SQLITE_OK)
        throw SQLite::Exception(db_, rc);
}

PlayerRowCursor::~PlayerRowCursor() {
    sqlite3_finalize(statement_);
}

void PlayerRowCursor::Bind(int parameter, std::int64_t value) {
    if (const int rc = sqlite3_bind_int64(statement_, parameter, value); rc != SQLITE_OK)
        throw SQLite::Exception(db_, rc);
}

bool PlayerRowCursor::Next() {
    const int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw SQLite::Exception(db_, rc);
}

std::int64_t PlayerRowCursor::Integer(int column) const {
    return sqlite3_column_int64(statement_, column);
}

bool PlayerRowCursor::IsNull(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

bool PlayerRowCursor::IsInteger(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_INTEGER;
}

std::string_view PlayerRowCursor::Text(int column) const {
    const void* text = sqlite3_column_blob(statement_, column); // before its size
    return text ? std::string_view(
                      static_cast<const char*>(text),
                      static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)))
                : std::string_view();
}

void PlayerRowCursor::ReadValue(int column, Value& into) const {
    ReadValueInto(RawColumns{statement_}, column, into);
}

void PlayerRowCursor::Read(PlayerRow& row, int firstColumn) const {
    for (int i = 0; i < kPlayersColumnCount; ++i)
        ReadValue(firstColumn + i, row[i]);
}

PlayerRowInserter::PlayerRowInserter(SQLite::Database& db, const std::string& table)
    : db_(db.getHandle()) {
    std::string sql = "INSERT INTO \"" + table + "\" (" + PlayersColumnList() + ") VALUES (?";
    for (int i = 1; i < kPlayersColumnCount; ++i)
        sql += ", ?";
    sql += ")";
    const int rc = sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement_, nullptr);
    if (rc != SQLITE_OK)
        throw SQLite::Exception(db_, rc);
}

PlayerRowInserter::~PlayerRowInserter() {
    sqlite3_finalize(statement_);
}

void PlayerRowInserter::Insert(const PlayerRow& row) {
    for (int i = 0; i < kPlayersColumnCount; ++i) {
        const Value& value = row[i];
        if (const auto* n = std::get_if<std::int64_t>(&value)) {
            sqlite3_bind_int64(statement_, i + 1, *n);
        } else if (const auto* s = std::get_if<std::string>(&value)) {
            // SQLite reads the text where it lies; `row` outlives the step below.
            sqlite3_bind_text(statement_, i + 1, s->data(), static_cast<int>(s->size()),
                              SQLITE_STATIC);
        } else {
            sqlite3_bind_null(statement_, i + 1);
        }
    }
    const int rc = sqlite3_step(statement_);
    sqlite3_reset(statement_);
    if (rc != SQLITE_DONE)
        throw SQLite::Exception(db_, rc);
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
