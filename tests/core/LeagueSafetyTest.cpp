// The safety nets around the league's player file: the dated backups, the .sw$ backup's paths,
// and going on from a working database without importing again (unsaved changes recovered after
// a crash, a restored backup as changed cells), which must lead a later save to exact bytes.
#include "LeagueFixtures.h"
#include "league/BackupChanges.h"
#include "league/LeagueSave.h"
#include "safety/LeagueBackups.h"
#include "safety/LeagueOrigin.h"
#include "safety/PlayerFileBackup.h"

namespace tavrel {
namespace {

using namespace tavrel::testing;

using LeagueSafetyTest = LeagueFilesTest;

TEST_F(LeagueSafetyTest, EverySaveOrRestoreInPlaceKeepsTheFileItReplacesAndTheNewestTwenty) {
    const LoadedLeague league = Load({PatternRecord(0), PatternRecord(1), PatternRecord(2)});
    const Bytes original = ReadBytes(playerFile_);
    for (int n = 1; n <= 22; ++n) {
        Exec("UPDATE Players SET Act_SP = " + std::to_string(n) + " WHERE rowid = 1");
        SaveLeagueInPlace(league, db_);
    }
    const std::vector<LeagueBackup> backups = ListLeagueBackups(leagueFile_);
    ASSERT_EQ(backups.size(), kBackupsKept);
    EXPECT_EQ(backups.front().file.parent_path().parent_path(), Path("backups"));
    EXPECT_TRUE(backups.front().file.parent_path().filename().native().starts_with("pro-"));
    for (std::size_t i = 1; i < backups.size(); ++i)
        EXPECT_EQ(backups[i - 1].sequence, backups[i].sequence + 1);
    EXPECT_LT(abs(std::chrono::system_clock::now() - backups.front().taken),
              std::chrono::minutes(1));
    // The newest backup is the file before the last save: Act_SP 21 in the first record.
    const Bytes newest = ReadBytes(backups.front().file);
    EXPECT_EQ(newest.size(), original.size());
    EXPECT_EQ(backups.front().size, original.size());
    EXPECT_EQ(newest[kPlayerFileHeaderSize + 175], 21);
    // Against the file saved and the first: records only one side has differ too.
    const PlayerFileImage saved = SavedPlayerFile(league, db_), first(original, playerFile_);
    WriteBytes(Path("more.ply"), PlayerFile({PatternRecord(0), PatternRecord(1), PatternRecord(2),
                                             PatternRecord(3)}));
    const PlayerFileImage more = ReadPlayerFile(Path("more.ply"));
    EXPECT_EQ((std::vector{CountDifferingPlayers(ReadPlayerFile(backups.front().file), saved),
                           CountDifferingPlayers(ReadPlayerFile(backups.back().file), first),
                           CountDifferingPlayers(more, saved), CountDifferingPlayers(more, first)}),
              (std::vector<std::size_t>{1, 1, 2, 1}));

    // A restore puts the backup back and keeps what it replaced.
    const Bytes edited = ReadBytes(playerFile_);
    const fs::path& newestFile = backups.front().file;
    const std::optional<fs::path> kept =
        RestoreLeagueBackup(leagueFile_, newestFile, ReadBackupToRestore(newestFile));
    EXPECT_EQ(ReadBytes(playerFile_), newest);
    ASSERT_TRUE(kept);
    EXPECT_EQ(ReadBytes(*kept), edited);
    EXPECT_EQ(ListLeagueBackups(leagueFile_).front().file, *kept);

    // A league of the same name in another folder neither sees nor prunes these backups.
    const fs::path other = Path("season2") / "pro.lge";
    fs::create_directories(other.parent_path());
    WriteBytes(other.parent_path() / "pro.ply", original);
    EXPECT_TRUE(ListLeagueBackups(other).empty());
    ASSERT_TRUE(KeepLeagueBackup(other));
    EXPECT_EQ(ListLeagueBackups(other).size(), 1u);
    EXPECT_EQ(ListLeagueBackups(leagueFile_).size(), kBackupsKept);
}

// The rows the window's Restore Backup and the command line's list show: newest first, each with
// the players that differ from what is compared, and no count where none can be made.
TEST_F(LeagueSafetyTest, BackupRowsCountTheDifferingPlayersOrSayTheyCannot) {
    const LoadedLeague league = Load({PatternRecord(0), PatternRecord(1), PatternRecord(2)});
    for (int n = 1; n <= 3; ++n) {
        Exec("UPDATE Players SET Act_SP = " + std::to_string(n) +
             " WHERE rowid <= " + std::to_string(n));
        SaveLeagueInPlace(league, db_);
    }
    const PlayerFileImage current = SavedPlayerFile(league, db_);
    std::vector<BackupComparison> rows = CompareLeagueBackups(leagueFile_, &current);
    ASSERT_EQ(rows.size(), 3u);
    const std::vector<LeagueBackup> listed = ListLeagueBackups(leagueFile_);
    std::vector<std::optional<std::size_t>> counts;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].backup.file, listed[i].file);
        counts.push_back(rows[i].differingPlayers);
    }
    // The newest backup holds speeds 2, 2, the original; the save writes 3, 3, 3.
    EXPECT_EQ(counts, (std::vector<std::optional<std::size_t>>{3u, 3u, 3u}));
    Exec("UPDATE Players SET Act_SP = 2 WHERE rowid <= 2");
    const PlayerFileImage some = SavedPlayerFile(league, db_);
    rows = CompareLeagueBackups(leagueFile_, &some);
    EXPECT_EQ(rows[0].differingPlayers, 1u); // only the third record differs

    WriteFileContent(listed[1].file, "HDR"); // no player file any more
    rows = CompareLeagueBackups(leagueFile_, &some);
    EXPECT_EQ(rows[1].differingPlayers, std::nullopt);
    EXPECT_TRUE(rows[0].differingPlayers && rows[2].differingPlayers);
    for (const BackupComparison& row : CompareLeagueBackups(leagueFile_, nullptr))
        EXPECT_EQ(row.differingPlayers, std::nullopt);
}

// The .sw$ backup never lands on one of the league's own files.
TEST_F(LeagueSafetyTest, BackupPathsThatAreTheLeaguesOwnFilesAreRefused) {
    for (const char* league : {"L.sw$", "L.ply"}) {
        WriteFileContent(Path(league), "lge");
        EXPECT_THROW(BackUpPlayerFile(Path(league)), LeagueError) << league;
        EXPECT_EQ(FileContent(Path(league)), "lge");
    }
    WriteFileContent(playerFile_, "old");
    fs::create_symlink("pro.ply", Path("link.sw$"));
    WriteBytes(Path("link.lge"), {});
    WriteBytes(Path("link.ply"), {'p'});
    EXPECT_THROW(BackUpPlayerFile(Path("link.lge")), LeagueError); // the link is no regular file
    EXPECT_EQ(FileContent(playerFile_), "old");
    // A backup that is the player file under another name: a hard link.
    fs::create_hard_link(playerFile_, Path("hard.ply"));
    fs::create_hard_link(playerFile_, Path("hard.sw$"));
    EXPECT_NE(Failure([&] { BackUpPlayerFile(Path("hard.lge")); }).cause().find("overwrite"),
              std::string::npos);
}

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
