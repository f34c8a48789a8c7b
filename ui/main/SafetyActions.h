#pragma once

#include "ui/document/LeagueDocument.h"

#include <filesystem>

class frmMain;

// The main window's safety nets: File > Restore Backup... and the recovery of unsaved changes a
// window that ended without Save or No left in the working database. Those changes are let go of
// only when the user says Discard (or they can no longer be put onto their player file); Esc, a
// league another program holds, or a failure keeps them, and they are offered again.
class SafetyActions {
public:
    explicit SafetyActions(frmMain& window);

    // File > Restore Backup... after the reopen item.
    void AddSafetyItems();
    void RestoreBackup();
    // At start, with no league open: every league's left-over changes, until one is recovered.
    void OfferCrashRecovery();
    // Before opening `leagueFile` would import over its working database: true when it holds no
    // left-over changes (none, or discarded now); false when they stay (kept, or recovered now),
    // and the open must not go on.
    bool SettleLeftoverChanges(const std::filesystem::path& leagueFile);

private:
    enum class Leftover { None, Recovered, Kept, Discarded };
    // Those of every league (`leagueFile` empty) or of one.
    Leftover OfferLeftoverChanges(const std::filesystem::path& leagueFile);
    Leftover OfferLeftover(const LeagueDocument::Leftover& leftover);

    frmMain& window_;
};
