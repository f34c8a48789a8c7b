#include "globaledit/GlobalEditRun.h"

#include "globaledit/GlobalEditPass.h"

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
    return RunGlobalEditPass(workingDb, InCheckBoxOrder(positionCodes), inputs, progress, nullptr);
}

} // namespace tavrel
