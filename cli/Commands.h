#pragma once

namespace CLI {
class App;
}

namespace tavrel::cli {

// One function per command, each in its own file: adds the subcommand, its arguments and what
// it runs. main() calls them in the order the help lists the commands.
void AddInfoCommand(CLI::App& app);
void AddDumpCommand(CLI::App& app);
void AddSaveAsCommand(CLI::App& app);
void AddDemoCommand(CLI::App& app);
void AddGlobalEditCommand(CLI::App& app);
void AddRostersCommand(CLI::App& app);
void AddExportCommand(CLI::App& app);
void AddImportCommand(CLI::App& app);
void AddDiffCommand(CLI::App& app);
void AddCheckCommand(CLI::App& app);
void AddBackupsCommand(CLI::App& app);
void AddRestoreCommand(CLI::App& app);
void AddPublishCommand(CLI::App& app);

} // namespace tavrel::cli
