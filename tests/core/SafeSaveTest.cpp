// Every file the program writes goes through SafeSaveFile: faults of the disk, targets and inputs
// that are not regular files, kills in the middle of a save.
#include "safety/SafeSave.h"

#include "LeagueFixtures.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace tavrel {
namespace {

using namespace tavrel::testing;

class SafeSaveTest : public LeagueFilesTest {
protected:
    void TearDown() override {
        FailSafeSaveStep(SafeSaveStep::Write, 0, 0);
        LeagueFilesTest::TearDown();
    }
};

// Whatever step fails, the old file stays exactly as it was, no new file is left beside it and
// the message gives the system's cause.
TEST_F(SafeSaveTest, AFailingStepLeavesTheOldFileWholeAndSaysWhy) {
    const struct {
        SafeSaveStep step;
        int nth, error;
    } cases[] = {{SafeSaveStep::Write, 1, ENOSPC},
                 {SafeSaveStep::Write, 2, ENOSPC},
                 {SafeSaveStep::Sync, 1, EIO},
                 {SafeSaveStep::Close, 1, EDQUOT},
                 {SafeSaveStep::Rename, 1, EXDEV}};
    const fs::path target = Path("target.ply");
    const std::string chunk(1 << 20, 'n'); // a buffer's worth: one write each
    for (const auto& c : cases) {
        WriteFileContent(target, "old");
        FailSafeSaveStep(c.step, c.nth, c.error);
        const auto save = [&] {
            SafeSaveFile out(target, "Saving");
            for (int n = 0; n < 3; ++n)
                out.Write(chunk);
            out.Commit();
        };
        const std::string message = Failure(save).what();
        EXPECT_NE(message.find(std::strerror(c.error)), std::string::npos) << message;
        EXPECT_TRUE(FileContent(target) == "old");
        EXPECT_EQ(FileNames(Path("")), (std::vector<std::string>{"pro.lge", "target.ply"}));
    }
}

// Files written together replace their targets only once every one of them is on disk: each new
// file is flushed on its own, so a failing write, flush or close of any of them leaves every
// target as it was and no new file behind.
TEST_F(SafeSaveTest, FilesWrittenTogetherReplaceNothingUnlessAllAreOnDisk) {
    const fs::path folder = Path("rosters");
    fs::create_directory(folder);
    testing::WriteFileContent(folder / "a.txt", "old a");
    testing::WriteFileContent(folder / "c.txt", "old c");
    const FileToSave files[] = {
        {folder / "a.txt", "new a"}, {folder / "b.txt", "new b"}, {folder / "c.txt", "new c"}};
    const struct {
        SafeSaveStep step;
        int nth, error;
    } cases[] = {{SafeSaveStep::Write, 1, ENOSPC}, {SafeSaveStep::Write, 3, ENOSPC},
                 {SafeSaveStep::Close, 1, EIO},    {SafeSaveStep::Close, 2, EIO},
                 {SafeSaveStep::Sync, 1, EIO},     {SafeSaveStep::Sync, 2, EIO},
                 {SafeSaveStep::Sync, 3, EIO},     {SafeSaveStep::Rename, 1, EXDEV}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.step) << " fails at " << c.nth);
        FailSafeSaveStep(c.step, c.nth, c.error);
        const std::string message = Failure([&] { SaveFilesAtomically(files, "Printing"); }).what();
        EXPECT_NE(message.find(strerror(c.error)), std::string::npos) << message;
        EXPECT_EQ(FileNames(folder), (std::vector<std::string>{"a.txt", "c.txt"}));
        EXPECT_EQ(FileContent(folder / "a.txt"), "old a");
        EXPECT_EQ(FileContent(folder / "c.txt"), "old c");
    }
    FailSafeSaveStep(SafeSaveStep::Write, 0, 0);
    SaveFilesAtomically(files, "Printing");
    EXPECT_EQ(FileNames(folder), (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));
    EXPECT_EQ(FileContent(folder / "c.txt"), "new c");
}

// More files than are flushed at once: a failing flush of a late one still replaces nothing, and
// a set that succeeds replaces every target with its own bytes.
TEST_F(SafeSaveTest, ALargeSetIsWholeOrNotAtAll) {
    const fs::path folder = Path("many");
    fs::create_directory(folder);
    std::vector<std::string> texts;
    std::vector<FileToSave> files;
    for (int i = 0; i < 20; ++i)
        texts.push_back("roster " + std::to_string(i) + std::string(std::size_t(i) * 1000, 'x'));
    for (int i = 0; i < 20; ++i) {
        testing::WriteFileContent(folder / (std::to_string(i) + ".txt"), "old");
        files.push_back({folder / (std::to_string(i) + ".txt"), texts[std::size_t(i)]});
    }
    FailSafeSaveStep(SafeSaveStep::Sync, 17, EIO);
    const std::string message = Failure([&] { SaveFilesAtomically(files, "Printing"); }).what();
    EXPECT_NE(message.find("16.txt"), std::string::npos) << message;
    EXPECT_EQ(FileNames(folder).size(), 20u);
    for (const FileToSave& file : files)
        EXPECT_EQ(FileContent(file.path), "old");

    SaveFilesAtomically(files, "Printing");
    EXPECT_EQ(FileNames(folder).size(), 20u);
    for (const FileToSave& file : files)
        EXPECT_TRUE(FileContent(file.path) == file.bytes) << file.path;
}

// Each folder of a set is flushed once the files are in place, the second folder too; a folder
// that cannot be flushed is reported, with every file already new.
TEST_F(SafeSaveTest, EachFolderOfASetIsFlushedAfterTheFilesAreInPlace) {
    for (const char* name : {"one", "two"})
        fs::create_directory(Path(name));
    const FileToSave files[] = {{Path("one") / "a.txt", "new a"},
                                {Path("one") / "b.txt", "new b"},
                                {Path("two") / "c.txt", "new c"}};
    for (const int nth : {1, 2}) {
        FailSafeSaveStep(SafeSaveStep::SyncFolder, nth, EIO);
        const std::string message = Failure([&] { SaveFilesAtomically(files, "Printing"); }).what();
        EXPECT_NE(message.find("in place"), std::string::npos) << message;
        EXPECT_NE(message.find(nth == 1 ? "a.txt" : "c.txt"), std::string::npos) << message;
        for (const FileToSave& file : files)
            EXPECT_EQ(FileContent(file.path), file.bytes);
    }
    FailSafeSaveStep(SafeSaveStep::SyncFolder, 3, EIO); // two folders, two flushes
    SaveFilesAtomically(files, "Printing");
    FailSafeSaveStep(SafeSaveStep::SyncFolder, 0, 0);
}

TEST_F(SafeSaveTest, AFolderThatCannotBeFlushedIsReportedAfterTheFileIsInPlace) {
    FailSafeSaveStep(SafeSaveStep::SyncFolder, 1, EIO);
    const std::string message =
        Failure([&] { SaveFileAtomically(Path("a"), "new", "Saving"); }).what();
    EXPECT_NE(message.find("in place"), std::string::npos) << message;
    EXPECT_NE(message.find(std::strerror(EIO)), std::string::npos) << message;
    EXPECT_EQ(FileContent(Path("a")), "new");
}

TEST_F(SafeSaveTest, SaveLeagueOnAFullDiskKeepsThePlayerFile) {
    const LoadedLeague league = Load({PatternRecord(0), PatternRecord(1)});
    const Bytes before = ReadBytes(playerFile_);
    FailSafeSaveStep(SafeSaveStep::Write, 1, ENOSPC);
    const std::string message = Failure([&] { SaveLeague(playerFile_, league, db_); }).what();
    EXPECT_NE(message.find("No space left on device"), std::string::npos) << message;
    EXPECT_EQ(ReadBytes(playerFile_), before);
}

// A real small file system when the tests may mount one: the disk fills during the save.
TEST_F(SafeSaveTest, RealFullDiskKeepsThePlayerFile) {
    const fs::path disk = Path("disk");
    fs::create_directory(disk);
    if (geteuid() != 0 || mount("tavrel-test", disk.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "needs root and a tmpfs mount: " << std::strerror(errno);
    const fs::path target = disk / "pro.ply";
    WriteFileContent(target, std::string(20000, 'o'));
    WriteFileContent(disk / "filler", std::string(30000, 'f'));
    const std::string message =
        Failure([&] { SaveFileAtomically(target, std::string(20000, 'n'), "Saving"); }).what();
    const std::string after = FileContent(target);
    const auto left = FileNames(disk);
    umount(disk.c_str());
    EXPECT_NE(message.find("No space left on device"), std::string::npos) << message;
    EXPECT_EQ(after, std::string(20000, 'o'));
    EXPECT_EQ(left, (std::vector<std::string>{"filler", "pro.ply"}));
}

TEST_F(SafeSaveTest, TargetsThatAreNotRegularFilesAreRefusedAndLeftAlone) {
    const fs::path fifo = Path("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    fs::create_directory(Path("folder"));
    fs::create_symlink(Path("nothing"), Path("dangling"));
    fs::create_symlink("/dev/null", Path("null-link"));
    WriteFileContent(Path("plain"), "file");
    const struct {
        fs::path target;
        const char* cause;
    } cases[] = {{fifo, "FIFO"},
                 {Path("folder"), "folder"},
                 {Path("dangling"), "does not exist"},
                 {Path("null-link"), "device"},
                 {"/dev/null", "device"},
                 {Path("plain") / "x", "Not a directory"},
                 {Path("none") / "x", "No such file or directory"}};
    for (const auto& c : cases) {
        const std::string message =
            Failure([&] { SaveFileAtomically(c.target, "x", "Saving"); }).what();
        EXPECT_NE(message.find(c.cause), std::string::npos) << message;
        EXPECT_NE(message.find(c.target.native()), std::string::npos) << message;
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(fs::is_directory(Path("folder")));
    EXPECT_EQ(FileContent(Path("plain")), "file");
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_TRUE(fs::is_symlink(Path("dangling")));
    EXPECT_FALSE(fs::exists(Path("nothing")));
}

// Through a link, the file it names is replaced: the link, owner, group and mode stay.
TEST_F(SafeSaveTest, ALinkStaysALinkAndTheFileKeepsItsOwnerGroupAndMode) {
    fs::create_directory(Path("real"));
    const fs::path target = Path("real") / "theirs.ply";
    WriteFileContent(target, "old");
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    if (geteuid() == 0) {
        ASSERT_EQ(chown(target.c_str(), 1234, 5678), 0);
    }
    fs::create_symlink("real/theirs.ply", Path("link.ply"));
    struct stat before {};
    ASSERT_EQ(stat(target.c_str(), &before), 0);
    SaveFileAtomically(Path("link.ply"), "new", "Saving");
    struct stat after {};
    ASSERT_EQ(stat(target.c_str(), &after), 0);
    EXPECT_TRUE(fs::is_symlink(Path("link.ply")));
    EXPECT_EQ(FileContent(target), "new");
    EXPECT_EQ(std::tuple(after.st_mode, after.st_uid, after.st_gid),
              std::tuple(before.st_mode, before.st_uid, before.st_gid));
    EXPECT_NE(after.st_ino, before.st_ino); // replaced, not rewritten in place
}

// Killed at any moment, a save leaves the whole old file or the whole new one.
TEST_F(SafeSaveTest, KilledSavesLeaveAWholeFile) {
    const fs::path target = Path("pro.ply");
    const std::string a(1 << 20, 'a'), b(1 << 20, 'b');
    WriteFileContent(target, a);
    for (int round = 0; round < 20; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int n = 0;; ++n)
                SaveFileAtomically(target, n % 2 ? a : b, "Saving");
        }
        usleep(1000 + round * 1500);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const std::string content = FileContent(target);
        EXPECT_TRUE(content == a || content == b) << "round " << round << ": " << content.size();
    }
    // The next save removes the new files killed writers left beside the file, never a live
    // writer's.
    WriteFileContent(Path(".pro.ply.tavrel-ORPHAN"), a);
    const pid_t live = HoldInChild([&] { return new SafeSaveFile(target, "Saving") != nullptr; });
    ASSERT_GT(live, 0);
    const auto temps = [&] {
        std::vector<std::string> names = FileNames(target.parent_path());
        std::erase_if(names, [](const std::string& name) { return !name.starts_with(".pro.ply"); });
        return names.size();
    };
    SaveFileAtomically(target, a, "Saving");
    EXPECT_EQ(temps(), 1u);
    kill(live, SIGKILL);
    waitpid(live, nullptr, 0);
    SaveFileAtomically(target, b, "Saving");
    EXPECT_EQ(temps(), 0u);
}

} // namespace
} // namespace tavrel
