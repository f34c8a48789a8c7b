#include "ui/exchange/ReportDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

ReportDialog::ReportDialog(const QString& title, const QString& intro, const ReportTable& report,
                           Buttons buttons, QWidget* parent)
    : QDialog(parent),
      table_(new QTableWidget(int(report.rows.size()), int(report.headers.size()), this)),
      targets_(report.targets) {
    setObjectName("ReportDialog");
    setWindowTitle(title);
    auto* label = new QLabel(intro, this);
    label->setObjectName("lblIntro");
    label->setWordWrap(true);
    table_->setObjectName("tblReport");
    table_->setHorizontalHeaderLabels(report.headers);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const QBrush highlight = palette().brush(QPalette::Highlight);
    const QBrush highlightedText = palette().brush(QPalette::HighlightedText);
    for (int r = 0; r < int(report.rows.size()); ++r) {
        const std::vector<ReportCell>& row = report.rows[std::size_t(r)];
        for (int c = 0; c < int(row.size()); ++c) {
            const ReportCell& cell = row[std::size_t(c)];
            if (cell.text.isEmpty())
                continue;
            auto* item = new QTableWidgetItem(cell.text);
            if (cell.highlighted) {
                item->setBackground(highlight);
                item->setForeground(highlightedText);
            }
            table_->setItem(r, c, item);
        }
    }
    table_->horizontalHeader()->setStretchLastSection(true);
    if (report.rows.size() < 2000) // measuring many rows costs more than it helps
        table_->resizeColumnsToContents();

    QLabel* hint = nullptr;
    if (std::any_of(targets_.begin(), targets_.end(),
                    [](const ReportTarget& t) { return t.IsPlayer(); })) {
        hint = new QLabel(QStringLiteral("Double-click a row to show its player in the window."),
                          this);
        hint->setObjectName("lblDoubleClick");
        connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
            if (row >= 0 && std::size_t(row) < targets_.size() &&
                targets_[std::size_t(row)].IsPlayer())
                emit playerChosen(targets_[std::size_t(row)]);
        });
    }

    auto* box = new QDialogButtonBox(this);
    if (buttons == Buttons::ApplyCancel) {
        box->addButton(QDialogButtonBox::Apply)->setObjectName("cmdApply");
        box->addButton(QDialogButtonBox::Cancel)->setObjectName("cmdCancel");
        connect(box->button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
                &QDialog::accept);
        connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    } else {
        box->addButton(QDialogButtonBox::Close)->setObjectName("cmdClose");
        connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(table_, 1);
    if (hint)
        layout->addWidget(hint);
    layout->addWidget(box);
    resize(760, 480);
}
