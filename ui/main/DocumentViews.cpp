#include "ui/main/DocumentViews.h"

#include "ui/charts/RatingsChartWindow.h"
#include "ui/document/LeagueDocument.h"
#include "ui/global/frmGlobal.h"
#include "ui/main/ExchangeActions.h"
#include "ui/main/GridSync.h"
#include "ui/main/PlayerBrowser.h"
#include "ui/main/PlayerDetailFields.h"
#include "ui/main/PlayersModel.h"
#include "ui/main/frmMain.h"

#include <QLabel>
#include <QUndoStack>

DocumentViews::DocumentViews(frmMain& window) : w_(window) {}

void DocumentViews::Connect() {
    w_.Data1->SetEditGate([this] { return w_.document_->IsEditable(); });
    w_.Data1->SetEditSink([this](const QString& text, tavrel::CellChanges changes) {
        return w_.document_->Apply(text, std::move(changes));
    });
    QObject::connect(w_.Data1, &PlayersModel::writeFailed, &w_, &frmMain::ShowFailure);
    QObject::connect(w_.document_, &LeagueDocument::failed, &w_, &frmMain::ShowFailure);
    QObject::connect(w_.document_, &LeagueDocument::stateChanged, &w_, &frmMain::ShowLeagueState);
    QObject::connect(w_.document_->History(), &QUndoStack::cleanChanged, &w_,
                     [this](bool clean) { w_.setWindowModified(!clean); });
    QObject::connect(w_.document_, &LeagueDocument::workingDatabaseClosing, w_.Data1,
                     &PlayersModel::Detach);
    QObject::connect(
        w_.document_, &LeagueDocument::workingDatabaseOpened, &w_, [this](bool newLeague) {
            std::optional<std::vector<tavrel::RowKey>> rows = w_.document_->TakeImportedRows();
            try {
                auto store = std::make_unique<tavrel::PlayerRowStore>(w_.WorkingDatabase());
                if (rows)
                    w_.Data1->Attach(std::move(store), std::move(*rows));
                else
                    w_.Data1->Attach(std::move(store));
            } catch (const std::exception& e) {
                w_.ShowFailure(QString::fromStdString(e.what()));
                return;
            }
            const std::optional<std::int64_t> current = w_.document_->CurrentPlayer();
            w_.details_->Rebind(current ? w_.Data1->RowOfRowId(*current).value_or(0) : 0);
            if (newLeague)
                ShowOpenedLeague();
        });
    QObject::connect(w_.document_, &LeagueDocument::cellsChanged, &w_,
                     [this](const tavrel::CellChanges& changes) {
                         w_.Data1->CellsChanged(changes);
                         w_.browser_->RefreshPlayerEntries(changes);
                         w_.grid_->CellsChanged(changes);
                         emit w_.PlayersChanged();
                     });
    QObject::connect(w_.document_, &LeagueDocument::playersReloaded, &w_, [this] {
        const int row = w_.details_->CurrentRow();
        try {
            w_.Data1->Reload();
        } catch (const std::exception& e) {
            w_.ShowFailure(QString::fromStdString(e.what()));
        }
        w_.details_->Rebind(row);
        w_.grid_->PlayersReloaded();
        emit w_.PlayersChanged();
    });
}

void DocumentViews::ShowOpenedLeague() {
    w_.ShowLeagueState();
    w_.browser_->LoadTeamList();
    w_.statusPanel1->setText(w_.document_->LeagueFile());
    w_.exchange_->CheckOpenedLeague();
    w_.grid_->LeagueOpened();
    if (w_.globalEdit_) {
        if (w_.document_->IsReadOnly())
            w_.globalEdit_->hide();
        w_.globalEdit_->SetWorkingDatabase(w_.WorkingDatabase());
        w_.globalEdit_->LeagueOpened(); // its team list belongs to the league before
    }
    if (w_.ratingsChart_) {
        w_.ratingsChart_->SetWorkingDatabase(w_.WorkingDatabase());
        w_.ratingsChart_->Refresh();
    }
}
