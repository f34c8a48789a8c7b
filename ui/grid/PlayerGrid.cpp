#include "ui/grid/PlayerGrid.h"

#include "ui/common/Counted.h"
#include "ui/grid/FilterHeader.h"

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
#include <QVBoxLayout>
#include <algorithm>
#include <map>

using namespace tavrel::grid;

namespace {

constexpr int kNameChars = 14;
constexpr int kRatingChars = 6;

bool IsFillKey(const QKeyEvent* key) {
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
           (key->modifiers() & Qt::ControlModifier);
}

} // namespace

QWidget* PlayerGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                          const QModelIndex& index) const {
    if (index.column() != kTeamColumn)
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto* teams = new QComboBox(parent);
    teams->addItems(teamNames);
    return teams;
}

void PlayerGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* teams = qobject_cast<QComboBox*>(editor))
        teams->setCurrentText(index.data().toString());
    else
        QStyledItemDelegate::setEditorData(editor, index);
}

void PlayerGridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                      const QModelIndex& index) const {
    if (auto* teams = qobject_cast<QComboBox*>(editor))
        model->setData(index, teams->currentText());
    else
        QStyledItemDelegate::setModelData(editor, model, index);
}

bool PlayerGridDelegate::eventFilter(QObject* editor, QEvent* event) {
    if (event->type() == QEvent::KeyPress && IsFillKey(static_cast<QKeyEvent*>(event))) {
        auto* widget = static_cast<QWidget*>(editor);
        QString text;
        if (auto* teams = qobject_cast<QComboBox*>(widget))
            text = teams->currentText();
        else if (auto* line = qobject_cast<QLineEdit*>(widget))
            text = line->text();
        emit closeEditor(widget, NoHint); // the fill below writes, not this editor
        emit fillRequested(text);
        return true;
    }
    return QStyledItemDelegate::eventFilter(editor, event);
}

PlayerGrid::PlayerGrid(QWidget* parent)
    : QDockWidget(QStringLiteral("Player Grid"), parent), model_(new PlayerGridModel(this)),
      view_(new QTableView), delegate_(new PlayerGridDelegate(this)), scope_(new QComboBox),
      count_(new QLabel) {
    setObjectName("dockPlayerGrid");
    view_->setObjectName("gridPlayers");
    scope_->setObjectName("cboGridScope");
    count_->setObjectName("lblGridCount");
    header_ = new FilterHeader(view_);
    view_->setHorizontalHeader(header_);
    view_->setModel(model_);
    view_->setItemDelegate(delegate_);
    view_->setSelectionBehavior(QAbstractItemView::SelectItems);
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->installEventFilter(this);
    header_->SetColumnCount(kGridColumnCount);
    header_->setSortIndicatorShown(true);
    const int charWidth = view_->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (int c = 0; c < kGridColumnCount; ++c) {
        const GridColumn& column = GridColumns()[static_cast<std::size_t>(c)];
        const int chars = column.kind == GridColumnKind::Number ? kRatingChars : kNameChars;
        header_->resizeSection(c, charWidth * chars + 12);
    }

    auto* body = new QWidget(this);
    auto* top = new QHBoxLayout;
    auto* show = new QLabel(QStringLiteral("Show:"), body);
    show->setBuddy(scope_);
    top->addWidget(show);
    top->addWidget(scope_);
    top->addStretch(1);
    top->addWidget(count_);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(view_, 1);
    setWidget(body);
    FillScopeChoice();
    ShowCount();

    // A click on a caption sorts. A table view also selects the column on it, which makes the
    // top visible row current and so would choose another player: not here.
    disconnect(header_, SIGNAL(sectionPressed(int)), view_, SLOT(selectColumn(int)));
    disconnect(header_, SIGNAL(sectionEntered(int)), view_, SLOT(_q_selectColumn(int)));
    connect(header_, &QHeaderView::sectionClicked, this, &PlayerGrid::SortClicked);
    connect(header_, &FilterHeader::filterEdited, this, [this](int column, const QString& text) {
        const std::optional<QString> problem = model_->SetFilterText(column, text);
        header_->SetProblem(column, problem.value_or(QString()));
        SaveSettings();
    });
    connect(scope_, &QComboBox::activated, this, [this] {
        model_->SetScope(scope_->currentData().toInt());
        SaveSettings();
    });
    connect(model_, &PlayerGridModel::rowsRebuilt, this, &PlayerGrid::ShowCount);
    // A filter, a choice of players or new values rebuild the rows: the player stays current
    // when they still show him.
    connect(model_, &PlayerGridModel::rowsRebuilt, this, &PlayerGrid::ShowCurrentPlayer);
    connect(model_, &PlayerGridModel::refused, this, &PlayerGrid::message);
    connect(delegate_, &PlayerGridDelegate::fillRequested, this, &PlayerGrid::FillSelection);
    connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { CurrentRowChanged(current); });
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
    delegate_->teamNames.clear();
    for (const GridTable::Team& team : teams) {
        scope_->addItem(QString::fromStdString(team.name), team.id);
        delegate_->teamNames << QString::fromStdString(team.name);
    }
    const QString freeAgents = QString::fromStdString(model_->Table().TeamName(0));
    scope_->addItem(freeAgents, 0);
    delegate_->teamNames << freeAgents;
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
    if (keys.empty())
        header_->setSortIndicator(-1, Qt::AscendingOrder);
    else
        header_->setSortIndicator(keys.front().column, keys.front().descending
                                                           ? Qt::DescendingOrder
                                                           : Qt::AscendingOrder);
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

void PlayerGrid::SaveSettings() const {
    if (leagueFile_.isEmpty())
        return;
    QSettings settings = ProgramSettings();
    settings.beginGroup(LeagueGroup(leagueFile_));
    QStringList filters;
    for (int c = 0; c < kGridColumnCount; ++c)
        filters << header_->Box(c)->text();
    settings.setValue(QStringLiteral("Filters"), filters);
    settings.setValue(QStringLiteral("Scope"), model_->Scope());
}

void PlayerGrid::RestoreSettings() {
    QSettings settings = ProgramSettings();
    settings.beginGroup(LeagueGroup(leagueFile_));
    const QStringList filters = settings.value(QStringLiteral("Filters")).toStringList();
    const int scope =
        settings.value(QStringLiteral("Scope"), PlayerGridModel::kWholeLeague).toInt();
    for (int c = 0; c < kGridColumnCount; ++c) {
        QLineEdit* box = header_->Box(c);
        const QSignalBlocker quiet(box);
        box->setText(c < filters.size() ? filters[c] : QString());
        header_->SetProblem(c, model_->SetFilterText(c, box->text(), false).value_or(QString()));
    }
    model_->SetScope(scope, false); // the rows follow when the players are read
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
    const QModelIndex cell = model_->index(*viewRow, std::max(0, current.column()));
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

void PlayerGrid::CopySelection() {
    const QModelIndexList cells = view_->selectionModel()->selectedIndexes();
    if (cells.isEmpty())
        return;
    QApplication::clipboard()->setText(model_->CopyText(cells));
    emit message(Counted(cells.size(), "cell copied", "cells copied"));
}

void PlayerGrid::FillSelection(const QString& text) {
    std::vector<CellInput> cells;
    for (const QModelIndex& index : view_->selectionModel()->selectedIndexes())
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
    const QModelIndexList selected = view_->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return;
    int top = selected.front().row();
    int left = selected.front().column();
    for (const QModelIndex& index : selected) {
        top = std::min(top, index.row());
        left = std::min(left, index.column());
    }
    std::optional<std::vector<CellInput>> cells =
        PlanPaste(text.toStdString(), model_->ShownRows(), top, left);
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
    if (watched == view_ && event->type() == QEvent::KeyPress) {
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
