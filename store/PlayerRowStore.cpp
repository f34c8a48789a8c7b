#include "store/PlayerRowStore.h"

#include "base/LeagueError.h"
#include "store/PlayerRows.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Statement.h>
#include <array>

namespace tavrel {
namespace {

constexpr const char* kOperation = "Reading or writing players in";
constexpr int kBusyTimeoutMs = 5000;

// Resets a statement however its use ends, so no read stays open on the database.
class ResetOnExit {
public:
    explicit ResetOnExit(SQLite::Statement& statement) : statement_(statement) {}
    ~ResetOnExit() {
        try {
            statement_.reset();
        } catch (const SQLite::Exception&) {
            // The failure that led here is the one reported.
        }
    }
    ResetOnExit(const ResetOnExit&) = delete;
    ResetOnExit& operator=(const ResetOnExit&) = delete;

private:
    SQLite::Statement& statement_;
};

} // namespace

struct PlayerRowStore::Statements {
    explicit Statements(const std::filesystem::path& path)
        : db(path.string(), SQLite::OPEN_READWRITE, kBusyTimeoutMs),
          rowKeys(db, "SELECT rowid, PID FROM Players ORDER BY rowid"),
          row(db, "SELECT " + PlayersColumnList() + " FROM Players WHERE rowid = ?") {}

    SQLite::Statement& Update(int column) {
        auto& statement = updates.at(column);
        if (!statement)
            statement = std::make_unique<SQLite::Statement>(
                db, "UPDATE Players SET " + std::string(kPlayersColumns[column].name) +
                        " = ? WHERE rowid = ?");
        return *statement;
    }

    SQLite::Database db;
    SQLite::Statement rowKeys;
    SQLite::Statement row;
    std::array<std::unique_ptr<SQLite::Statement>, kPlayersColumnCount> updates;
};

PlayerRowStore::PlayerRowStore(const std::filesystem::path& workingDb) : path_(workingDb) {
    try {
        statements_ = std::make_unique<Statements>(workingDb);
    } catch (const SQLite::Exception& e) {
        throw LeagueError("Opening the players of", workingDb, e);
    }
}

PlayerRowStore::~PlayerRowStore() = default;

std::vector<RowKey> PlayerRowStore::RowKeys() {
    try {
        SQLite::Statement& q = statements_->rowKeys;
        ResetOnExit reset(q);
        std::vector<RowKey> keys;
        while (q.executeStep()) {
            RowKey key{q.getColumn(0).getInt64(), std::nullopt};
            if (q.getColumn(1).isInteger())
                key.pid = q.getColumn(1).getInt();
            keys.push_back(key);
        }
        return keys;
    } catch (const SQLite::Exception& e) {
        throw LeagueError(kOperation, path_, e);
    }
}

PlayerRow PlayerRowStore::ReadRow(std::int64_t rowId) {
    try {
        SQLite::Statement& q = statements_->row;
        ResetOnExit reset(q);
        q.bind(1, rowId);
        if (!q.executeStep())
            throw LeagueError(kOperation, path_, "row " + std::to_string(rowId) + " is gone");
        PlayerRow row;
        ReadPlayerRow(q, row);
        return row;
    } catch (const SQLite::Exception& e) {
        throw LeagueError(kOperation, path_, e);
    }
}

void PlayerRowStore::WriteValue(std::int64_t rowId, int column, const Value& value) {
    try {
        SQLite::Statement& q = statements_->Update(column);
        ResetOnExit reset(q);
        BindValue(q, 1, value);
        q.bind(2, rowId);
        if (q.exec() != 1)
            throw LeagueError(kOperation, path_, "row " + std::to_string(rowId) + " is gone");
    } catch (const SQLite::Exception& e) {
        throw LeagueError(kOperation, path_, e);
    } catch (const std::out_of_range&) {
        throw LeagueError(kOperation, path_, "no column " + std::to_string(column));
    }
}

void PlayerRowStore::WriteChanges(const CellChanges& changes, CellSide side) {
    WriteCellChanges(statements_->db, changes, side);
}

} // namespace tavrel
