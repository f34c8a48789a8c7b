// The player grid in the main window on a demo league: edits, fills and pastes as single undo
// steps, refused blocks changing nothing, and the saved file.
#include "ui/grid/PlayerGrid.h"

#include "GuiTestSupport.h"
#include "grid/GridColumns.h"

#include <QClipboard>
#include <QStatusBar>
#include <QUndoStack>

using namespace guitest;
using namespace tavrel::grid;

class PlayerGridTest : public QObject {
    Q_OBJECT

    static constexpr int kSpeed = kFirstActualColumn;
    std::unique_ptr<MainWindowSession> s_;
    PlayerGrid* Grid() const { return s_->window->findChild<PlayerGrid*>(); }
    PlayerGridModel* Model() const { return Grid()->Model(); }
    QModelIndex Cell(int row, int column) const { return Model()->index(row, column); }
    QString Shown(int row, int column) const { return Cell(row, column).data().toString(); }
    std::int64_t RowId(int viewRow) const {
        return Model()->Table().RowId(Model()->TableRow(viewRow));
    }
    void Select(int top, int left, int bottom, int right) {
        QCoreApplication::processEvents(); // the view catches up with the last change first
        Grid()->View()->setCurrentIndex(Cell(top, left));
        Grid()->View()->selectionModel()->select(
            QItemSelection(Cell(top, left), Cell(bottom, right)),
            QItemSelectionModel::ClearAndSelect);
    }
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
                for (const char* column : {"Act_SP", "Act_AG"})
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

        // Paste a block, the header row a copy carries included.
        Select(0, kSpeed, 0, kSpeed);
        Grid()->PasteIntoSelection(QStringLiteral("SP\tAG\r\n1\t2\r\n3\t4\r\n"));
        QCOMPARE(block(), changed({{0, 1}, {1, 2}, {2, 3}, {3, 4}}));
        QCOMPARE(Steps(), steps + 1);
        s_->window->History()->undo();
        QCOMPARE(block(), before);

        // A block with one bad cell changes nothing and says which.
        Select(0, kSpeed, 0, kSpeed);
        Grid()->PasteIntoSelection(QStringLiteral("9\t999\n9\tx\n"));
        QCOMPARE(block(), before);
        QCOMPARE(Steps(), steps);
        QVERIFY(Message().contains(QStringLiteral("AG: Actual Agility must be a whole number")));
        // Copy and paste back onto the same cells is no change at all.
        Select(0, kTeamColumn, 3, kSpeed);
        QTest::keyClick(Grid()->View(), Qt::Key_C, Qt::ControlModifier);
        const QString copied = QApplication::clipboard()->text();
        QVERIFY(copied.startsWith(QStringLiteral("Team\tPID\tLast Name\t")));
        Grid()->PasteIntoSelection(copied);
        QCOMPARE(Steps(), steps);

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
};

TAVREL_GUI_TEST(PlayerGridTest)
#include "PlayerGridTest.moc"
