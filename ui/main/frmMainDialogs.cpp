// frmMain's calls into the Global Edit dialog, the About box and the help. Until those windows
// exist, each says so.
#include "ui/main/frmMain.h"

namespace {
const QString kNotAvailableYet = QStringLiteral("This is not available yet.");
}

void frmMain::InitHelp() {}

void frmMain::QuitHelp() {}

void frmMain::ShowGlobalEdit() {
    CommitPendingEdit();
    prompts_->ShowMessage(this, kNotAvailableYet);
}

void frmMain::ShowHelpContents() {
    prompts_->ShowMessage(this, kNotAvailableYet);
}

void frmMain::ShowAbout() {
    prompts_->ShowMessage(this, kNotAvailableYet);
}
