#pragma once

class frmMain;

// Keeps the main window showing its league document: the form's model gated and fed by it, the
// cells it changed shown again in the form, the list and the grid, a league it opened anew filled
// into the lists, the status bar and the open dialogs, the title following its state.
class DocumentViews {
public:
    explicit DocumentViews(frmMain& window);

    void Connect();
    // A league was opened, restored whole or recovered.
    void ShowOpenedLeague();

private:
    frmMain& w_;
};
