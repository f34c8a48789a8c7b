#include "cli/CliSession.h"
#include "cli/Commands.h"

#include <CLI/CLI.hpp>

int main(int argc, char** argv) {
    CLI::App app{"Reads, checks and copies league files from the command line. Works on a private "
                 "copy in a temporary folder; the league's own files are only read.",
                 "tavrel-cli"};
    app.set_version_flag("--version", "tavrel-cli " TAVREL_VERSION);
    app.require_subcommand(1);

    tavrel::cli::AddInfoCommand(app);
    tavrel::cli::AddDumpCommand(app);
    tavrel::cli::AddSaveAsCommand(app);
    tavrel::cli::AddDemoCommand(app);

    return tavrel::cli::RunCommandLine(app, argc, argv);
}
