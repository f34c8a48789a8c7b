#include "ui/main/PlayerBrowser.h"

#include "store/TeamChoices.h"
#include "ui/document/LeagueDocument.h"
#include "ui/main/ListTargets.h"
#include "ui/main/PlayerDetailFields.h"
#include "ui/main/PlayerItemDelegate.h"
#include "ui/main/PlayersModel.h"
#include "ui/main/WindowSettings.h"
#include "ui/main/frmMain.h"

#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

namespace {
const QString kFreeAgents = QStringLiteral("Free Agents");
constexpr int kFreeAgentsTeam = 0;
constexpr int kListMinimumChars = 12;
const int kPidColumn = *tavrel::PlayersColumnIndex("PID");
const int kTeamColumn = *tavrel::PlayersColumnIndex("Team");
} // namespace

PlayerBrowser::PlayerBrowser(frmMain& window) : QObject(&window), window_(window) {}

PlayerBrowser::~PlayerBrowser() = default;

QWidget* PlayerBrowser::BuildLists(QWidget* parent) {
    auto* left = new QWidget(parent);
    auto* teams = new QLabel(QStringLiteral("Teams:"), left);
    teams->setObjectName("lblTeam");
    cboTeam = new QComboBox(left);
    cboTeam->setObjectName("cboTeam");
    auto* players = new QLabel(QStringLiteral("Players:"), left);
    players->setObjectName("lblPlayers");
    lstPlayers = new QListWidget(left);
    lstPlayers->setObjectName("lstPlayers");
    lstPlayers->setUniformItemSizes(true);
    auto* layout = new QVBoxLayout(left);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(teams);
    layout->addWidget(cboTeam);
    layout->addWidget(players);
    layout->addWidget(lstPlayers, 1);
    lstPlayers->setItemDelegate(new PlayerItemDelegate(lstPlayers));
    lstPlayers->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    left->setMinimumWidth(
        left->fontMetrics().horizontalAdvance(QString(kListMinimumChars, QLatin1Char('x'))));
    teamTarget_ = std::make_unique<ComboBoxTarget>(cboTeam);
    playerTarget_ = std::make_unique<ListWidgetTarget>(lstPlayers);
    connect(cboTeam, &QComboBox::activated, this,
            [this] { window_.RunCommand([this] { cboTeam_Click(); }); });
    connect(lstPlayers, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            window_.RunCommand([this] { lstPlayers_Click(); });
    });
    return left;
}

void PlayerBrowser::LoadTeamList() {
    std::vector<tavrel::TeamChoice> teams;
    teamNames_ = {};
    try {
        teams = tavrel::ReadTeamChoices(window_.WorkingDatabase());
        teamNames_ = tavrel::TeamNames::Read(window_.WorkingDatabase());
    } catch (const std::exception& e) {
        window_.ShowFailure(QString::fromStdString(e.what()));
    }
    cboTeam->clear();
    for (const tavrel::TeamChoice& team : teams)
        cboTeam->addItem(QString::fromStdString(team.name), team.teamId);
    cboTeam->addItem(kFreeAgents, kFreeAgentsTeam);
    // The team chosen last time, when this league has it; the free agents otherwise.
    const int remembered = cboTeam->findText(ReadWindowSettings().team, Qt::MatchExactly);
    cboTeam->setCurrentIndex(remembered >= 0 ? remembered : cboTeam->count() - 1);
    ShowTeamPlayers(QString::number(cboTeam->currentData().toInt()), std::nullopt);
}

void PlayerBrowser::cboTeam_Click() {
    if (!window_.Document().IsOpen())
        return;
    const int teamId = cboTeam->currentIndex() < 0 ? 0 : cboTeam->currentData().toInt();
    WriteLastTeam(cboTeam->currentText());
    ShowTeamPlayers(QString::number(teamId), std::nullopt);
    ShowPanel(cboTeam->currentText() + QStringLiteral(":"));
}

void PlayerBrowser::ReFreshList() {
    cboTeam_Click();
}

void PlayerBrowser::SetSortDescending(bool descending) {
    SortDescending = descending;
    ReFreshList();
}

void PlayerBrowser::ShowTeamPlayers(const QString& teamId, std::optional<int> keepPid) {
    listIsFind_ = false;
    PlayerLister = std::make_unique<tavrel::CcboList>();
    PlayerLister->FieldNameY("TEAM");
    FillPlayerList(*PlayerLister,
                   SortDescending ? tavrel::PlayerListOrder::LastNameDescending
                                  : tavrel::PlayerListOrder::LastNameAscending,
                   teamId, keepPid);
}

void PlayerBrowser::FindPlayersByLastName(const QString& lastName) {
    if (!window_.Document().IsOpen())
        return;
    listIsFind_ = true;
    PlayerLister = std::make_unique<tavrel::CcboList>();
    PlayerLister->FieldNameY("LASTNAME");
    FillPlayerList(*PlayerLister, tavrel::PlayerListOrder::LastThenFirstName, lastName,
                   std::nullopt);
    ShowFoundPlayersTeams();
}

void PlayerBrowser::ShowFoundPlayersTeams() {
    for (int i = 0; i < lstPlayers->count(); ++i) {
        QListWidgetItem* item = lstPlayers->item(i);
        std::optional<int> row;
        try {
            row = window_.Data()->RowOfPid(item->data(Qt::UserRole).toInt());
        } catch (const std::exception& e) {
            window_.ShowFailure(QString::fromStdString(e.what()));
            return;
        }
        if (!row)
            continue;
        const QString team = TeamOfRow(*row);
        item->setData(kTeamRole, team);
        item->setData(Qt::AccessibleTextRole, item->text() + QStringLiteral(", ") + team);
    }
}

void PlayerBrowser::FillPlayerList(tavrel::CcboList& lister, tavrel::PlayerListOrder order,
                                   const QString& filter, std::optional<int> keepPid) {
    lister.NewClient(playerTarget_.get());
    lister.dbName(window_.WorkingDatabase());
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
            window_.ShowFailure(QString::fromStdString(e.what()));
        }
    }
    if (keepPid) {
        // The player shown stays shown; the list marks him when it holds him.
        const QSignalBlocker quiet(lstPlayers);
        lstPlayers->setCurrentRow(ListedRow(*keepPid));
        return;
    }
    if (lstPlayers->count() > 0)
        lstPlayers->setCurrentRow(0);
}

int PlayerBrowser::ListedRow(int pid) const {
    for (int i = 0; i < lstPlayers->count(); ++i)
        if (lstPlayers->item(i)->data(Qt::UserRole).toInt() == pid)
            return i;
    return -1;
}

void PlayerBrowser::lstPlayers_Click() {
    const QListWidgetItem* item = lstPlayers->currentItem();
    if (!item)
        return;
    SelectPlayerById(static_cast<qint16>(item->data(Qt::UserRole).toInt()));
    // A Find lists players of every team: name the player's own.
    const QString team =
        listIsFind_ ? TeamOfRow(window_.Details()->CurrentRow()) : cboTeam->currentText();
    ShowPanel(team + QStringLiteral(": ") + item->text());
}

QString PlayerBrowser::TeamOfRow(int row) const {
    PlayersModel* data = window_.Data();
    const QVariant team = data->data(data->index(row, kTeamColumn));
    if (!team.isValid())
        return cboTeam->currentText();
    const int id = team.toInt();
    return QString::fromStdString(teamNames_.Name(id).value_or("team " + std::to_string(id)));
}

void PlayerBrowser::RefreshPlayerEntries(const tavrel::CellChanges& changes) {
    static const std::array<int, 4> kShown = {
        *tavrel::PlayersColumnIndex("FirstName"), *tavrel::PlayersColumnIndex("LastName"),
        *tavrel::PlayersColumnIndex("Position"), *tavrel::PlayersColumnIndex("PositionTXT")};
    PlayersModel* data = window_.Data();
    QHash<int, QString> entries; // by PID
    for (const tavrel::CellChange& change : changes) {
        if (std::find(kShown.begin(), kShown.end(), change.column) == kShown.end())
            continue;
        const std::optional<int> row = data->RowOfRowId(change.rowId);
        if (!row)
            continue;
        const auto text = [data, &row](int column) {
            return data->data(data->index(*row, column)).toString().toStdString();
        };
        const std::string name = tavrel::PlayerListName(text(kShown[1]), text(kShown[0]));
        entries.insert(data->data(data->index(*row, kPidColumn)).toInt(),
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
        ShowPanel(
            (listIsFind_ ? TeamOfRow(window_.Details()->CurrentRow()) : cboTeam->currentText()) +
            QStringLiteral(": ") + current->text());
}

void PlayerBrowser::SelectPlayerById(qint16 id) {
    // Before looking: a look that finds the table changed reads it again, which rebinds the fields.
    window_.CommitPendingEdit();
    std::optional<int> row;
    try {
        row = window_.Data()->RowOfPid(id);
    } catch (const std::exception& e) {
        window_.ShowFailure(QString::fromStdString(e.what()));
        return;
    }
    if (!row) {
        window_.Prompts().ShowMessage(&window_, QStringLiteral(" not found."));
        return;
    }
    window_.Details()->ShowRow(*row);
    window_.Document().SetCurrentPlayer(window_.Data()->RowIdOfRow(*row));
}

void PlayerBrowser::ShowPlayer(int teamId, int pid, bool refill) {
    if (!window_.Document().IsOpen())
        return;
    const int team = cboTeam->findData(teamId);
    if (team >= 0 && (refill || team != cboTeam->currentIndex() || ListedRow(pid) < 0)) {
        cboTeam->setCurrentIndex(team);
        WriteLastTeam(cboTeam->currentText());
        ShowTeamPlayers(QString::number(teamId), pid);
        ShowPanel(cboTeam->currentText() + QStringLiteral(":"));
    }
    const int item = ListedRow(pid);
    if (item < 0) {
        SelectPlayerById(static_cast<qint16>(pid)); // not listed: no last name
        return;
    }
    {
        const QSignalBlocker quiet(lstPlayers);
        lstPlayers->setCurrentRow(item);
    }
    lstPlayers_Click();
}

bool PlayerBrowser::ShowPlayerOfRowId(std::int64_t rowId) {
    window_.CommitPendingEdit();
    const std::optional<int> row = window_.Data()->RowOfRowId(rowId);
    if (row)
        ShowPlayerOfRow(*row);
    return row.has_value();
}

bool PlayerBrowser::ShowPlayerOfPid(int pid) {
    window_.CommitPendingEdit();
    std::optional<int> row;
    try {
        row = window_.Data()->RowOfPid(pid);
    } catch (const std::exception& e) {
        window_.ShowFailure(QString::fromStdString(e.what()));
        return false;
    }
    if (row)
        ShowPlayerOfRow(*row);
    return row.has_value();
}

void PlayerBrowser::ShowPlayerOfRow(int row) {
    PlayersModel* data = window_.Data();
    ShowPlayer(data->data(data->index(row, kTeamColumn)).toInt(),
               data->data(data->index(row, kPidColumn)).toInt(), false);
    // The list goes by PID: a player whose PID another row holds before him is shown by row.
    const std::optional<std::int64_t> rowId = data->RowIdOfRow(row);
    if (window_.Document().IsOpen() && rowId && window_.Document().CurrentPlayer() != rowId) {
        window_.Details()->ShowRow(row);
        window_.Document().SetCurrentPlayer(*rowId);
    }
}

void PlayerBrowser::FollowCurrentPlayer() {
    PlayersModel* data = window_.Data();
    const std::optional<std::int64_t> current = window_.Document().CurrentPlayer();
    const std::optional<int> row = current ? data->RowOfRowId(*current) : std::nullopt;
    if (!window_.Document().IsOpen() || !row)
        return;
    ShowPlayer(data->index(*row, kTeamColumn).data().toInt(),
               data->index(*row, kPidColumn).data().toInt(), true);
}

void PlayerBrowser::ShowPanel(const QString& text) {
    if (statusPanel2)
        statusPanel2->setText(text);
}
