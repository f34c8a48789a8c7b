// The editor window end to end on a demo league: form edits and a Global Edit as steps of the
// undo history, undo and redo, the saved state and the player file's bytes at each step, and a
// new history with each league opened.
#include "GuiTestSupport.h"

#include <QLocale>
#include <QMenu>
#include <QUndoStack>

using namespace guitest;

class EditorWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowSession> s_;

    // Types into a box of the form and commits it with Enter, as a user would.
    void Enter(const char* box, const QString& text) {
        QLineEdit* edit = s_->Box(box);
        s_->window->activateWindow(); // the progress window may have taken the focus
        QVERIFY(QTest::qWaitForWindowActive(s_->window.get()));
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    QVariant Stored(int pid, const char* column) const {
        return guitest::Stored(s_->WorkingDb(), column, "WHERE PID = " + std::to_string(pid));
    }
    // What the menu shows, without the access key's mark.
    QString UndoText() const { return s_->Action("actUndo")->iconText(); }
    std::string Saved() {
        s_->Trigger("mnuFileItem_2");
        return FileContent(s_->demo.playerFile);
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void init() {
        s_ = std::make_unique<MainWindowSession>();
        s_->window->show();
        QVERIFY(QTest::qWaitForWindowActive(s_->window.get()));
    }

    void cleanup() { s_.reset(); }

    void editsAndAGlobalEditAreStepsThatUndoAndRedoToTheSavedBytes() {
        s_->OpenDemo();
        QUndoStack* history = s_->window->History();
        QVERIFY(!s_->Action("actUndo")->isEnabled() && !s_->Action("actRedo")->isEnabled());
        const int pid = s_->PidOfItem(0);
        const QVariant speed = Stored(pid, "Act_SP");
        const QVariant agility = Stored(pid, "Pot_AG");

        Enter("txtSP", QStringLiteral("77"));
        QCOMPARE(QApplication::focusWidget(), s_->Box("txtAG")); // Enter moves to the next box
        Enter("txtP_AG", QStringLiteral("78"));
        QCOMPARE(history->count(), 2); // one step per field, none for the opening
        QVERIFY(UndoText().startsWith(QStringLiteral("Undo Change Potential Agility of ")));
        // Ctrl+Z and Ctrl+Y reach the history from a box that holds no typing of its own.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(history->index(), 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(history->index(), 2);
        QCOMPARE(Stored(pid, "Act_SP"), QVariant(77));
        QVERIFY(s_->window->HasUnsavedChanges() && s_->window->isWindowModified());

        s_->GlobalEditSpeed("mnuComItem_6", {0, 3}, "10"); // QB and WR
        QCOMPARE(history->count(), 3);
        QCOMPARE(UndoText(), QStringLiteral("Undo Global Edit of QB, WR"));
        const std::string edited = Saved();
        QVERIFY(edited != s_->original);
        QVERIFY(!s_->window->HasUnsavedChanges() && !s_->window->isWindowModified());

        // Undo after the save marks the league changed; redo back to it marks it saved.
        s_->Trigger("actUndo");
        QVERIFY(s_->window->HasUnsavedChanges() && s_->window->isWindowModified());
        QCOMPARE(s_->Action("actRedo")->iconText(), QStringLiteral("Redo Global Edit of QB, WR"));
        s_->Trigger("actRedo");
        QVERIFY(!s_->window->HasUnsavedChanges() && !s_->window->isWindowModified());

        s_->Trigger("actUndo");
        s_->Trigger("actUndo");
        QCOMPARE(s_->Box("txtP_AG")->text(), agility.toString());
        QCOMPARE(Stored(pid, "Act_SP"), QVariant(77));
        s_->Trigger("actUndo");
        QCOMPARE(Stored(pid, "Act_SP"), speed);
        QCOMPARE(s_->Box("txtSP")->text(), speed.toString());
        QVERIFY(!s_->Action("actUndo")->isEnabled());
        QVERIFY(Saved() == s_->original); // byte for byte the league as it came

        for (int i = 0; i < 3; ++i)
            s_->Trigger("actRedo");
        QVERIFY(s_->window->HasUnsavedChanges());
        QVERIFY(Saved() == edited);
        QVERIFY(s_->log->messages.isEmpty());
    }

    void anotherLeagueStartsANewHistoryAndTheSaveQuestionFollowsTheSavedState() {
        s_->OpenDemo();
        Enter("txtSP", QStringLiteral("12"));
        s_->Trigger("actUndo"); // back at the state opened: nothing to ask
        QVERIFY(!s_->window->HasUnsavedChanges());
        s_->OpenDemo();
        QVERIFY(s_->log->questions.isEmpty());
        Enter("txtSP", QStringLiteral("13"));
        s_->Box("txtAG")->setText(QStringLiteral("14"));             // typed, not kept yet
        emit s_->window->findChild<QMenu*>("mnuCom")->aboutToShow(); // Edit, before its Undo
        QCOMPARE(s_->window->History()->count(), 2);
        s_->log->answers << false; // do not save
        s_->OpenDemo();
        QCOMPARE(s_->log->questions.size(), 1);
        QCOMPARE(s_->window->History()->count(), 0);
        QVERIFY(!s_->window->isWindowModified());
        QVERIFY(!s_->Action("actUndo")->isEnabled());
        QVERIFY(FileContent(s_->demo.playerFile) == s_->original);
    }
};

TAVREL_GUI_TEST(EditorWindowTest)
#include "EditorWindowTest.moc"
