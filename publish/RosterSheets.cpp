#include "publish/RosterSheets.h"

#include "base/ProgramInfo.h"
#include "store/Vocabulary.h"

#include <string_view>

namespace tavrel {
namespace {

constexpr double kMargin = 36;
constexpr double kBodySize = 7;
constexpr double kSmallSize = 6;
constexpr double kLine = 8.5; // one line of a player
constexpr double kPlayerHeight = 2 * kLine + 3;
constexpr double kGroupHeight = 13;
constexpr double kFooterSpace = 20;

// The left block of a player: position and name on the first line, personal data on the second.
constexpr double kPositionWidth = 16;
constexpr double kLeftWidth = 168;
// The rating block: a caption column ("Act", "Pot"), then three bands of eight.
constexpr double kRowCaptionWidth = 14;
constexpr double kBandGap = 6;

struct Sheet {
    PageLayout& layout;
    const LeagueData& league;
    double y = 0;
    double ratingColumn = 0; // width of one rating column

    Page& page() { return layout.pages.back(); }

    void Text(double x, double baseline, double size, FontStyle style, std::string text) {
        page().texts.push_back({x, baseline, size, style, std::move(text)});
    }
    void RightText(double right, double baseline, double size, FontStyle style,
                   const std::string& text) {
        Text(right - TextWidth(text, size, style), baseline, size, style, text);
    }
    void Box(double x, double top, double width, double height, double gray) {
        page().boxes.push_back({x, top, width, height, gray});
    }
    double Right() const { return layout.size.width - kMargin; }
    double RatingX(int index) const { // the right edge of rating column `index`
        const double start = kMargin + kLeftWidth + kRowCaptionWidth;
        return start + (index + 1) * ratingColumn + (index / 8) * kBandGap;
    }

    void StartPage(const SiteTeam& team, bool continued) {
        layout.pages.emplace_back();
        const std::string heading = team.name + (continued ? " (continued)" : "");
        Text(kMargin, kMargin + 14, 16, FontStyle::Bold,
             FitText(heading, Right() - kMargin - 150, 16, FontStyle::Bold));
        RightText(Right(), kMargin + 4, kSmallSize, FontStyle::Regular,
                  FitText(league.leagueName, 150, kSmallSize));
        const std::size_t count = team.players.size();
        RightText(Right(), kMargin + 13, kSmallSize, FontStyle::Regular,
                  count == 1 ? "1 player" : std::to_string(count) + " players");
        // Column captions: the roster files' above the left block, the form's above the ratings.
        const double captions = kMargin + 32;
        Text(kMargin, captions, kSmallSize, FontStyle::Bold, "Pos");
        Text(kMargin + kPositionWidth, captions, kSmallSize, FontStyle::Bold, "Name");
        Text(kMargin + kPositionWidth, captions + 7, kSmallSize, FontStyle::Regular,
             "Yr  Age  HT  WT  College");
        int index = 0;
        for (const RatingBand& band : kRatingBands)
            for (const std::string_view code : band)
                RightText(RatingX(index++), captions, kSmallSize, FontStyle::Bold,
                          std::string(code) + ":");
        Box(kMargin, captions + 10, Right() - kMargin, 0.8, 0);
        y = captions + 14;
    }

    void Footer(int number) {
        const double baseline = layout.size.height - kMargin + 10;
        Text(kMargin, baseline, kSmallSize, FontStyle::Regular, std::string(kProgramName));
        RightText(Right(), baseline, kSmallSize, FontStyle::Regular,
                  "Page " + std::to_string(number));
    }

    bool Fits(double height) const {
        return y + height <= layout.size.height - kMargin - kFooterSpace;
    }

    void Group(std::int64_t position) {
        Text(kMargin, y + 9, 8, FontStyle::Bold, PositionGroupName(position));
        y += kGroupHeight;
    }

    void Player(const SitePlayer& p, bool shaded) {
        if (shaded)
            Box(kMargin, y, Right() - kMargin, kPlayerHeight - 1, 0.92);
        const double first = y + kLine - 1;
        const double second = first + kLine;
        Text(kMargin + 1, first, kBodySize, FontStyle::Bold,
             FitText(p.positionText, kPositionWidth - 2, kBodySize, FontStyle::Bold));
        const std::string name = p.lastName.empty() || p.firstName.empty()
                                     ? p.lastName + p.firstName
                                     : p.lastName + ", " + p.firstName;
        const double nameWidth = kLeftWidth - kPositionWidth - 4;
        Text(kMargin + kPositionWidth, first, kBodySize, FontStyle::Bold,
             FitText(name, nameWidth, kBodySize, FontStyle::Bold));
        const std::string facts =
            p.years + "  " + p.age + "  " + p.height + "  " + p.weight + "  " + p.college;
        Text(kMargin + kPositionWidth, second, kSmallSize, FontStyle::Regular,
             FitText(facts, nameWidth, kSmallSize));
        const double captionX = kMargin + kLeftWidth;
        Text(captionX, first, kSmallSize, FontStyle::Regular, "Act");
        Text(captionX, second, kSmallSize, FontStyle::Regular, "Pot");
        for (int k = 0; k < kSheetRatings; ++k) {
            const auto& actual = p.actual[std::size_t(k)];
            const auto& potential = p.potential[std::size_t(k)];
            if (actual)
                RightText(RatingX(k) - 1, first, kBodySize, FontStyle::Regular,
                          std::to_string(*actual));
            if (potential)
                RightText(RatingX(k) - 1, second, kBodySize, FontStyle::Regular,
                          std::to_string(*potential));
        }
        y += kPlayerHeight;
    }
};

} // namespace

std::vector<const SiteTeam*> AllRosters(const LeagueData& league) {
    std::vector<const SiteTeam*> rosters{&league.freeAgents};
    for (const SiteTeam& team : league.teams)
        rosters.push_back(&team);
    return rosters;
}

PageLayout LayOutRosterSheets(const LeagueData& league, const std::vector<const SiteTeam*>& rosters,
                              PageSize size) {
    PageLayout layout;
    layout.size = size;
    layout.title = league.leagueName + " \u2013 Rosters";
    Sheet sheet{layout, league};
    const double ratingsWidth =
        size.width - 2 * kMargin - kLeftWidth - kRowCaptionWidth - 2 * kBandGap;
    sheet.ratingColumn = ratingsWidth / kSheetRatings;
    for (const SiteTeam* team : rosters) {
        sheet.StartPage(*team, false);
        std::optional<std::int64_t> group;
        bool shaded = false;
        for (const std::size_t index : team->players) {
            const SitePlayer& p = league.players[index];
            const bool newGroup = group != p.position;
            const double needed = kPlayerHeight + (newGroup ? kGroupHeight : 0);
            if (!sheet.Fits(needed)) {
                sheet.Footer(int(layout.pages.size()));
                sheet.StartPage(*team, true);
                group.reset();
            }
            if (group != p.position) {
                sheet.Group(p.position);
                group = p.position;
                shaded = false;
            }
            sheet.Player(p, shaded);
            shaded = !shaded;
        }
        if (team->players.empty())
            sheet.Text(kMargin, sheet.y + 10, kBodySize, FontStyle::Regular, "No players.");
        sheet.Footer(int(layout.pages.size()));
    }
    return layout;
}

} // namespace tavrel
