// The window's safety nets on a demo league: File > Restore Backup... and crash recovery.
#include "GuiTestSupport.h"
#include "league/LeagueBackups.h"
#include "league/LeagueOrigin.h"
#include "league/PlayerRecord.h"
#include "ui/main/RestoreBackupDialog.h"
#include "ui/main/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <functional>

using namespace guitest;
namespace fs = std::filesystem;

namespace {


// Where two files of one length differ.
std::vector<std::size_t> DifferingBytes(const std::string& a, const std::string& b) {
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i])
            at.push_back(i);
    return at;
}

bool OriginSaysUnsaved(const fs::path& workingDb) {
    const std::optional<tavrel::LeagueOrigin> origin = tavrel::ReadLeagueOrigin(workingDb);
    return origin && origin->unsavedChanges;
}

} // namespace

class SafetyNetsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::shared_ptr<PromptLog> log_;
    std::unique_ptr<frmMain> window_;
    tavrel::DemoLeagueFiles demo_;
    fs::path work_;
    std::string original_;

    frmMain& MakeWindow() {
        window_ = std::make_unique<frmMain>(work_, std::make_unique<FakePrompts>(log_));
        return *window_;
    }
    QAction* Action(const char* name) const { return window_->findChild<QAction*>(name); }
    void OpenDemo() {
        log_->files << QPath(demo_.leagueFile);
        Action("mnuFileItem_0")->trigger();
    }
    QLineEdit* Box(const char* name) const { return window_->findChild<QLineEdit*>(name); }
    QListWidget* Players() const { return window_->findChild<QListWidget*>("lstPlayers"); }
    // Types a rating into the first player's box and stores it.
    void EditFirstPlayer(const char* box, int value) {
        Players()->setCurrentRow(0);
        Box(box)->setText(QString::number(value));
        window_->CommitPendingEdit();
        QVERIFY(window_->HasUnsavedChanges());
    }
    fs::path WorkingDb() const { return work_ / "Tavrel.tmp"; }
    // Runs `answer` on the Restore Backup dialog once it shows, then chooses File > Restore.
    void RestoreThroughDialog(const std::function<void(RestoreBackupDialog&)>& answer) {
        bool shown = false;
        QTimer::singleShot(0, window_.get(), [&] {
            auto* dialog = window_->findChild<RestoreBackupDialog*>();
            QVERIFY(dialog && dialog->isVisible());
            shown = true;
            answer(*dialog);
        });
        Action("mnuFileItem_8")->trigger();
        QVERIFY(shown);
    }
    void PutBackup(const char* name, const std::string& bytes) {
        const fs::path folder = tavrel::LeagueBackupsFolder(demo_.leagueFile);
        fs::create_directories(folder);
        WriteBytes(folder / name, bytes);
    }

private slots:
    void init() {
        ClearProgramSettings();
        dir_ = std::make_unique<QTemporaryDir>();
        qputenv("TAVREL_BACKUP_DIR", (dir_->path() + "/backups").toUtf8());
        log_ = std::make_shared<PromptLog>();
        demo_ = tavrel::WriteDemoLeague(PathOf(*dir_, "league"));
        work_ = PathOf(*dir_, "work");
        fs::create_directories(work_);
        original_ = ReadBytes(demo_.playerFile);
        MakeWindow();
    }

    void cleanup() {
        window_.reset();
        QCOMPARE(log_->unexpectedQuestions, 0);
        dir_.reset();
    }

    void aRestoredBackupIsSavedBackByteForByte() {
        OpenDemo();
        EditFirstPlayer("txtSP", 11);
        Action("mnuFileItem_2")->trigger(); // keeps the original as the first backup
        const std::string afterFirstSave = ReadBytes(demo_.playerFile);
        EditFirstPlayer("txtAG", 12);
        Action("mnuFileItem_2")->trigger();
        QVERIFY2(log_->messages.isEmpty(), qPrintable(log_->messages.join('\n')));
        QCOMPARE(tavrel::ListLeagueBackups(demo_.leagueFile).size(), std::size_t(2));

        QStringList differing;
        RestoreThroughDialog([&](RestoreBackupDialog& dialog) {
            QTableWidget* table = dialog.Table();
            for (int r = 0; r < table->rowCount(); ++r)
                differing << table->item(r, 2)->text();
            QCOMPARE(table->item(1, 1)->text(),
                     QLocale().toString(qulonglong(original_.size())) + " bytes");
            QCOMPARE(dialog.ChosenRow(), 0);
            table->selectRow(1); // the older: the original
            dialog.accept();
        });
        QCOMPARE(differing, (QStringList{"1", "1"})); // one player, edited twice
        QVERIFY(window_->HasUnsavedChanges());
        QVERIFY(OriginSaysUnsaved(WorkingDb()));
        QCOMPARE(ReadBytes(demo_.playerFile).size(), afterFirstSave.size());
        // Of the same shape as the league: one step of the history.
        QVERIFY2(window_->History()->undoText().startsWith("Restore Backup of "),
                 qPrintable(window_->History()->undoText()));
        window_->History()->undo();
        QVERIFY(!window_->HasUnsavedChanges() && !OriginSaysUnsaved(WorkingDb()));
        window_->History()->redo();
        Action("mnuFileItem_2")->trigger();
        QVERIFY(ReadBytes(demo_.playerFile) == original_);
        QVERIFY(!window_->HasUnsavedChanges());

        // A backup of another shape: header, bytes no column holds and one record fewer.
        std::string other = original_.substr(0, original_.size() - tavrel::kPlayerRecordSize);
        other[3] = '\x7f';
        other[tavrel::kPlayerFileHeaderSize + 2 * tavrel::kPlayerRecordSize + 300] ^= 0x55;
        PutBackup("20200101-000000-000.ply", other);
        RestoreThroughDialog([](RestoreBackupDialog& dialog) {
            const int last = dialog.Table()->rowCount() - 1;
            QCOMPARE(dialog.Table()->item(last, 0)->text().left(4), QStringLiteral("2020"));
            dialog.Table()->selectRow(last);
            dialog.accept();
        });
        QCOMPARE(window_->History()->count(), 0); // imported whole: a new history
        QVERIFY(window_->HasUnsavedChanges());
        Action("mnuFileItem_2")->trigger();
        QVERIFY(ReadBytes(demo_.playerFile) == other);

        RestoreThroughDialog([](RestoreBackupDialog& dialog) { dialog.reject(); });
        QVERIFY(!window_->HasUnsavedChanges());
        QVERIFY2(log_->messages.isEmpty(), qPrintable(log_->messages.join('\n')));
    }

    void unsavedChangesLeftByACrashAreOfferedOnlyOntoTheSamePlayerFile() {
        struct Case {
            const char* name;
            bool changePlayerFile;
            std::optional<bool> answer;
        };
        const Case cases[] = {{"recovered", false, true},
                              {"discarded", false, false},
                              {"kept for the next start", false, std::nullopt},
                              {"player file changed since", true, std::nullopt}};
        for (const Case& c : cases) {
            init();
            OpenDemo();
            EditFirstPlayer("txtKD", 3);
            window_.reset(); // the crash: nothing saved, the working database left as it is
            QVERIFY(OriginSaysUnsaved(WorkingDb()));
            if (c.changePlayerFile) {
                std::string changed = original_;
                changed[20] ^= 1;
                WriteBytes(demo_.playerFile, changed);
            }

            MakeWindow();
            if (!c.changePlayerFile)
                log_->answers << c.answer;
            window_->OfferCrashRecovery();
            QCOMPARE(log_->questions.size(), c.changePlayerFile ? 0 : 1);
            QCOMPARE(log_->messages.size(), c.changePlayerFile ? 1 : 0);
            const bool recovered = c.answer == true;
            QVERIFY2(window_->IsLeagueOpen() == recovered, c.name);
            const bool keptForLater = !c.answer && !c.changePlayerFile;
            QVERIFY2(OriginSaysUnsaved(WorkingDb()) == (recovered || keptForLater), c.name);
            if (recovered) {
                QVERIFY(window_->HasUnsavedChanges() && !window_->IsReadOnly());
                QCOMPARE(Box("txtKD")->text(), QStringLiteral("3"));
                QVERIFY(ReadBytes(demo_.playerFile) == original_);
                Action("mnuFileItem_2")->trigger();
                QVERIFY2(log_->messages.isEmpty(), qPrintable(log_->messages.join('\n')));
                QCOMPARE(DifferingBytes(ReadBytes(demo_.playerFile), original_).size(),
                         std::size_t(1));
            }
            // Asked, or told, once.
            MakeWindow();
            const int questions = static_cast<int>(log_->questions.size());
            if (keptForLater)
                log_->answers << false;
            window_->OfferCrashRecovery();
            QCOMPARE(log_->questions.size() - questions, keptForLater ? 1 : 0);
            QCOMPARE(log_->messages.size(), c.changePlayerFile ? 1 : 0);
            cleanup();
        }
    }

    void aRestoreLeftUnsavedByACrashIsRecoveredOntoTheBackupsRecords() {
        std::string other = original_.substr(0, original_.size() - tavrel::kPlayerRecordSize);
        other[5] = '\x42';
        other[tavrel::kPlayerFileHeaderSize + 310] ^= 0x33;
        PutBackup("20200101-000000-000.ply", other);
        OpenDemo();
        RestoreThroughDialog([](RestoreBackupDialog& dialog) { dialog.accept(); });
        window_.reset();

        MakeWindow();
        log_->answers << true;
        window_->OfferCrashRecovery();
        QVERIFY(window_->HasUnsavedChanges());
        Action("mnuFileItem_2")->trigger();
        QVERIFY2(log_->messages.isEmpty(), qPrintable(log_->messages.join('\n')));
        QVERIFY(ReadBytes(demo_.playerFile) == other);
    }
};

TAVREL_GUI_TEST_MAIN(SafetyNetsTest)
#include "SafetyNetsTest.moc"
