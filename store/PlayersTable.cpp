#include "store/PlayersTable.h"

namespace tavrel {
namespace {

using T = ColumnType;
using K = FieldKind;

constexpr int kActualBlock = 175;
constexpr int kPotentialBlock = 243;

constexpr PlayersColumn Pot(std::string_view name, int index) {
    return {name, T::Integer, 0, K::Byte, kPotentialBlock + index, 1};
}
constexpr PlayersColumn Act(std::string_view name, int index) {
    return {name, T::Integer, 0, K::Byte, kActualBlock + index, 1};
}
constexpr PlayersColumn Text(std::string_view name, int width, int offset) {
    return {name, T::Text, width, K::Text, offset, width};
}
constexpr PlayersColumn Int(std::string_view name, int offset) {
    return {name, T::Integer, 0, K::Byte, offset, 1};
}
constexpr PlayersColumn Unfilled(std::string_view name) {
    return {name, T::Integer, 0, K::None, 0, 0};
}

} // namespace

const std::array<PlayersColumn, kPlayersColumnCount> kPlayersColumns = {{
    {"Team", T::Byte, 0, K::Byte, 4, 1},
    {"PID", T::Integer, 0, K::PlayerId, 0, 0},
    Unfilled("JNum"),
    Text("FirstName", 15, 8),
    Text("LastName", 25, 23),
    Act("Years", 50),
    Int("Position", 94),
    Unfilled("INJ_Sev"),
    Unfilled("INJ_Type"),
    Unfilled("INJ_Week"),
    Unfilled("INJStatus"),
    Pot("Pot_SP", 0), Pot("Pot_AG", 2), Pot("Pot_VT", 4), Pot("Pot_AS", 6),
    Pot("Pot_TA", 8), Pot("Pot_KD", 10), Pot("Pot_KA", 12), Pot("Pot_SC", 14),
    Pot("Pot_PB", 16), Pot("Pot_RB", 18), Pot("Pot_RD", 20), Pot("Pot_PR", 22),
    Pot("Pot_TK", 24), Pot("Pot_BT", 26), Pot("Pot_CA", 28), Pot("Pot_PD", 30),
    Pot("Pot_BC", 32), Pot("Pot_VI", 34), Pot("Pot_AW", 36), Pot("Pot_RE", 38),
    Pot("Pot_DI", 40), Pot("Pot_PM", 42), Pot("Pot_DU", 44), Pot("Pot_FA", 46),
    Act("Act_SP", 0), Act("Act_AG", 2), Act("Act_VT", 4), Act("Act_AS", 6),
    Act("Act_TA", 8), Act("Act_KD", 10), Act("Act_KA", 12), Act("Act_SC", 14),
    Act("Act_PB", 16), Act("Act_RB", 18), Act("Act_RD", 20), Act("Act_PR", 22),
    Act("Act_TK", 24), Act("Act_BT", 26), Act("Act_CA", 28), Act("Act_PD", 30),
    Act("Act_BC", 32), Act("Act_VI", 34), Act("Act_AW", 36), Act("Act_RE", 38),
    Act("Act_DI", 40), Act("Act_PM", 42), Act("Act_DU", 44), Act("Act_FA", 46),
    Act("AGE", 48),
    Int("Height", 82),
    {"Weight", T::Integer, 0, K::Weight, 0, 0},
    Int("PosNatural", 98),
    {"Head", T::Text, 0, K::Text, 127, 5},
    {"Mug", T::Text, 0, K::Text, 140, 7},
    Text("College", 31, 48),
    {"PositionTXT", T::Text, 0, K::PositionText, 0, 0},
    Int("rPID_0", 0),
    Int("rPID_1", 1),
    Int("rWeight_0", 86),
    Int("rWeight_1", 87),
    {"Unknown0", T::Integer, 0, K::Int16, 2, 2},
    Text("Unknown1", 3, 5),
    Text("Unknown2", 3, 79),
    Text("Unknown3", 3, 83),
    Text("Unknown4", 6, 88),
    Text("Unknown5", 3, 95),
    Text("Unknown6", 28, 99),
    Text("Unknown6a", 8, 132),
    Text("Unknown7", 28, 147),
    Text("Unknown8", 9, 234),
    Text("Unknown9", 64, 302),
    Pot("Pot_52", 52), Pot("Pot_54", 54), Pot("Pot_56", 56), Pot("Pot_58", 58),
    Act("Act_52", 52), Act("Act_54", 54), Act("Act_56", 56), Act("Act_58", 58),
}};

const std::array<TeamColumn, 3> kTeamColumns = {{
    {"TeamID", T::Byte, 0},
    {"TeamName", T::Text, 20},
    {"Coach", T::Text, 30},
}};

bool SameColumnName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = char(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

std::optional<int> PlayersColumnIndex(std::string_view name) {
    for (int i = 0; i < kPlayersColumnCount; ++i)
        if (SameColumnName(kPlayersColumns[i].name, name))
            return i;
    return std::nullopt;
}

} // namespace tavrel
