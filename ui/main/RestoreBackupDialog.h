#pragma once

#include <QDialog>
#include <QString>
#include <vector>

class QTableWidget;

// File > Restore Backup...: the dated backups of the open league's player file, newest first,
// each with the time it was taken, its size and how many players differ from the open league.
// The user picks one (the newest is picked to start with) and presses Restore, or cancels.
class RestoreBackupDialog : public QDialog {
    Q_OBJECT
public:
    struct Row {
        QString taken;     // local time
        QString size;      // "1,234,567 bytes"
        QString differing; // a count, or why it could not be counted
    };
    RestoreBackupDialog(const QString& leagueFile, const std::vector<Row>& rows,
                        QWidget* parent = nullptr);

    // The chosen row; -1 when none is.
    int ChosenRow() const;
    QTableWidget* Table() const { return table_; }

private:
    QTableWidget* table_;
};
