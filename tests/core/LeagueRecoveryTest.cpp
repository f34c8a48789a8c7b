// Going on from a working database without importing again: recovering unsaved changes after a
// crash, and a restored backup as changed cells. Both must lead a later save to exact bytes.

#include "LeagueFixtures.h"
#include "league/BackupChanges.h"
#include "league/LeagueOrigin.h"
#include "league/LeagueSave.h"

namespace tavrel {
namespace {

using namespace tavrel::testing;

class LeagueRecoveryTest : public LeagueFilesTest {
protected:
    std::vector<Bytes> records_ = {PatternRecord(0), PatternRecord(1), PatternRecord(2)};
};

TEST_F(LeagueRecoveryTest, ResumesOnlyOntoTheRecordsTheRowsCameFrom) {
    const struct {
        const char* name;
        std::function<void()> after; // what happens before the restart
        bool fileChanged, resumes;
    } cases[] = {
        {"untouched", [] {}, false, true},
        {"player file changed",
         [this] {
             Bytes bytes = ReadBytes(playerFile_);
             bytes[20] ^= 1; // same size, other bytes
             WriteBytes(playerFile_, bytes);
         },
         true, false},
        {"a row gone", [this] { Exec("DELETE FROM Players WHERE rowid = 2"); }, false, false},
        {"a row moved", [this] { Exec("UPDATE Players SET rowid = 4 WHERE rowid = 2"); }, false,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Load(records_);
        EXPECT_FALSE(CheckForUnsavedChanges(db_)); // fresh import: nothing to recover
        Exec("UPDATE Players SET Act_SP = 77 WHERE rowid = 2");
        MarkUnsavedChanges(db_, true);
        const Bytes before = ReadBytes(playerFile_);
        c.after();
        const std::optional<RecoveryCheck> check = CheckForUnsavedChanges(db_);
        ASSERT_TRUE(check);
        EXPECT_EQ(check->origin.leagueFile, leagueFile_);
        EXPECT_EQ(check->origin.playerFile, playerFile_);
        EXPECT_EQ(check->playerFileChanged, c.fileChanged);
        if (!c.resumes) {
            EXPECT_THROW(RecoverLeague(db_), LeagueError);
            continue;
        }
        const LoadedLeague recovered = RecoverLeague(db_);
        EXPECT_EQ(recovered.teamCount, 2u);
        SaveLeagueInPlace(recovered, db_);
        Bytes expected = before; // the edited rating alone
        expected[kPlayerFileHeaderSize + kPlayerRecordSize + 175] = 77;
        EXPECT_EQ(ReadBytes(playerFile_), expected);
        EXPECT_FALSE(CheckForUnsavedChanges(db_)); // saved: nothing left to recover
        MarkUnsavedChanges(db_, true);
        EXPECT_FALSE(CheckForUnsavedChanges(db_)->playerFileChanged); // the saved file is its own
    }

    // A restored backup of another shape: its own records, header and all, even once saved.
    Load(records_);
    Bytes backup = PlayerFile({PatternRecord(5), PatternRecord(6)});
    backup[1] = 'X';
    const fs::path backupFile = Path("older.ply");
    WriteBytes(backupFile, backup);
    LoadLeagueBackup(leagueFile_, backupFile, db_);
    EXPECT_EQ(ReadLeagueOrigin(db_)->recordsFile, backupFile);
    SaveLeagueInPlace(RecoverLeague(db_), db_);
    EXPECT_EQ(ReadBytes(playerFile_), backup);
    fs::remove(backupFile);
    MarkUnsavedChanges(db_, true); // edits after that save, then the backup is gone
    EXPECT_THROW(RecoverLeague(db_), LeagueError);
}

TEST_F(LeagueRecoveryTest, ABackupOfTheLeaguesShapeBecomesChangedCellsOnly) {
    const LoadedLeague league = Load(records_);
    Exec("UPDATE Players SET LastName = 'Edited' WHERE rowid = 3");
    const std::size_t second = PlayerFileHeader().size() + kPlayerRecordSize;

    const struct {
        const char* name;
        std::function<void(Bytes&)> change;
        bool asCells;
    } cases[] = {
        {"a rating", [&](Bytes& b) { b[second + 175] ^= 7; }, true},
        {"the header", [](Bytes& b) { b[2] ^= 1; }, false},
        {"a byte no column holds", [&](Bytes& b) { b[second + 176] ^= 1; }, false}, // beside Act_SP
        {"a record fewer", [](Bytes& b) { b.resize(b.size() - kPlayerRecordSize); }, false},
        {"trailing bytes", [](Bytes& b) { b.push_back(1); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes backup = ReadBytes(playerFile_);
        c.change(backup);
        const std::optional<CellChanges> changes =
            ChangesToBackup(league, db_, PlayerFileImage(backup, Path("backup.ply")));
        ASSERT_EQ(changes.has_value(), c.asCells);
        if (!changes)
            continue;
        // The rating, and the edited name back as it was.
        ASSERT_EQ(changes->size(), 2u);
        EXPECT_EQ((*changes)[0].rowId, 2);
        EXPECT_EQ((*changes)[1].rowId, 3);
        EXPECT_EQ((*changes)[1].before, Value(std::string("Edited")));
        WriteCellChanges(db_, *changes, CellSide::After);
        SaveLeagueInPlace(league, db_);
        EXPECT_EQ(ReadBytes(playerFile_), backup);
    }
    // Rows that no longer line up with the records one for one.
    Exec("UPDATE Players SET rowid = 4 WHERE rowid = 2");
    EXPECT_FALSE(ChangesToBackup(league, db_, ReadPlayerFile(playerFile_)));
}

} // namespace
} // namespace tavrel
