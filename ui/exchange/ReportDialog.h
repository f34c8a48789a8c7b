#pragma once

#include "ui/exchange/ReportTables.h"

#include <QDialog>

class QTableWidget;

// A table in a dialog, for the import preview (Apply and Cancel), a comparison and the league
// check (Close). Highlighted cells stand out in the palette's highlight colour. A double-click on
// a row about a player hands on whom it is about; the dialog stays open.
class ReportDialog : public QDialog {
    Q_OBJECT
public:
    enum class Buttons { ApplyCancel, Close };
    ReportDialog(const QString& title, const QString& intro, const ReportTable& table,
                 Buttons buttons, QWidget* parent = nullptr);

    QTableWidget* Table() const { return table_; }

signals:
    void playerChosen(const ReportTarget& target);

private:
    QTableWidget* table_;
    std::vector<ReportTarget> targets_;
};
