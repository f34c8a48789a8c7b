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

// The line is written by hand for speed; it must stay what the JSON library writes, byte for byte.
TEST(RowFormats, JsonLineIsWhatTheJsonLibraryWrites) {
    const std::string texts[] = {
        "plain"s,
        "quote \" and \\ back"s,
        "\b\f\n\r\t\x01\x1F\x7F"s,
        "\0"s,
        "/"s,
        "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"s, // two, three and four bytes
        "\xC0\xAF"s,
        "\xE0\x80\xAF"s,
        "\xED\xA0\x80"s, // overlong forms, a surrogate
        "\xF4\x90\x80\x80"s,
        "\xF5"s,
        "\xC3"s,
        "a\xE2\x82"s, // above U+10FFFF, cut short
        "\x80x"s,
        "\xE2\x28\xA1"s};
    for (const std::string& text : texts) {
        const std::vector<std::string_view> columns = {"A", "B"};
        const std::vector<Value> row = {text, std::int64_t{-9223372036854775807LL - 1}};
        nlohmann::ordered_json expected = nlohmann::ordered_json::object();
        expected["A"] = text;
        expected["B"] = std::int64_t{-9223372036854775807LL - 1};
        EXPECT_EQ(JsonLine(columns, row),
                  expected.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n")
            << ::testing::PrintToString(text);
    }
}

} // namespace
} // namespace tavrel::cli
