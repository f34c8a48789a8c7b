#pragma once

#include "ui/exchange/ReportTables.h"

#include <QDialog>

class QTableWidget;

// A table in a dialog, for the import preview (Apply and Cancel), a comparison and the league
// check (Close). Highlighted cells stand out in the palette's highlight colour.
class ReportDialog : public QDialog {
    Q_OBJECT
public:
    enum class Buttons { ApplyCancel, Close };
    ReportDialog(const QString& title, const QString& intro, const ReportTable& table,
                 Buttons buttons, QWidget* parent = nullptr);

    QTableWidget* Table() const { return table_; }

private:
    QTableWidget* table_;
};
