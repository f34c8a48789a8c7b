#include "globaledit/Recipe.h"

#include "base/LeagueError.h"
#include "fileformat/FileBytes.h"
#include "globaledit/GlobalEditRun.h"
#include "globaledit/RatingRule.h"
#include "safety/SafeSave.h"

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <stdexcept>

namespace tavrel {
namespace {

using Json = nlohmann::ordered_json;

// A recipe is a few kilobytes; anything much larger is not one.
constexpr std::uintmax_t kLargestRecipe = 1 << 20;
// A recipe nests three deep ({"percent": {"SP": {...}}}); the JSON library recurses per level when
// it writes a value, so deeper text is refused before it is parsed.
constexpr int kDeepestNesting = 32;
constexpr std::size_t kShownValue = 40; // characters of a value quoted in a message

// A field's name in a message, cut short when a hostile file made it long.
std::string ShownField(const std::string& field) {
    if (field.size() <= kShownValue)
        return field;
    std::size_t cut = kShownValue;
    while (cut > 0 && (static_cast<unsigned char>(field[cut]) & 0xC0) == 0x80)
        --cut; // not inside a UTF-8 character
    return field.substr(0, cut) + "...";
}

[[noreturn]] void Refuse(const std::string& field, const std::string& cause) {
    throw std::invalid_argument(ShownField(field) + ": " + cause);
}

// How deep the brackets of a JSON text nest, outside its strings: one pass, no recursion.
int NestingDepth(std::string_view text) {
    int depth = 0, deepest = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return deepest;
}

// A value for a message: a number or a short text as JSON writes it, a list or an object named.
std::string ShownValue(const Json& value) {
    if (value.is_array())
        return "a list";
    if (value.is_object())
        return "an object";
    std::string text = value.dump(-1, ' ', false, Json::error_handler_t::replace);
    if (text.size() > kShownValue)
        text = text.substr(0, kShownValue) + "...";
    return text;
}

void OnlyKnownKeys(const Json& object, const std::string& field,
                   std::initializer_list<const char*> known) {
    if (!object.is_object())
        Refuse(field, "must be an object");
    for (const auto& [key, value] : object.items()) {
        bool isKnown = false;
        for (const char* k : known)
            isKnown = isKnown || key == k;
        if (!isKnown)
            Refuse(field.empty() ? key : field + "." + key, "is not a field of a recipe");
    }
}

std::int64_t WholeNumber(const Json& value, const std::string& field) {
    if (!value.is_number_integer())
        Refuse(field, "must be a whole number");
    return value.get<std::int64_t>();
}

int Bound(const Json& value, const std::string& field) {
    const std::int64_t n = WholeNumber(value, field);
    if (n < 0 || n > 255)
        Refuse(field, "must be 0..255, not " + std::to_string(n));
    return int(n);
}

double Percent(const Json& value, const std::string& field) {
    if (!value.is_number() || !std::isfinite(value.get<double>()))
        Refuse(field, "must be a number");
    return value.get<double>();
}

void ReadBounds(const Json& bounds, const std::string& field, int& min, int& max) {
    OnlyKnownKeys(bounds, field, {"min", "max"});
    if (bounds.contains("min"))
        min = Bound(bounds["min"], field + ".min");
    if (bounds.contains("max"))
        max = Bound(bounds["max"], field + ".max");
}

std::vector<int> ReadPositions(const Json& positions) {
    if (!positions.is_array())
        Refuse("positions", "must be a list of positions such as \"QB\"");
    std::vector<int> codes;
    for (const Json& position : positions) {
        const auto code =
            position.is_string() ? PositionCode(position.get<std::string>()) : std::nullopt;
        if (!code)
            Refuse("positions", ShownValue(position) + " is not a position such as \"QB\"");
        codes.push_back(*code);
    }
    return InCheckBoxOrder(codes);
}

void ReadPercentages(const Json& percent, GlobalEditInputs& in) {
    if (!percent.is_object())
        Refuse("percent", "must be an object");
    for (const auto& [code, pair] : percent.items()) {
        const std::string field = "percent." + code;
        const auto k = RatingIndex(code);
        if (!k)
            Refuse(field, "is not a rating code such as SP");
        OnlyKnownKeys(pair, field, {"actual", "potential"});
        if (pair.contains("actual"))
            in.actualPercent[*k] = Percent(pair["actual"], field + ".actual");
        if (pair.contains("potential"))
            in.potentialPercent[*k] = Percent(pair["potential"], field + ".potential");
    }
}

} // namespace

bool GlobalEditRecipe::operator==(const GlobalEditRecipe& other) const {
    const GlobalEditInputs& a = inputs;
    const GlobalEditInputs& b = other.inputs;
    return positionCodes == other.positionCodes && a.team == b.team &&
           a.actualPercent == b.actualPercent && a.potentialPercent == b.potentialPercent &&
           a.actualMin == b.actualMin && a.actualMax == b.actualMax &&
           a.potentialMin == b.potentialMin && a.potentialMax == b.potentialMax;
}

std::string RecipeText(const GlobalEditRecipe& recipe) {
    const GlobalEditInputs& in = recipe.inputs;
    Json json;
    json["version"] = kRecipeVersion;
    json["team"] = in.team;
    json["positions"] = Json::array();
    for (const int code : InCheckBoxOrder(recipe.positionCodes))
        json["positions"].push_back(PositionText(code));
    json["actual"] = {{"min", in.actualMin}, {"max", in.actualMax}};
    json["potential"] = {{"min", in.potentialMin}, {"max", in.potentialMax}};
    Json& percent = json["percent"] = Json::object();
    for (int k = 0; k < kRatingCount; ++k)
        percent[std::string(kRatings[k].code)] = {{"actual", in.actualPercent[k]},
                                                  {"potential", in.potentialPercent[k]}};
    return json.dump(2) + "\n";
}

GlobalEditRecipe ParseRecipe(const std::string& text) {
    if (const int depth = NestingDepth(text); depth > kDeepestNesting)
        throw std::invalid_argument("the text nests brackets " + std::to_string(depth) +
                                    " deep; a recipe nests them 3 deep");
    const Json json = Json::parse(text, nullptr, false);
    if (json.is_discarded())
        throw std::invalid_argument("this is not JSON text");
    OnlyKnownKeys(json, "", {"version", "team", "positions", "actual", "potential", "percent"});
    if (!json.contains("version"))
        Refuse("version", "is missing");
    const std::int64_t version = WholeNumber(json["version"], "version");
    if (version > kRecipeVersion)
        Refuse("version", std::to_string(version) + " is from a newer Tavrel; this one reads " +
                              std::to_string(kRecipeVersion));
    if (version < 1)
        Refuse("version", "must be 1 or more");

    GlobalEditRecipe recipe;
    GlobalEditInputs& in = recipe.inputs;
    if (json.contains("team")) {
        const std::int64_t team = WholeNumber(json["team"], "team");
        if (team != kAllTeams && (team < 0 || team > 255))
            Refuse("team", "must be 1001 (all teams), 0 (free agents) or a team number 1..255");
        in.team = int(team);
    }
    if (json.contains("positions"))
        recipe.positionCodes = ReadPositions(json["positions"]);
    if (json.contains("actual"))
        ReadBounds(json["actual"], "actual", in.actualMin, in.actualMax);
    if (json.contains("potential"))
        ReadBounds(json["potential"], "potential", in.potentialMin, in.potentialMax);
    if (json.contains("percent"))
        ReadPercentages(json["percent"], in);
    return recipe;
}

void SaveRecipe(const std::filesystem::path& file, const GlobalEditRecipe& recipe) {
    SaveFileAtomically(file, RecipeText(recipe), "Saving the Global Edit recipe");
}

GlobalEditRecipe LoadRecipe(const std::filesystem::path& file) {
    const std::string operation = "Loading the Global Edit recipe";
    std::error_code error;
    if (const auto size = std::filesystem::file_size(file, error); !error && size > kLargestRecipe)
        throw LeagueError(operation, file,
                          "it is " + std::to_string(size) + " bytes long, too long for a recipe");
    const std::vector<std::uint8_t> bytes = ReadFileBytes(file, operation);
    try {
        return ParseRecipe(std::string(bytes.begin(), bytes.end()));
    } catch (const std::invalid_argument& e) {
        throw LeagueError(operation, file, e.what());
    }
}

} // namespace tavrel
