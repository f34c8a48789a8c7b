// frmMain's team and player lists: filling them, and moving the detail fields to the chosen
// player.
#include "store/TeamChoices.h"
#include "ui/main/ListTargets.h"
#include "ui/main/PlayerDetailFields.h"
#include "ui/main/PlayersModel.h"
#include "ui/main/WindowSettings.h"
#include "ui/main/frmMain.h"

#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QUndoStack>
#include <algorithm>
#include <array>

namespace {
const QString kFreeAgents = QStringLiteral("Free Agents");
constexpr int kFreeAgentsTeam = 0;
} // namespace

void frmMain::LoadTeamList() {
    std::vector<tavrel::TeamChoice> teams;
    try {
        teams = tavrel::ReadTeamChoices(WorkingDatabase());
    } catch (const std::exception& e) {
        ShowFailure(QString::fromStdString(e.what()));
    }
    cboTeam->clear();
    for (const tavrel::TeamChoice& team : teams)
        cboTeam->addItem(QString::fromStdString(team.name), team.teamId);
    cboTeam->addItem(kFreeAgents, kFreeAgentsTeam);
    // The team chosen last time, when this league has it; the free agents otherwise.
    const int remembered = cboTeam->findText(ReadWindowSettings().team, Qt::MatchExactly);
    cboTeam->setCurrentIndex(remembered >= 0 ? remembered : cboTeam->count() - 1);
    ShowTeamPlayers(QString::number(cboTeam->currentData().toInt()));
}

void frmMain::cboTeam_Click() {
    if (!league_)
        return;
    const int teamId = cboTeam->currentIndex() < 0 ? 0 : cboTeam->currentData().toInt();
    WriteLastTeam(cboTeam->currentText());
    ShowTeamPlayers(QString::number(teamId));
    SetTeamPanel(cboTeam->currentText() + QStringLiteral(":"));
}

void frmMain::ReFreshList() {
    cboTeam_Click();
}

void frmMain::ShowTeamPlayers(const QString& teamId) {
    listIsFind_ = false;
    PlayerLister = std::make_unique<tavrel::CcboList>();
    PlayerLister->FieldNameY("TEAM");
    FillPlayerList(*PlayerLister,
                   SortDescending ? tavrel::PlayerListOrder::LastNameDescending
                                  : tavrel::PlayerListOrder::LastNameAscending,
                   teamId);
}

void frmMain::FindPlayersByLastName(const QString& lastName) {
    if (!league_)
        return;
    listIsFind_ = true;
    PlayerLister = std::make_unique<tavrel::CcboList>();
    PlayerLister->FieldNameY("LASTNAME");
    FillPlayerList(*PlayerLister, tavrel::PlayerListOrder::LastThenFirstName, lastName);
}

void frmMain::FillPlayerList(tavrel::CcboList& lister, tavrel::PlayerListOrder order,
                             const QString& filter) {
    lister.NewClient(playerTarget_.get());
    lister.dbName(WorkingDatabase());
    lister.FieldName("LASTNAME");
    lister.FieldName2("FIRSTNAME");
    lister.FieldID("PID");
    {
        // Selecting happens once, below, after the list is whole.
        const QSignalBlocker quiet(lstPlayers);
        lister.NewClear();
        try {
            lister.GetList_TableTwo(tavrel::PlayerListQuery(order), filter.toStdString());
        } catch (const std::exception& e) {
            ShowFailure(QString::fromStdString(e.what()));
        }
    }
    if (lstPlayers->count() > 0)
        lstPlayers->setCurrentRow(0);
}

void frmMain::lstPlayers_Click() {
    const QListWidgetItem* item = lstPlayers->currentItem();
    if (!item)
        return;
    SelectPlayerById(static_cast<qint16>(item->data(Qt::UserRole).toInt()));
    // A Find lists players of every team: name the player's own.
    const QString team = listIsFind_ ? TeamOfRow(details_->CurrentRow()) : cboTeam->currentText();
    SetTeamPanel(team + QStringLiteral(": ") + item->text());
}

QString frmMain::TeamOfRow(int row) const {
    static const int kTeamColumn = *tavrel::PlayersColumnIndex("Team");
    const QVariant team = Data1->data(Data1->index(row, kTeamColumn));
    const int at = team.isValid() ? cboTeam->findData(team.toInt()) : -1;
    return at >= 0 ? cboTeam->itemText(at) : cboTeam->currentText();
}

void frmMain::RefreshPlayerEntries(const tavrel::CellChanges& changes) {
    static const std::array<int, 4> kShown = {
        *tavrel::PlayersColumnIndex("FirstName"), *tavrel::PlayersColumnIndex("LastName"),
        *tavrel::PlayersColumnIndex("Position"), *tavrel::PlayersColumnIndex("PositionTXT")};
    static const int kPid = *tavrel::PlayersColumnIndex("PID");
    QHash<int, QString> entries; // by PID
    for (const tavrel::CellChange& change : changes) {
        if (std::find(kShown.begin(), kShown.end(), change.column) == kShown.end())
            continue;
        const std::optional<int> row = Data1->RowOfRowId(change.rowId);
        if (!row)
            continue;
        const auto text = [this, &row](int column) {
            return Data1->data(Data1->index(*row, column)).toString().toStdString();
        };
        const std::string name = tavrel::PlayerListName(text(kShown[1]), text(kShown[0]));
        entries.insert(Data1->data(Data1->index(*row, kPid)).toInt(),
                       QString::fromStdString(tavrel::PlayerListEntry(name, text(kShown[3]))));
    }
    if (entries.isEmpty())
        return;
    for (int i = 0; i < lstPlayers->count(); ++i) {
        QListWidgetItem* item = lstPlayers->item(i);
        const auto found = entries.constFind(item->data(Qt::UserRole).toInt());
        if (found != entries.constEnd())
            item->setText(*found);
    }
    if (const QListWidgetItem* current = lstPlayers->currentItem())
        SetTeamPanel((listIsFind_ ? TeamOfRow(details_->CurrentRow()) : cboTeam->currentText()) +
                     QStringLiteral(": ") + current->text());
}

void frmMain::SelectPlayerById(qint16 id) {
    // Before looking: a look that finds the table changed reads it again, which rebinds the fields.
    CommitPendingEdit();
    std::optional<int> row;
    try {
        row = Data1->RowOfPid(id);
    } catch (const std::exception& e) {
        ShowFailure(QString::fromStdString(e.what()));
        return;
    }
    if (!row) {
        prompts_->ShowMessage(this, QStringLiteral(" not found."));
        return;
    }
    details_->ShowRow(*row);
}

void frmMain::SetTeamPanel(const QString& text) {
    statusPanel2->setText(text);
}

void frmMain::PlayersChangedElsewhere() {
    if (!league_)
        return;
    const int row = details_->CurrentRow();
    try {
        Data1->Reload();
    } catch (const std::exception& e) {
        ShowFailure(QString::fromStdString(e.what()));
    }
    details_->Rebind(row);
    history_->resetClean(); // no step of the history leads back to what was saved
    emit PlayersChanged();
}
