#include "demo/DemoNames.h"

#include <array>

namespace tavrel {
namespace {

// A few entries carry letters beyond ASCII (é, ñ, ü, ø, Ø...) so that Windows-1252 text is
// exercised. The last first name, last name and college fill their fields exactly (15, 25 and 31
// characters), so some records have no padding at all; a few colleges hold a comma.
// clang-format off
constexpr auto kFirstNames = std::to_array<std::string_view>({
    "Aaron", "Adrian", "Alvin", "Andre", "André", "Ángel", "Anthony", "Antonio", "Austin", "Ben",
    "Bjørn", "Brandon", "Brett", "Bryce", "Calvin", "Carlos", "Cedric", "Chad", "Chris", "Cody",
    "Corey", "Curtis", "Dale", "Damon", "Darnell", "Darius", "Dante", "Deon", "Derrick", "Desmond",
    "Dwayne", "Earl", "Efraín", "Eli", "Eric", "François", "Garrett", "Grant", "Hakeem", "Isaiah",
    "Jamal", "Jerome", "Joël", "Jordan", "José", "Jürgen", "Keenan", "Kendall", "Lamar", "Lance",
    "Leroy", "Malik", "Marcus", "Mario", "Maurice", "Nate", "Noël", "Omar", "Øystein", "Quentin",
    "Raúl", "Reggie", "René", "Rodney", "Roosevelt", "Søren", "Stéphane", "Terrell", "Tomás",
    "Trent", "Tyrone", "Vince", "Wade", "Xavier", "Zach", "Bartholomew-Jo", "Jean-Christophe"
});

constexpr auto kLastNames = std::to_array<std::string_view>({
    "Abernathy", "Adams", "Alvarez", "Baker", "Banks", "Begué", "Bishop", "Blackwood", "Brooks",
    "Bryant", "Caldwell", "Carter", "Castillo", "Coleman", "Crawford", "Daniels", "Dawson",
    "Delacroix", "Dixon", "Dumont", "Ellison", "Evans", "Fairbanks", "Fletcher", "Franklin",
    "Gómez", "Graham", "Griffin", "Hammond", "Harris", "Hawkins", "Holloway", "Ibáñez", "Jackson",
    "Jefferson", "Jenkins", "Kowalski", "Lambert", "Lefèvre", "Lindqvist", "Lockhart", "Mahoney",
    "McAllister", "Mitchell", "Montgomery", "Morales", "Müller", "Muñoz", "Nakamura", "Núñez",
    "O'Brien", "Ødegaard", "Okafor", "Østergaard", "Patterson", "Peña", "Pritchard", "Quinn",
    "Ramírez", "Reynolds", "Robinson", "Rutherford", "Sanders", "Schröder", "Sinclair",
    "Stallworth", "Sullivan", "Thibodeaux", "Thornton", "Underwood", "Van Buren", "Vásquez",
    "Washington", "Whitaker", "Williams", "Winslow", "Woodson", "Yancey", "Zimmerman",
    "Featherstonehaugh-Bryce", "Christopherson-Vanderbilt"
});

constexpr auto kColleges = std::to_array<std::string_view>({
    "Alabama", "Arizona State", "Auburn", "Baylor", "Bethune-Cookman", "Boise State",
    "Boston College", "Brigham Young", "Clemson", "Colorado", "Florida State", "Georgia Tech",
    "Grambling State", "Iowa", "Jackson State", "Kansas State", "Louisiana State", "Miami (Fla.)",
    "Michigan", "Minnesota", "Mississippi Valley State", "Nebraska", "North Carolina A&T",
    "Notre Dame", "Ohio State", "Oregon", "Penn State", "Purdue", "Rice", "San Diego State",
    "Southern California", "St. John's", "Stanford", "Syracuse", "Texas", "Texas A&M",
    "Texas, El Paso", "Tulane", "Université Laval", "Virginia Tech", "Washington", "William & Mary",
    "Wisconsin", "Cal State University, Fullerton"
});

constexpr auto kCities = std::to_array<std::string_view>({
    "Albany", "Anchorage", "Austin", "Boise", "Buffalo", "Calgary", "Charleston", "Columbus",
    "Dayton", "Des Moines", "El Paso", "Fresno", "Hartford", "Honolulu", "Lincoln", "Louisville",
    "Memphis", "Mobile", "Montréal", "Norfolk", "Omaha", "Orlando", "Portland", "Providence",
    "Québec", "Raleigh", "Reno", "Richmond", "Sacramento", "San Antonio", "Spokane", "St. Louis",
    "Syracuse", "Tacoma", "Toledo", "Tucson", "Tulsa", "Wichita", "Winnipeg", "Oklahoma City"
});

constexpr auto kNicknames = std::to_array<std::string_view>({
    "Aces", "Armada", "Barons", "Bison", "Blaze", "Bombers", "Cyclones", "Drillers", "Express",
    "Falcons", "Firebirds", "Gamblers", "Generals", "Gold", "Gunners", "Hammers", "Hurricanes",
    "Ironmen", "Knights", "Lumberjacks", "Mariners", "Marauders", "Mustangs", "Outlaws", "Pioneers",
    "Railers", "Rattlers", "Renegades", "Riverhawks", "Rockets", "Sabres", "Stallions", "Storm",
    "Thunder", "Titans", "Vaqueros", "Voyageurs", "Wranglers", "Wolverines", "Zephyrs"
});
// clang-format on

} // namespace

std::span<const std::string_view> DemoFirstNames() {
    return kFirstNames;
}
std::span<const std::string_view> DemoLastNames() {
    return kLastNames;
}
std::span<const std::string_view> DemoColleges() {
    return kColleges;
}
std::span<const std::string_view> DemoCities() {
    return kCities;
}
std::span<const std::string_view> DemoNicknames() {
    return kNicknames;
}

} // namespace tavrel
