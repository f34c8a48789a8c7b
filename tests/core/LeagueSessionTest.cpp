// One league's life cycle through LeagueSession: how it opens (for writing, read only, against a
// held or a stale lock), what each kind of session refuses, saves into the league and into
// another league, restores, and recovery after a crash.
#include "session/LeagueSession.h"

#include "LeagueFixtures.h"
#include "safety/LeagueBackups.h"
#include "safety/LeagueLock.h"
#include "safety/LeagueOrigin.h"
#include "store/WorkingDatabase.h"

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <utime.h>

namespace tavrel {
namespace {

using namespace tavrel::testing;

std::size_t TeamOffset() {
    for (const RecordField& field : kRecordFields)
        if (field.column == "Team")
            return static_cast<std::size_t>(field.offset);
    throw std::logic_error("no Team field");
}

// A pattern record of a player on `team` (the league has teams 1 and 2).
Bytes Player(std::size_t n, std::uint8_t team) {
    Bytes record = PatternRecord(n);
    record[TeamOffset()] = team;
    return record;
}

class LeagueSessionTest : public LeagueFilesTest {
protected:
    void SetUp() override {
        LeagueFilesTest::SetUp();
        WriteBytes(playerFile_, PlayerFile(records_));
        original_ = ReadBytes(playerFile_);
    }
    void TearDown() override {
        EndHolders();
        LeagueFilesTest::TearDown();
    }
    std::unique_ptr<LeagueSession> Open(LeagueAccess access, bool importPlayers = true) {
        return std::make_unique<LeagueSession>(
            leagueFile_, db_, SessionOptions{access, "Test", importPlayers, nullptr});
    }
    // Another program holding what `take` takes, until the test ends.
    void HoldElsewhere(const std::function<bool()>& take) {
        const pid_t child = HoldInChild(take);
        ASSERT_GT(child, 0);
        children_.push_back(child);
    }
    void HoldLeague(const fs::path& league) {
        HoldElsewhere([&] { return (new LeagueLock(league, "Holder"))->TryLock(); });
    }
    // The other programs end: what they held is let go.
    void EndHolders() {
        for (const pid_t child : children_) {
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
        }
        children_.clear();
    }
    static CellChange SetSpeed(std::int64_t row, int from, int to) {
        return {row, Col("Act_SP"), std::int64_t(from), std::int64_t(to)};
    }
    int Speed(std::int64_t row) const {
        return static_cast<int>(
            Count(("SELECT Act_SP FROM Players WHERE rowid = " + std::to_string(row)).c_str()));
    }
    // Saves `n` edits in place, each a new dated backup.
    void SaveEdits(LeagueSession& session, int n) {
        for (int i = 1; i <= n; ++i) {
            session.Apply({SetSpeed(1, Speed(1), i)});
            session.Save();
        }
    }

    std::vector<Bytes> records_ = {Player(0, 1), Player(1, 2), Player(2, 1)};
    Bytes original_;
    std::vector<pid_t> children_;
};

// The .sw$ copy is made while the league opens and shows; one that cannot be made stops not the
// open but the first save, which tries again and replaces nothing until the copy is there.
TEST_F(LeagueSessionTest, TheFirstSaveWaitsForTheCopyAndTriesAgainWhenItFailed) {
    fs::create_directory(Path("pro.sw$")); // the copy cannot take the place of a folder
    const auto session = Open(LeagueAccess::Write);
    const int speed = Speed(1);
    session->Apply({SetSpeed(1, speed, speed + 1)});
    EXPECT_EQ(Failure([&] { session->Save(); }).operation(), "Backing up the player file");
    EXPECT_EQ(ReadBytes(playerFile_), original_);

    fs::remove(Path("pro.sw$"));
    session->Save();
    EXPECT_EQ(ReadBytes(Path("pro.sw$")), original_);
    EXPECT_NE(ReadBytes(playerFile_), original_);
}

TEST_F(LeagueSessionTest, OpensForWritingOnlyWhatNoOtherWriterHolds) {
    {
        const auto session = Open(LeagueAccess::Write);
        EXPECT_EQ(session->League().image.RecordCount(), 3u);
        LeagueLock other(leagueFile_, "Other");
        EXPECT_FALSE(other.TryLock()); // held while the session lives
    }
    EXPECT_EQ(ReadBytes(Path("pro.sw$")), original_); // made by the time the session closes
    LeagueLock after(leagueFile_, "Other");
    EXPECT_TRUE(after.TryLock()); // and let go when it closes
    after.Unlock();

    // Read only takes no lock and keeps no backup.
    fs::remove(Path("pro.sw$"));
    {
        const auto reader = Open(LeagueAccess::Read);
        EXPECT_FALSE(fs::exists(Path("pro.sw$")));
        LeagueLock other(leagueFile_, "Other");
        EXPECT_TRUE(other.TryLock());
    }

    // A live holder is named; a holder that is gone leaves a lock that is simply taken over.
    HoldLeague(leagueFile_);
    const LeagueError held = Failure([&] { Open(LeagueAccess::Write); });
    EXPECT_NE(held.cause().find("Holder (process " + std::to_string(children_.back())),
              std::string::npos)
        << held.what();
    EXPECT_NO_THROW(Open(LeagueAccess::Read));
    EndHolders();
    EXPECT_NO_THROW(Open(LeagueAccess::Write));

    // A league that is not there is named as such, not as a lock file that cannot be made.
    const LeagueError missing = Failure(
        [&] { LeagueSession(Path("nowhere/none.lge"), db_, SessionOptions{LeagueAccess::Write}); });
    EXPECT_NE(missing.cause().find("no such league"), std::string::npos) << missing.what();
}

TEST_F(LeagueSessionTest, EachKindOfSessionRefusesWhatItMayNotDo) {
    WriteBytes(Path("other.ply"), original_);
    const fs::path backup = Path("backup.ply");
    WriteBytes(backup, PlayerFile({Player(4, 1), Player(5, 1), Player(6, 1)}));
    const std::vector<std::pair<const char*, std::function<void(LeagueSession&)>>> writes = {
        {"apply", [](LeagueSession& s) { s.Apply({SetSpeed(1, 0, 9)}); }},
        {"edit", [](LeagueSession& s) { s.Edit("Editing", [](const fs::path&) {}); }},
        {"save", [](LeagueSession& s) { s.Save(); }},
        {"save as", [&](LeagueSession& s) { s.SaveAs(Path("other.ply")); }},
        {"restore", [&](LeagueSession& s) { s.RestorePlayerFile(backup, true); }},
        {"load backup", [&](LeagueSession& s) { s.LoadBackup(backup); }},
    };
    const struct {
        LeagueAccess access;
        std::vector<std::string> allowed;
    } kinds[] = {
        {LeagueAccess::Read, {}},
        {LeagueAccess::Copy, {"apply", "edit", "save as"}},
    };
    for (const auto& kind : kinds) {
        for (const auto& [name, write] : writes) {
            SCOPED_TRACE(name);
            const auto session = Open(kind.access);
            const int speed = Speed(1);
            const bool allowed =
                std::find(kind.allowed.begin(), kind.allowed.end(), name) != kind.allowed.end();
            if (allowed) {
                EXPECT_NO_THROW(write(*session));
                continue;
            }
            EXPECT_THROW(write(*session), LeagueError);
            EXPECT_EQ(Speed(1), speed);
            EXPECT_EQ(ReadBytes(playerFile_), original_);
            EXPECT_EQ(ReadBytes(Path("other.ply")), original_);
            EXPECT_TRUE(ListLeagueBackups(leagueFile_).empty());
        }
    }
    // Nothing a read-only session does marks the working copy for recovery.
    const auto reader = Open(LeagueAccess::Read);
    reader->NoteUnsavedChanges(true);
    EXPECT_FALSE(CheckForUnsavedChanges(db_));
}

TEST_F(LeagueSessionTest, SavesKeepADatedBackupAndTellOnlyOnceTheFileIsOnDisk) {
    const auto session = Open(LeagueAccess::Write);
    session->Apply({SetSpeed(1, Speed(1), 50)});
    // What the command tells before the file is replaced: a failure there leaves the file.
    EXPECT_THROW(session->Save([] { throw LeagueError("Telling", "", "no reader"); }), LeagueError);
    EXPECT_EQ(ReadBytes(playerFile_), original_);
    bool told = false;
    session->Save([&] {
        told = true;
        EXPECT_EQ(ReadBytes(playerFile_), original_); // not replaced yet
    });
    EXPECT_TRUE(told);
    EXPECT_EQ(ReadBytes(playerFile_)[kPlayerFileHeaderSize + 175], 50);
    // The first attempt kept the backup of the file as it was; the second had it already.
    std::vector<LeagueBackup> backups = ListLeagueBackups(leagueFile_);
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(ReadBytes(backups.front().file), original_);
    // Saves of nothing changed keep one backup of what they replaced, not one each.
    session->Save();
    session->Save();
    backups = ListLeagueBackups(leagueFile_);
    ASSERT_EQ(backups.size(), 2u);
    EXPECT_EQ(backups[0].sequence, backups[1].sequence + 1);
    EXPECT_EQ(ReadBytes(backups[0].file), ReadBytes(playerFile_));
}

TEST_F(LeagueSessionTest, SavingIntoAnotherLeaguesPlayerFileGoesThroughThatLeague) {
    const fs::path otherLeague = Path("other.lge");
    const fs::path otherPlayers = Path("other.ply");
    WriteBytes(otherLeague, {});
    const Bytes theirs = PlayerFile({PatternRecord(7)});
    WriteBytes(otherPlayers, theirs);
    const auto session = Open(LeagueAccess::Copy);

    HoldLeague(otherLeague);
    EXPECT_NE(Failure([&] { session->SaveAs(otherPlayers); }).cause().find("Holder"),
              std::string::npos);
    EXPECT_EQ(ReadBytes(otherPlayers), theirs);
    EndHolders();

    session->SaveAs(otherPlayers);
    EXPECT_EQ(ReadBytes(otherPlayers), original_);
    const std::vector<LeagueBackup> kept = ListLeagueBackups(otherLeague);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(ReadBytes(kept.front().file), theirs);
    // A player file of no league gets no backup; the league's own files are refused.
    session->SaveAs(Path("loose.ply"));
    EXPECT_TRUE(ListLeagueBackups(Path("loose.lge")).empty());
    EXPECT_THROW(session->SaveAs(playerFile_), LeagueError);
    EXPECT_EQ(LeagueOfPlayerFile(Path("loose.ply")), std::nullopt);
    WriteBytes(Path("locked.ply.lock"), {});
    EXPECT_EQ(LeagueOfPlayerFile(Path("locked.ply")), Path("locked.lge"));
}

TEST_F(LeagueSessionTest, BackupsKeepTheirOrderAndTheirWayBack) {
    const auto session = Open(LeagueAccess::Write);
    SaveEdits(*session, 20);
    std::vector<LeagueBackup> backups = ListLeagueBackups(leagueFile_);
    ASSERT_EQ(backups.size(), kBackupsKept);

    // The clock set back a day: the backup taken now still counts as the newest and is kept.
    const fs::path folder = backups.front().file.parent_path();
    fs::rename(backups.front().file, folder / "000020-20991231-235959-999.ply");
    SaveEdits(*session, 1);
    backups = ListLeagueBackups(leagueFile_);
    ASSERT_EQ(backups.size(), kBackupsKept);
    EXPECT_EQ(backups.front().sequence, 21u);
    EXPECT_TRUE(fs::exists(backups.front().file));

    // Restoring the oldest: neither the restore's own backup nor a later save rotates it away.
    const fs::path oldest = session->ChooseBackup("20");
    EXPECT_EQ(oldest, backups.back().file);
    const Bytes oldBytes = ReadBytes(oldest);
    const RestoreOutcome restored = session->RestorePlayerFile(oldest, false);
    EXPECT_EQ(ReadBytes(playerFile_), oldBytes);
    ASSERT_TRUE(restored.keptAs && fs::exists(*restored.keptAs));
    EXPECT_TRUE(fs::exists(oldest));
    SaveEdits(*session, 1);
    EXPECT_TRUE(fs::exists(oldest));
    EXPECT_THROW(session->ChooseBackup("0"), LeagueError);
    EXPECT_THROW(session->ChooseBackup("99"), LeagueError);

    // New files of backups that killed writers left are cleaned; a live writer's stays.
    const fs::path orphan = folder / ".000030-x.ply.tavrel-AbCdEf";
    const fs::path live = folder / ".000031-x.ply.tavrel-GhIjKl";
    WriteBytes(orphan, Bytes(100, 1));
    WriteBytes(live, Bytes(100, 1));
    HoldElsewhere([&] {
        const int fd = open(live.c_str(), O_RDONLY);
        return fd >= 0 && flock(fd, LOCK_EX) == 0;
    });
    SaveEdits(*session, 1);
    EXPECT_FALSE(fs::exists(orphan));
    EXPECT_TRUE(fs::exists(live));
}

TEST_F(LeagueSessionTest, RestoresOnlyWholePlayerFilesOfTheLeague) {
    const auto session = Open(LeagueAccess::Write, false);
    Bytes cut = PlayerFile(std::vector<Bytes>(10, PatternRecord(1)));
    cut.resize(cut.size() + 100, 7);
    std::vector<Bytes> foreign(3, PatternRecord(1));
    for (Bytes& r : foreign)
        r[TeamOffset()] = 77;
    const struct {
        const char* name;
        Bytes bytes;
        bool whole, doubted;
    } cases[] = {
        {"cut short", cut, false, false},
        {"shorter than a header", Bytes(5, 1), false, false},
        {"far more players", PlayerFile(std::vector<Bytes>(9, PatternRecord(1))), true, true},
        {"players of other teams", PlayerFile(foreign), true, true},
        {"the league's own", PlayerFile({Player(3, 2), Player(4, 0)}), true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(playerFile_, original_);
        const fs::path file = Path("restore.ply");
        WriteBytes(file, c.bytes);
        if (!c.whole || c.doubted) {
            const LeagueError refused = Failure([&] { session->RestorePlayerFile(file, false); });
            EXPECT_NE(refused.cause().find(c.whole ? "does not look like" : "player file"),
                      std::string::npos)
                << refused.what();
            EXPECT_EQ(ReadBytes(playerFile_), original_);
        }
        if (c.whole) {
            session->RestorePlayerFile(file, true);
            EXPECT_EQ(ReadBytes(playerFile_), c.bytes);
        } else { // not even when forced
            EXPECT_THROW(session->RestorePlayerFile(file, true), LeagueError);
            EXPECT_EQ(ReadBytes(playerFile_), original_);
        }
    }
    // With the player file gone, a restore still puts it back.
    fs::remove(playerFile_);
    EXPECT_FALSE(session->RestorePlayerFile(Path("restore.ply"), false).keptAs);
    EXPECT_TRUE(fs::exists(playerFile_));
}

TEST_F(LeagueSessionTest, RecoveryKeepsTheChangesUntilTheyAreRecoveredOrDiscarded) {
    const struct {
        const char* name;
        std::function<void()> meanwhile;
        bool recovers;
    } cases[] = {
        {"player file unchanged", [] {}, true},
        {"player file changed", [&] { WriteBytes(playerFile_, PlayerFile({PatternRecord(9)})); },
         false},
        {"league locked by another writer", [&] { HoldLeague(leagueFile_); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(playerFile_, original_);
        {
            const auto session = Open(LeagueAccess::Write);
            session->Apply({SetSpeed(2, Speed(2), 66)});
            session->NoteUnsavedChanges(true);
        } // the program ends without saving
        c.meanwhile();
        if (!c.recovers) {
            EXPECT_THROW(LeagueSession::Recover(db_, "Test"), LeagueError);
            EXPECT_TRUE(CheckForUnsavedChanges(db_)); // still there to offer again
            EXPECT_EQ(Speed(2), 66);
        } else {
            const auto recovered = LeagueSession::Recover(db_, "Test");
            EXPECT_EQ(Speed(2), 66);
            recovered->Save();
            EXPECT_EQ(ReadBytes(playerFile_)[kPlayerFileHeaderSize + kPlayerRecordSize + 175], 66);
        }
        EndHolders();
    }
    // Discarded, they are offered no more; the unsaved databases of a folder are found by name.
    {
        const auto session = Open(LeagueAccess::Write);
        session->Apply({SetSpeed(2, Speed(2), 67)});
        session->NoteUnsavedChanges(true);
    }
    EXPECT_EQ(WorkingDatabasesWithUnsavedChanges(db_.parent_path()), std::vector<fs::path>{db_});
    DiscardUnsavedChanges(db_);
    EXPECT_FALSE(CheckForUnsavedChanges(db_));
    EXPECT_TRUE(WorkingDatabasesWithUnsavedChanges(db_.parent_path()).empty());
}

TEST_F(LeagueSessionTest, ARestoredBackupIsRecoveredEvenOnceTheBackupIsGone) {
    const fs::path backup = Path("older.ply");
    Bytes bytes = PlayerFile({Player(5, 1), Player(6, 2)});
    bytes[1] = 'X'; // another header: only a whole import gives it back
    WriteBytes(backup, bytes);
    {
        const auto session = Open(LeagueAccess::Write);
        EXPECT_FALSE(session->LoadBackup(backup));
        session->NoteUnsavedChanges(true);
    }
    fs::remove(backup); // rotated away, say
    LeagueSession::Recover(db_, "Test")->Save();
    EXPECT_EQ(ReadBytes(playerFile_), bytes);
}

TEST_F(LeagueSessionTest, AWorkingDatabaseInUseIsNeverTakenOver) {
    HoldElsewhere([&] { return (new WorkingDatabaseLock(db_))->TryLock(); });
    // Held for longer than a minute by a program that is still running.
    const fs::path lock = fs::path(db_) += ".lock";
    const utimbuf old{time(nullptr) - 300, time(nullptr) - 300};
    ASSERT_EQ(utime(lock.c_str(), &old), 0);
    EXPECT_NE(Failure([&] { Open(LeagueAccess::Read); }).cause().find("in use"), std::string::npos);
    // One working database per league, named after its full path.
    const fs::path a = WorkingDatabaseFor("/w", "/x/pro.lge");
    EXPECT_TRUE(a.filename().native().starts_with("Tavrel-pro-"));
    EXPECT_NE(a, WorkingDatabaseFor("/w", "/y/pro.lge"));
}

} // namespace
} // namespace tavrel
