#include "cli/RowFormats.h"

#include <gtest/gtest.h>
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

// A raw Windows-1252 byte, typed in elsewhere, is no UTF-8: it becomes the replacement character.
TEST(RowFormats, JsonKeepsColumnOrderEveryCharacterAndNullsAndReplacesWhatIsNotUtf8) {
    const std::vector<std::string_view> columns = {"Team", "PID",     "FirstName",
                                                   "JNum", "College", "LastName"};
    const std::vector<Value> row = {std::int64_t{3},  std::int64_t{-2},    "Jos\xC3\xA9\0\0"s,
                                    std::monostate{}, "Texas, El Paso  "s, "M\xFCller"s};
    EXPECT_EQ(
        JsonLine(columns, row),
        "{\"Team\":3,\"PID\":-2,\"FirstName\":\"Jos\xC3\xA9\\u0000\\u0000\","
        "\"JNum\":null,\"College\":\"Texas, El Paso  \",\"LastName\":\"M\xEF\xBF\xBDller\"}\n");
}

} // namespace
} // namespace tavrel::cli
