#pragma once

#include "TestFiles.h"
#include "demo/DemoLeague.h"
#include "fileformat/PlayerRecord.h"
#include "safety/LeagueOrigin.h"
#include "session/LeagueSession.h"
#include "ui/common/UserPrompts.h"
#include "ui/global/frmGlobal.h"
#include "ui/grid/PlayerGrid.h"
#include "ui/main/PlayerDetailFields.h"
#include "ui/main/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QVariant>
#include <QtEndian>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace guitest {

using tavrel::testing::FileContent;
using tavrel::testing::WriteFileContent;

// Answers the main window's questions from queues the test fills, and keeps what it was asked.
struct PromptLog {
    QStringList files; // answers to the file dialogs; none left means Cancel
    // Answers to the yes/no questions; none left is a test failure. Nothing is Esc, which only
    // the save question takes.
    QList<std::optional<bool>> answers;
    QStringList questions;
    QStringList messages;
    QString fileFilter;
    int unexpectedQuestions = 0;
};

class FakePrompts : public UserPrompts {
public:
    explicit FakePrompts(std::shared_ptr<PromptLog> log) : log_(std::move(log)) {}

    QString ChooseFileToOpen(QWidget*, const QString&, const QString& filter) override {
        log_->fileFilter = filter;
        return log_->files.isEmpty() ? QString() : log_->files.takeFirst();
    }
    bool AskYesNo(QWidget* parent, const QString& question) override {
        const std::optional<bool> answer = AskYesNoOrCancel(parent, question);
        log_->unexpectedQuestions += !answer; // only the save question takes Esc
        return answer.value_or(false);
    }
    std::optional<bool> AskYesNoOrCancel(QWidget*, const QString& question) override {
        log_->questions << question;
        log_->unexpectedQuestions += log_->answers.isEmpty();
        return log_->answers.isEmpty() ? false : log_->answers.takeFirst();
    }
    QString AskText(QWidget*, const QString&, const QString&) override { return {}; }
    void ShowMessage(QWidget*, const QString& text) override { log_->messages << text; }

private:
    std::shared_ptr<PromptLog> log_;
};

// One stored value of the Players table, `where` choosing the row: a number, a text or null.
inline QVariant Stored(const std::filesystem::path& db, const std::string& column,
                       const std::string& where) {
    SQLite::Database d(db.string(), SQLite::OPEN_READONLY);
    SQLite::Statement q(d, "SELECT " + column + " FROM Players " + where);
    if (!q.executeStep() || q.getColumn(0).isNull())
        return {};
    const SQLite::Column c = q.getColumn(0);
    return c.isInteger() ? QVariant(qlonglong(c.getInt64()))
                         : QVariant(QString::fromStdString(c.getString()));
}

// Where the record of the player with this PID starts in a player file; npos when none has it.
inline std::size_t RecordOffset(const std::string& file, int pid) {
    for (std::size_t at = tavrel::kPlayerFileHeaderSize;
         at + tavrel::kPlayerRecordSize <= file.size(); at += tavrel::kPlayerRecordSize)
        if (qFromLittleEndian<qint16>(file.data() + at) == pid)
            return at;
    return std::string::npos;
}

inline std::filesystem::path PathOf(const QTemporaryDir& dir, const char* name) {
    return std::filesystem::path(dir.path().toStdString()) / name;
}

inline QString QPath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

// A main window working in a folder of its own, next to a demo league, with prompts the test
// answers and settings emptied (the test's main points the settings store at a folder of its
// own). Made afresh for every test function; at its end no question may have gone unanswered.
struct MainWindowSession {
    QTemporaryDir dir;
    std::shared_ptr<PromptLog> log = std::make_shared<PromptLog>();
    tavrel::DemoLeagueFiles demo = tavrel::WriteDemoLeague(PathOf(dir, "league"));
    std::string original = FileContent(demo.playerFile);
    std::filesystem::path work = PathOf(dir, "work");
    std::unique_ptr<frmMain> window;

    MainWindowSession() {
        QSettings(QSettings::UserScope, QCoreApplication::applicationName()).clear();
        std::filesystem::create_directories(work);
        MakeWindow();
    }
    ~MainWindowSession() {
        window.reset();
        QCOMPARE(log->unexpectedQuestions, 0);
    }
    void MakeWindow() {
        window = std::make_unique<frmMain>(work, std::make_unique<FakePrompts>(log));
    }
    template <typename T> T* Find(const char* name) const { return window->findChild<T*>(name); }
    QAction* Action(const char* name) const { return Find<QAction>(name); }
    void Trigger(const char* name) {
        QAction* action = Action(name);
        QVERIFY2(action && action->isEnabled(), name);
        action->trigger();
    }
    QLineEdit* Box(const char* name) const {
        return window->findChild<PlayerDetailFields*>()->findChild<QLineEdit*>(name);
    }
    QListWidget* Players() const { return Find<QListWidget>("lstPlayers"); }
    int PidOfItem(int row) const { return Players()->item(row)->data(Qt::UserRole).toInt(); }
    void Open(const std::filesystem::path& leagueFile) {
        log->files << QPath(leagueFile);
        Trigger("mnuFileItem_0");
    }
    void OpenDemo() { Open(demo.leagueFile); }
    // Global Edit, opened by `command`, of the positions (their check boxes' indexes): `percent`
    // on the actual speed.
    void GlobalEditSpeed(const char* command, std::initializer_list<int> positions,
                         const char* percent) {
        Trigger(command);
        auto* dialog = window->findChild<tavrel::frmGlobal*>();
        QVERIFY(dialog);
        for (const int position : positions)
            dialog->chkPosition(position)->setChecked(true);
        dialog->findChild<QLineEdit*>("txtSP")->setText(percent);
        QTest::mouseClick(dialog->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        dialog->hide();
    }
    // The open league's working database; the demo's own when none is open.
    std::filesystem::path WorkingDb() const {
        const std::filesystem::path open = window ? window->WorkingDatabase() : "";
        return open.empty() ? tavrel::WorkingDatabaseFor(work, demo.leagueFile) : open;
    }
    // What the working database tells a later start: edits left unsaved.
    bool OriginSaysUnsaved() const {
        const auto origin = tavrel::ReadLeagueOrigin(WorkingDb());
        return origin && origin->unsavedChanges;
    }
};

// A test class's session, and the player grid of its window by the rows it shows.
struct SessionWithGrid {
    std::unique_ptr<MainWindowSession> s_;

    PlayerGrid* Grid() const { return s_->window->findChild<PlayerGrid*>(); }
    PlayerGridModel* Model() const { return Grid()->Model(); }
    QModelIndex Cell(int row, int column) const { return Model()->index(row, column); }
    std::int64_t RowId(int viewRow) const {
        return Model()->Table().RowId(Model()->TableRow(viewRow));
    }
    // The grid's current player, by rowid; none when no row is current.
    std::optional<std::int64_t> GridPlayer() const {
        const QModelIndex current = Grid()->View()->currentIndex();
        return current.isValid() ? std::optional(RowId(current.row())) : std::nullopt;
    }
    // The block from (top, left) to (bottom, right) selected, its first cell current.
    void Select(int top, int left, int bottom, int right) {
        QCoreApplication::processEvents(); // the view catches up with the last change first
        Grid()->View()->setCurrentIndex(Cell(top, left));
        Grid()->View()->selectionModel()->select(
            QItemSelection(Cell(top, left), Cell(bottom, right)),
            QItemSelectionModel::ClearAndSelect);
    }
};

} // namespace guitest

namespace guitest {

// The GUI tests are one program: each Qt Test class registers itself, and the program runs the
// class its first argument names (GuiTestMain.cpp), so every class still gets a process and a
// settings folder of its own.
using TestFactory = std::unique_ptr<QObject> (*)();
bool RegisterTest(const char* name, TestFactory make);

} // namespace guitest

#define TAVREL_GUI_TEST(TestClass)                                                                 \
    static const bool registered##TestClass =                                                      \
        guitest::RegisterTest(#TestClass, [] { return std::unique_ptr<QObject>(new TestClass); });
