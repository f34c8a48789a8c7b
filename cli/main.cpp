#include "cli/CliSession.h"
#include "cli/Commands.h"

#include <CLI/CLI.hpp>

int main(int argc, char** argv) {
    CLI::App app{"Reads, checks, copies and edits league files from the command line. Works on a "
                 "private copy in a temporary folder; the league's own files are only read, except "
                 "by global-edit and import without --out, which back up the player file and save "
                 "into it, and by restore. OUT files of save-as, global-edit --out and import "
                 "--out that are another league's player file are written under that league's "
                 "lock, after a dated backup of it.",
                 "tavrel-cli"};
    app.set_version_flag("--version", "tavrel-cli " TAVREL_VERSION);
    app.require_subcommand(1);

    tavrel::cli::AddInfoCommand(app);
    tavrel::cli::AddDumpCommand(app);
    tavrel::cli::AddSaveAsCommand(app);
    tavrel::cli::AddDemoCommand(app);
    tavrel::cli::AddGlobalEditCommand(app);
    tavrel::cli::AddRostersCommand(app);
    tavrel::cli::AddExportCommand(app);
    tavrel::cli::AddImportCommand(app);
    tavrel::cli::AddDiffCommand(app);
    tavrel::cli::AddCheckCommand(app);
    tavrel::cli::AddBackupsCommand(app);
    tavrel::cli::AddRestoreCommand(app);
    tavrel::cli::AddPublishCommand(app);

    return tavrel::cli::RunCommandLine(app, argc, argv);
}
