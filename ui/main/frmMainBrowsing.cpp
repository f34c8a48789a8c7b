// frmMain's team and player lists: filling them, and moving the detail fields to the chosen
// player.
#include "store/TeamChoices.h"
#include "ui/main/ListTargets.h"
#include "ui/main/PlayerDetailFields.h"
#include "ui/main/PlayersModel.h"
#include "ui/main/frmMain.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QUndoStack>

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
    cboTeam->setCurrentIndex(cboTeam->count() - 1);
    ShowTeamPlayers(QString::number(kFreeAgentsTeam));
}

void frmMain::cboTeam_Click() {
    if (!league_)
        return;
    const int teamId = cboTeam->currentIndex() < 0 ? 0 : cboTeam->currentData().toInt();
    ShowTeamPlayers(QString::number(teamId));
    SetTeamPanel(cboTeam->currentText() + QStringLiteral(":"));
}

void frmMain::ReFreshList() {
    cboTeam_Click();
}

void frmMain::ShowTeamPlayers(const QString& teamId) {
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
    SetTeamPanel(cboTeam->currentText() + QStringLiteral(": ") + item->text());
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
