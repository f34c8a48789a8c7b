#include "store/Vocabulary.h"

#include "store/PlayersTable.h"

#include <utility>

namespace tavrel {
namespace {

constexpr std::array<std::string_view, kPositionCount> kPositionTexts = {
    "QB", "HB", "FB", "C", "G", "T", "WR", "TE", "K", "DE", "DT", "LB", "CB", "S", "P"};

} // namespace

const std::array<Rating, kRatingCount> kRatings = {{
    {"SP", "Speed"},         {"AG", "Agility"},        {"VT", "Vertical Jump"},
    {"AS", "Arm Strength"},  {"TA", "Throw Accuracy"}, {"KD", "Kick Distance"},
    {"KA", "Kick Accuracy"}, {"SC", "Scrambling"},     {"PB", "Pass Blocking"},
    {"RB", "Run Blocking"},  {"RD", "Run Defense"},    {"PR", "Pass Rushing"},
    {"TK", "Tackling"},      {"BT", "Break Tackle"},   {"CA", "Catching"},
    {"PD", "Pass Defense"},  {"BC", "Ball Carrying"},  {"VI", "Vision"},
    {"AW", "Awareness"},     {"RE", "Reading"},        {"DI", "Discipline"},
    {"PM", "Playmaking"},    {"DU", "Durability"},     {"FA", "Fatigue"},
}};

const std::array<RatingBand, 3> kRatingBands = {{
    {"SP", "AG", "VT", "FA", "DU", "DI", "RE", "PM"},
    {"AS", "TA", "SC", "AW", "BC", "BT", "VI", "CA"},
    {"PB", "RB", "PR", "PD", "TK", "RD", "KA", "KD"},
}};

std::string PositionText(int positionCode) {
    if (positionCode < 0 || positionCode >= kPositionCount)
        return {};
    return std::string(kPositionTexts[positionCode]);
}

std::optional<int> PositionCode(std::string_view abbreviation) {
    for (int code = 0; code < kPositionCount; ++code)
        if (kPositionTexts[code] == abbreviation)
            return code;
    return std::nullopt;
}

std::optional<int> RatingIndex(std::string_view code) {
    for (int k = 0; k < kRatingCount; ++k)
        if (kRatings[k].code == code)
            return k;
    return std::nullopt;
}

std::string ActualColumn(int ratingIndex) {
    return "Act_" + std::string(kRatings.at(ratingIndex).code);
}

std::string PotentialColumn(int ratingIndex) {
    return "Pot_" + std::string(kRatings.at(ratingIndex).code);
}

std::string ColumnCaption(int playersColumn) {
    static constexpr std::pair<std::string_view, std::string_view> kCaptions[] = {
        {"FirstName", "First Name"},
        {"LastName", "Last Name"},
        {"Years", "Years"},
        {"Position", "Position"},
        {"PositionTXT", "Position Text"},
        {"AGE", "Age"},
        {"Height", "Height"},
        {"Weight", "Weight"},
        {"College", "College"},
        {"Team", "Team"},
        {"PID", "PID"}};
    constexpr int kFirstPotential = 11, kFirstActual = kFirstPotential + kRatingCount;
    const std::string_view name = kPlayersColumns.at(playersColumn).name;
    if (playersColumn >= kFirstActual && playersColumn < kFirstActual + kRatingCount)
        return "Actual " + std::string(kRatings[playersColumn - kFirstActual].longName);
    if (playersColumn >= kFirstPotential && playersColumn < kFirstActual)
        return "Potential " + std::string(kRatings[playersColumn - kFirstPotential].longName);
    for (const auto& [column, caption] : kCaptions)
        if (name == column)
            return std::string(caption);
    return std::string(name);
}

std::string CellEditText(int playersColumn, std::string_view player) {
    return "Change " + ColumnCaption(playersColumn) + " of " + std::string(player);
}

std::string ActualTooltip(int ratingIndex, TooltipSet set) {
    const Rating& r = kRatings.at(ratingIndex);
    if (set == TooltipSet::GlobalEdit && r.code == "DI")
        return "Actual Disipline";
    return "Actual " + std::string(r.longName);
}

std::string PotentialTooltip(int ratingIndex, TooltipSet set) {
    const Rating& r = kRatings.at(ratingIndex);
    if (r.code == "VT")
        return "Potentila Vertical Jump";
    if (r.code == "PR")
        return "Potential Pas Rushing";
    if (r.code == "RB")
        return "Potential Run blocking";
    if (r.code == "PB")
        return "potential Pass Blocking";
    if (set == TooltipSet::GlobalEdit && r.code == "DI")
        return "Potential Disipline";
    return "Potential " + std::string(r.longName);
}

} // namespace tavrel
