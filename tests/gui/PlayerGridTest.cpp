// The player grid in the main window on a demo league: edits, fills and pastes as single undo
// steps, refused blocks changing nothing, and the saved file; the name columns kept in view; the
// column sets.
#include "ui/grid/PlayerGrid.h"

#include "GuiTestSupport.h"
#include "grid/GridColumns.h"
#include "ui/grid/ColumnSetMenu.h"
#include "ui/grid/FilterHeader.h"
#include "ui/main/PlayerBrowser.h"

#include <QClipboard>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <QUndoStack>

using namespace guitest;
using namespace tavrel::grid;

class PlayerGridTest : public QObject, public SessionWithGrid {
    Q_OBJECT

    const int kSpeed = ActualGridColumn(0);
    const int kSpeedPotential = PotentialGridColumn(0);
    const int kKickDistance = ActualGridColumn(*tavrel::RatingIndex("KD"));
    QString Shown(int row, int column) const { return Cell(row, column).data().toString(); }
    QString Message() const { return s_->window->statusBar()->currentMessage(); }
    int Steps() const { return s_->window->History()->index(); }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void init() {
        s_ = std::make_unique<MainWindowSession>();
        s_->window->show();
        QVERIFY(s_->window->OpenLeagueFromCommandLine(QPath(s_->demo.leagueFile)));
        s_->Trigger("mnuViewPlayerGrid");
        QCoreApplication::processEvents();
    }

    void cleanup() { s_.reset(); }

    void editFillAndPasteAreOneUndoStepEachRefusedBlocksChangeNothingAndSavesOnlyTheirBytes() {
        const std::int64_t rows[] = {RowId(0), RowId(1), RowId(2)};
        const auto block = [&] { // speed and agility of the first three rows
            QVariantList values;
            for (const std::int64_t row : rows)
                for (const char* column : {"Act_SP", "Pot_SP"})
                    values << Stored(s_->WorkingDb(), column,
                                     "WHERE rowid = " + std::to_string(row));
            return values;
        };
        const QVariantList before = block();
        const auto changed = [&](std::initializer_list<std::pair<int, int>> cells) {
            QVariantList values = before;
            for (const auto& [at, value] : cells)
                values[at] = value;
            return values;
        };
        const int steps = Steps();

        // One cell.
        QVERIFY(Model()->setData(Cell(0, kSpeed), QStringLiteral("77")));
        QCOMPARE(block(), changed({{0, 77}}));
        QCOMPARE(Shown(0, kSpeed), QStringLiteral("77"));
        QCOMPARE(Steps(), steps + 1);
        // The form names the same edit alike.
        const QString step = QStringLiteral("Change Actual Speed of %1 %2")
                                 .arg(Shown(0, kFirstNameColumn), Shown(0, kLastNameColumn))
                                 .trimmed();
        QCOMPARE(s_->window->History()->undoText(), step);
        s_->window->History()->undo();
        QVERIFY(s_->window->Browser().ShowPlayerOfRowId(rows[0]));
        s_->Box("txtSP")->setText(QStringLiteral("77"));
        s_->window->CommitPendingEdit();
        QCOMPARE(s_->window->History()->undoText(), step);
        QCOMPARE(Steps(), steps + 1);
        QVERIFY(!Model()->setData(Cell(0, kSpeed), QStringLiteral("300")));
        QVERIFY(Message().contains(
            QStringLiteral("Actual Speed must be a whole number from 0 to 255")));
        QVERIFY(!Model()->setData(Cell(0, kPidColumn), QStringLiteral("5")));
        QCOMPARE(block(), changed({{0, 77}}));
        QCOMPARE(Steps(), steps + 1);
        s_->window->History()->undo();
        QCOMPARE(block(), before);
        QCoreApplication::processEvents();
        QCOMPARE(Shown(0, kSpeed), before[0].toString());

        // Fill: type into the current cell, then Ctrl+Enter; the read-only PID cell in the
        // selection is passed over.
        Select(0, kPidColumn, 2, kSpeed);
        Grid()->View()->selectionModel()->setCurrentIndex(Cell(0, kSpeed),
                                                          QItemSelectionModel::NoUpdate);
        Grid()->View()->edit(Cell(0, kSpeed));
        auto* editor = Grid()->View()->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setText(QStringLiteral("66"));
        QTest::keyClick(editor, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(Steps(), steps + 1);
        QCOMPARE(block(), changed({{0, 66}, {2, 66}, {4, 66}}));
        s_->window->History()->undo();
        QCOMPARE(block(), before);

        // Paste a block, the header row a copy carries included; it counts the cells it changed.
        Select(0, kSpeed, 0, kSpeed);
        Grid()->PasteIntoSelection(
            QStringLiteral("SP\tSP pot.\r\n1\t2\r\n3\t%1\r\n").arg(before[3].toString()));
        QCOMPARE(block(), changed({{0, 1}, {1, 2}, {2, 3}}));
        QCOMPARE(Steps(), steps + 1);
        QCOMPARE(s_->window->History()->undoText(), QStringLiteral("Paste 3 cells"));
        s_->window->History()->undo();
        QCOMPARE(block(), before);

        // A block with one bad cell changes nothing and says which.
        Select(0, kSpeed, 0, kSpeed);
        Grid()->PasteIntoSelection(QStringLiteral("9\t999\n9\tx\n"));
        QCOMPARE(block(), before);
        QCOMPARE(Steps(), steps);
        QVERIFY(
            Message().contains(QStringLiteral("SP pot.: Potential Speed must be a whole number")));
        // Copy and paste back onto the same cells is no change at all.
        Select(0, kTeamColumn, 3, kSpeed);
        QTest::keyClick(Grid()->View(), Qt::Key_C, Qt::ControlModifier);
        const QString copied = QApplication::clipboard()->text();
        QVERIFY(copied.startsWith(QStringLiteral("Team\tPID\tLast Name\t")));
        Grid()->PasteIntoSelection(copied);
        QCOMPARE(Steps(), steps);
        QVERIFY(Message().startsWith(QStringLiteral("Nothing was changed")));

        // The save changes the edited bytes only; table order is file order.
        QVERIFY(Model()->setData(Cell(0, kSpeed), QStringLiteral("201")));
        QVERIFY(Model()->setData(Cell(0, kLastNameColumn), QStringLiteral("Zoë")));
        s_->Trigger("mnuFileItem_2");
        const std::size_t record =
            tavrel::kPlayerFileHeaderSize + tavrel::kPlayerRecordSize * std::size_t(rows[0] - 1);
        std::string expected = s_->original;
        expected[record + 175] = static_cast<char>(201);
        expected.replace(record + 23, 25, "Zo\xEB" + std::string(22, ' '));
        QVERIFY(FileContent(s_->demo.playerFile) == expected);
    }

    // The pane over the left edge shows the name columns and follows the grid: scrolling both
    // ways, the current row and the selection, sorting from its captions, its filter boxes, the
    // arrow keys across its edge and editing in it.
    void theNameColumnsStayInViewAndFollowTheGrid() {
        FrozenTableView* view = Grid()->View();
        QTableView* pane = view->Pane();
        QVERIFY(pane->isVisible());
        for (int c = 0; c < kGridColumnCount; ++c)
            QCOMPARE(pane->isColumnHidden(c), !IsNameColumn(c));
        const int last = Model()->rowCount() - 1;
        view->scrollTo(Cell(last, kGridColumnCount - 1));
        QVERIFY(view->horizontalScrollBar()->value() > 0);
        QVERIFY(view->verticalScrollBar()->value() > 0);
        QCOMPARE(pane->verticalScrollBar()->value(), view->verticalScrollBar()->value());
        QCOMPARE(pane->rowViewportPosition(last), view->rowViewportPosition(last));
        QCOMPARE(pane->columnViewportPosition(kTeamColumn), 0);
        QCOMPARE(pane->x(), view->viewport()->x());
        QCOMPARE(pane->width(), view->FrozenWidth());
        // The pane's columns are the view's, in width too, both ways.
        QVERIFY(view->columnWidth(kPidColumn) < view->columnWidth(kLastNameColumn));
        for (const int c : view->FrozenColumns())
            QCOMPARE(pane->columnWidth(c), view->columnWidth(c));
        pane->horizontalHeader()->resizeSection(kLastNameColumn, 150);
        QCOMPARE(view->columnWidth(kLastNameColumn), 150);
        QCOMPARE(pane->width(), view->FrozenWidth());
        // A cell scrolled to beside the pane comes out from under it.
        view->scrollTo(Cell(0, kPositionColumn));
        QCOMPARE(view->columnViewportPosition(kPositionColumn), view->FrozenWidth());

        Select(5, kSpeed, 6, kSpeed);
        QCOMPARE(pane->currentIndex(), Cell(5, kSpeed));
        QVERIFY(pane->selectionModel()->isSelected(Cell(6, kSpeed)));
        pane->selectionModel()->select(Cell(7, kLastNameColumn), QItemSelectionModel::Select);
        QVERIFY(view->selectionModel()->isSelected(Cell(7, kLastNameColumn)));

        // Sorting from the pane's captions, the second key with Shift; the player stays current.
        const std::int64_t chosen = RowId(5);
        QHeaderView* captions = pane->horizontalHeader();
        const auto click = [&](int column, Qt::KeyboardModifiers keys) {
            QTest::mouseClick(captions->viewport(), Qt::LeftButton, keys,
                              QPoint(captions->sectionViewportPosition(column) + 4, 4));
            QCoreApplication::processEvents();
        };
        click(kTeamColumn, {});
        click(kLastNameColumn, Qt::ShiftModifier);
        QCOMPARE(Model()->SortKeys().size(), std::size_t(2));
        QCOMPARE(Model()->SortKeys()[1].column, kLastNameColumn);
        QCOMPARE(captions->sortIndicatorSection(), kTeamColumn);
        QCOMPARE(view->horizontalHeader()->sortIndicatorSection(), kTeamColumn);
        QCOMPARE(RowId(view->currentIndex().row()), chosen);
        QCOMPARE(pane->currentIndex(), view->currentIndex());

        // Its filter boxes are the grid's.
        QLineEdit* box = Grid()->FrozenFilters()->Box(kTeamColumn);
        const QString team = Shown(0, kTeamColumn);
        box->setText(QStringLiteral("=") + team);
        QCOMPARE(Grid()->Filters()->Box(kTeamColumn)->text(), box->text());
        QVERIFY(Model()->rowCount() < last + 1);
        for (int row = 0; row < Model()->rowCount(); ++row)
            QCOMPARE(Shown(row, kTeamColumn), team);
        Grid()->Filters()->Box(kTeamColumn)->setText(QString());
        QCOMPARE(box->text(), QString());
        QCOMPARE(Model()->rowCount(), last + 1);

        // Left from the first column beside the pane goes into it, and the focus with it; right
        // comes back. Typing in the pane edits the cell there.
        s_->window->activateWindow();
        view->setFocus();
        view->setCurrentIndex(Cell(2, kPositionColumn));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(view));
        QTest::keyClick(view, Qt::Key_Left);
        QCOMPARE(view->currentIndex(), Cell(2, kFirstNameColumn));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(pane));
        QTest::keyClick(pane, Qt::Key_Right);
        QCOMPARE(view->currentIndex(), Cell(2, kPositionColumn));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(view));
        QTest::keyClick(view, Qt::Key_Left);
        QTest::keyClick(pane, Qt::Key_Left);
        QCOMPARE(view->currentIndex(), Cell(2, kLastNameColumn));
        const std::int64_t rowId = RowId(2);
        QTest::keyClick(pane, 'Z');
        auto* editor = pane->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        QTest::keyClicks(editor, QStringLiteral("ed"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // Enter stores the editor's text once events run
        QCOMPARE(Stored(s_->WorkingDb(), "LastName", "WHERE rowid = " + std::to_string(rowId))
                     .toString()
                     .trimmed(),
                 QStringLiteral("Zed"));
    }

    // Column sets: chosen, ticked, dragged and saved per league; a block copied from reordered
    // columns pastes back onto the same columns.
    void columnSetsShowHideAndReorderColumnsAndAreKeptPerLeague() {
        ColumnSetMenu* columns = Grid()->Columns();
        FrozenTableView* view = Grid()->View();
        QHeaderView* header = view->horizontalHeader();
        QVERIFY(columns->Choose(QStringLiteral("Actual only")));
        QCOMPARE(columns->ShownColumns(),
                 FindColumnSet(BuiltInColumnSets(), "Actual only")->columns);
        QVERIFY(view->isColumnHidden(kSpeedPotential));
        QVERIFY(!columns->Choose(QStringLiteral("No such set")));

        // A tick in the menu hides a name column, in the pane too.
        emit columns->aboutToShow();
        QAction* pid = nullptr;
        for (QAction* action : columns->actions())
            if (action->text() == QStringLiteral("PID"))
                pid = action;
        QVERIFY(pid && pid->isChecked());
        pid->trigger();
        QVERIFY(view->isColumnHidden(kPidColumn));
        QVERIFY(view->Pane()->isColumnHidden(kPidColumn));
        QCOMPARE(view->FrozenColumns(),
                 (QList<int>{kTeamColumn, kLastNameColumn, kFirstNameColumn}));
        // A player chosen elsewhere is shown in a column that shows.
        columns->Apply(WithColumn(columns->ShownColumns(), kTeamColumn, false));
        view->selectionModel()->clear();
        Grid()->SetCurrentPlayer(RowId(3));
        QCOMPARE(view->currentIndex(), Cell(3, kLastNameColumn));
        columns->Apply(WithColumn(columns->ShownColumns(), kTeamColumn, true));
        QCOMPARE(view->FrozenColumns(),
                 (QList<int>{kTeamColumn, kLastNameColumn, kFirstNameColumn}));

        // Dragged captions: a rating dragged before the names goes behind them; kick distance
        // before speed.
        header->moveSection(header->visualIndex(kSpeed), 0);
        QCOMPARE(columns->ShownColumns()[3], kSpeed);
        header->moveSection(header->visualIndex(kKickDistance), header->visualIndex(kSpeed));
        const std::vector<int> shown = columns->ShownColumns();
        QCOMPARE(shown.front(), kTeamColumn);
        QCOMPARE(shown[3], kKickDistance);
        QCOMPARE(shown[4], kSpeed);
        QCOMPARE(shown[5], kPositionColumn);
        QVERIFY(columns->SaveShownAs(QStringLiteral(" Kicking ")));
        QVERIFY(!columns->SaveShownAs(QStringLiteral("All")));
        QVERIFY(Message().contains(QStringLiteral("built-in")));

        // Another league has the built-in arrangement and none of these sets; back in the first,
        // both are there again. Filters an older build kept by position land on their columns.
        QSettings settings(QSettings::UserScope, QCoreApplication::applicationName());
        settings.beginGroup(QStringLiteral("PlayerGrid"));
        QCOMPARE(settings.childGroups().size(), 1);
        settings.beginGroup(settings.childGroups().front());
        settings.remove(QStringLiteral("ColumnFilters"));
        QStringList former(56);
        former[32] = QStringLiteral(">50"); // the potential speed stood there
        settings.setValue(QStringLiteral("Filters"), former);
        settings.sync();
        const tavrel::DemoLeagueFiles other = tavrel::WriteDemoLeague(PathOf(s_->dir, "other"));
        s_->Open(other.leagueFile);
        QCOMPARE(columns->ShownColumns(), BuiltInColumnSets().front().columns);
        QVERIFY(columns->SavedSets().empty());
        QCOMPARE(Grid()->Filters()->Box(kSpeedPotential)->text(), QString());
        s_->OpenDemo();
        QCOMPARE(Grid()->Filters()->Box(kSpeedPotential)->text(), QStringLiteral(">50"));
        QCOMPARE(Grid()->FrozenFilters()->Box(kSpeedPotential)->text(), QStringLiteral(">50"));
        QCoreApplication::processEvents(); // the players are read again
        QVERIFY(Model()->rowCount() > 0);
        for (int row = 0; row < Model()->rowCount(); ++row)
            QVERIFY(Shown(row, kSpeedPotential).toInt() > 50);
        Grid()->Filters()->Box(kSpeedPotential)->clear();
        QCOMPARE(columns->ShownColumns(), shown);
        QCOMPARE(columns->SavedSets().size(), std::size_t(1));
        QCOMPARE(columns->SavedSets().front().name, std::string("Kicking"));
        QVERIFY(columns->Choose(QStringLiteral("All")));
        QVERIFY(columns->Choose(QStringLiteral("Kicking")));
        QCOMPARE(columns->ShownColumns(), shown);

        // Copied across the moved columns (kick distance, speed) and pasted a row lower.
        QVERIFY(Model()->setData(Cell(0, kKickDistance), QStringLiteral("201")));
        QVERIFY(Model()->setData(Cell(0, kSpeed), QStringLiteral("202")));
        const std::string below = "WHERE rowid = " + std::to_string(RowId(1));
        Select(0, kKickDistance, 0, kKickDistance); // the two cells side by side, as a drag selects
        view->selectionModel()->select(Cell(0, kSpeed), QItemSelectionModel::Select);
        Grid()->CopySelection();
        const QString copied = QApplication::clipboard()->text();
        QCOMPARE(copied, QStringLiteral("KD\tSP\n201\t202\n"));
        Select(1, kKickDistance, 1, kKickDistance);
        Grid()->PasteIntoSelection(copied);
        QCOMPARE(Stored(s_->WorkingDb(), "Act_KD", below), QVariant(201));
        QCOMPARE(Stored(s_->WorkingDb(), "Act_SP", below), QVariant(202));
    }
};

TAVREL_GUI_TEST(PlayerGridTest)
#include "PlayerGridTest.moc"
