#include "ui/grid/PlayerGrid.h"

#include "ui/common/Counted.h"
#include "ui/grid/ColumnSetMenu.h"
#include "ui/grid/FilterHeader.h"
#include "ui/grid/PlayerGridDelegate.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QSettings>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

using namespace tavrel::grid;

namespace {

constexpr int kNameChars = 14;
constexpr int kRatingChars = 6;

} // namespace

PlayerGrid::PlayerGrid(QWidget* parent)
    : QDockWidget(QStringLiteral("Player Grid"), parent), model_(new PlayerGridModel(this)),
      view_(new FrozenTableView), scope_(new QComboBox), count_(new QLabel) {
    setObjectName("dockPlayerGrid");
    view_->setObjectName("gridPlayers");
    scope_->setObjectName("cboGridScope");
    count_->setObjectName("lblGridCount");
    header_ = new FilterHeader(view_);
    frozenHeader_ = new FilterHeader(view_->Pane());
    view_->setHorizontalHeader(header_);
    view_->Pane()->setHorizontalHeader(frozenHeader_);
    header_->SetColumnCount(kGridColumnCount);
    frozenHeader_->SetColumnCount(kGridColumnCount);
    frozenHeader_->FollowBoxesOf(header_);
    view_->setModel(model_);
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    for (QTableView* v : {static_cast<QTableView*>(view_), view_->Pane()}) {
        // A delegate of its own: a view takes every editor its delegate closes as its own.
        auto* delegate = new PlayerGridDelegate(v);
        connect(delegate, &PlayerGridDelegate::fillRequested, this, &PlayerGrid::FillSelection);
        v->setItemDelegate(delegate);
        v->setSelectionBehavior(QAbstractItemView::SelectItems);
        v->setSelectionMode(QAbstractItemView::ExtendedSelection);
        v->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
        v->installEventFilter(this);
    }
    const int charWidth = view_->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (int c = 0; c < kGridColumnCount; ++c) {
        const GridColumn& column = GridColumns()[static_cast<std::size_t>(c)];
        const int chars = column.kind == GridColumnKind::Number ? kRatingChars : kNameChars;
        header_->resizeSection(c, charWidth * chars + 12);
    }
    columns_ = new ColumnSetMenu(view_, header_, this);
    columns_->Apply(BuiltInColumnSets().front().columns);
    columnsButton_ = new QToolButton;
    columnsButton_->setObjectName("btnGridColumns");
    columnsButton_->setText(QStringLiteral("Columns"));
    columnsButton_->setToolTip(QStringLiteral("Choose, arrange and save the columns shown"));
    columnsButton_->setMenu(columns_);
    columnsButton_->setPopupMode(QToolButton::InstantPopup);

    auto* body = new QWidget(this);
    auto* top = new QHBoxLayout;
    auto* show = new QLabel(QStringLiteral("Show:"), body);
    show->setBuddy(scope_);
    top->addWidget(show);
    top->addWidget(scope_);
    top->addWidget(columnsButton_);
    top->addStretch(1);
    top->addWidget(count_);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(view_, 1);
    setWidget(body);
    FillScopeChoice();
    ShowCount();

    for (FilterHeader* header : {header_, frozenHeader_}) {
        header->setSortIndicatorShown(true);
        header->setSectionsMovable(true);
        // A click on a caption sorts. A table view also selects the column on it, which makes
        // the top visible row current and so would choose another player: not here.
        QTableView* owner = header == header_ ? view_ : view_->Pane();
        disconnect(header, SIGNAL(sectionPressed(int)), owner, SLOT(selectColumn(int)));
        disconnect(header, SIGNAL(sectionEntered(int)), owner, SLOT(_q_selectColumn(int)));
        connect(header, &QHeaderView::sectionClicked, this, &PlayerGrid::SortClicked);
        header->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(header, &QWidget::customContextMenuRequested, this,
                [this, header](const QPoint& at) { columns_->popup(header->mapToGlobal(at)); });
    }
    connect(header_, &FilterHeader::filterEdited, this, [this](int column, const QString& text) {
        const std::optional<QString> problem = model_->SetFilterText(column, text);
        header_->SetProblem(column, problem.value_or(QString()));
        SaveSettings();
    });
    connect(columns_, &ColumnSetMenu::changed, this, &PlayerGrid::SaveSettings);
    connect(columns_, &ColumnSetMenu::message, this, &PlayerGrid::message);
    connect(scope_, &QComboBox::activated, this, [this] {
        model_->SetScope(scope_->currentData().toInt());
        SaveSettings();
    });
    connect(model_, &PlayerGridModel::rowsRebuilt, this, &PlayerGrid::ShowCount);
    // A filter, a choice of players or new values rebuild the rows: the player stays current
    // when they still show him.
    connect(model_, &PlayerGridModel::rowsRebuilt, this, &PlayerGrid::ShowCurrentPlayer);
    connect(model_, &PlayerGridModel::refused, this, &PlayerGrid::message);
    connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { CurrentRowChanged(current); });
}

void PlayerGrid::SetPrompts(UserPrompts* prompts) {
    columns_->SetPrompts(prompts);
}

std::vector<int> PlayerGrid::ShownColumns() const {
    return columns_->ShownColumns();
}

void PlayerGrid::SetLeague(const QString& leagueFile, const std::filesystem::path& workingDb) {
    if (leagueFile == leagueFile_ && workingDb == workingDb_) {
        PlayersChanged();
        return;
    }
    leagueFile_ = leagueFile;
    workingDb_ = workingDb;
    RestoreSettings();
    PlayersChanged();
}

void PlayerGrid::PlayersChanged() {
    stale_ = true;
    if (!isVisible() || reloadQueued_)
        return;
    reloadQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        reloadQueued_ = false;
        if (stale_ && isVisible())
            Reload();
    });
}

void PlayerGrid::showEvent(QShowEvent* event) {
    QDockWidget::showEvent(event);
    if (stale_)
        Reload();
}

void PlayerGrid::Reload() {
    stale_ = false;
    if (workingDb_.empty())
        return;
    const QModelIndex current = view_->currentIndex();
    const std::int64_t currentRowId =
        current.isValid() ? model_->Table().RowId(model_->TableRow(current.row())) : -1;
    const std::vector<std::int64_t> selected = SelectedCells();
    try {
        model_->Load(workingDb_);
    } catch (const std::exception& e) {
        emit message(QString::fromStdString(e.what()));
        model_->Clear();
    }
    FillScopeChoice();
    SelectCells(selected, currentRowId, current.column());
}

void PlayerGrid::FillScopeChoice() {
    const int chosen = model_->Scope();
    scope_->clear();
    scope_->addItem(QStringLiteral("Whole League"), PlayerGridModel::kWholeLeague);
    std::vector<GridTable::Team> teams = model_->Table().Teams();
    QCollator collator;
    std::stable_sort(teams.begin(), teams.end(), [&](const auto& a, const auto& b) {
        return collator.compare(QString::fromStdString(a.name), QString::fromStdString(b.name)) < 0;
    });
    QStringList teamNames;
    for (const GridTable::Team& team : teams) {
        scope_->addItem(QString::fromStdString(team.name), team.id);
        teamNames << QString::fromStdString(team.name);
    }
    const QString freeAgents = QString::fromStdString(model_->Table().TeamName(0));
    scope_->addItem(freeAgents, 0);
    teamNames << freeAgents;
    for (QTableView* v : {static_cast<QTableView*>(view_), view_->Pane()})
        static_cast<PlayerGridDelegate*>(v->itemDelegate())->teamNames = teamNames;
    const int at = scope_->findData(chosen);
    scope_->setCurrentIndex(at < 0 ? 0 : at);
    if (at < 0 && chosen != PlayerGridModel::kWholeLeague)
        model_->SetScope(PlayerGridModel::kWholeLeague);
}

void PlayerGrid::ShowCount() {
    const QLocale locale;
    count_->setText(
        QStringLiteral("%1 of %2 players")
            .arg(locale.toString(model_->rowCount()), locale.toString(model_->TotalPlayers())));
    const auto& keys = model_->SortKeys();
    for (FilterHeader* header : {header_, frozenHeader_}) {
        if (keys.empty())
            header->setSortIndicator(-1, Qt::AscendingOrder);
        else
            header->setSortIndicator(keys.front().column, keys.front().descending
                                                              ? Qt::DescendingOrder
                                                              : Qt::AscendingOrder);
    }
}

// Filters and the choice of players, per league, in the program's settings.
namespace {
QString LeagueGroup(const QString& leagueFile) {
    return QStringLiteral("PlayerGrid/") +
           QString::fromLatin1(
               QCryptographicHash::hash(leagueFile.toUtf8(), QCryptographicHash::Sha1).toHex());
}
QSettings ProgramSettings() {
    return QSettings(QSettings::UserScope, QCoreApplication::applicationName());
}
} // namespace

// Filters are kept by the name of their column, so they stay on it whatever order the grid gives
// its columns; those kept by position, as older builds did, are read once.
void PlayerGrid::SaveSettings() const {
    if (leagueFile_.isEmpty())
        return;
    QSettings settings = ProgramSettings();
    settings.beginGroup(LeagueGroup(leagueFile_));
    QStringList filters;
    for (int c = 0; c < kGridColumnCount; ++c)
        if (const QString text = header_->Box(c)->text(); !text.isEmpty())
            filters << QString::fromLatin1(ColumnKey(c).data(), qsizetype(ColumnKey(c).size())) +
                           QLatin1Char('=') + text;
    settings.setValue(QStringLiteral("ColumnFilters"), filters);
    settings.remove(QStringLiteral("Filters"));
    settings.setValue(QStringLiteral("Scope"), model_->Scope());
    settings.setValue(QStringLiteral("Columns"),
                      QString::fromStdString(ColumnsToText(columns_->ShownColumns())));
    settings.setValue(QStringLiteral("ColumnSets"),
                      QString::fromStdString(ColumnSetsToText(columns_->SavedSets())));
}

void PlayerGrid::RestoreSettings() {
    QSettings settings = ProgramSettings();
    settings.beginGroup(LeagueGroup(leagueFile_));
    std::vector<QString> filters(kGridColumnCount);
    if (settings.contains(QStringLiteral("ColumnFilters"))) {
        for (const QString& kept : settings.value(QStringLiteral("ColumnFilters")).toStringList())
            if (const auto column =
                    GridColumnNamed(kept.section(QLatin1Char('='), 0, 0).toStdString()))
                filters[static_cast<std::size_t>(*column)] = kept.section(QLatin1Char('='), 1);
    } else {
        const QStringList former = settings.value(QStringLiteral("Filters")).toStringList();
        for (int at = 0; at < former.size(); ++at)
            if (const auto column = GridColumnAtFormerPosition(at))
                filters[static_cast<std::size_t>(*column)] = former[at];
    }
    const int scope =
        settings.value(QStringLiteral("Scope"), PlayerGridModel::kWholeLeague).toInt();
    for (int c = 0; c < kGridColumnCount; ++c) {
        const QString& text = filters[static_cast<std::size_t>(c)];
        header_->SetBoxText(c, text);
        header_->SetProblem(c, model_->SetFilterText(c, text, false).value_or(QString()));
    }
    model_->SetScope(scope, false); // the rows follow when the players are read
    std::vector<int> shown =
        ColumnsFromText(settings.value(QStringLiteral("Columns")).toString().toStdString());
    columns_->Apply(shown.empty() ? BuiltInColumnSets().front().columns : shown);
    columns_->SetSavedSets(
        ColumnSetsFromText(settings.value(QStringLiteral("ColumnSets")).toString().toStdString()));
}

void PlayerGrid::SortClicked(int column) {
    const bool secondKey = QApplication::keyboardModifiers() & Qt::ShiftModifier;
    const QModelIndex current = view_->currentIndex();
    const std::int64_t currentRowId =
        current.isValid() ? model_->Table().RowId(model_->TableRow(current.row())) : -1;
    model_->SortByColumn(column, secondKey);
    SelectCells({}, currentRowId, current.column());
}

void PlayerGrid::CurrentRowChanged(const QModelIndex& current) {
    if (quiet_ || !current.isValid())
        return;
    const GridTable& table = model_->Table();
    const int row = model_->TableRow(current.row());
    currentPlayer_ = table.RowId(row);
    emit playerChosen(static_cast<int>(table.Number(row, kTeamColumn).value_or(0)),
                      static_cast<int>(table.Number(row, kPidColumn).value_or(0)));
}

void PlayerGrid::SetCurrentPlayer(std::optional<std::int64_t> rowId) {
    currentPlayer_ = rowId;
    ShowCurrentPlayer();
}

void PlayerGrid::ShowCurrentPlayer() {
    const std::optional<int> tableRow =
        currentPlayer_ ? model_->Table().RowOfRowId(*currentPlayer_) : std::nullopt;
    const std::optional<int> viewRow =
        tableRow ? model_->ViewRowOfTableRow(*tableRow) : std::nullopt;
    const QScopedValueRollback quiet(quiet_, true);
    if (!viewRow) {
        view_->selectionModel()->clear();
        return;
    }
    const QModelIndex current = view_->currentIndex();
    if (current.isValid() && current.row() == *viewRow)
        return;
    // In the column of the cell current before, or the first column shown.
    const int column = current.isValid() && !view_->isColumnHidden(current.column())
                           ? current.column()
                           : ShownColumns().front();
    const QModelIndex cell = model_->index(*viewRow, column);
    view_->selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
    view_->scrollTo(cell);
}

std::vector<std::int64_t> PlayerGrid::SelectedCells() const {
    std::vector<std::int64_t> rowIds;
    for (const QModelIndex& index : view_->selectionModel()->selectedIndexes())
        rowIds.push_back(model_->Table().RowId(model_->TableRow(index.row())) * 1000 +
                         index.column());
    return rowIds;
}

void PlayerGrid::SelectCells(const std::vector<std::int64_t>& cells, std::int64_t currentRowId,
                             int currentColumn) {
    // Cells are kept as rowid * 1000 + column; the view rows are worked out once for all.
    std::vector<int> viewOfTable(static_cast<std::size_t>(model_->Table().RowCount()), -1);
    for (int viewRow = 0; viewRow < model_->rowCount(); ++viewRow)
        viewOfTable[static_cast<std::size_t>(model_->TableRow(viewRow))] = viewRow;
    const auto viewRowOf = [&](std::int64_t rowId) {
        const auto row = model_->Table().RowOfRowId(rowId);
        return row ? viewOfTable[static_cast<std::size_t>(*row)] : -1;
    };
    quiet_ = true;
    if (const int row = viewRowOf(currentRowId); row >= 0 && currentColumn >= 0)
        view_->selectionModel()->setCurrentIndex(model_->index(row, currentColumn),
                                                 QItemSelectionModel::NoUpdate);
    QItemSelection selection;
    for (const std::int64_t cell : cells) {
        const int row = viewRowOf(cell / 1000);
        if (row >= 0)
            selection.select(model_->index(row, static_cast<int>(cell % 1000)),
                             model_->index(row, static_cast<int>(cell % 1000)));
    }
    view_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    quiet_ = false;
}

QModelIndexList PlayerGrid::SelectedShownCells() const {
    QModelIndexList cells = view_->selectionModel()->selectedIndexes();
    cells.removeIf(
        [this](const QModelIndex& cell) { return view_->isColumnHidden(cell.column()); });
    return cells;
}

void PlayerGrid::CopySelection() {
    const QModelIndexList cells = SelectedShownCells();
    if (cells.isEmpty())
        return;
    QApplication::clipboard()->setText(model_->CopyText(cells, ShownColumns()));
    emit message(Counted(cells.size(), "cell copied", "cells copied"));
}

void PlayerGrid::FillSelection(const QString& text) {
    std::vector<CellInput> cells;
    for (const QModelIndex& index : SelectedShownCells())
        if (GridColumns()[static_cast<std::size_t>(index.column())].editable)
            cells.push_back({model_->TableRow(index.row()), index.column(), text.toStdString()});
    if (cells.empty())
        return;
    const QModelIndex current = view_->currentIndex();
    const std::int64_t currentRowId =
        current.isValid() ? model_->Table().RowId(model_->TableRow(current.row())) : -1;
    const std::vector<std::int64_t> selected = SelectedCells();
    if (model_->ApplyInputs(std::move(cells), [](std::size_t changed) {
            return QStringLiteral("Fill ") + Counted(qint64(changed), "cell", "cells");
        }))
        SelectCells(selected, currentRowId, current.column());
}

void PlayerGrid::PasteIntoSelection(const QString& text) {
    const QModelIndexList selected = SelectedShownCells();
    if (selected.isEmpty())
        return;
    // The block's top left: the first selected row, and the selected column the furthest left as
    // the columns are shown.
    const std::vector<int> shown = ShownColumns();
    int top = selected.front().row();
    auto left = static_cast<int>(shown.size());
    for (const QModelIndex& index : selected) {
        top = std::min(top, index.row());
        const auto at = std::find(shown.begin(), shown.end(), index.column());
        left = std::min(left, static_cast<int>(at - shown.begin()));
    }
    std::optional<std::vector<CellInput>> cells =
        PlanPaste(text.toStdString(), model_->ShownRows(), top, shown, left);
    if (!cells) {
        emit message(QStringLiteral("Nothing was changed: the pasted block reaches past the last "
                                    "row or column of the grid"));
        return;
    }
    if (cells->empty())
        return;
    const QModelIndex current = view_->currentIndex();
    const std::int64_t currentRowId =
        current.isValid() ? model_->Table().RowId(model_->TableRow(current.row())) : -1;
    std::vector<std::int64_t> pasted;
    for (const CellInput& cell : *cells)
        pasted.push_back(model_->Table().RowId(cell.row) * 1000 + cell.column);
    const std::optional<std::size_t> changed =
        model_->ApplyInputs(std::move(*cells), [](std::size_t count) {
            return QStringLiteral("Paste ") + Counted(qint64(count), "cell", "cells");
        });
    if (!changed)
        return;
    SelectCells(pasted, currentRowId, current.column());
    if (*changed == 0)
        emit message(QStringLiteral("Nothing was changed: the pasted cells hold those values "
                                    "already"));
}

bool PlayerGrid::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == view_ || watched == view_->Pane()) && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy)) {
            CopySelection();
            return true;
        }
        if (key->matches(QKeySequence::Paste)) {
            PasteIntoSelection(QApplication::clipboard()->text());
            return true;
        }
    }
    return QDockWidget::eventFilter(watched, event);
}
