// File > Publish League Site... and File > Print Rosters... in the main window: where they stand
// in the menu, what they publish (unsaved edits included) and the sheets they draw.
#include "GuiTestSupport.h"
#include "ui/publish/PublishActions.h"

#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTimer>

using namespace guitest;
namespace fs = std::filesystem;

#ifndef TAVREL_SCREENSHOTS
#define TAVREL_SCREENSHOTS "."
#endif

class PublishWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowSession> s_;
    PublishActions* Actions() const { return s_->window->findChild<PublishActions*>(); }
    fs::path Site() const { return PathOf(s_->dir, "site"); }

private slots:
    void init() {
        s_ = std::make_unique<MainWindowSession>();
        Actions()->SetFolderChooser([this] { return QPath(Site()); });
    }
    void cleanup() { s_.reset(); }

    // The two items come after every item the File menu had, so no index of theirs moves.
    void itemsFollowTheOtherFileItems() {
        const QList<QAction*> items = s_->Find<QMenu>("mnuFile")->actions();
        QVERIFY(items.size() >= 3 && items[items.size() - 3]->isSeparator());
        QStringList last;
        for (QAction* a : items.mid(items.size() - 3))
            last << a->objectName() + "=" + a->text();
        QCOMPARE(last, (QStringList{"mnuFileItem_13=", "mnuFileItem_14=P&ublish League Site...",
                                    "mnuFileItem_15=Print &Rosters..."}));
        int before = 0;
        for (QAction* a : items.mid(0, items.size() - 3))
            before = std::max(before, a->property("index").toInt());
        QCOMPARE(before, 12);
    }

    void withoutALeagueNothingIsWritten() {
        s_->Trigger("mnuFileItem_14");
        QCOMPARE(s_->log->messages, QStringList{"Open a league before publishing or printing it."});
        QVERIFY(!fs::exists(Site()));
    }

    // The site shows what the window shows: a name typed and not saved is on it, and the
    // message says the league's files do not have it yet.
    void publishesTheUnsavedEditsAndSaysSo() {
        s_->OpenDemo();
        QLineEdit* last = s_->Box("txtLastName");
        last->selectAll();
        last->insert(QStringLiteral("Zzyzx"));
        s_->window->CommitPendingEdit();
        s_->Trigger("mnuFileItem_14");
        QCOMPARE(s_->log->messages.size(), 1);
        QVERIFY2(s_->log->messages[0].contains("not yet saved"), qPrintable(s_->log->messages[0]));
        QVERIFY(s_->log->messages[0].contains(QPath(Site())));
        const std::string index = FileContent(Site() / "index.html");
        QVERIFY(index.find("Zzyzx") != std::string::npos);
        QVERIFY(index.find("<title>Demo.lge</title>") != std::string::npos);
        QCOMPARE(FileContent(s_->demo.playerFile), s_->original); // the league is untouched
    }

    void aFolderOfOtherFilesIsRefusedWithAMessage() {
        s_->OpenDemo();
        fs::create_directories(Site());
        WriteFileContent(Site() / "notes.txt", "mine");
        s_->Trigger("mnuFileItem_14");
        QCOMPARE(s_->log->messages.size(), 1);
        QVERIFY2(s_->log->messages[0].contains("notes.txt") &&
                     s_->log->messages[0].contains("Publishing the league site"),
                 qPrintable(s_->log->messages[0]));
        QCOMPARE(tavrel::testing::FileNames(Site()), std::vector<std::string>{"notes.txt"});
    }

    // The window's painter draws the same sheets as the command line: printed to a PDF file and
    // read back, they name the team and its players.
    void printsTheRosterSheets() {
        if (std::system("command -v pdftotext >/dev/null 2>&1") != 0)
            QSKIP("pdftotext (poppler-utils) is not installed");
        s_->OpenDemo();
        const tavrel::LeagueData league = tavrel::ReadLeagueData(s_->WorkingDb(), "Demo.lge");
        const tavrel::SiteTeam& team = league.teams.at(0);
        const tavrel::SitePlayer& player = league.players.at(team.players.at(0));
        const fs::path pdf = PathOf(s_->dir, "sheets.pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QPath(pdf));
        Actions()->PrintRostersOn(printer, 1);
        const fs::path text = PathOf(s_->dir, "sheets.txt");
        QCOMPARE(std::system(("pdftotext '" + pdf.string() + "' '" + text.string() + "'").c_str()),
                 0);
        const std::string read = FileContent(text);
        QVERIFY2(read.find(team.name) != std::string::npos, read.c_str());
        QVERIFY2(read.find(player.lastName) != std::string::npos, read.c_str());
        QVERIFY(read.find("SP:") != std::string::npos);
        QVERIFY(read.find("Free Agents") == std::string::npos); // one team chosen, one team
    }

    // The print preview opens on the chosen rosters; its picture is kept for people to look at.
    void showsThePrintPreview() {
        s_->OpenDemo();
        Actions()->SetRosterChooser([](const tavrel::LeagueData&) { return 1; });
        bool shown = false;
        QTimer::singleShot(500, this, [&] {
            auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            if (!preview)
                return;
            shown = true;
            preview->resize(900, 1000);
            QApplication::processEvents();
            fs::create_directories(TAVREL_SCREENSHOTS);
            preview->grab().save(QString(TAVREL_SCREENSHOTS) + "/print-preview.png");
            preview->reject();
        });
        s_->Trigger("mnuFileItem_15");
        QVERIFY(shown);
        QVERIFY(s_->log->messages.isEmpty());
    }
};

TAVREL_GUI_TEST(PublishWindowTest)
#include "PublishWindowTest.moc"
