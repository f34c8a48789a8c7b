#include "globaledit/GlobalEditChanges.h"

#include "globaledit/GlobalEditPass.h"
#include "globaledit/GlobalEditRun.h"

namespace tavrel {

GlobalEditStep ApplyGlobalEditAsStep(const std::filesystem::path& workingDb,
                                     std::span<const int> positionCodes,
                                     const GlobalEditInputs& inputs, Progress* progress) {
    GlobalEditStep step;
    step.outcomes = RunGlobalEditPass(workingDb, InCheckBoxOrder(positionCodes), inputs, progress,
                                      &step.changes);
    return step;
}

std::string GlobalEditStepText(std::span<const int> positionCodes) {
    std::string text = "Global Edit of ";
    bool first = true;
    for (const int code : InCheckBoxOrder(positionCodes)) {
        text += (first ? "" : ", ") + PositionText(code);
        first = false;
    }
    return text;
}

std::string GlobalEditSummary(const std::vector<GlobalEditOutcome>& outcomes) {
    std::string text = "Global Edit changed ";
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        const long long n = outcomes[i].rowsChanged;
        text += (i ? ", " : "") + PositionText(outcomes[i].positionCode) + ": " +
                std::to_string(n) + (n == 1 ? " player" : " players");
    }
    return text;
}

} // namespace tavrel
