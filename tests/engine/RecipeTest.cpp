#include "globaledit/Recipe.h"

#include "TestFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tavrel {
namespace {

namespace fs = std::filesystem;

TEST(Recipe, SavedAndLoadedWhole) {
    QTemporaryDir dir;
    const fs::path file = fs::path(dir.path().toStdString()) / "speed.json";
    // QB, P, S in check-box order; the free agents; SP by 0.1% and -12.5%; bounds 5..255, 0..98.
    GlobalEditRecipe recipe{{0, 14, 13}, {0, {0.1}, {-12.5}, 5, 255, 0, 98}};
    recipe.inputs.actualPercent[23] = 1e300;
    SaveRecipe(file, recipe);
    EXPECT_EQ(LoadRecipe(file), recipe);
    EXPECT_NE(testing::FileContent(file).find(
                  "\"positions\": [\n    \"QB\",\n    \"P\",\n    \"S\"\n  ]"),
              std::string::npos);

    // Fields left out keep the dialog's load values.
    EXPECT_EQ(ParseRecipe(R"({"version": 1})"), GlobalEditRecipe{});
}

TEST(Recipe, RefusalsNameTheField) {
    const std::pair<const char*, const char*> cases[] = {
        {"speed up", "this is not JSON text"},
        {"[1]", ": must be an object"},
        {"{}", "version: is missing"},
        {R"({"version": 2})", "version: 2 is from a newer Tavrel; this one reads 1"},
        {R"({"version": "1"})", "version: must be a whole number"},
        {R"({"version": 1, "colour": 1})", "colour: is not a field of a recipe"},
        {R"({"version": 0})", "version: must be 1 or more"},
        {R"({"version": 1, "team": 256})", "team: must be 1001"},
        {R"({"version": 1, "team": "all"})", "team: must be a whole number"},
        {R"({"version": 1, "positions": ["QB", "ZZ"]})", "positions: \"ZZ\" is not a position"},
        {R"({"version": 1, "positions": "QB"})", "positions: must be a list"},
        {R"({"version": 1, "actual": {"min": -1}})", "actual.min: must be 0..255, not -1"},
        {R"({"version": 1, "potential": {"max": 256}})", "potential.max: must be 0..255"},
        {R"({"version": 1, "actual": {"max": 2.5}})", "actual.max: must be a whole number"},
        {R"({"version": 1, "actual": {"top": 2}})", "actual.top: is not a field"},
        {R"({"version": 1, "percent": {"XX": {"actual": 1}}})", "percent.XX: is not a rating"},
        {R"({"version": 1, "percent": {"SP": {"actual": "ten"}}})",
         "percent.SP.actual: must be a number"},
        {R"({"version": 1, "percent": {"SP": {"potentail": 1}}})",
         "percent.SP.potentail: is not a field"},
    };
    for (const auto& [text, message] : cases) {
        try {
            ParseRecipe(text);
            ADD_FAILURE() << text << " was taken";
        } catch (const std::invalid_argument& e) {
            EXPECT_TRUE(std::string(e.what()).starts_with(message)) << text << ": " << e.what();
        }
    }
}

// Hostile recipes are refused in a line, without a crash: brackets nested far deeper than a recipe
// nests them (which once overflowed the stack while the message was written), and long values.
TEST(Recipe, HostileTextIsRefusedShortly) {
    const auto nested = [](int depth, const std::string& inner) {
        return R"({"version": 1, "positions": [)" + std::string(std::size_t(depth), '[') + inner +
               std::string(std::size_t(depth), ']') + "]}";
    };
    const std::string longName(100000, 'K');
    const std::pair<std::string, std::string> cases[] = {
        {nested(100000, ""), "the text nests brackets 100002 deep; a recipe nests them 3 deep"},
        {nested(20, ""), "positions: a list is not a position"},
        {R"({"version": 1, "positions": [")" + longName + R"("]})",
         "positions: \"" + std::string(39, 'K') + "... is not a position"},
        {R"({"version": 1, "percent": {")" + longName + R"(": 1}})",
         "percent." + std::string(32, 'K') + "...: is not a rating code"},
        {R"({"version": 1, "team": "[[[[[[", "x": "]]]]]]"})", "x: is not a field"},
    };
    for (const auto& [text, message] : cases) {
        try {
            ParseRecipe(text);
            ADD_FAILURE() << text.substr(0, 80) << " was taken";
        } catch (const std::invalid_argument& e) {
            EXPECT_EQ(std::string(e.what()).substr(0, message.size()), message);
            EXPECT_LT(std::string_view(e.what()).size(), 200u);
        }
    }
}

} // namespace
} // namespace tavrel
