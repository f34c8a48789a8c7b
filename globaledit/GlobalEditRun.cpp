#include "globaledit/GlobalEditRun.h"

#include <algorithm>

namespace tavrel {

std::vector<int> InCheckBoxOrder(std::span<const int> positionCodes) {
    std::vector<int> ordered;
    for (const int code : kGlobalEditPositionCodes)
        if (std::find(positionCodes.begin(), positionCodes.end(), code) != positionCodes.end())
            ordered.push_back(code);
    return ordered;
}

std::vector<GlobalEditOutcome> ApplyGlobalEditPositions(const std::filesystem::path& workingDb,
                                                        std::span<const int> positionCodes,
                                                        const GlobalEditInputs& inputs,
                                                        Progress* progress) {
    std::vector<GlobalEditOutcome> outcomes;
    for (const int code : InCheckBoxOrder(positionCodes))
        outcomes.push_back(ApplyGlobalEdit(workingDb, code, inputs, progress));
    return outcomes;
}

} // namespace tavrel
