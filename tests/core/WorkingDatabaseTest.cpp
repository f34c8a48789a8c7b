#include "store/WorkingDatabase.h"

#include "LeagueFixtures.h"
#include "store/TeamChoices.h"

#include <QCoreApplication>
#include <QLockFile>
#include <QStandardPaths>
#include <SQLiteCpp/Exception.h>
#include <csignal>
#include <sqlite3.h>
#include <sys/wait.h>

namespace tavrel {
namespace {

using namespace tavrel::testing;

using WorkingDatabaseTest = LeagueFilesTest;

// SQLite's failures keep their code: a damaged file and a full disk ask for different help.
TEST_F(WorkingDatabaseTest, FailuresTellADamagedFileFromAFullDisk) {
    WriteFileContent(Path("junk.tmp"), std::string(4096, 'x'));
    const LeagueError damaged = Failure([&] { ReadTeamChoices(Path("junk.tmp")); });
    EXPECT_EQ(damaged.sqliteCode(), SQLITE_NOTADB);
    EXPECT_TRUE(damaged.IsCorruptFile());
    EXPECT_FALSE(damaged.IsDiskFull());
    EXPECT_EQ(damaged.file(), Path("junk.tmp"));

    SQLite::Database db(Path("full.tmp").string(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    db.exec("CREATE TABLE t (x); PRAGMA max_page_count = 2"); // a disk with no more room
    try {
        db.exec("INSERT INTO t VALUES (zeroblob(100000))");
        FAIL() << "the database grew past its last page";
    } catch (const SQLite::Exception& full) {
        const LeagueError e("Writing", Path("full.tmp"), full);
        EXPECT_EQ(e.sqliteCode(), SQLITE_FULL);
        EXPECT_TRUE(e.IsDiskFull());
        EXPECT_FALSE(e.IsCorruptFile());
        EXPECT_EQ(e.cause(), full.what());
    }
    EXPECT_EQ(LeagueError("Reading", "f", "gone").sqliteCode(), 0);
}

TEST_F(WorkingDatabaseTest, LivesInTheBuildFolderWhenRunThereAndMayWriteElseInAppData) {
    const fs::path program = Path("program");
    fs::create_directory(program);
    EXPECT_EQ(ChooseWorkingDirectory(program, program / "."), program);
    EXPECT_EQ(WorkingDatabasePath(program), program / "Tavrel.tmp");
    EXPECT_EQ(std::distance(fs::directory_iterator(program), fs::directory_iterator()), 0)
        << "finding out leaves nothing behind";

    // Installed (even in a folder it may write to), copied elsewhere, or in a build folder it may
    // not write to: the program keeps its files in the per-user application data folder.
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setApplicationName("TavrelTest");
    const fs::path data =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString();
    fs::create_directories(Path("usr/bin"));
    fs::create_directories(Path("build/shell"));
    WriteBytes(Path("file"), {1});
    const struct {
        const char* program;
        const char* build;
    } cases[] = {
        {"usr/bin", "build/shell"},    // installed in a writable prefix
        {"build/shell", "build"},      // beside, not in, the build folder
        {"file/bin", "file/bin"},      // a build folder no file can be made in
        {"usr/bin", "no/such/folder"}, // built elsewhere
    };
    for (const auto& c : cases) {
        const fs::path chosen = ChooseWorkingDirectory(Path(c.program), Path(c.build));
        EXPECT_EQ(chosen, data) << c.program << " built in " << c.build;
        EXPECT_TRUE(fs::is_directory(chosen));
    }
    EXPECT_TRUE(fs::is_empty(Path("usr/bin")));
    QStandardPaths::setTestModeEnabled(false);
}

// Another process holds the lock for as long as it lives, however old the lock file; once it
// is gone, its lock is stale and taken over. A lock that cannot be made is an error, not another
// copy.
TEST_F(WorkingDatabaseTest, LockOfALiveProcessHoldsAndOfADeadOneIsTakenOver) {
    WriteBytes(Path("file"), {1});
    WorkingDatabaseLock unmade(Path("file") / "Tavrel.tmp");
    EXPECT_THROW(unmade.TryLock(), LeagueError);
    EXPECT_FALSE(unmade.IsLocked());

    const fs::path db = Path("Tavrel.tmp");
    const pid_t child = HoldInChild(
        [&] { return (new QLockFile(QString::fromStdString(db.string() + ".lock")))->tryLock(0); });
    ASSERT_GT(child, 0);
    fs::last_write_time(Path("Tavrel.tmp.lock"),
                        fs::file_time_type::clock::now() - std::chrono::hours(1));

    WorkingDatabaseLock lock(db);
    EXPECT_FALSE(lock.TryLock());
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    ASSERT_TRUE(fs::exists(Path("Tavrel.tmp.lock")));
    EXPECT_TRUE(lock.TryLock());
}

} // namespace
} // namespace tavrel
