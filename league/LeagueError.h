#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace tavrel {

// Every failure the core reports: what was being done, to which file, and why. The window and
// the command line catch it once per command and show what() as one message.
class LeagueError : public std::runtime_error {
public:
    LeagueError(std::string operation, std::filesystem::path file, std::string cause)
        : std::runtime_error(Compose(operation, file, cause)), operation_(std::move(operation)),
          file_(std::move(file)), cause_(std::move(cause)) {}

    const std::string& operation() const { return operation_; }
    const std::filesystem::path& file() const { return file_; }
    const std::string& cause() const { return cause_; }

private:
    static std::string Compose(const std::string& operation, const std::filesystem::path& file,
                               const std::string& cause) {
        std::string text = operation;
        if (!file.empty())
            text += " \"" + file.string() + "\"";
        return text + ": " + cause;
    }

    std::string operation_;
    std::filesystem::path file_;
    std::string cause_;
};

} // namespace tavrel
