#include "base/LeagueError.h"
#include "fileformat/TeamScan.h"
#include "league/League.h"
#include "safety/LeagueOrigin.h"
#include "store/PlayerRows.h"
#include "store/WorkingTables.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Transaction.h>

namespace tavrel {
namespace {

namespace fs = std::filesystem;

// SQLite keeps a journal beside a database while it writes. One left behind by a process that
// died would be rolled back into whatever database next takes that name, so it goes with the file
// it belongs to.
void RemoveJournals(const fs::path& db) {
    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        std::error_code ignored;
        fs::remove(fs::path(db) += suffix, ignored);
    }
}

// Converts one player record into a new Players row; `row` is scratch space reused between calls.
void AddPlayerRow(PlayerRowInserter& players, RecordBytes record, PlayerRow& row,
                  const ImportedRowEdit& edit) {
    DecodePlayerRecord(record, row);
    if (edit)
        edit(row);
    players.Insert(row);
}

// Fills the freshly created tables of `db` from the league: teams first, then one Players row per
// whole record, in file order, in one transaction.
LoadedLeague FillWorkingDatabase(const fs::path& db, const fs::path& playerFile,
                                 const fs::path& leagueFile, ProgressScope& scope,
                                 Progress* progress, const ImportedRowEdit& edit) {
    LoadedLeague league{leagueFile, playerFile, {}, 0};
    try {
        // Only this function on this thread uses the connection, so SQLite need not lock it
        // around every call.
        SQLite::Database database(db.string(), SQLite::OPEN_READWRITE | SQLite::OPEN_NOMUTEX);
        // This file is thrown away if anything fails before it replaces the working database, so
        // it needs neither a rollback journal nor a flush to disk after every write.
        database.exec("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF");
        SQLite::Transaction transaction(database);

        league.teamCount = LoadTeams(leagueFile, database);
        scope.Set(5);

        league.image = ReadPlayerFile(playerFile);
        const std::size_t records = league.image.RecordCount();
        ProgressStepper stepper(progress, 5, 95, static_cast<long long>(records));
        PlayerRowInserter players(database);
        PlayerRow row;
        for (std::size_t n = 0; n < records; ++n) {
            AddPlayerRow(players, league.image.Record(n), row, edit);
            stepper.Advance();
        }
        transaction.commit();
    } catch (const SQLite::Exception& e) {
        throw LeagueError("Loading the league into the working database", db, e);
    }
    return league;
}

} // namespace

LoadedLeague LoadLeague(const fs::path& playerFile, const fs::path& leagueFile,
                        const fs::path& workingDb, Progress* progress,
                        const ImportedRowEdit& edit) {
    ProgressScope scope(progress, "Please Wait - Loading League");
    const fs::path building = fs::path(workingDb) += ".new";
    LoadedLeague league;
    try {
        RemoveJournals(building);
        PrepareWorkingDatabase(building);
        scope.Set(1);
        CreatePlayersTable(building, "Players");
        scope.Set(2);
        CreateTeamTable(building, "Team");
        scope.Set(3);
        league = FillWorkingDatabase(building, playerFile, leagueFile, scope, progress, edit);
        WriteLeagueOrigin(
            building,
            {leagueFile, playerFile, StampPlayerFile(playerFile, league.image), false, {}});

        // The old origin goes first: a crash before the new one is in place leaves a database
        // without one, which is never offered for recovery.
        std::error_code ec;
        fs::remove(LeagueOriginFile(workingDb), ec);
        RemoveJournals(workingDb);
        fs::rename(building, workingDb, ec);
        if (ec)
            throw LeagueError("Putting the new working database in place of", workingDb,
                              ec.message());
        fs::rename(LeagueOriginFile(building), LeagueOriginFile(workingDb), ec);
    } catch (...) {
        std::error_code ignored;
        fs::remove(building, ignored);
        fs::remove(LeagueOriginFile(building), ignored);
        RemoveJournals(building);
        throw;
    }
    return league;
}

std::vector<RowKey> RowKeysOfImport(const PlayerFileImage& image) {
    std::vector<RowKey> keys;
    keys.reserve(image.RecordCount());
    for (std::size_t n = 0; n < image.RecordCount(); ++n) {
        const RecordBytes record = image.Record(n);
        const auto pid =
            static_cast<std::int16_t>(static_cast<std::uint16_t>(record[0] | (record[1] << 8)));
        keys.push_back({static_cast<std::int64_t>(n) + 1, pid});
    }
    return keys;
}

} // namespace tavrel
