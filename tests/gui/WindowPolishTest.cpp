// What makes the window pleasant to work in: access keys that lead to one item each, file
// dialogs that start where the league is and add the chosen type's extension, F1 in every dialog,
// and the program's icon.
#include "GuiTestSupport.h"
#include "exchange/PlayerList.h"
#include "store/TeamChoices.h"
#include "ui/charts/RatingsChartWindow.h"
#include "ui/common/AccessKeys.h"
#include "ui/common/ContextIDs.h"
#include "ui/common/Counted.h"
#include "ui/common/FileDialogs.h"
#include "ui/common/HelpViewer.h"
#include "ui/common/frmAbout.h"
#include "ui/document/LeagueDocument.h"
#include "ui/exchange/ReportDialog.h"
#include "ui/global/PreviewPanel.h"
#include "ui/grid/PlayerGrid.h"
#include "ui/main/PlayerBrowser.h"
#include "ui/main/PlayerItemDelegate.h"
#include "ui/main/RestoreBackupDialog.h"

#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <QUndoStack>
#include <array>
#include <functional>

using namespace guitest;

namespace {

// F1 in a window that has just come up; the key is pressed again while the window system is
// still making it the active one.
void PressF1(QWidget* window) {
    for (int tries = 0; tries < 20 && !tavrel::OpenHelpViewer(); ++tries) {
        QTest::keyClick(window, Qt::Key_F1);
        if (!tavrel::OpenHelpViewer())
            QTest::qWait(50);
    }
}

// Runs `open`, hands the first modal dialog it shows to `inspect`, then closes that dialog.
// False when no dialog came up.
bool WithModalDialog(const std::function<void()>& open,
                     const std::function<void(QWidget*)>& inspect) {
    bool seen = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        poll.stop();
        seen = true;
        inspect(dialog);
        dialog->close();
    });
    poll.start();
    open();
    return seen;
}

// The help page F1 opens in the first modal dialog `open` shows.
QString HelpPageOfModalDialog(const std::function<void()>& open) {
    tavrel::QuitHelp();
    QString page = QStringLiteral("(no dialog)");
    WithModalDialog(open, [&](QWidget* dialog) {
        if (!QTest::qWaitForWindowActive(dialog)) {
            page = QStringLiteral("(dialog never active)");
            return;
        }
        PressF1(dialog);
        tavrel::HelpViewer* viewer = tavrel::OpenHelpViewer();
        page = viewer ? viewer->CurrentSource().fileName() : QStringLiteral("(no help)");
    });
    tavrel::QuitHelp();
    return page;
}

// The rows of a report, each as its cells' texts joined by "|".
QStringList ReportRows(const ReportDialog& report) {
    QStringList rows;
    const QTableWidget* table = report.Table();
    for (int r = 0; r < table->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < table->columnCount(); ++c)
            cells << (table->item(r, c) ? table->item(r, c)->text() : QString());
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

// The report League Check shows: its rows, one a line.
QString LeagueCheckReport(MainWindowSession& s) {
    QString text = QStringLiteral("(no report)");
    WithModalDialog([&] { s.Trigger("mnuViewItem_3"); },
                    [&](QWidget* dialog) {
                        if (auto* report = qobject_cast<ReportDialog*>(dialog))
                            text = ReportRows(*report).join(QLatin1Char('\n'));
                    });
    return text;
}

// Double-clicks the first row of the report open now that holds `text`; false when none does.
bool DoubleClickRow(QWidget* dialog, const QString& text) {
    auto* report = qobject_cast<ReportDialog*>(dialog);
    if (!report)
        return false;
    const int row = int(ReportRows(*report).indexOf(
        QRegularExpression(QStringLiteral(".*%1.*").arg(QRegularExpression::escape(text)))));
    if (row < 0)
        return false;
    emit report->Table()->cellDoubleClicked(row, 0);
    return true;
}

int Column(const char* name) {
    return *tavrel::PlayersColumnIndex(name);
}

// Types text a key at a time, as a keyboard with those characters would.
void Type(QWidget* box, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
        QApplication::sendEvent(box, &release);
    }
}

QStringList Clashes(const QWidget& window) {
    const QStringList captions = VisibleCaptions(window);
    return captions.size() < 2 ? QStringList{QStringLiteral("(too few captions)")}
                               : AccessKeyClashes(captions);
}

} // namespace

class WindowPolishTest : public QObject, public SessionWithGrid {
    Q_OBJECT

private slots:
    void init() { s_ = std::make_unique<MainWindowSession>(); }
    void cleanup() { s_.reset(); }

    void accessKeyOfACaption() {
        const std::pair<const char*, const char*> cases[] = {
            {"&Open", "o"},       {"Save &Image...", "i"}, {"E&xport Players...", "x"},
            {"Tom && Jerry", ""}, {"A && B &Check", "c"},  {"Trailing&", ""},
            {"Player", ""}};
        for (const auto& [caption, key] : cases) {
            const QChar found = AccessKeyOf(caption);
            QCOMPARE(caption + QString(found.isNull() ? QString() : QString(found)),
                     caption + QString(key));
        }
    }

    void clashesAreFoundWhateverTheCase() {
        QCOMPARE(AccessKeyClashes({"&Exit", "&export", "&Open", "E&xport"}),
                 QStringList{"&export"});
        QVERIFY(AccessKeyClashes({"&Open", "&Save", "Tom && Jerry", "&&Ampersand"}).isEmpty());
    }

    void noTwoItemsOfAMenuShareAnAccessKey() {
        s_->OpenDemo(); // the reopen item and every command that needs a league
        QMenuBar* bar = s_->window->menuBar();
        QStringList titles;
        int menus = 0;
        for (QAction* top : bar->actions()) {
            if (!top->isVisible() || !top->menu())
                continue;
            titles << top->text();
            ++menus;
            const QStringList clashes = AccessKeyClashes(VisibleCaptions(*top->menu()));
            QVERIFY2(clashes.isEmpty(), qPrintable(top->text() + ": " + clashes.join(", ")));
        }
        QVERIFY(menus >= 4);
        QVERIFY2(AccessKeyClashes(titles).isEmpty(), qPrintable(titles.join(", ")));
    }

    void noTwoControlsOfADialogShareAnAccessKey() {
        s_->OpenDemo();
        s_->Trigger("mnuComItem_6");
        auto* globalEdit = s_->window->findChild<tavrel::frmGlobal*>();
        QVERIFY(globalEdit);
        QCOMPARE(Clashes(*globalEdit), QStringList());
        s_->Trigger("mnuViewItem_2");
        auto* chart = s_->window->findChild<tavrel::RatingsChartWindow*>();
        QVERIFY(chart);
        QCOMPARE(Clashes(*chart), QStringList());

        RestoreBackupDialog restore(QStringLiteral("league.lge"), {{"2026-01-01", "1 bytes", "0"}});
        QCOMPARE(Clashes(restore), QStringList());
        tavrel::HelpViewer help(QUrl(QStringLiteral("qrc:/help/")));
        QCOMPARE(Clashes(help), QStringList());
        tavrel::frmAbout about(s_->window->Prompts());
        QCOMPARE(Clashes(about), QStringList());
        for (const auto buttons :
             {ReportDialog::Buttons::ApplyCancel, ReportDialog::Buttons::Close}) {
            ReportDialog report(QStringLiteral("Report"), QStringLiteral("Intro"), ReportTable{},
                                buttons);
            const QStringList captions = VisibleCaptions(report);
            QVERIFY(!captions.isEmpty());
            QCOMPARE(AccessKeyClashes(captions), QStringList());
        }
    }

    void aTypedNameGetsTheChosenTypesExtension() {
        const char* csv = "CSV Files (*.csv)";
        const std::array<const char*, 3> cases[] = {
            {"/d/roster", csv, "/d/roster.csv"},
            {"/d/roster", "Excel Workbooks (*.xlsx)", "/d/roster.xlsx"},
            {"/d/speed", "Global Edit recipes (*.json)", "/d/speed.json"},
            {"/d/chart", "PNG image (*.png)", "/d/chart.png"}, // one filter of two
            {"/d/chart", "SVG image (*.svg)", "/d/chart.svg"},
            {"/d/l", "Leagues (*.lge *.ply)", "/d/l.lge"},         // the first of several
            {"/d/roster.txt", csv, "/d/roster.txt"},               // its own extension kept
            {"/d/roster.csv", csv, "/d/roster.csv"},               // the same extension once
            {"/d/my.files/roster", csv, "/d/my.files/roster.csv"}, // a dot in the folder only
            {"/d/roster", "All Files (*)", "/d/roster"},
            {"", csv, ""}, // cancelled
        };
        for (const auto& [file, filter, written] : cases)
            QCOMPARE(WithFilterExtension(file, filter), QString(written));
    }

    void fileDialogsStartWhereTheLeagueIs() {
        QTemporaryDir league, last;
        const QString gone = league.path() + QStringLiteral("/gone");
        QCOMPARE(StartFolder(league.path(), last.path()), league.path());
        QCOMPARE(StartFolder(QString(), last.path()), last.path());
        QCOMPARE(StartFolder(gone, last.path()), last.path());
        QCOMPARE(StartFolder(gone, gone), QDir::homePath());
        QCOMPARE(StartFolder(QString(), QString()), QDir::homePath());

        QVERIFY(s_->window->Prompts().LeagueFolder().isEmpty());
        s_->OpenDemo();
        QCOMPARE(QDir(s_->window->Prompts().LeagueFolder()),
                 QDir(QPath(s_->demo.leagueFile.parent_path())));
    }

    void f1OpensTheHelpOfEveryDialog() {
        s_->OpenDemo();
        QCOMPARE(HelpPageOfModalDialog([&] { s_->Trigger("mnuViewItem_3"); }),
                 QStringLiteral("leaguecheck.html"));
        s_->log->files << QPath(s_->demo.leagueFile);
        QCOMPARE(HelpPageOfModalDialog([&] { s_->Trigger("mnuFileItem_12"); }),
                 QStringLiteral("compare.html"));
        QCOMPARE(HelpPageOfModalDialog([&] {
                     RestoreBackupDialog dialog(QStringLiteral("league.lge"),
                                                {{"2026-01-01", "1 bytes", "0"}}, s_->window.get());
                     dialog.exec();
                 }),
                 QStringLiteral("backups.html"));

        s_->Trigger("mnuViewItem_2");
        auto* chart = s_->window->findChild<tavrel::RatingsChartWindow*>();
        QVERIFY(chart);
        tavrel::QuitHelp();
        chart->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(chart));
        PressF1(chart);
        QVERIFY(tavrel::OpenHelpViewer());
        QCOMPARE(tavrel::OpenHelpViewer()->CurrentSource().fileName(),
                 QStringLiteral("chart.html"));
        tavrel::QuitHelp();
    }

    void everyHelpTopicHasItsPageListedInTheContents() {
        QFile contents(QStringLiteral(":/help/contents.html"));
        QVERIFY(contents.open(QIODevice::ReadOnly));
        const QString links = QString::fromUtf8(contents.readAll());
        for (const int topic :
             {tavrel::kHelpLeagueFiles, tavrel::kHelpPlayers, tavrel::kHelpGrid,
              tavrel::kHelpRatingsChart, tavrel::kHelpGlobalEdit, tavrel::kHelpExchange,
              tavrel::kHelpCompare, tavrel::kHelpLeagueCheck, tavrel::kHelpRosters,
              tavrel::kHelpFilesWritten, tavrel::kHelpBackups}) {
            const QString page = tavrel::HelpPageOfContext(topic);
            QVERIFY2(QFile::exists(QStringLiteral(":/help/") + page), qPrintable(page));
            QVERIFY2(links.contains(QStringLiteral("href=\"%1\"").arg(page)), qPrintable(page));
        }
    }

    void aRefusedKeystrokeSaysWhyInTheStatusBar_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("letter in a rating") << "txtSP"
                                            << "x" << RatingRefusal();
        QTest::newRow("rating above 255") << "txtAG"
                                          << "256" << RatingRefusal();
        QTest::newRow("character outside the set")
            << "txtFirstName" << QString::fromUtf8("\xC5\x81") // Ł
            << QString::fromUtf8("\xC5\x81 is not in the league's character set.");
        QTest::newRow("after characters that fit")
            << "txtLastName" << QString::fromUtf8("M\xC3\xBCller\xCE\xA9") // Müller, then Ω
            << QString::fromUtf8("\xCE\xA9 is not in the league's character set.");
        QTest::newRow("first name too long")
            << "txtFirstName" << QString(40, QLatin1Char('a'))
            << QStringLiteral("First names hold %1 characters."); // the box's own length
    }
    void aRefusedKeystrokeSaysWhyInTheStatusBar() {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        s_->OpenDemo();
        QLineEdit* edit = s_->Box(box.toLatin1().constData());
        QVERIFY(edit);
        s_->window->statusBar()->clearMessage();
        edit->setFocus();
        edit->selectAll();
        Type(edit, typed);
        if (message.contains(QLatin1String("%1")))
            message = message.arg(edit->maxLength());
        QCOMPARE(s_->window->statusBar()->currentMessage(), message);
    }

    void refusalsInWords() {
        QCOMPARE(NameRefusal(QStringLiteral("\u0141"), QStringLiteral("First Name:"), 15),
                 QStringLiteral("\u0141 is not in the league's character set."));
        QCOMPARE(NameRefusal(QString(), QStringLiteral("First Name:"), 15),
                 QStringLiteral("First names hold 15 characters."));
        QCOMPARE(NameRefusal(QString(), QStringLiteral("Last Name:"), 19),
                 QStringLiteral("Last names hold 19 characters."));
        QVERIFY(RatingRefusal().contains(QStringLiteral("0 to 255")));
    }

    // League Check sees an edit still being typed (the command keeps it, unsaved); a double-click
    // on its finding takes the form back to that player.
    void leagueCheckSeesTheUnsavedEditsAndLeadsToThePlayer() {
        s_->OpenDemo();
        const QString before = LeagueCheckReport(*s_);
        QVERIFY(!before.contains(QStringLiteral("(no report)")));
        const QString player = s_->Box("txtLastName")->text();
        QLineEdit* speed = s_->Box("txtSP");
        speed->setFocus();
        speed->selectAll();
        Type(speed, QStringLiteral("123"));
        const QString after = LeagueCheckReport(*s_);
        const QString finding = QStringLiteral("Actual Speed 123"); // a rating above 99
        QVERIFY(!before.contains(finding));
        QVERIFY2(after.contains(finding), qPrintable(after));
        QVERIFY(s_->window->HasUnsavedChanges());
        QVERIFY(FileContent(s_->demo.playerFile) == s_->original);

        s_->Players()->setCurrentRow(s_->Players()->count() - 1); // another player
        const std::optional<std::int64_t> elsewhere = s_->window->Document().CurrentPlayer();
        QVERIFY(
            WithModalDialog([&] { s_->Trigger("mnuViewItem_3"); },
                            [&](QWidget* dialog) { QVERIFY(DoubleClickRow(dialog, finding)); }));
        QCOMPARE(s_->Box("txtLastName")->text(), player);
        QCOMPARE(s_->Box("txtSP")->text(), QStringLiteral("123"));
        QVERIFY(s_->window->Document().CurrentPlayer() != elsewhere);
    }

    // Compare With and the import preview name teams by name and number and ratings as the form
    // does; a double-click on a row takes the form and the grid to its player, and a player only
    // the other file has is named in the status bar.
    void reportRowsLeadToTheirPlayers() {
        s_->window->show();
        s_->OpenDemo();
        s_->Trigger("mnuViewPlayerGrid");
        const std::filesystem::path db = s_->WorkingDb();
        const tavrel::PlayerList players = tavrel::PlayerList::FromWorkingDatabase(db);
        const tavrel::TeamNames teams = tavrel::TeamNames::Read(db);
        constexpr std::size_t kRecord = 5;
        tavrel::PlayerRow row;
        players.Read(kRecord - 1, row);
        const int team = int(std::get<std::int64_t>(row[Column("Team")]));
        const int otherTeam = team == 1 ? 2 : 1;
        const int speed = int(std::get<std::int64_t>(row[Column("Act_SP")]));
        const int otherSpeed = (speed + 1) % 100;
        const QString teamA = QString::fromStdString(teams.Shown(team));
        const QString teamB = QString::fromStdString(teams.Shown(otherTeam));
        const std::int64_t player = players.RowId(kRecord - 1);
        const auto goElsewhere = [&] {
            QVERIFY(s_->window->Browser().ShowPlayerOfRowId(players.RowId(0)));
            QTRY_COMPARE(GridPlayer(), players.RowId(0));
        };

        // B: the player on another team and faster, and a player A lacks.
        std::string other = s_->original;
        const std::size_t at =
            tavrel::kPlayerFileHeaderSize + (kRecord - 1) * tavrel::kPlayerRecordSize;
        other[at + 4] = char(otherTeam);
        other[at + 175] = char(otherSpeed);
        std::string stranger = other.substr(at, tavrel::kPlayerRecordSize);
        stranger[0] = stranger[1] = char(0x7F);
        other += stranger;
        const std::filesystem::path otherFile = PathOf(s_->dir, "other.ply");
        WriteFileContent(otherFile, other);
        goElsewhere();
        s_->log->files << QPath(otherFile);
        QVERIFY(WithModalDialog(
            [&] { s_->Trigger("mnuFileItem_12"); },
            [&](QWidget* dialog) {
                const QTableWidget* table = qobject_cast<ReportDialog*>(dialog)->Table();
                QStringList headers;
                for (int c = 0; c < table->columnCount(); ++c)
                    headers << table->horizontalHeaderItem(c)->text();
                QVERIFY2(headers.contains("Team") && headers.contains("Actual Speed"),
                         qPrintable(headers.join(", ")));
                QVERIFY(dialog->findChild<QLabel*>("lblDoubleClick"));
                QVERIFY2(DoubleClickRow(dialog, teamA + QString::fromUtf8(" → ") + teamB),
                         qPrintable(ReportRows(*qobject_cast<ReportDialog*>(dialog)).join('\n')));
                QVERIFY(s_->window->Document().CurrentPlayer() == player);
                QTRY_COMPARE(GridPlayer(), player);
                QVERIFY(DoubleClickRow(dialog, QStringLiteral("only in B")));
                QVERIFY(s_->window->Document().CurrentPlayer() == player);
                const QString said = s_->window->statusBar()->currentMessage();
                QVERIFY2(said.contains(QStringLiteral("PID 32639")) &&
                             said.contains(QStringLiteral("the open league has no such player")),
                         qPrintable(said));
            }));

        // The import preview of the same change, cell by cell; Cancel imports nothing.
        const std::filesystem::path sheet = PathOf(s_->dir, "sheet.csv");
        WriteFileContent(sheet, "Record,Team,Act_SP\r\n" + std::to_string(kRecord) + "," +
                                    std::to_string(otherTeam) + "," + std::to_string(otherSpeed) +
                                    "\r\n");
        goElsewhere();
        s_->log->files << QPath(sheet);
        QVERIFY(WithModalDialog(
            [&] { s_->Trigger("mnuFileItem_11"); },
            [&](QWidget* dialog) {
                const QStringList rows = ReportRows(*qobject_cast<ReportDialog*>(dialog));
                QCOMPARE(rows.size(), 2);
                QVERIFY2(rows[0].endsWith(QStringLiteral("|Team|%1|%2").arg(teamA, teamB)),
                         qPrintable(rows[0]));
                QCOMPARE(rows[1], QStringLiteral("|Actual Speed|%1|%2").arg(speed).arg(otherSpeed));
                QVERIFY(DoubleClickRow(dialog, QStringLiteral("Actual Speed")));
                QVERIFY(s_->window->Document().CurrentPlayer() == player);
                QTRY_COMPARE(GridPlayer(), player);
            }));
        QCOMPARE(s_->window->History()->count(), 0);
    }

    // A Find lists players of any team: each shows his team's name beside him.
    void theFindListNamesEachPlayersTeam() {
        s_->OpenDemo();
        const std::filesystem::path db = s_->WorkingDb();
        const tavrel::PlayerList players = tavrel::PlayerList::FromWorkingDatabase(db);
        const tavrel::TeamNames teams = tavrel::TeamNames::Read(db);
        std::vector<tavrel::PlayerRow> rows(3);
        players.Read(0, rows[0]);
        const auto teamOf = [](const tavrel::PlayerRow& r) {
            return int(std::get<std::int64_t>(r[Column("Team")]));
        };
        std::size_t other = 1; // a player of another team
        for (; other < players.Count(); ++other) {
            players.Read(other, rows[1]);
            if (teamOf(rows[1]) != teamOf(rows[0]))
                break;
        }
        const std::size_t third = other == 1 ? 2 : 1;
        players.Read(third, rows[2]);
        const tavrel::Value name = rows[0][Column("LastName")];
        const int lastName = Column("LastName");
        QVERIFY(s_->window->ApplyChanges(
            QStringLiteral("Namesakes"),
            {{players.RowId(other), lastName, rows[1][lastName], name},
             {players.RowId(third), lastName, rows[2][lastName], name},
             {players.RowId(third), Column("Team"), rows[2][Column("Team")], std::int64_t{200}}}));
        QCoreApplication::processEvents(); // the lists follow the moved player first

        s_->window->Browser().FindPlayersByLastName(QString::fromStdString(tavrel::CellText(name)));
        QStringList shown;
        for (int i = 0; i < s_->Players()->count(); ++i)
            shown << s_->Players()->item(i)->data(kTeamRole).toString();
        const QString first = QString::fromStdString(*teams.Name(teamOf(rows[0])));
        const QString second = QString::fromStdString(*teams.Name(teamOf(rows[1])));
        QVERIFY2(shown.contains(first) && shown.contains(second) &&
                     shown.contains(QStringLiteral("team 200")),
                 qPrintable(shown.join(", ")));
        QVERIFY(!shown.contains(QString()));
        s_->Players()->setCurrentRow(int(shown.indexOf(QStringLiteral("team 200"))));
        QVERIFY(s_->Find<QLabel>("Panel2")->text().startsWith(QStringLiteral("team 200: ")));

        // The team stands at the right; in a narrow list it takes at most half the width and
        // the position stays whole.
        const QFontMetrics metrics(QApplication::font());
        const QString entry = QStringLiteral("Smith, John - QB"), team = QStringLiteral("Bears");
        const int wide = metrics.horizontalAdvance(entry + QStringLiteral("    ") + team);
        const auto fitsWide = PlayerItemDelegate::FittedEntryAndTeam(entry, team, metrics, wide);
        QCOMPARE(fitsWide.entry, entry);
        QCOMPARE(fitsWide.team, team);
        const int narrow = metrics.horizontalAdvance(entry);
        const auto fits = PlayerItemDelegate::FittedEntryAndTeam(entry, team, metrics, narrow);
        QVERIFY2(fits.entry.endsWith(QStringLiteral(" - QB")) && fits.entry != entry,
                 qPrintable(fits.entry));
        QVERIFY(!fits.team.isEmpty());
        QVERIFY(metrics.horizontalAdvance(fits.team) <= narrow / 2);
        QVERIFY(metrics.horizontalAdvance(fits.entry + QStringLiteral("  ") + fits.team) <= narrow);
    }

    // With the grid below, the form keeps every rating band in view: side by side as far as the
    // width allows, the grid taking the height the form leaves.
    void withTheGridBelowTheFormShowsEveryBand() {
        s_->window->show();
        s_->OpenDemo();
        s_->window->resize(1024, 740);
        QCoreApplication::processEvents();
        s_->Trigger("mnuViewPlayerGrid"); // into a window that keeps its size
        auto* area = s_->Find<QScrollArea>("playerArea");
        QLineEdit* last = s_->Box("txtP_KD"); // the last box of the third band
        const auto inView = [&] {
            const QRect box(last->mapTo(area->viewport(), QPoint(0, 0)), last->size());
            return area->viewport()->rect().contains(box);
        };
        for (const auto& [width, side] : {std::pair{1024, 1}, {1366, 2}, {1920, 3}, {1024, 1}}) {
            s_->window->resize(width, 740);
            QTRY_COMPARE(s_->window->Details()->BandsPerRow(), side);
            QTRY_VERIFY2(inView(), qPrintable(QString::number(width)));
            QVERIFY(Grid()->height() >= 740 / 4);
        }
    }

    void theGlobalEditPreviewSaysWhatItsFiguresCount() {
        tavrel::PreviewPanel panel;
        const auto* table = panel.findChild<QTableWidget*>("tblPreview");
        QVERIFY(table);
        for (int c = 1; c < table->columnCount(); ++c) {
            const QString header = table->horizontalHeaderItem(c)->text();
            const QString tip = table->horizontalHeaderItem(c)->toolTip();
            const bool players = header == "Selected" || header == "Changed";
            QVERIFY2(tip.startsWith(players ? "Players:" : "Rating values:"),
                     qPrintable(header + ": " + tip));
        }
        const auto* counts = panel.findChild<QLabel*>("lblPreviewCounts");
        QVERIFY(counts && counts->text().startsWith("Selected and Changed count players"));
    }

    void theSecondSortKeyIsMarkedInItsCaption() {
        s_->OpenDemo();
        s_->Trigger("mnuViewPlayerGrid");
        auto* model = s_->window->findChild<PlayerGridModel*>();
        QVERIFY(model);
        const auto caption = [&](int column) {
            return model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
        };
        const QString last = caption(2), first = caption(3);
        model->SortByColumn(2, false);
        model->SortByColumn(3, true);
        QCOMPARE(caption(2), last); // the first key has the header's arrow
        QCOMPARE(caption(3), first + QString::fromUtf8(" \u25B22"));
        model->SortByColumn(3, true);
        QCOMPARE(caption(3), first + QString::fromUtf8(" \u25BC2"));
        model->SortByColumn(4, false); // one key again
        QCOMPARE(caption(3), first);
    }

    void countsTakeTheRightForm() {
        const std::pair<qint64, const char*> cases[] = {{0, "0 players differ"},
                                                        {1, "1 player differs"},
                                                        {2, "2 players differ"},
                                                        {1021, "1021 players differ"}};
        for (const auto& [count, words] : cases)
            QCOMPARE(Counted(count, "player differs", "players differ"), QString(words));
    }

    void theWindowCarriesTheProgramsIcon() {
        QVERIFY(QFile::exists(QStringLiteral(":/icons/tavrel.svg")));
        QVERIFY(!s_->window->windowIcon().isNull());
        QVERIFY(!s_->window->windowIcon().pixmap(32, 32).isNull());
    }
};

TAVREL_GUI_TEST(WindowPolishTest)
#include "WindowPolishTest.moc"
