#include "ui/main/LeagueCommands.h"

#include "reports/Rosters.h"
#include "ui/document/LeagueDocument.h"
#include "ui/main/LastFileSetting.h"
#include "ui/main/SafetyActions.h"
#include "ui/main/frmMain.h"

#include <QFileInfo>
#include <QLocale>

namespace {

const QString kSaveQuestion = QStringLiteral("Would you like to SAVE your changes?");
const QString kOpenTitle = QStringLiteral("Select League to Open");
const QString kOpenFilter = QStringLiteral("League Files (*.lge)");

QString Text(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

} // namespace

LeagueCommands::LeagueCommands(frmMain& window) : window_(window), LastFile_(ReadLastFile()) {}

bool LeagueCommands::SettleUnsavedChanges() {
    window_.CommitPendingEdit();
    LeagueDocument& document = window_.Document();
    if (!document.IsOpen() || !document.HasUnsavedChanges())
        return true;
    const std::optional<bool> save = window_.Prompts().AskYesNoOrCancel(&window_, kSaveQuestion);
    if (!save)
        return false; // Esc or the close box: the command stops and the edits stay
    if (!*save)
        return true; // the user lets the edits go with the old working database
    return SaveCurrentLeague();
}

void LeagueCommands::OpenLeague() {
    if (!SettleUnsavedChanges())
        return;
    const QString chosen = window_.Prompts().ChooseFileToOpen(&window_, kOpenTitle, kOpenFilter);
    if (chosen.isEmpty())
        return; // cancelled: the open league stays as it was
    OpenLeagueFile(chosen, true);
}

bool LeagueCommands::OpenLeagueFromCommandLine(const QString& leagueFile) {
    if (!SettleUnsavedChanges())
        return false;
    return OpenLeagueFile(QFileInfo(leagueFile).absoluteFilePath(), true);
}

void LeagueCommands::ReopenLeague() {
    if (LastFile_.isEmpty()) {
        window_.Prompts().ShowMessage(&window_, QStringLiteral("There is no league to reopen yet. "
                                                               "Open one with File > Open."));
        return;
    }
    if (!QFileInfo(LastFile_).isFile()) {
        window_.ShowFailure(QStringLiteral("The league \"%1\" cannot be reopened: the file is not "
                                           "there any more.")
                                .arg(LastFile_));
        return;
    }
    if (!SettleUnsavedChanges())
        return;
    OpenLeagueFile(LastFile_, false);
}

bool LeagueCommands::OpenLeagueFile(const QString& leagueFile, bool remember) {
    LeagueDocument& document = window_.Document();
    // Changes a crash left are let go of only on the user's word, never by an import over them.
    const std::filesystem::path league = leagueFile.toStdString();
    if (!window_.Safety().SettleLeftoverChanges(league))
        return false;
    bool readOnly = false;
    if (const std::optional<QString> refusal = document.ClaimLeague(league)) {
        if (!window_.Prompts().AskYesNo(
                &window_, *refusal + QStringLiteral("\n\nWould you like to open it read only? You "
                                                    "can look through its players but not change "
                                                    "or save them.")))
            return false;
        readOnly = true;
    }
    try {
        document.Open(leagueFile, readOnly, window_.ProgressWindow());
    } catch (const std::exception& e) {
        window_.ShowFailure(QString::fromStdString(e.what()));
        return false;
    }
    window_.Prompts().SetLeagueFolder(QFileInfo(leagueFile).absolutePath());
    if (remember)
        WriteLastFile(leagueFile);
    return true;
}

bool LeagueCommands::SaveCurrentLeague() {
    window_.CommitPendingEdit();
    LeagueDocument& document = window_.Document();
    if (!document.IsOpen())
        return true; // no league open: nothing to save
    if (document.IsReadOnly()) {
        window_.Prompts().ShowMessage(&window_, QStringLiteral("The league \"%1\" is open read "
                                                               "only: it cannot be saved.")
                                                    .arg(document.LeagueFile()));
        return false;
    }
    std::size_t written = 0;
    try {
        written = document.Save();
    } catch (const std::exception& e) {
        window_.ShowFailure(QString::fromStdString(e.what()));
        return false;
    }
    window_.ShowStatus(QStringLiteral("Saved %1 players to %2")
                           .arg(QLocale().toString(qulonglong(written)),
                                Text(document.League().playerFile.filename())));
    return true;
}

void LeagueCommands::PrintLeague() {
    window_.CommitPendingEdit();
    if (!window_.Document().IsOpen()) {
        window_.Prompts().ShowMessage(&window_,
                                      QStringLiteral("Open a league before printing its rosters."));
        return;
    }
    const std::filesystem::path folder = window_.Document().WorkingDirectory();
    const std::vector<std::filesystem::path> written =
        tavrel::PrintRosters(window_.WorkingDatabase(), folder);
    window_.ShowStatus(
        QStringLiteral("%1 roster files written to %2").arg(written.size()).arg(Text(folder)));
}

bool LeagueCommands::ConfirmEnd() {
    window_.CommitPendingEdit();
    LeagueDocument& document = window_.Document();
    if (document.IsReadOnly())
        return true; // nothing can be saved
    // Asked whenever the program ends, as it always was; with no league or no edits, Yes saves
    // nothing and No loses nothing.
    const std::optional<bool> save = window_.Prompts().AskYesNoOrCancel(&window_, kSaveQuestion);
    if (!save)
        return false; // Esc or the close box: the program goes on with the edits
    if (!*save) {
        if (document.IsOpen() && document.HasUnsavedChanges())
            document.DropUnsavedChanges(); // or the next start would offer to recover them
        return true;
    }
    return SaveCurrentLeague(); // a failed save keeps the program open, so nothing is lost
}
