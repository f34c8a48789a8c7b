#include "LeagueFixtures.h"
#include "fileformat/FileBytes.h"
#include "fileformat/LeaguePaths.h"
#include "safety/LeagueOrigin.h"

#include <csignal>
#include <sys/wait.h>

namespace tavrel {
namespace {

using namespace tavrel::testing;

using LeagueImportTest = LeagueFilesTest;

TEST_F(LeagueImportTest, ProgressRunsFromFiveInStepsBelowOneHundred) {
    RecordingProgress one;
    Load({PatternRecord(0)}, &one);
    EXPECT_EQ(one.captions, std::vector<std::string>{"Please Wait - Loading League"});
    EXPECT_EQ(one.values, (std::vector<float>{1, 2, 3, 5})); // 5 + 95 is not below 100
    EXPECT_EQ(one.ends, 1);

    RecordingProgress four;
    Load({PatternRecord(0), PatternRecord(1), PatternRecord(2), PatternRecord(3)}, &four);
    EXPECT_EQ(four.values, (std::vector<float>{1, 2, 3, 5, 28.75f, 52.5f, 76.25f}));

    RecordingProgress none;
    Load({}, &none);
    EXPECT_EQ(none.values, (std::vector<float>{1, 2, 3, 5}));
    EXPECT_EQ(none.ends, 1);
}

TEST_F(LeagueImportTest, TextSortsWithoutRegardToCase) {
    std::vector<Bytes> records;
    for (const char* last : {"carter", "Baker", "adams", "Dunn"}) {
        records.push_back(PatternRecord(records.size()));
        Put(records.back(), 23, last);
    }
    Load(records);
    std::string initials;
    for (const PlayerRow& row : ReadPlayers(db_, "LASTNAME ASC"))
        initials += Str(row, "LastName")[0];
    EXPECT_EQ(initials, "aBcD");
}

// Whole records become rows; the bytes after them are kept for the save.
// A file is read into one buffer of its size: a buffer grown chunk by chunk would at one moment
// hold the file nearly twice.
TEST_F(LeagueImportTest, AFileIsReadIntoOneBufferOfItsSize) {
    const std::string content(3 << 20, 'x'); // three of the reader's chunks
    WriteFileContent(Path("big.ply"), content);
    const std::vector<std::uint8_t> bytes = ReadFileBytes(Path("big.ply"), "Reading");
    EXPECT_TRUE(std::string(bytes.begin(), bytes.end()) == content);
    EXPECT_EQ(bytes.capacity(), content.size());
}

TEST_F(LeagueImportTest, ShortOrPartialPlayerFiles) {
    const struct { std::size_t records, trailing; } cases[] = {{0, 0}, {0, 365}, {2, 100}};
    for (const auto& c : cases) {
        Bytes file = PlayerFile({PatternRecord(0), PatternRecord(1)});
        file.resize(kPlayerFileHeaderSize + c.records * kPlayerRecordSize);
        const Bytes trailing(c.trailing, 0x42);
        Append(file, trailing);
        WriteBytes(playerFile_, file);
        const LoadedLeague league = LoadLeague(playerFile_, leagueFile_, db_);
        EXPECT_EQ(Count("SELECT COUNT(*) FROM Players"), std::int64_t(c.records));
        EXPECT_EQ(league.image.RecordCount(), c.records);
        EXPECT_EQ(Bytes(league.image.TrailingBytes().begin(), league.image.TrailingBytes().end()),
                  trailing);
        EXPECT_EQ(StampPlayerFile(playerFile_, league.image).hash,
                  StampPlayerFile(playerFile_).hash);
    }
}

TEST_F(LeagueImportTest, RecordCountIsNotLimitedToSixteenBits) {
    const std::size_t records = 65537;
    Bytes bytes(kPlayerFileHeaderSize + records * kPlayerRecordSize + 7, 0x33);
    const PlayerFileImage image(std::move(bytes), "big.ply");
    EXPECT_EQ(image.RecordCount(), records);
    EXPECT_EQ(image.TrailingBytes().size(), 7u);
    EXPECT_EQ(image.Record(records - 1).data() - image.Header().data(),
              std::ptrdiff_t(kPlayerFileHeaderSize + (records - 1) * kPlayerRecordSize));
    EXPECT_THROW(image.Record(records), std::out_of_range); // the partial record
}

TEST_F(LeagueImportTest, FailedImportLeavesThePreviousWorkingDatabase) {
    Load({PatternRecord(0), PatternRecord(1)});
    const Bytes before = ReadBytes(db_);

    fs::create_directory(Path("folder.ply"));
    fs::create_directory(Path("folder.lge"));
    WriteBytes(Path("short.ply"), Bytes(11, 1));
    const struct {
        fs::path player, league;
        std::string blamed, cause;
    } cases[] = {
        {Path("missing.ply"), leagueFile_, "missing.ply", "does not exist"},
        {playerFile_, Path("missing.lge"), "missing.lge", "does not exist"},
        {Path("folder.ply"), leagueFile_, "folder.ply", "folder"},
        {playerFile_, Path("folder.lge"), "folder.lge", "folder"},
        {Path("short.ply"), leagueFile_, "short.ply", "fewer than the 12-byte header"},
    };
    for (const auto& c : cases) {
        RecordingProgress progress;
        const LeagueError e = Failure([&] { LoadLeague(c.player, c.league, db_, &progress); });
        EXPECT_EQ(e.file().filename(), c.blamed);
        EXPECT_NE(e.cause().find(c.cause), std::string::npos) << e.what();
        EXPECT_EQ(progress.ends, 1) << "the progress window is hidden after " << c.blamed;
        EXPECT_EQ(ReadBytes(db_), before) << c.blamed;
        EXPECT_FALSE(fs::exists(fs::path(db_) += ".new")) << c.blamed;
    }
    // A folder where the working database goes: the new one cannot take its place.
    fs::create_directories(Path("in-the-way") / "x");
    EXPECT_EQ(Failure([&] { LoadLeague(playerFile_, leagueFile_, Path("in-the-way")); }).file(),
              Path("in-the-way"));
    EXPECT_FALSE(fs::exists(Path("in-the-way.new")));
}

TEST_F(LeagueImportTest, HotJournalOfTheOldDatabaseIsNotRolledIntoTheNewOne) {
    std::vector<Bytes> old;
    for (std::size_t n = 0; n < 200; ++n)
        old.push_back(PatternRecord(n));
    Load(old);
    // A copy of the program that died in the middle of writing the old database leaves a hot
    // journal beside it.
    const pid_t child = HoldInChild([&] {
        auto* database = new SQLite::Database(db_.string(), SQLite::OPEN_READWRITE);
        database->exec("PRAGMA cache_size = 1; BEGIN; UPDATE Players SET Unknown9 = NULL");
        return true;
    });
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    ASSERT_GT(fs::file_size(fs::path(db_) += "-journal"), 512u);

    Load({PatternRecord(1), PatternRecord(2)});
    EXPECT_EQ(ReadPlayers(db_),
              (std::vector{DecodedRow(PatternRecord(1)), DecodedRow(PatternRecord(2))}));
    SQLite::Database database(db_.string());
    EXPECT_EQ(database.execAndGet("PRAGMA integrity_check").getString(), "ok");
}

// The window lists the players of a new import by these keys without reading the table: they
// must be the table's own, whatever the identifier bytes, with a partial record left out.
TEST_F(LeagueImportTest, RowKeysOfImportAreTheImportedTablesKeys) {
    std::vector<Bytes> records;
    for (const auto& [low, high] :
         {std::pair{0x00, 0x01}, {0xFF, 0xFF}, {0x00, 0x00}, {0x00, 0x80}, {0xFF, 0x7F}}) {
        Bytes r = PatternRecord(records.size());
        r[0] = std::uint8_t(low);
        r[1] = std::uint8_t(high);
        records.push_back(r);
    }
    Bytes file = PlayerFile(records);
    file.insert(file.end(), 200, 0x01); // a partial record
    WriteBytes(playerFile_, file);
    const LoadedLeague league = LoadLeague(playerFile_, leagueFile_, db_);

    const KeyPairs expected = {{1, 256}, {2, -1}, {3, 0}, {4, -32768}, {5, 32767}};
    EXPECT_EQ(Pairs(RowKeysOfImport(league.image)), expected);
    EXPECT_EQ(Pairs(PlayerRowStore(db_).RowKeys()), expected);
}

// The player file and the backup replace the last three characters of the league path, counted
// as characters, not bytes.
TEST(LeaguePaths, LastThreeCharactersAreReplaced) {
    const struct {
        std::string league, player, backup;
    } cases[] = {
        {"pro.lge", "pro.ply", "pro.sw$"},
        {"/leagues/Ligu\u00E9.lge", "/leagues/Ligu\u00E9.ply", "/leagues/Ligu\u00E9.sw$"},
        {"/leagues/Ligue.lg\u00E9", "/leagues/Ligue.ply", "/leagues/Ligue.sw$"},
        {"x.\u20AC\u20AC\u20AC", "x.ply", "x.sw$"},
        {"d/\u20AC.l\U0001F600e", "d/\u20AC.ply", "d/\u20AC.sw$"},
        {"ab", "ply", "sw$"},
        {"\u00E9", "ply", "sw$"},
        {"Liga\xE9.lge", "Liga\xE9.ply", "Liga\xE9.sw$"}, // bytes that are not UTF-8
        {"a.l\xA9\xA9", "a.ply", "a.sw$"},
        {"c\xE2\x82\xAC.\xA9x", "c\xE2\x82\xACply", "c\xE2\x82\xACsw$"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlayerFilePath(c.league), c.player) << c.league;
        EXPECT_EQ(BackupFilePath(c.league), c.backup) << c.league;
    }
}

} // namespace
} // namespace tavrel
