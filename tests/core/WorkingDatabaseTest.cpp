#include "store/WorkingDatabase.h"

#include "LeagueFixtures.h"
#include "league/LeagueError.h"

#include <QCoreApplication>
#include <QLockFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tavrel {
namespace {

namespace fs = std::filesystem;

class WorkingDatabaseTest : public ::testing::Test {
protected:
    fs::path Path(const std::string& name) const {
        return fs::path(dir_.path().toStdString()) / name;
    }
    QTemporaryDir dir_;
};

TEST_F(WorkingDatabaseTest, LivesInTheProgramFolderWhenItIsWritable) {
    const fs::path program = Path("");
    EXPECT_EQ(ChooseWorkingDirectory(program), program);
    EXPECT_EQ(WorkingDatabasePath(program), program / "Tavrel.tmp");
    EXPECT_EQ(std::distance(fs::directory_iterator(program), fs::directory_iterator()), 0)
        << "finding out leaves nothing behind";
}

TEST_F(WorkingDatabaseTest, MovesToApplicationDataWhenTheProgramFolderIsNotWritable) {
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setApplicationName("TavrelTest");
    testing::WriteBytes(Path("file"), {1});
    // Under a plain file no folder can exist, whoever runs the program.
    const fs::path chosen = ChooseWorkingDirectory(Path("file") / "bin");
    EXPECT_EQ(
        chosen,
        fs::path(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString()));
    EXPECT_TRUE(fs::is_directory(chosen));
    QStandardPaths::setTestModeEnabled(false);
}

TEST_F(WorkingDatabaseTest, SecondCopyCannotTakeTheLock) {
    const fs::path db = Path("Tavrel.tmp");
    auto first = std::make_unique<WorkingDatabaseLock>(db);
    EXPECT_FALSE(first->IsLocked());
    ASSERT_TRUE(first->TryLock());
    EXPECT_TRUE(first->IsLocked());
    EXPECT_TRUE(fs::exists(Path("Tavrel.tmp.lock")));

    WorkingDatabaseLock second(db);
    EXPECT_FALSE(second.TryLock());
    EXPECT_FALSE(second.IsLocked());
    EXPECT_TRUE(fs::exists(Path("Tavrel.tmp.lock")));

    first.reset();
    EXPECT_TRUE(second.TryLock());
}

TEST_F(WorkingDatabaseTest, LockThatCannotBeMadeIsAnErrorNotAnotherCopy) {
    testing::WriteBytes(Path("file"), {1});
    WorkingDatabaseLock lock(Path("file") / "Tavrel.tmp");
    EXPECT_THROW(lock.TryLock(), LeagueError);
    EXPECT_FALSE(lock.IsLocked());
}

// Another process holds the lock for as long as it lives, however old the lock file; once it
// is gone, its lock is stale and taken over.
TEST_F(WorkingDatabaseTest, LockOfALiveProcessHoldsAndOfADeadOneIsTakenOver) {
    const fs::path db = Path("Tavrel.tmp");
    int locked[2];
    ASSERT_EQ(pipe(locked), 0);
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        QLockFile lock(QString::fromStdString(db.string() + ".lock"));
        const char taken = lock.tryLock(0) ? 'y' : 'n';
        if (write(locked[1], &taken, 1) != 1)
            _exit(1);
        pause(); // holds the lock until killed, never releasing it
        _exit(0);
    }
    char taken = 0;
    ASSERT_EQ(read(locked[0], &taken, 1), 1);
    ASSERT_EQ(taken, 'y');
    usleep(200000); // the lock file is old now

    WorkingDatabaseLock lock(db);
    EXPECT_FALSE(lock.TryLock());
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    ASSERT_TRUE(fs::exists(Path("Tavrel.tmp.lock")));
    EXPECT_TRUE(lock.TryLock());
}

} // namespace
} // namespace tavrel
