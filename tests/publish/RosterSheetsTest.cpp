#include "publish/RosterSheets.h"

#include "PublishTestSupport.h"
#include "TestFiles.h"
#include "publish/PageLayout.h"
#include "publish/PaperSize.h"
#include "publish/PdfWriter.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>

namespace tavrel {
namespace {

using testing::FileContent;
using testing::PublishLeague;
namespace fs = std::filesystem;

// The text pdftotext reads from a PDF, in reading order.
std::string PdfText(const fs::path& pdf) {
    const fs::path text = pdf.string() + ".txt";
    const std::string command = "pdftotext -layout '" + pdf.string() + "' '" + text.string() + "'";
    if (std::system(command.c_str()) != 0)
        return "pdftotext failed";
    return FileContent(text);
}

TEST(PaperSize, FollowsTheSystemsSettingsInOrder) {
    const struct {
        const char* environment;
        const char* file;
        int localeWidth;
        std::string_view expected;
    } cases[] = {
        {"letter", "a4\n", 210, "Letter"},               // PAPERSIZE first
        {"", "# comment\n\n  Letter \n", 210, "Letter"}, // then the file's first setting
        {"", "a4", 216, "A4"},
        {"", "", 216, "Letter"}, // then the locale's width
        {"", "", 210, "A4"},
        {"", "", 0, "A4"},          // nothing known: A4
        {"legal", "", 0, "Letter"}, // other sizes: the nearer one
        {"A5", "", 216, "A4"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChoosePaperSize(c.environment, c.file, c.localeWidth).name, c.expected)
            << c.environment << "|" << c.file << "|" << c.localeWidth;
    EXPECT_EQ(PaperSizeNamed(" LETTER ")->width, 612.0);
    EXPECT_FALSE(PaperSizeNamed("tabloid"));
}

TEST(PageLayout, FitTextCutsWholeCharactersAndMarksTheCut) {
    EXPECT_EQ(FitText("Bears", 100, 10), "Bears");
    const std::string cut = FitText("Mu\xC3\xB1oz Mu\xC3\xB1oz Mu\xC3\xB1oz", 30, 10);
    EXPECT_LE(TextWidth(cut, 10), 30);
    EXPECT_EQ(cut.substr(cut.size() - 3), "\u2026");
    // "é" and "€" are cut whole or kept whole: what is left is UTF-8 without a broken sequence.
    for (double width = 5; width < 40; width += 1) {
        const std::string text =
            FitText("\xC3\xA9\xE2\x82\xAC\xC3\xA9\xE2\x82\xAC\xC3\xA9", width, 10);
        EXPECT_TRUE(std::regex_match(text, std::regex("(\xC3\xA9|\xE2\x82\xAC)*(\u2026)?")))
            << width;
    }
    EXPECT_DOUBLE_EQ(TextWidth("0123456789", 10), 55.6);
    EXPECT_GT(TextWidth("WWW", 10, FontStyle::Bold), TextWidth("iii", 10, FontStyle::Bold));
}

TEST(RosterSheets, EachRosterStartsAPageAndEveryTextStaysOnIt) {
    PublishLeague league;
    for (int i = 0; i < 70; ++i) // a long roster runs on to more pages
        league.Add(100 + i, {.team = 2,
                             .position = i % 15,
                             .lastName = "Verylongsurnameofaplayer" + std::to_string(i)});
    const LeagueData data = league.Read();
    for (const PageSize size : {kA4, kLetter}) {
        const PageLayout layout = LayOutRosterSheets(data, AllRosters(data), size);
        ASSERT_GE(layout.pages.size(), 4u) << size.name;
        EXPECT_EQ(layout.pages[0].texts[0].text, "Free Agents");
        EXPECT_EQ(layout.pages[1].texts[0].text, "Bears");
        EXPECT_EQ(layout.pages[2].texts[0].text, "<script>alert(1)</script>");
        EXPECT_EQ(layout.pages[3].texts[0].text, "<script>alert(1)</script> (continued)");
        for (const Page& page : layout.pages) {
            for (const PageText& t : page.texts) {
                EXPECT_GE(t.x, 0) << t.text;
                EXPECT_LE(t.x + TextWidth(t.text, t.size, t.style), size.width - 30) << t.text;
                EXPECT_GT(t.baseline - t.size, 0) << t.text;
                EXPECT_LT(t.baseline, size.height - 20) << t.text;
            }
        }
    }
}

TEST(RosterSheets, ThePdfReadsBackWithTeamsPlayersAndRatings) {
    if (!testing::HasProgram("pdftotext"))
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    PublishLeague league;
    const LeagueData data = league.Read();
    QTemporaryDir dir;
    const fs::path pdf = fs::path(dir.path().toStdString()) / "rosters.pdf";
    WritePdf(LayOutRosterSheets(data, AllRosters(data), kLetter), pdf);
    const std::string text = PdfText(pdf);
    for (const char* expected :
         {"Free Agents", "Bears", "<script>alert(1)</script>", "Quarterbacks (QB)", "Zed, Bo",
          "Abe, Cy", "Mu\xC3\xB1oz, Jos\xC3\xA9", "\xE2\x82\xAC U", "SP:", "KD:", "Act", "Pot"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    // Bo Zed's ratings: 91 actual, 99 potential, in 24 columns each.
    EXPECT_TRUE(std::regex_search(text, std::regex("Act( +91){24}"))) << text;
    EXPECT_TRUE(std::regex_search(text, std::regex("Pot( +99){24}"))) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 3); // three rosters, three pages
}

TEST(PdfWriter, CrossReferencePointsAtEveryObjectAndStringsAreEscaped) {
    PageLayout layout;
    layout.title = "T\xC3\xA9st";
    layout.pages.resize(2);
    layout.pages[0].texts.push_back(
        {10, 20, 8, FontStyle::Regular, "a(b)c\\d \xC3\xA9\xE2\x82\xAC"});
    layout.pages[1].boxes.push_back({1, 2, 3, 4, 0.5});
    const std::string pdf = PdfDocument(layout);
    EXPECT_EQ(pdf.rfind("%PDF-1.4", 0), 0u);
    EXPECT_NE(pdf.find("(a\\(b\\)c\\\\d \\351\\200) Tj"), std::string::npos);
    EXPECT_NE(pdf.find("/Title <FEFF005400E900730074>"), std::string::npos);
    EXPECT_NE(pdf.find("/Count 2"), std::string::npos);
    const std::size_t startxref = pdf.rfind("startxref\n");
    const std::size_t xref = std::stoul(pdf.substr(startxref + 10));
    ASSERT_EQ(pdf.compare(xref, 5, "xref\n"), 0);
    std::istringstream table(pdf.substr(xref + 5));
    int first = 0, count = 0;
    table >> first >> count;
    ASSERT_EQ(count, 5 + 2 * 2 + 1);
    std::string offset, generation, kind;
    table >> offset >> generation >> kind; // the free entry
    for (int n = 1; n < count; ++n) {
        table >> offset >> generation >> kind;
        EXPECT_EQ(pdf.substr(std::stoul(offset), std::to_string(n).size() + 6),
                  std::to_string(n) + " 0 obj")
            << n;
    }
    // Each content stream is as long as its /Length says.
    const std::regex stream("/Length (\\d+) >>\nstream\n");
    for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), stream);
         it != std::sregex_iterator(); ++it) {
        const std::size_t start = std::size_t(it->position() + it->length());
        EXPECT_EQ(pdf.compare(start + std::stoul((*it)[1]), 9, "endstream"), 0);
    }
}

} // namespace
} // namespace tavrel
