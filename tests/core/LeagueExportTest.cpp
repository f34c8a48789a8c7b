#include "LeagueFixtures.h"

namespace tavrel {
namespace {

using namespace tavrel::testing;

class LeagueExportTest : public LeagueFilesTest {
protected:
    LeagueError SaveFailure(const fs::path& target, const LoadedLeague& league) {
        const LeagueError e = Failure([&] { SaveLeague(target, league, db_); });
        EXPECT_EQ(e.file(), target);
        return e;
    }
};

TEST_F(LeagueExportTest, UneditedLeagueSavesByteForByteAndEmptyIdentifiersAreLeftOut) {
    std::vector<Bytes> records;
    for (std::size_t n = 0; n < 18; ++n)
        records.push_back(PatternRecord(n));
    // Padding as the host game writes it, NULs and spaces; identifier and weight high bytes of
    // 128 or more.
    Bytes padded(kPlayerRecordSize, 0);
    for (const auto& [offset, byte] : {std::pair{0, 0x01}, {1, 0xC0}, {86, 0x10}, {87, 0x90}})
        padded[offset] = std::uint8_t(byte);
    Put(padded, 8, "Al");
    Put(padded, 23, "Ng" + std::string(23, ' '));
    Put(padded, 48, "U\xE9" + std::string(10, ' '));
    records.push_back(padded);

    Bytes file = PlayerFile(records);
    const Bytes trailing = {0, 0xFF, 'x', 0x80, ' '};
    Append(file, trailing);
    WriteBytes(playerFile_, file);
    const LoadedLeague league = LoadLeague(playerFile_, leagueFile_, db_);
    ASSERT_EQ(league.image.TrailingBytes().size(), trailing.size());

    WriteBytes(playerFile_, Bytes(50000, 0xAA)); // longer than the league: nothing stale stays
    SaveLeague(playerFile_, league, db_);
    EXPECT_EQ(ReadBytes(playerFile_), file);

    // Rows whose identifier bytes are both 0 write no record: the records after them move up
    // whole, each with its own sixty unmodelled bytes, and the trailing bytes follow the last.
    Exec("UPDATE Players SET rPID_0 = 0, rPID_1 = 0 WHERE rowid IN (1, 3)");
    SaveLeague(playerFile_, league, db_);
    records.erase(records.begin() + 2);
    records.erase(records.begin());
    Bytes shorter = PlayerFile(records);
    Append(shorter, trailing);
    EXPECT_EQ(ReadBytes(playerFile_), shorter);
}

TEST_F(LeagueExportTest, EditsReachTheirBytesAndDerivedColumnsDoNot) {
    const Bytes original = PatternRecord(3);
    const LoadedLeague league = Load({original});
    // A college longer than its field is cut at 31 characters, whatever their width in UTF-8.
    Exec("UPDATE Players SET PID = 1, Weight = 2, PositionTXT = 'QB', JNum = 5, "
         "FirstName = 'Abcdefghijklmnopqrst', LastName = 'Li\u00E9', Unknown0 = -1, rPID_0 = 52, "
         "rPID_1 = 2, rWeight_0 = 245, Act_SP = 255, Pot_FA = 0, AGE = 31, College = '" +
         std::string(29, 'x') + "\u00E9\u20AC\u00FF'");
    SaveLeague(playerFile_, league, db_);

    Bytes r = original;
    Put(r, 48, std::string(29, 'x') + "\xE9\x80");
    Put(r, 8, "Abcdefghijklmno");
    Put(r, 23, "Li\xE9" + std::string(22, ' '));
    const std::pair<std::size_t, std::uint8_t> bytes[] = {
        {0, 0x34}, {1, 0x02}, {2, 0xFF}, {3, 0xFF}, {86, 245}, {175, 0xFF}, {289, 0}, {223, 31}};
    for (const auto& [offset, byte] : bytes)
        r[offset] = byte;
    EXPECT_EQ(ReadBytes(playerFile_), PlayerFile({r}));

    // A row no record holds (added by another tool) is written on a record of zeros.
    Exec("INSERT INTO Players SELECT * FROM Players");
    SaveLeague(playerFile_, league, db_);
    Record added{};
    EncodePlayerRecord(DecodedRow(r), added);
    EXPECT_EQ(ReadBytes(playerFile_), PlayerFile({r, Bytes(added.begin(), added.end())}));
}

TEST_F(LeagueExportTest, RowThatCannotBeWrittenLeavesThePlayerFileUntouched) {
    Bytes second = PatternRecord(1);
    second[0] = 0x34;
    second[1] = 0x02;
    Put(second, 8, "John" + std::string(11, '\0'));
    Put(second, 23, "Smith" + std::string(20, ' '));
    const LoadedLeague league = Load({PatternRecord(0), second});
    const Bytes before = ReadBytes(playerFile_);
    const std::pair<const char*, const char*> cases[] = {
        {"Act_SP = 256", "column Act_SP value 256 is outside 0..255"},
        {"Act_SP = 1.5", "column Act_SP is not a whole number"},
        {"Act_SP = 0, Unknown0 = -32769", "column Unknown0 value -32769 is outside -32768..32767"},
    };
    for (const auto& [set, cause] : cases) {
        Exec(std::string("UPDATE Players SET ") + set + " WHERE rowid = 2");
        EXPECT_EQ(SaveFailure(playerFile_, league).cause(),
                  "player 564 (John Smith): " + std::string(cause));
        EXPECT_EQ(ReadBytes(playerFile_), before);
    }
    EXPECT_EQ(SaveFailure(playerFile_, LoadedLeague{}).cause(), "no league has been loaded");
    EXPECT_EQ(ReadBytes(playerFile_), before);
}

} // namespace
} // namespace tavrel
