#include "ui/global/TeamChoiceCombo.h"

#include "globaledit/GlobalEdit.h"

#include <QComboBox>

namespace tavrel {

void FillTeamChoiceCombo(QComboBox* combo, const std::vector<TeamChoice>& teams) {
    const QSignalBlocker blocker(combo);
    combo->clear();
    combo->addItem(QStringLiteral("All"), kAllTeams);
    for (const TeamChoice& team : teams)
        combo->addItem(QString::fromStdString(team.name), team.teamId);
    combo->addItem(QStringLiteral("Free Agents"), kFreeAgents);
}

} // namespace tavrel
