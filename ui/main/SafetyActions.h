#pragma once

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
    // At start, with no league open.
    void OfferCrashRecovery();
    // Before an import would replace the working database: true when it holds no leftover
    // changes (none, or discarded now); false when they stay (kept, or recovered now), and the
    // import must not go on.
    bool SettleLeftoverChanges();

private:
    enum class Leftover { None, Recovered, Kept, Discarded };
    Leftover OfferLeftoverChanges();

    frmMain& window_;
};
