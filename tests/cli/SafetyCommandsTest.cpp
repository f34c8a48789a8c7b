// tavrel-cli under the faults a league's files must survive: a full standard output, two writers
// at once, signals, paths that are not UTF-8; and the backups it keeps. The program runs with its
// arguments as raw bytes.
#include "CliRunner.h"
#include "TestFiles.h"
#include "demo/DemoLeague.h"
#include "safety/LeagueLock.h"

#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <regex>
#include <sys/wait.h>
#include <unistd.h>

namespace tavrel {
namespace {

namespace fs = std::filesystem;
using testing::CliResult;
using testing::FileContent;
using testing::FileNames;

constexpr int kNewFile = O_WRONLY | O_CREAT | O_TRUNC;

class SafetyCommands : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        root_ = dir_.path().toStdString();
        fs::create_directories(root_ / "tmp");
        files_ = WriteDemoLeague(root_ / "league", {.teams = 4, .players = 300, .seed = 5});
        original_ = FileContent(files_.playerFile);
    }

    // Starts tavrel-cli with the TMPDIR and backups folder of this test; standard output goes to
    // `out` (a file descriptor) or to a file, standard error to a file, both read by Finish.
    pid_t Start(std::vector<std::string> args, int out = -1) {
        args.insert(args.begin(), TAVREL_CLI);
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        const pid_t pid = fork();
        if (pid == 0) {
            setenv("TMPDIR", (root_ / "tmp").c_str(), 1);
            setenv("TAVREL_BACKUP_DIR", (root_ / "backups").c_str(), 1);
            const int outFile = open((Log(getpid()) + ".out").c_str(), kNewFile, 0644);
            dup2(out >= 0 ? out : outFile, 1);
            dup2(open(Log(getpid()).c_str(), kNewFile, 0644), 2);
            execv(TAVREL_CLI, argv.data());
            _exit(127);
        }
        return pid;
    }
    std::string Log(pid_t pid) const { return root_ / ("run" + std::to_string(pid)); }
    CliResult Finish(pid_t pid) {
        int status = 0;
        waitpid(pid, &status, 0);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, FileContent(Log(pid) + ".out"),
                FileContent(Log(pid))};
    }
    CliResult Cli(std::vector<std::string> args) { return Finish(Start(args)); }
    static std::vector<std::string> Edit(const fs::path& league) {
        return {"global-edit", "--positions", "QB", "--act", "SP=10", league.native()};
    }

    QTemporaryDir dir_;
    fs::path root_;
    DemoLeagueFiles files_;
    std::string original_;
};

TEST_F(SafetyCommands, AReportThatCannotBeWrittenSavesNothing) {
    const int full = open("/dev/full", O_WRONLY);
    ASSERT_GE(full, 0);
    const CliResult r = Finish(Start(Edit(files_.leagueFile), full));
    close(full);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << r.err;
    EXPECT_TRUE(FileContent(files_.playerFile) == original_);
}

// Two edits of one league at once: each one either is refused, naming the other writer, or
// lands; none is lost.
TEST_F(SafetyCommands, TwoWritersNeverLoseAnEdit) {
    // What one and two edits give, made one after the other.
    ASSERT_EQ(Cli(Edit(files_.leagueFile)).status, 0);
    const std::string once = FileContent(files_.playerFile);
    ASSERT_EQ(Cli(Edit(files_.leagueFile)).status, 0);
    const std::string twice = FileContent(files_.playerFile);
    ASSERT_NE(once, twice);

    for (int round = 0; round < 3; ++round) {
        testing::WriteFileContent(files_.playerFile, original_);
        const pid_t a = Start(Edit(files_.leagueFile));
        const pid_t b = Start(Edit(files_.leagueFile));
        int landed = 0;
        for (const CliResult& r : {Finish(a), Finish(b)}) {
            landed += r.status == 0;
            EXPECT_TRUE(
                r.status == 0 ||
                (r.status == 1 && r.err.find("being changed by tavrel-cli") != std::string::npos))
                << r.status << r.err;
        }
        EXPECT_GE(landed, 1);
        EXPECT_TRUE(FileContent(files_.playerFile) == (landed == 2 ? twice : once)) << round;
    }
}

TEST_F(SafetyCommands, SignalsRemoveThePrivateWorkingDatabase) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        int pipeEnds[2];
        ASSERT_EQ(pipe(pipeEnds), 0);
        // Nobody reads the dump, so the program stays blocked with its working database.
        const pid_t pid = Start({"dump", files_.leagueFile.native()}, pipeEnds[1]);
        close(pipeEnds[1]);
        char first = 0;
        ASSERT_EQ(read(pipeEnds[0], &first, 1), 1); // the import is done
        ASSERT_EQ(FileNames(root_ / "tmp").size(), 1u);
        kill(pid, signal);
        int status = 0;
        waitpid(pid, &status, 0);
        close(pipeEnds[0]);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
        EXPECT_TRUE(FileNames(root_ / "tmp").empty()) << signal;
    }
}

TEST_F(SafetyCommands, FoldersOfEarlierRunsThatAreGoneAreRemoved) {
    const pid_t gone = fork();
    if (gone == 0)
        _exit(0);
    waitpid(gone, nullptr, 0);
    const fs::path abandoned = root_ / "tmp" / ("tavrel-cli-" + std::to_string(gone) + "-abc");
    const fs::path running = root_ / "tmp" / ("tavrel-cli-" + std::to_string(getpid()) + "-abc");
    fs::create_directories(abandoned);
    fs::create_directories(running);
    testing::WriteFileContent(abandoned / "Tavrel.tmp", "left behind");
    ASSERT_EQ(Cli({"backups", files_.leagueFile.native()}).status, 0); // imports nothing
    EXPECT_EQ(FileNames(root_ / "tmp"), (std::vector<std::string>{running.filename()}));
}

TEST_F(SafetyCommands, PathsThatAreNotUtf8AreKeptAsBytes) {
    const fs::path folder = root_ / "league";
    fs::rename(files_.leagueFile, folder / "Liga\xE9.lge");
    fs::rename(files_.playerFile, folder / "Liga\xE9.ply");
    const CliResult r = Cli(Edit(folder / "Liga\xE9.lge"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(FileNames(folder),
              (std::vector<std::string>{"Liga\xE9.lge", "Liga\xE9.ply", "Liga\xE9.sw$"}));
    EXPECT_TRUE(FileContent(folder / "Liga\xE9.sw$") == original_);
    EXPECT_FALSE(FileContent(folder / "Liga\xE9.ply") == original_);
    const std::vector<std::string> backups = FileNames(root_ / "backups");
    ASSERT_EQ(backups.size(), 1u); // "Liga\xE9-" and the hash of the league's path
    EXPECT_EQ(backups[0].substr(0, 6), "Liga\xE9-");
}

TEST_F(SafetyCommands, BackupsAreListedAndRestored) {
    ASSERT_EQ(Cli(Edit(files_.leagueFile)).status, 0);
    ASSERT_EQ(Cli(Edit(files_.leagueFile)).status, 0);
    CliResult list = Cli({"backups", files_.leagueFile.native()});
    ASSERT_EQ(list.status, 0) << list.err;
    // A header, then the newest first: one edit away from the file now, then two.
    const std::string row = "\t[^\t\n]+\t\\d+\t(\\d+)\t[^\t\n]+\n";
    std::smatch differing;
    ASSERT_TRUE(std::regex_match(
        list.out, differing,
        std::regex("No\\.\tTaken\tBytes\tPlayers differing\tFile\n1" + row + "2" + row)))
        << list.out;
    EXPECT_GT(std::stoi(differing[1]), 0);
    EXPECT_GE(std::stoi(differing[2]), std::stoi(differing[1]));

    const CliResult restored = Cli({"restore", files_.leagueFile.native(), "2"});
    ASSERT_EQ(restored.status, 0) << restored.err;
    EXPECT_TRUE(FileContent(files_.playerFile) == original_);
    list = Cli({"backups", files_.leagueFile.native()});
    EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 4);
    EXPECT_EQ(Cli({"restore", files_.leagueFile.native(), "9"}).status, 1);
}

// Every command that writes a player file of another league goes through that league's lock and
// keeps its dated backup first.
TEST_F(SafetyCommands, WritingAnotherLeaguesPlayerFileGoesThroughThatLeague) {
    const DemoLeagueFiles other =
        WriteDemoLeague(root_ / "other", {.teams = 2, .players = 40, .seed = 9});
    const std::string theirs = FileContent(other.playerFile);
    testing::WriteFileContent(root_ / "sheet.csv", "Record,Act_SP\n1,77\n");
    const std::string league = files_.leagueFile.native(), out = other.playerFile.native();
    const std::vector<std::vector<std::string>> writes = {
        {"save-as", league, out},
        {"global-edit", "--positions", "QB", "--act", "SP=10", "--out", out, league},
        {"import", league, (root_ / "sheet.csv").native(), "--out", out},
    };
    for (const std::vector<std::string>& write : writes) {
        SCOPED_TRACE(write[0]);
        testing::WriteFileContent(other.playerFile, theirs);
        {
            LeagueLock holder(other.leagueFile, "Tavrel");
            ASSERT_TRUE(holder.TryLock());
            const CliResult refused = Cli(write);
            EXPECT_EQ(refused.status, 1);
            EXPECT_NE(refused.err.find("being changed by Tavrel"), std::string::npos)
                << refused.err;
            EXPECT_TRUE(FileContent(other.playerFile) == theirs);
        }
        const CliResult r = Cli(write);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_FALSE(FileContent(other.playerFile) == theirs);
    }
    const CliResult kept = Cli({"backups", other.leagueFile.native()});
    // Each write replaced the same file: one backup holds it, not three alike.
    EXPECT_EQ(std::count(kept.out.begin(), kept.out.end(), '\n'), 2) << kept.out;
    EXPECT_TRUE(FileContent(files_.playerFile) == original_);
}

// A save that fails tells only its failure: no report of changes that never reached the file.
TEST_F(SafetyCommands, AFailedSaveReportsNoChanges) {
    testing::WriteFileContent(root_ / "sheet.csv", "Record,Act_SP\n1,77\n");
    const struct {
        const char* name;
        std::function<void()> breakBackups;
        const char* cause;
    } faults[] = {
        {"backups folder is a file",
         [&] { testing::WriteFileContent(root_ / "backups", "not a folder"); }, "backups"},
        {"backups folder is a dangling link",
         [&] { fs::create_symlink(root_ / "gone", root_ / "backups"); },
         "link to a folder that does not exist"},
    };
    for (const auto& fault : faults) {
        SCOPED_TRACE(fault.name);
        fs::remove_all(root_ / "backups");
        fault.breakBackups();
        for (const std::vector<std::string>& write :
             {Edit(files_.leagueFile),
              std::vector<std::string>{"import", files_.leagueFile.native(),
                                       (root_ / "sheet.csv").native()}}) {
            const CliResult r = Cli(write);
            EXPECT_EQ(r.status, 1);
            EXPECT_EQ(r.out, "");
            EXPECT_NE(r.err.find(fault.cause), std::string::npos) << r.err;
            EXPECT_TRUE(FileContent(files_.playerFile) == original_);
        }
    }
}

TEST_F(SafetyCommands, RestoreTakesOnlyWholePlayerFilesOfTheLeague) {
    // Ten players of a 300-player league: another league's, it seems, unless forced.
    testing::WriteFileContent(root_ / "few.ply", original_.substr(0, 12 + 366 * 10));
    const std::vector<std::string> restore = {"restore", files_.leagueFile.native(),
                                              (root_ / "few.ply").native()};
    CliResult r = Cli(restore);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("--force"), std::string::npos) << r.err;
    EXPECT_TRUE(FileContent(files_.playerFile) == original_);
    std::vector<std::string> forced = restore;
    forced.push_back("--force");
    r = Cli(forced);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(FileContent(files_.playerFile) == original_.substr(0, 12 + 366 * 10));
}

} // namespace
} // namespace tavrel
