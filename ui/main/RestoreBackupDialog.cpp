#include "ui/main/RestoreBackupDialog.h"

#include "ui/common/ContextIDs.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

RestoreBackupDialog::RestoreBackupDialog(const QString& leagueFile, const std::vector<Row>& rows,
                                         QWidget* parent)
    : QDialog(parent), table_(new QTableWidget(static_cast<int>(rows.size()), 3, this)) {
    setObjectName("frmRestoreBackup");
    setWindowTitle(QStringLiteral("Restore Backup"));
    auto* intro = new QLabel(
        QStringLiteral("Tavrel keeps a copy of the player file of \"%1\" each time it is saved. "
                       "The backup you restore replaces the players of the open league as "
                       "unsaved changes; Save writes it back into the player file.")
            .arg(leagueFile),
        this);
    intro->setWordWrap(true);

    table_->setObjectName("lstBackups");
    table_->setHorizontalHeaderLabels(
        {QStringLiteral("Taken"), QStringLiteral("Size"), QStringLiteral("Players differing")});
    table_->verticalHeader()->hide();
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const Row& row = rows[static_cast<std::size_t>(r)];
        int column = 0;
        for (const QString& text : {row.taken, row.size, row.differing}) {
            auto* item = new QTableWidgetItem(text);
            if (column > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(r, column++, item);
        }
    }
    table_->resizeColumnsToContents();
    table_->horizontalHeader()->setStretchLastSection(true);
    if (!rows.empty())
        table_->selectRow(0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    QPushButton* restore =
        buttons->addButton(QStringLiteral("&Restore"), QDialogButtonBox::AcceptRole);
    restore->setObjectName("cmdRestore");
    restore->setDefault(true);
    restore->setEnabled(ChosenRow() >= 0);
    connect(table_, &QTableWidget::itemSelectionChanged, this,
            [this, restore] { restore->setEnabled(ChosenRow() >= 0); });
    connect(table_, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    tavrel::InstallHelpKey(this, tavrel::kHelpBackups);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(table_, 1);
    layout->addWidget(buttons);
    resize(520, 360);
}

int RestoreBackupDialog::ChosenRow() const {
    const QList<QTableWidgetSelectionRange> ranges = table_->selectedRanges();
    return ranges.isEmpty() ? -1 : ranges.first().topRow();
}
