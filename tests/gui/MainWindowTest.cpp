// The main window end to end on a demo league in a folder of its own: what the user sees, the
// commands, browsing, editing and saving, and the behaviour when something goes wrong.
#include "GuiTestSupport.h"
#include "league/LeaguePaths.h"
#include "league/PlayerRecord.h"
#include "shell/frmStatus.h"
#include "store/Text.h"
#include "ui/main/LastFileSetting.h"
#include "ui/main/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <algorithm>
#include <map>

using namespace guitest;

namespace {

constexpr std::size_t kHeader = tavrel::kPlayerFileHeaderSize;
constexpr std::size_t kRecord = tavrel::kPlayerRecordSize;
constexpr std::size_t kActualSpeed = 175;

int Pid(const std::string& file, std::size_t record) {
    const auto* r =
        reinterpret_cast<const unsigned char*>(file.data() + kHeader + kRecord * record);
    return static_cast<qint16>(static_cast<quint16>(r[0] | (r[1] << 8)));
}

// Where the record of a player starts in the player file.
std::size_t RecordOffset(const std::string& file, int pid) {
    for (std::size_t n = 0; kHeader + kRecord * (n + 1) <= file.size(); ++n)
        if (Pid(file, n) == pid)
            return kHeader + kRecord * n;
    return std::string::npos;
}

tavrel::PlayerRow Decode(const std::string& file, std::size_t offset) {
    tavrel::PlayerRow row;
    tavrel::DecodePlayerRecord(
        tavrel::RecordBytes(reinterpret_cast<const std::uint8_t*>(file.data() + offset), kRecord),
        row);
    return row;
}

std::string Text(const tavrel::PlayerRow& row, const char* column) {
    return std::get<std::string>(row[*tavrel::PlayersColumnIndex(column)]);
}

std::int64_t Number(const tavrel::PlayerRow& row, const char* column) {
    return std::get<std::int64_t>(row[*tavrel::PlayersColumnIndex(column)]);
}

QString LastNameOf(const QString& item) {
    return item.section(QStringLiteral(", "), 0, 0);
}

// The order of SQLite's NOCASE collation: ASCII letters folded, all else byte by byte.
QByteArray Folded(const QString& text) {
    QByteArray bytes = text.toUtf8();
    for (char& c : bytes)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return bytes;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::shared_ptr<PromptLog> log_;
    std::unique_ptr<frmMain> window_;
    tavrel::DemoLeagueFiles demo_;
    std::filesystem::path work_;
    std::string originalPlayers_;

    frmMain& MakeWindow(const std::filesystem::path& work) {
        window_ = std::make_unique<frmMain>(work, std::make_unique<FakePrompts>(log_));
        return *window_;
    }
    QAction* Action(const char* name) const { return window_->findChild<QAction*>(name); }
    void Trigger(const char* name) {
        QAction* action = Action(name);
        QVERIFY2(action, name);
        action->trigger();
    }
    void Toolbar(const char* key) { Trigger(QByteArray("btn") + key); }
    void OpenDemo() {
        log_->files << QPath(demo_.leagueFile);
        Trigger("mnuFileItem_0");
    }
    QLineEdit* Box(const char* name) const { return window_->findChild<QLineEdit*>(name); }
    QLabel* Label(const char* name) const { return window_->findChild<QLabel*>(name); }
    QComboBox* Teams() const { return window_->findChild<QComboBox*>("cboTeam"); }
    QListWidget* Players() const { return window_->findChild<QListWidget*>("lstPlayers"); }
    int PidOfItem(int row) const { return Players()->item(row)->data(Qt::UserRole).toInt(); }
    QString Panel(const char* name) const { return Label(name)->text(); }
    void ChooseTeam(int index) {
        Teams()->setCurrentIndex(index);
        emit Teams()->activated(index);
    }
    void Type(const char* box, const QString& text) {
        QLineEdit* edit = Box(box);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        // Key clicks carry Latin-1 only; other text goes in as a paste would, validated whole.
        bool ascii = true;
        for (QChar c : text)
            ascii = ascii && c.unicode() < 128;
        if (ascii)
            QTest::keyClicks(edit, text);
        else
            edit->insert(text);
    }
    std::filesystem::path WorkingDb() const { return work_ / "Tavrel.tmp"; }

private slots:
    void init() {
        ClearProgramSettings();
        dir_ = std::make_unique<QTemporaryDir>();
        log_ = std::make_shared<PromptLog>();
        demo_ = tavrel::WriteDemoLeague(PathOf(*dir_, "league"));
        work_ = PathOf(*dir_, "work");
        std::filesystem::create_directories(work_);
        originalPlayers_ = ReadBytes(demo_.playerFile);
        MakeWindow(work_);
    }

    void cleanup() {
        window_.reset();
        QCOMPARE(log_->unexpectedQuestions, 0);
        dir_.reset();
    }

    void menusToolbarAndStatusBarReadAsDesigned() {
        QCOMPARE(window_->windowTitle(), QStringLiteral("Tavrel"));
        const QStringList titles = [&] {
            QStringList t;
            for (QAction* a : window_->menuBar()->actions())
                if (a->isVisible())
                    t << a->text();
            return t;
        }();
        QCOMPARE(titles, (QStringList{"&File", "&Edit", "&View", "&Help"}));

        const std::map<std::string, QString> captions = {
            {"mnuFileItem_0", "&Open"},         {"mnuFileItem_1", "&Print"},
            {"mnuFileItem_2", "&Save"},         {"mnuFileItem_4", "&Exit"},
            {"mnuComItem_6", "&Global Edit"},   {"mnuViewItem_0", "&Toolbar"},
            {"mnuViewItem_1", "&Statusbar"},    {"mnuHelpItem_0", "&Contents"},
            {"mnuHelpItem_2", "&About"},        {"mnuComItem_0", "&Expand"},
            {"mnuComItem_1", "Import &Draft"},  {"mnuComItem_2", "Import &Teams"},
            {"mnuComItem_4", "T&rade Players"}, {"mnuComItem_5", "&Update League"},
            {"mnuComItem_7", "&HTML"}};
        for (const auto& [name, caption] : captions) {
            QAction* a = Action(name.c_str());
            QVERIFY2(a, name.c_str());
            QCOMPARE(a->text(), caption);
        }
        for (const char* separator : {"mnuFileItem_3", "mnuFileItem_5", "mnuHelpItem_1"})
            QVERIFY2(Action(separator) && Action(separator)->isSeparator(), separator);
        for (const char* hidden : {"mnuComItem_0", "mnuComItem_1", "mnuComItem_2", "mnuComItem_4",
                                   "mnuComItem_5", "mnuComItem_7"}) {
            QVERIFY(!Action(hidden)->isVisible());
            QVERIFY(!Action(hidden)->isEnabled());
        }
        QVERIFY(Action("mnuComItem_6")->isVisible());
        QMenu* web = window_->findChild<QMenu*>("mnuWeb");
        QVERIFY(web && !web->menuAction()->isVisible() && !web->menuAction()->isEnabled());
        QStringList webItems;
        for (QAction* a : web->actions())
            webItems << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(webItems, (QStringList{"&Injuries", "&League Schedule", "&Roster", "&Standings",
                                        "&Team Pages", "-", "&All"}));
        QVERIFY(Action("mnuViewItem_0")->isChecked());
        QVERIFY(Action("mnuViewItem_1")->isChecked());

        // The File menu's items in order: index 6 is the (empty) reopen item added at start-up.
        QMenu* file = window_->findChild<QMenu*>("mnuFile");
        for (int i = 0; i < 7; ++i)
            QCOMPARE(file->actions().at(i), Action(QByteArray("mnuFileItem_") + char('0' + i)));
        QCOMPARE(Action("mnuFileItem_6")->text(), QString());

        QStringList keys, tips;
        for (QAction* a : window_->findChild<QToolBar*>("Toolbar1")->actions()) {
            if (a->isSeparator())
                continue;
            keys << a->property("key").toString();
            tips << a->toolTip();
        }
        QCOMPARE(keys, (QStringList{"Open", "Save", "Print", "Find", "SortAc", "SortDec",
                                    "GlobalEdit", "Help"}));
        QCOMPARE(tips, (QStringList{"Open League", "Save", "Print to File", "Find Player",
                                    "Sort Ascending", "Sort Descending", "Global Edit", "Help"}));
        QCOMPARE(Panel("Panel1"), QStringLiteral("League: "));
        QCOMPARE(Panel("Panel2"), QStringLiteral("Team:"));
        QCOMPARE(Label("lblTeam")->text(), QStringLiteral("Teams:"));
        QCOMPARE(Label("lblPlayers")->text(), QStringLiteral("Players:"));
    }

    void theReopenItemNamesTheLeagueRememberedAtStartUp() {
        WriteLastFile(QStringLiteral("/leagues/R&D.lge"));
        MakeWindow(work_);
        QCOMPARE(Action("mnuFileItem_6")->text(), QStringLiteral("/leagues/R&&D.lge"));
    }

    // The tool tips of all 48 boxes are checked with the Global Edit dialog, which takes them
    // from the same table; here the names, captions, layout and the tips that differ.
    void detailFieldsCarryTheirNamesCaptionsAndPlaces() {
        const char* codes[] = {"SP", "AG", "VT", "FA", "DU", "DI", "RE", "PM",
                               "AS", "TA", "SC", "AW", "BC", "BT", "VI", "CA",
                               "PB", "RB", "PR", "PD", "TK", "RD", "KA", "KD"};
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        QGroupBox* frame = window_->findChild<QGroupBox*>("Frame1");
        QVERIFY(frame);
        QCOMPARE(frame->title(), QStringLiteral("Ratings"));
        const auto x = [frame](QWidget* w) { return w->mapTo(frame, QPoint(0, 0)).x(); };
        const auto y = [frame](QWidget* w) { return w->mapTo(frame, QPoint(0, 0)).y(); };
        QLineEdit* previousActual = nullptr;
        QLineEdit* previousPotential = nullptr;
        for (int i = 0; i < 24; ++i) {
            const QByteArray code = codes[i];
            const bool vision = code == "VI"; // the old names: lblBI and txtp_VI
            QLabel* caption = Label(vision ? QByteArray("lblBI") : "lbl" + code);
            QLineEdit* actual = Box("txt" + code);
            QLineEdit* potential = Box((vision ? "txtp_" : "txtP_") + code);
            QVERIFY2(caption && actual && potential, code.constData());
            QCOMPARE(caption->text(), QString::fromLatin1(code + ":"));
            QCOMPARE(actual->text(), QStringLiteral("0"));
            QCOMPARE(potential->text(), QStringLiteral("0"));
            QVERIFY(frame->isAncestorOf(actual) && frame->isAncestorOf(potential));
            // Caption above actual above potential, in one column; columns left to right.
            QCOMPARE(x(actual), x(potential));
            QVERIFY(y(caption) < y(actual) && y(actual) < y(potential));
            if (i % 8 > 0) {
                QVERIFY(x(previousActual) < x(actual));
                QCOMPARE(y(previousActual), y(actual));
            } else if (i > 0) {
                QVERIFY(y(previousPotential) < y(caption));
            }
            previousActual = actual;
            previousPotential = potential;
        }
        QCOMPARE(Box("txtDI")->toolTip(), QStringLiteral("Actual Discipline"));
        QCOMPARE(Box("txtP_DI")->toolTip(), QStringLiteral("Potential Discipline"));
        QCOMPARE(Box("txtp_VI")->toolTip(), QStringLiteral("Potential Vision"));
        const std::map<std::string, QString> fixed = {
            {"lblFirstName", "First Name:"}, {"lblLastName", "Last Name:"},
            {"lblPosition", "Position:"},    {"lblYears", "Years:"},
            {"lblSlot", "Weight:"},          {"lblCollege", "College:"}};
        for (const auto& [name, text] : fixed)
            QCOMPARE(Label(name.c_str())->text(), text);
        QCOMPARE(Box("txtFirstName")->maxLength(), 15);
        QCOMPARE(Box("txtLastName")->maxLength(), 25);
    }

    void openShowsTheFreeAgentsAndTheirFirstPlayer() {
        WriteBytes(tavrel::BackupFilePath(demo_.leagueFile.string()), "an older backup");
        OpenDemo();
        QVERIFY2(log_->messages.isEmpty(), qPrintable(log_->messages.join('\n')));
        QCOMPARE(log_->fileTitle, QStringLiteral("Select League to Open"));
        QCOMPARE(log_->fileFilter, QStringLiteral("League Files (*.lge)"));
        QCOMPARE(ReadBytes(demo_.leagueFile.parent_path() / "Demo.sw$"), originalPlayers_);
        QCOMPARE(Panel("Panel1"), QPath(demo_.leagueFile));
        QCOMPARE(ReadLastFile(), QPath(demo_.leagueFile));
        QCOMPARE(Action("mnuFileItem_6")->text(), QString()); // still the one read at start-up
        QVERIFY(window_->IsLeagueOpen());

        // Teams: one entry per distinct name, "Free Agents" last with team 0, and shown.
        QComboBox* teams = Teams();
        QVERIFY(teams->count() > 1);
        QCOMPARE(teams->itemText(teams->count() - 1), QStringLiteral("Free Agents"));
        QCOMPARE(teams->itemData(teams->count() - 1).toInt(), 0);
        QCOMPARE(teams->currentText(), QStringLiteral("Free Agents"));
        QStringList names;
        for (int i = 0; i < teams->count(); ++i)
            names << teams->itemText(i);
        QCOMPARE(names.removeDuplicates(), 0);
        SQLite::Database db(WorkingDb().string(), SQLite::OPEN_READONLY);
        for (int i = 0; i + 1 < teams->count(); ++i) {
            SQLite::Statement q(db, "SELECT count(*) FROM Team WHERE TeamID = ?");
            q.bind(1, teams->itemData(i).toInt());
            QVERIFY(q.executeStep() && q.getColumn(0).getInt() >= 1);
        }

        // Players: the free agents, first one selected and shown in every field.
        QListWidget* players = Players();
        QVERIFY(players->count() > 0);
        QCOMPARE(players->currentRow(), 0);
        for (int i = 0; i < players->count(); ++i) {
            const std::size_t at = RecordOffset(originalPlayers_, PidOfItem(i));
            QVERIFY(at != std::string::npos);
            QCOMPARE(static_cast<int>(static_cast<unsigned char>(originalPlayers_[at + 4])), 0);
        }
        const tavrel::PlayerRow first =
            Decode(originalPlayers_, RecordOffset(originalPlayers_, PidOfItem(0)));
        QCOMPARE(players->item(0)->text(),
                 QString::fromStdString(tavrel::WithoutTrailingPadding(Text(first, "LastName")) +
                                        ", " +
                                        tavrel::WithoutTrailingPadding(Text(first, "FirstName")) +
                                        " - " + Text(first, "PositionTXT")));
        QCOMPARE(Box("txtLastName")->text().toStdString(),
                 tavrel::WithoutTrailingPadding(Text(first, "LastName")));
        QCOMPARE(Box("txtSP")->text().toLongLong(), Number(first, "Act_SP"));
        QCOMPARE(Box("txtP_KD")->text().toLongLong(), Number(first, "Pot_KD"));
        QCOMPARE(Box("txtp_VI")->text().toLongLong(), Number(first, "Pot_VI"));
        QCOMPARE(Label("lblPos")->text().toStdString(), Text(first, "PositionTXT"));
        QCOMPARE(Label("lblYRs")->text().toLongLong(), Number(first, "Years"));
        QCOMPARE(Label("lblSlotA")->text().toLongLong(), Number(first, "Weight"));
        QCOMPARE(Label("lblCollegeName")->text().toStdString(),
                 tavrel::WithoutTrailingPadding(Text(first, "College")));
        QCOMPARE(Panel("Panel2"), QStringLiteral("Free Agents: ") + players->item(0)->text());

        // The progress window came and went with the import's message.
        frmStatus* status = window_->findChild<frmStatus*>();
        QVERIFY(status && status->isHidden());
        QCOMPARE(status->findChild<QLabel*>("Label1")->text(),
                 QStringLiteral("Please Wait - Loading League"));
        QVERIFY(status->RepaintCount() <= 110);
        QVERIFY(!QApplication::overrideCursor());
    }

    void aTypedRatingReachesThePlayerFileAndNothingElseChanges() {
        OpenDemo();
        ChooseTeam(2);
        QCOMPARE(Panel("Panel2"), Teams()->itemText(2) + QStringLiteral(":"));
        QVERIFY(Players()->count() > 2);
        const int team = Teams()->itemData(2).toInt();
        for (int i = 0; i < Players()->count(); ++i)
            QCOMPARE(static_cast<int>(static_cast<unsigned char>(
                         originalPlayers_[RecordOffset(originalPlayers_, PidOfItem(i)) + 4])),
                     team);

        Players()->setCurrentRow(1);
        const int pid = PidOfItem(1);
        QCOMPARE(Panel("Panel2"), Teams()->currentText() + ": " + Players()->item(1)->text());
        const std::size_t at = RecordOffset(originalPlayers_, pid);
        const int before = static_cast<unsigned char>(originalPlayers_[at + kActualSpeed]);
        const int typed = before == 77 ? 78 : 77;
        Type("txtSP", QString::number(typed));
        QCOMPARE(Box("txtSP")->text(), QString::number(typed));
        QVERIFY(!window_->HasUnsavedChanges()); // still only in the box

        Players()->setCurrentRow(2);
        QVERIFY(window_->HasUnsavedChanges());
        Players()->setCurrentRow(1);
        QCOMPARE(Box("txtSP")->text(), QString::number(typed));

        Trigger("mnuFileItem_2");
        QVERIFY2(log_->messages.isEmpty(), qPrintable(log_->messages.join('\n')));
        QVERIFY(!window_->HasUnsavedChanges());
        std::string expected = originalPlayers_;
        expected[at + kActualSpeed] = static_cast<char>(typed);
        const std::string saved = ReadBytes(demo_.playerFile);
        QCOMPARE(saved.size(), expected.size());
        QVERIFY2(saved == expected, "only the typed byte may differ");
        QCOMPARE(window_->findChild<frmStatus*>()->findChild<QLabel*>("Label1")->text(),
                 QStringLiteral("Please Wait - Saving...."));
    }

    void aValueStillBeingTypedIsSavedAndNamesKeepTheirPadding() {
        OpenDemo();
        // A player whose first name is padded with NULs: his padding must survive.
        int row = -1;
        std::size_t at = 0;
        for (int i = 0; i < Players()->count() && row < 0; ++i) {
            at = RecordOffset(originalPlayers_, PidOfItem(i));
            if (originalPlayers_[at + 8 + 14] == '\0')
                row = i;
        }
        QVERIFY2(row >= 0, "the demo league pads some first names with NULs");
        Players()->setCurrentRow(row);
        Type("txtLastName", QStringLiteral("Ångström"));
        Type("txtP_FA", QStringLiteral("250"));
        Toolbar("Save"); // without leaving the row

        const std::string saved = ReadBytes(demo_.playerFile);
        QCOMPARE(saved.substr(at + 8, 15), originalPlayers_.substr(at + 8, 15));
        QCOMPARE(saved.substr(at + 23, 25),
                 std::string("\xC5ngstr\xF6m") + std::string(17, ' ')); // Windows-1252
        QCOMPARE(static_cast<int>(static_cast<unsigned char>(saved[at + 243 + 46])), 250);
        std::string rest = saved, restBefore = originalPlayers_;
        rest.replace(at + 23, 25, 25, 'x');
        restBefore.replace(at + 23, 25, 25, 'x');
        rest[at + 243 + 46] = restBefore[at + 243 + 46] = 0;
        QVERIFY(rest == restBefore);
    }

    void ratingsTakeWholeNumbersUpTo255AndNamesTheirWidth() {
        OpenDemo();
        const int pid = PidOfItem(0);
        const QString before = Box("txtAG")->text();
        Type("txtAG", QStringLiteral("300"));
        QCOMPARE(Box("txtAG")->text(), QStringLiteral("30"));
        Type("txtAG", QStringLiteral("-1x"));
        QVERIFY(!Box("txtAG")->text().contains('x'));
        QVERIFY(!Box("txtAG")->text().contains('-'));
        Type("txtAG", QString());
        Type("txtFirstName", QStringLiteral("Bartholomew-Maximilian"));
        QCOMPARE(Box("txtFirstName")->text().size(), 15);
        Type("txtLastName", QStringLiteral("名前"));
        QVERIFY(!Box("txtLastName")->text().contains(QStringLiteral("名")));
        Players()->setCurrentRow(1);
        Players()->setCurrentRow(0);
        QCOMPARE(PidOfItem(0), pid);
        QCOMPARE(Box("txtAG")->text(), before); // an empty box changes nothing
        QCOMPARE(Box("txtFirstName")->text(), QStringLiteral("Bartholomew-Max"));
    }

    void findListsOneLastNameExactlyAndSortingRebuildsTheList() {
        OpenDemo();
        // A last name that several players share, from the player file itself.
        std::map<std::string, QStringList> byLastName;
        for (std::size_t n = 0; kHeader + kRecord * (n + 1) <= originalPlayers_.size(); ++n) {
            const tavrel::PlayerRow row = Decode(originalPlayers_, kHeader + kRecord * n);
            byLastName[tavrel::WithoutTrailingPadding(Text(row, "LastName"))]
                << QString::fromStdString(tavrel::WithoutTrailingPadding(Text(row, "FirstName")));
        }
        const auto shared = std::max_element(
            byLastName.begin(), byLastName.end(),
            [](const auto& a, const auto& b) { return a.second.size() < b.second.size(); });
        QVERIFY(shared->second.size() >= 3);
        const QString lastName = QString::fromStdString(shared->first);

        ChooseTeam(1);
        const QString teamPanel = Panel("Panel2");
        log_->texts << lastName;
        Toolbar("Find");
        QCOMPARE(log_->textPrompt, QStringLiteral("Enter Players Last Name"));
        QCOMPARE(log_->textTitle, QStringLiteral("Find Player"));
        QCOMPARE(Players()->count(), shared->second.size());
        QStringList firstNames;
        for (int i = 0; i < Players()->count(); ++i) {
            QCOMPARE(LastNameOf(Players()->item(i)->text()), lastName);
            firstNames << Players()->item(i)->text().section(", ", 1).section(" - ", 0, 0);
        }
        for (int i = 1; i < firstNames.size(); ++i)
            QVERIFY(Folded(firstNames[i - 1]) <= Folded(firstNames[i]));
        QCOMPARE(Teams()->currentIndex(), 1); // the team choice stays

        log_->texts << lastName.toLower();
        Toolbar("Find");
        QCOMPARE(Players()->count(), 0);
        Toolbar("Find"); // cancelled: the search runs with the empty text
        QCOMPARE(Players()->count(), 0);
        QVERIFY(log_->messages.isEmpty());

        Toolbar("SortDec");
        QCOMPARE(Panel("Panel2"), teamPanel);
        const int count = Players()->count();
        QVERIFY(count > 2);
        for (int i = 1; i < count; ++i)
            QVERIFY(Folded(LastNameOf(Players()->item(i - 1)->text())) >=
                    Folded(LastNameOf(Players()->item(i)->text())));
        Toolbar("SortAc");
        QCOMPARE(Players()->count(), count);
        for (int i = 1; i < count; ++i)
            QVERIFY(Folded(LastNameOf(Players()->item(i - 1)->text())) <=
                    Folded(LastNameOf(Players()->item(i)->text())));
    }

    void aPlayerGoneFromTheTableIsNotFound() {
        OpenDemo();
        const QString shown = Box("txtLastName")->text();
        {
            SQLite::Database db(WorkingDb().string(), SQLite::OPEN_READWRITE);
            SQLite::Statement del(db, "DELETE FROM Players WHERE PID = ?");
            del.bind(1, PidOfItem(1));
            del.exec();
        }
        Players()->setCurrentRow(1);
        QCOMPARE(log_->messages, QStringList{" not found."});
        QCOMPARE(Box("txtLastName")->text(), shown);
    }

    void aCancelledOrFailedOpenKeepsTheLeagueShown() {
        OpenDemo();
        ChooseTeam(3);
        Players()->setCurrentRow(2);
        Type("txtSP", QStringLiteral("201"));
        const QString panel = Panel("Panel2");
        const int count = Players()->count();

        log_->answers << false; // do not save; then cancel the dialog
        Trigger("mnuFileItem_0");
        QCOMPARE(log_->questions, QStringList{"Would you like to SAVE your changes?"});
        QCOMPARE(Panel("Panel2"), panel);
        QCOMPARE(Players()->count(), count);
        QCOMPARE(Box("txtSP")->text(), QStringLiteral("201"));

        // A league whose player file is missing: the backup fails and nothing changes.
        QTemporaryDir other;
        const auto broken = PathOf(other, "Broken.lge");
        WriteBytes(broken, "TMS:");
        log_->answers << false;
        log_->files << QPath(broken);
        Trigger("mnuFileItem_0");
        QCOMPARE(log_->messages.size(), 1);
        QVERIFY2(log_->messages[0].contains("Broken.ply") &&
                     log_->messages[0].contains("Backing up the player file"),
                 qPrintable(log_->messages[0]));
        QCOMPARE(Panel("Panel1"), QPath(demo_.leagueFile));
        QCOMPARE(ReadLastFile(), QPath(demo_.leagueFile));
        QCOMPARE(Box("txtSP")->text(), QStringLiteral("201"));
        Players()->setCurrentRow(0);
        Players()->setCurrentRow(2);
        QCOMPARE(Box("txtSP")->text(), QStringLiteral("201"));
        QVERIFY(window_->HasUnsavedChanges());
    }

    void openingAgainAsksToSaveFirst() {
        OpenDemo();
        const std::size_t at = RecordOffset(originalPlayers_, PidOfItem(0));
        const int stored = static_cast<unsigned char>(originalPlayers_[at + kActualSpeed]);
        const QString typed = QString::number(stored ^ 1);
        const auto savedSpeed = [&] {
            return static_cast<int>(
                static_cast<unsigned char>(ReadBytes(demo_.playerFile)[at + kActualSpeed]));
        };

        Type("txtSP", typed);
        log_->answers << false; // No: the edit goes with the old working database
        OpenDemo();
        QCOMPARE(log_->questions.size(), 1);
        QVERIFY(ReadBytes(demo_.playerFile) == originalPlayers_);
        QCOMPARE(Box("txtSP")->text().toInt(), stored);

        Type("txtSP", typed);
        log_->answers << true; // Yes: saved before the league is read again
        OpenDemo();
        QCOMPARE(log_->questions.size(), 2);
        QCOMPARE(savedSpeed(), stored ^ 1);
        QCOMPARE(Box("txtSP")->text(), typed); // read back from the saved file

        // A later run offers the league to reopen; reopening asks the same question.
        const auto work2 = PathOf(*dir_, "work2");
        std::filesystem::create_directories(work2);
        window_.reset();
        MakeWindow(work2);
        QCOMPARE(Action("mnuFileItem_6")->text(), QPath(demo_.leagueFile));
        Trigger("mnuFileItem_6");
        QVERIFY2(log_->messages.isEmpty(), qPrintable(log_->messages.join('\n')));
        QCOMPARE(Panel("Panel1"), QPath(demo_.leagueFile));
        QCOMPARE(log_->questions.size(), 2); // nothing was changed yet
        Type("txtSP", QString::number(stored));
        log_->answers << true;
        Trigger("mnuFileItem_6");
        QCOMPARE(log_->questions.size(), 3);
        QCOMPARE(savedSpeed(), stored);
        QCOMPARE(ReadLastFile(), QPath(demo_.leagueFile));
    }

    void reopenWithNothingToReopenChangesNothing() {
        Trigger("mnuFileItem_6");
        QCOMPARE(log_->messages.size(), 1);
        QVERIFY(!window_->IsLeagueOpen());

        WriteLastFile(QPath(PathOf(*dir_, "gone.lge")));
        MakeWindow(work_);
        log_->messages.clear();
        Trigger("mnuFileItem_6");
        QCOMPARE(log_->messages.size(), 1);
        QVERIFY(log_->messages[0].contains("gone.lge"));
        QVERIFY(!window_->IsLeagueOpen());
        QCOMPARE(Panel("Panel1"), QStringLiteral("League: "));
        QVERIFY(!std::filesystem::exists(WorkingDb()));
    }

    void withNoLeagueOpenSaveAndExitHaveNothingToDo() {
        Trigger("mnuFileItem_2");
        Toolbar("SortDec");
        log_->texts << "Smith";
        Toolbar("Find");
        QVERIFY(log_->messages.isEmpty());
        QCOMPARE(Players()->count(), 0);

        QSignalSpy ended(window_.get(), &frmMain::Ended);
        log_->answers << true;
        Trigger("mnuFileItem_4");
        QCOMPARE(ended.count(), 1);
        QVERIFY(log_->messages.isEmpty());
        QVERIFY(!std::filesystem::exists(WorkingDb()));
    }

    void exitOrCloseWhoseSaveFailsKeepsTheProgramOpen() {
        OpenDemo();
        {
            // A value the player file cannot hold, put there behind the window's back.
            SQLite::Database db(WorkingDb().string(), SQLite::OPEN_READWRITE);
            db.exec("UPDATE Players SET Act_AG = 300 WHERE rowid = 3");
        }
        window_->PlayersChangedElsewhere();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        QSignalSpy ended(window_.get(), &frmMain::Ended);
        log_->answers << true;
        Trigger("mnuFileItem_4");
        QCOMPARE(ended.count(), 0);
        QVERIFY(window_->isVisible());
        QCOMPARE(log_->messages.size(), 1);
        QVERIFY2(log_->messages[0].contains("Demo.ply"), qPrintable(log_->messages[0]));

        log_->answers << true;
        QVERIFY(!window_->close());
        QCOMPARE(ended.count(), 0);
        QCOMPARE(log_->messages.size(), 2);
        QVERIFY(ReadBytes(demo_.playerFile) == originalPlayers_);

        log_->answers << false; // No: the program ends without writing
        QVERIFY(window_->close());
        QCOMPARE(ended.count(), 1);
        QVERIFY(ReadBytes(demo_.playerFile) == originalPlayers_);
    }

    void closeWithYesSavesTheEdits() {
        OpenDemo();
        const std::size_t at = RecordOffset(originalPlayers_, PidOfItem(0));
        Type("txtP_SP", QStringLiteral("255"));
        log_->answers << true;
        QVERIFY(window_->close());
        QCOMPARE(
            static_cast<int>(static_cast<unsigned char>(ReadBytes(demo_.playerFile)[at + 243])),
            255);
    }

    void aSecondCopyLeavesTheFirstCopysWorkingDatabaseAlone() {
        OpenDemo();
        const std::string workingDb = ReadBytes(WorkingDb());
        auto secondLog = std::make_shared<PromptLog>();
        frmMain second(work_, std::make_unique<FakePrompts>(secondLog));
        secondLog->files << QPath(demo_.leagueFile);
        second.findChild<QAction*>("mnuFileItem_0")->trigger();
        QCOMPARE(secondLog->messages.size(), 1);
        QVERIFY2(secondLog->messages[0].contains("already open in another copy"),
                 qPrintable(secondLog->messages[0]));
        QVERIFY(!second.IsLeagueOpen());
        QVERIFY(ReadBytes(WorkingDb()) == workingDb);
        Players()->setCurrentRow(1); // the first copy goes on as before
        QVERIFY(log_->messages.isEmpty());
    }

    void changesMadeElsewhereShowAndCountAsUnsaved() {
        OpenDemo();
        Players()->setCurrentRow(3);
        const int pid = PidOfItem(3);
        {
            SQLite::Database db(WorkingDb().string(), SQLite::OPEN_READWRITE);
            SQLite::Statement update(db, "UPDATE Players SET Act_TK = 3 WHERE PID = ?");
            update.bind(1, pid);
            update.exec();
        }
        QVERIFY(!window_->HasUnsavedChanges());
        window_->PlayersChangedElsewhere();
        QCOMPARE(Box("txtTK")->text(), QStringLiteral("3"));
        QCOMPARE(Players()->currentRow(), 3);
        QVERIFY(window_->HasUnsavedChanges());
    }

    void viewTogglesShowAndHideTheBars() {
        QToolBar* toolbar = window_->findChild<QToolBar*>("Toolbar1");
        Trigger("mnuViewItem_0");
        QVERIFY(toolbar->isHidden());
        QVERIFY(!Action("mnuViewItem_0")->isChecked());
        Trigger("mnuViewItem_0");
        QVERIFY(!toolbar->isHidden());
        QVERIFY(Action("mnuViewItem_0")->isChecked());
        Trigger("mnuViewItem_1");
        QVERIFY(window_->statusBar()->isHidden());
        Trigger("mnuViewItem_1");
        QVERIFY(!window_->statusBar()->isHidden());
    }

    void printSaysWhereTheRostersWentAndGlobalEditTakesTheTypedValue() {
        QVERIFY(!Action("btnPrint")->isEnabled()); // no league to print
        OpenDemo();
        Toolbar("Print");
        QVERIFY2(log_->messages.isEmpty(), qPrintable(log_->messages.join('\n')));
        QVERIFY(window_->statusBar()->currentMessage().contains(QPath(work_)));
        QVERIFY(std::filesystem::exists(work_ / "Free Agents.txt"));

        Type("txtKD", QStringLiteral("11"));
        Toolbar("GlobalEdit");
        SQLite::Database db(WorkingDb().string(), SQLite::OPEN_READONLY);
        SQLite::Statement q(db, "SELECT Act_KD FROM Players WHERE PID = ?");
        q.bind(1, PidOfItem(0));
        QVERIFY(q.executeStep());
        QCOMPARE(q.getColumn(0).getInt(), 11);
        QVERIFY(window_->HasUnsavedChanges());
    }
};

TAVREL_GUI_TEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
