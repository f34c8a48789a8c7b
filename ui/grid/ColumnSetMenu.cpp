#include "ui/grid/ColumnSetMenu.h"

#include "grid/GridColumns.h"
#include "ui/common/UserPrompts.h"
#include "ui/grid/FilterHeader.h"
#include "ui/grid/FrozenTableView.h"

#include <QActionGroup>
#include <QScopedValueRollback>
#include <algorithm>

using namespace tavrel::grid;

ColumnSetMenu::ColumnSetMenu(FrozenTableView* view, FilterHeader* header, QWidget* parent)
    : QMenu(QStringLiteral("&Columns"), parent), view_(view), header_(header) {
    setObjectName(QStringLiteral("mnuGridColumns"));
    setToolTipsVisible(true);
    connect(this, &QMenu::aboutToShow, this, &ColumnSetMenu::Fill);
    // A caption dragged to another place: the name columns stay in front, and the order is kept.
    connect(header_, &QHeaderView::sectionMoved, this, [this] {
        if (arranging_)
            return;
        Apply(ShownColumns());
        emit changed();
    });
}

std::vector<int> ColumnSetMenu::ShownColumns() const {
    std::vector<int> shown;
    for (int v = 0; v < header_->count(); ++v)
        if (const int c = header_->logicalIndex(v); !header_->isSectionHidden(c))
            shown.push_back(c);
    return shown;
}

void ColumnSetMenu::Apply(const std::vector<int>& columns) {
    const std::vector<int> shown = ArrangedColumns(columns);
    if (shown.empty())
        return;
    const QScopedValueRollback arranging(arranging_, true);
    std::vector<bool> isShown(static_cast<std::size_t>(header_->count()), false);
    QList<int> frozen;
    for (int at = 0; at < static_cast<int>(shown.size()); ++at) {
        const int c = shown[static_cast<std::size_t>(at)];
        isShown[static_cast<std::size_t>(c)] = true;
        if (IsNameColumn(c))
            frozen << c;
        header_->moveSection(header_->visualIndex(c), at);
    }
    for (int c = 0; c < header_->count(); ++c)
        header_->setSectionHidden(c, !isShown[static_cast<std::size_t>(c)]);
    view_->SetFrozenColumns(frozen);
    header_->SetCoveredColumns(frozen);
}

bool ColumnSetMenu::SaveShownAs(const QString& typed) {
    const std::string name = CleanColumnSetName(typed.toStdString());
    if (const auto problem = ColumnSetNameProblem(name)) {
        emit message(QStringLiteral("The column set was not saved: %1")
                         .arg(QString::fromStdString(*problem)));
        return false;
    }
    const bool replaced = FindColumnSet(saved_, name) != nullptr;
    PutColumnSet(saved_, {name, ShownColumns()});
    emit changed();
    emit message((replaced ? QStringLiteral("Column set \"%1\" replaced")
                           : QStringLiteral("Column set \"%1\" saved"))
                     .arg(QString::fromStdString(name)));
    return true;
}

bool ColumnSetMenu::Choose(const QString& name) {
    const std::string wanted = name.toStdString();
    const ColumnSet* set = FindColumnSet(BuiltInColumnSets(), wanted);
    if (!set)
        set = FindColumnSet(saved_, wanted);
    if (!set)
        return false;
    Apply(set->columns);
    emit changed();
    return true;
}

bool ColumnSetMenu::Remove(const QString& name) {
    if (!RemoveColumnSet(saved_, name.toStdString()))
        return false;
    emit changed();
    emit message(QStringLiteral("Column set \"%1\" deleted").arg(name));
    return true;
}

void ColumnSetMenu::AskAndSave() {
    if (!prompts_)
        return;
    const QString name = prompts_->AskText(
        parentWidget(), QStringLiteral("Save the columns shown as the column set named:"),
        QStringLiteral("Save Column Set"));
    if (!name.trimmed().isEmpty())
        SaveShownAs(name);
}

void ColumnSetMenu::AddSetChoice(QActionGroup* choices, const ColumnSet& set,
                                 const std::vector<int>& shown) {
    const QString name = QString::fromStdString(set.name);
    QAction* action = addAction(name, this, [this, name] { Choose(name); });
    action->setCheckable(true);
    action->setChecked(set.columns == shown);
    choices->addAction(action);
}

void ColumnSetMenu::AddColumnTick(QMenu* menu, int column, const std::vector<int>& shown) {
    const GridColumn& c = GridColumns()[static_cast<std::size_t>(column)];
    QAction* action = menu->addAction(QString::fromStdString(c.header));
    action->setToolTip(QString::fromStdString(c.toolTip));
    action->setCheckable(true);
    const bool isShown = std::find(shown.begin(), shown.end(), column) != shown.end();
    action->setChecked(isShown);
    action->setEnabled(!isShown || shown.size() > 1); // the last column shown stays
    connect(action, &QAction::toggled, this, [this, column](bool show) {
        Apply(WithColumn(ShownColumns(), column, show));
        emit changed();
    });
}

void ColumnSetMenu::Fill() {
    clear();
    for (QMenu* submenu : findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly))
        submenu->deleteLater();
    for (QActionGroup* group : findChildren<QActionGroup*>(QString(), Qt::FindDirectChildrenOnly))
        group->deleteLater();
    const std::vector<int> shown = ShownColumns();
    // One mark at most: the set the columns shown are, if any.
    auto* choices = new QActionGroup(this);
    choices->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const ColumnSet& set : BuiltInColumnSets())
        AddSetChoice(choices, set, shown);
    if (!saved_.empty())
        addSeparator();
    for (const ColumnSet& set : saved_)
        AddSetChoice(choices, set, shown);
    addSeparator();
    QAction* save =
        addAction(QStringLiteral("&Save Column Set..."), this, &ColumnSetMenu::AskAndSave);
    save->setEnabled(prompts_ != nullptr);
    QMenu* remove = addMenu(QStringLiteral("&Delete Column Set"));
    remove->setEnabled(!saved_.empty());
    for (const ColumnSet& set : saved_) {
        const QString name = QString::fromStdString(set.name);
        remove->addAction(name, this, [this, name] { Remove(name); });
    }
    addSeparator();
    for (int c = 0; c < kIdentityColumnCount; ++c)
        AddColumnTick(this, c, shown);
    int number = 0;
    for (const tavrel::RatingBand& band : tavrel::kRatingBands) {
        QMenu* ratings = addMenu(QStringLiteral("Band %1 Ratings (%2 to %3)")
                                     .arg(++number)
                                     .arg(QLatin1String(band.front().data(), band.front().size()),
                                          QLatin1String(band.back().data(), band.back().size())));
        ratings->setToolTipsVisible(true);
        for (const std::string_view code : band) {
            const int k = *tavrel::RatingIndex(code);
            AddColumnTick(ratings, ActualGridColumn(k), shown);
            AddColumnTick(ratings, PotentialGridColumn(k), shown);
        }
    }
}
