#include "store/PlayersTable.h"

namespace tavrel {
namespace {

using T = ColumnType;

constexpr PlayersColumn Number(std::string_view name) {
    return {name, T::Integer, 0};
}
constexpr PlayersColumn Text(std::string_view name, int width = 0) {
    return {name, T::Text, width};
}

} // namespace

const std::array<PlayersColumn, kPlayersColumnCount> kPlayersColumns = {{
    {"Team", T::Byte, 0}, Number("PID"),        Number("JNum"),       Text("FirstName", 15),
    Text("LastName", 25), Number("Years"),      Number("Position"),   Number("INJ_Sev"),
    Number("INJ_Type"),   Number("INJ_Week"),   Number("INJStatus"),  Number("Pot_SP"),
    Number("Pot_AG"),     Number("Pot_VT"),     Number("Pot_AS"),     Number("Pot_TA"),
    Number("Pot_KD"),     Number("Pot_KA"),     Number("Pot_SC"),     Number("Pot_PB"),
    Number("Pot_RB"),     Number("Pot_RD"),     Number("Pot_PR"),     Number("Pot_TK"),
    Number("Pot_BT"),     Number("Pot_CA"),     Number("Pot_PD"),     Number("Pot_BC"),
    Number("Pot_VI"),     Number("Pot_AW"),     Number("Pot_RE"),     Number("Pot_DI"),
    Number("Pot_PM"),     Number("Pot_DU"),     Number("Pot_FA"),     Number("Act_SP"),
    Number("Act_AG"),     Number("Act_VT"),     Number("Act_AS"),     Number("Act_TA"),
    Number("Act_KD"),     Number("Act_KA"),     Number("Act_SC"),     Number("Act_PB"),
    Number("Act_RB"),     Number("Act_RD"),     Number("Act_PR"),     Number("Act_TK"),
    Number("Act_BT"),     Number("Act_CA"),     Number("Act_PD"),     Number("Act_BC"),
    Number("Act_VI"),     Number("Act_AW"),     Number("Act_RE"),     Number("Act_DI"),
    Number("Act_PM"),     Number("Act_DU"),     Number("Act_FA"),     Number("AGE"),
    Number("Height"),     Number("Weight"),     Number("PosNatural"), Text("Head"),
    Text("Mug"),          Text("College", 31),  Text("PositionTXT"),  Number("rPID_0"),
    Number("rPID_1"),     Number("rWeight_0"),  Number("rWeight_1"),  Number("Unknown0"),
    Text("Unknown1", 3),  Text("Unknown2", 3),  Text("Unknown3", 3),  Text("Unknown4", 6),
    Text("Unknown5", 3),  Text("Unknown6", 28), Text("Unknown6a", 8), Text("Unknown7", 28),
    Text("Unknown8", 9),  Text("Unknown9", 64), Number("Pot_52"),     Number("Pot_54"),
    Number("Pot_56"),     Number("Pot_58"),     Number("Act_52"),     Number("Act_54"),
    Number("Act_56"),     Number("Act_58"),
}};

const std::array<TeamColumn, 3> kTeamColumns = {{
    {"TeamID", T::Byte, 0},
    {"TeamName", T::Text, 20},
    {"Coach", T::Text, 30},
}};

std::optional<std::string> ValueText(const Value& value) {
    if (const auto* n = std::get_if<std::int64_t>(&value))
        return std::to_string(*n);
    if (const auto* s = std::get_if<std::string>(&value))
        return *s;
    return std::nullopt;
}

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
