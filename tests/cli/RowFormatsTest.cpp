#include "cli/RowFormats.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <vector>

namespace tavrel::cli {
namespace {

using namespace std::string_literals;

TEST(RowFormats, CsvQuotesWhatRfc4180AsksAndDropsOnlyTrailingNuls) {
    const std::vector<Value> row = {std::int64_t{-5}, "a,b"s,        "say \"hi\""s,
                                    "two\r\nlines"s,  "AB\0\0"s,     "A\0B"s,
                                    std::monostate{}, "  padded  "s, "\0\0"s};
    EXPECT_EQ(CsvLine(row),
              "-5,\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\",AB,A\0B,,  padded  ,\r\n"s);

    const std::vector<std::string_view> columns = {"Team", "PID", "FirstName"};
    EXPECT_EQ(CsvHeader(columns), "Team,PID,FirstName\r\n");
}

TEST(RowFormats, JsonKeepsColumnOrderEveryCharacterAndNulls) {
    const std::vector<std::string_view> columns = {"Team", "PID", "FirstName", "JNum", "College"};
    const std::vector<Value> row = {std::int64_t{3}, std::int64_t{-2}, "Jos\xC3\xA9\0\0"s,
                                    std::monostate{}, "Texas, El Paso  "s};
    const std::string line = JsonLine(columns, row);

    ASSERT_EQ(line.back(), '\n');
    EXPECT_EQ(line.find('\n'), line.size() - 1);
    EXPECT_EQ(line, "{\"Team\":3,\"PID\":-2,\"FirstName\":\"Jos\xC3\xA9\\u0000\\u0000\","
                    "\"JNum\":null,\"College\":\"Texas, El Paso  \"}\n");
    const auto parsed = nlohmann::ordered_json::parse(line);
    EXPECT_EQ(parsed["FirstName"].get<std::string>(), "Jos\xC3\xA9\0\0"s);
}

TEST(RowFormats, JsonReplacesTextThatIsNotUtf8) {
    const std::vector<std::string_view> columns = {"LastName"};
    const std::vector<Value> row = {"M\xFCller"s}; // a raw Windows-1252 byte, typed in elsewhere
    std::string line;
    ASSERT_NO_THROW(line = JsonLine(columns, row));
    EXPECT_EQ(nlohmann::json::parse(line)["LastName"].get<std::string>(), "M\xEF\xBF\xBDller");
}

} // namespace
} // namespace tavrel::cli
