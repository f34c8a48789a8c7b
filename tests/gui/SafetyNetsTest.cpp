// The window's safety nets on a demo league: File > Restore Backup... and crash recovery.
#include "GuiTestSupport.h"
#include "safety/LeagueBackups.h"
#include "safety/LeagueLock.h"
#include "ui/main/RestoreBackupDialog.h"

#include <QTableWidget>
#include <QTimer>
#include <QUndoStack>
#include <functional>

using namespace guitest;

class SafetyNetsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowSession> s_;

    // Types a rating into the first player's box and stores it.
    void EditFirstPlayer(const char* box, int value) {
        s_->Players()->setCurrentRow(0);
        s_->Box(box)->setText(QString::number(value));
        s_->window->CommitPendingEdit();
        QVERIFY(s_->window->HasUnsavedChanges());
    }
    // Runs `answer` on the Restore Backup dialog once it shows, then chooses File > Restore.
    void RestoreThroughDialog(const std::function<void(RestoreBackupDialog&)>& answer) {
        bool shown = false;
        QTimer::singleShot(0, s_->window.get(), [&] {
            auto* dialog = s_->window->findChild<RestoreBackupDialog*>();
            QVERIFY(dialog && dialog->isVisible());
            shown = true;
            answer(*dialog);
        });
        s_->Action("mnuFileItem_8")->trigger();
        QVERIFY(shown);
    }

private slots:
    void init() {
        s_ = std::make_unique<MainWindowSession>();
        qputenv("TAVREL_BACKUP_DIR", (s_->dir.path() + "/backups").toUtf8());
    }

    void cleanup() { s_.reset(); }

    void aRestoredBackupIsSavedBackByteForByte() {
        s_->OpenDemo();
        EditFirstPlayer("txtSP", 11);
        s_->Action("mnuFileItem_2")->trigger(); // keeps the original as the first backup
        EditFirstPlayer("txtAG", 12);
        s_->Action("mnuFileItem_2")->trigger();
        const std::string saved = FileContent(s_->demo.playerFile);
        QVERIFY2(s_->log->messages.isEmpty(), qPrintable(s_->log->messages.join('\n')));

        QStringList differing;
        RestoreThroughDialog([&](RestoreBackupDialog& dialog) {
            QTableWidget* table = dialog.Table();
            for (int r = 0; r < table->rowCount(); ++r)
                differing << table->item(r, 2)->text();
            QCOMPARE(table->item(1, 1)->text(),
                     QLocale().toString(qulonglong(s_->original.size())) + " bytes");
            QCOMPARE(dialog.ChosenRow(), 0);
            table->selectRow(1); // the older: the original
            dialog.accept();
        });
        QCOMPARE(differing, (QStringList{"1", "1"})); // two backups: one player, edited twice
        QVERIFY(s_->window->HasUnsavedChanges());
        QVERIFY(s_->OriginSaysUnsaved());
        QVERIFY(FileContent(s_->demo.playerFile) == saved); // until the next save
        // Of the same shape as the league: one step of the history.
        QVERIFY2(s_->window->History()->undoText().startsWith("Restore Backup of "),
                 qPrintable(s_->window->History()->undoText()));
        s_->window->History()->undo();
        QVERIFY(!s_->window->HasUnsavedChanges() && !s_->OriginSaysUnsaved());
        s_->window->History()->redo();
        s_->Action("mnuFileItem_2")->trigger();
        QVERIFY(FileContent(s_->demo.playerFile) == s_->original);
        QVERIFY(!s_->window->HasUnsavedChanges());

        // A backup of another shape: header, bytes no column holds and one record fewer.
        std::string other = s_->original.substr(0, s_->original.size() - tavrel::kPlayerRecordSize);
        other[3] = '\x7f';
        other[tavrel::kPlayerFileHeaderSize + 2 * tavrel::kPlayerRecordSize + 300] ^= 0x55;
        const auto backups = tavrel::LeagueBackupsFolder(s_->demo.leagueFile);
        WriteFileContent(backups / "20200101-000000-000.ply", other); // the folder is there
        RestoreThroughDialog([](RestoreBackupDialog& dialog) {
            const int last = dialog.Table()->rowCount() - 1;
            QCOMPARE(dialog.Table()->item(last, 0)->text().left(4), QStringLiteral("2020"));
            dialog.Table()->selectRow(last);
            dialog.accept();
        });
        QCOMPARE(s_->window->History()->count(), 0); // imported whole: a new history
        QVERIFY(s_->window->HasUnsavedChanges());
        s_->Action("mnuFileItem_2")->trigger();
        QVERIFY(FileContent(s_->demo.playerFile) == other);

        RestoreThroughDialog([](RestoreBackupDialog& dialog) { dialog.reject(); });
        QVERIFY(!s_->window->HasUnsavedChanges());
        QVERIFY2(s_->log->messages.isEmpty(), qPrintable(s_->log->messages.join('\n')));
    }

    void unsavedChangesLeftByACrashAreOfferedOnlyOntoTheSamePlayerFile_data() {
        QTest::addColumn<bool>("changePlayerFile");
        QTest::addColumn<bool>("lockHeld");              // by another program when the answer comes
        QTest::addColumn<std::optional<bool>>("answer"); // nothing: Esc, asked again next time
        QTest::newRow("recovered") << false << false << std::optional<bool>(true);
        QTest::newRow("discarded") << false << false << std::optional<bool>(false);
        QTest::newRow("kept for the next start") << false << false << std::optional<bool>();
        QTest::newRow("yes with the league held: kept")
            << false << true << std::optional<bool>(true);
        QTest::newRow("esc with the league held: kept") << false << true << std::optional<bool>();
        QTest::newRow("player file changed since") << true << false << std::optional<bool>();
    }

    void unsavedChangesLeftByACrashAreOfferedOnlyOntoTheSamePlayerFile() {
        QFETCH(bool, changePlayerFile);
        QFETCH(bool, lockHeld);
        QFETCH(std::optional<bool>, answer);
        s_->OpenDemo();
        EditFirstPlayer("txtKD", 3);
        s_->window.reset(); // the crash: nothing saved, the working database left as it is
        QVERIFY(s_->OriginSaysUnsaved());
        if (changePlayerFile) {
            std::string changed = s_->original;
            changed[20] ^= 1;
            WriteFileContent(s_->demo.playerFile, changed);
        }

        s_->MakeWindow();
        std::optional<tavrel::LeagueLock> other;
        if (lockHeld)
            QVERIFY(other.emplace(s_->demo.leagueFile, "tavrel-cli").TryLock());
        if (!changePlayerFile)
            s_->log->answers << answer;
        s_->window->OfferCrashRecovery();
        QCOMPARE(s_->log->questions.size(), changePlayerFile ? 0 : 1);
        const bool toldWhyNot = changePlayerFile || (lockHeld && answer == true);
        QCOMPARE(s_->log->messages.size(), toldWhyNot ? 1 : 0);
        const bool recovered = answer == true && !lockHeld;
        QCOMPARE(s_->window->IsLeagueOpen(), recovered);
        const bool keptForLater = !recovered && answer != false && !changePlayerFile;
        QCOMPARE(s_->OriginSaysUnsaved(), recovered || keptForLater);
        if (recovered) {
            QVERIFY(s_->window->HasUnsavedChanges() && !s_->window->IsReadOnly());
            QCOMPARE(s_->Box("txtKD")->text(), QStringLiteral("3"));
            QVERIFY(FileContent(s_->demo.playerFile) == s_->original);
            s_->Action("mnuFileItem_2")->trigger();
            QVERIFY2(s_->log->messages.isEmpty(), qPrintable(s_->log->messages.join('\n')));
            std::string expected = s_->original;
            expected[RecordOffset(expected, s_->PidOfItem(0)) + 175 + 10] = 3; // actual KD
            QVERIFY(FileContent(s_->demo.playerFile) == expected);
        }
        // Asked, or told, once.
        other.reset();
        s_->MakeWindow();
        const int questions = static_cast<int>(s_->log->questions.size());
        if (keptForLater)
            s_->log->answers << false;
        s_->window->OfferCrashRecovery();
        QCOMPARE(s_->log->questions.size() - questions, keptForLater ? 1 : 0);
        QCOMPARE(s_->log->messages.size(), toldWhyNot ? 1 : 0);
    }

    void leftOverChangesAreAskedForAgainBeforeAnOpenWouldReplaceThem() {
        s_->OpenDemo();
        EditFirstPlayer("txtKD", 3);
        s_->window.reset(); // the crash
        s_->MakeWindow();
        s_->log->answers << std::nullopt; // Esc at start
        s_->window->OfferCrashRecovery();
        QVERIFY(!s_->window->IsLeagueOpen() && s_->OriginSaysUnsaved());

        // An Open would import over them: asked first, and Esc keeps them and stops the Open.
        s_->log->answers << std::nullopt;
        s_->OpenDemo();
        QCOMPARE(s_->log->questions.size(), 2);
        QVERIFY(s_->log->questions[1].contains("Would you like to recover them?"));
        QVERIFY(!s_->window->IsLeagueOpen() && s_->OriginSaysUnsaved());
        // Yes takes them up instead of the Open.
        s_->log->answers << true;
        s_->OpenDemo();
        QVERIFY(s_->window->IsLeagueOpen() && s_->window->HasUnsavedChanges());
        QCOMPARE(s_->Box("txtKD")->text(), QStringLiteral("3"));
        QVERIFY2(s_->log->messages.isEmpty(), qPrintable(s_->log->messages.join('\n')));
        // No more left over: the next Open asks only to save them.
        s_->log->answers << false; // not saved
        s_->OpenDemo();
        QCOMPARE(s_->log->questions.size(), 4);
        QVERIFY(s_->log->questions[3].contains("SAVE"));
        QVERIFY2(s_->log->messages.isEmpty(), qPrintable(s_->log->messages.join('\n')));
        QVERIFY(!s_->window->HasUnsavedChanges());
        QVERIFY(!s_->OriginSaysUnsaved());
    }
};

TAVREL_GUI_TEST(SafetyNetsTest)
#include "SafetyNetsTest.moc"
