#pragma once

#include "base/Progress.h"

#include <string>
#include <vector>

namespace tavrel::testing {

// Records everything a pass reports: each call in order ("Begin:caption", "Set", "End"), and the
// captions, values and number of ends on their own.
class RecordingProgress : public Progress {
public:
    void Begin(const std::string& caption) override {
        calls.push_back("Begin:" + caption);
        captions.push_back(caption);
    }
    void SetValue(float value) override {
        calls.push_back("Set");
        values.push_back(value);
    }
    void End() override {
        calls.push_back("End");
        ++ends;
    }

    std::vector<std::string> calls;
    std::vector<std::string> captions;
    std::vector<float> values;
    int ends = 0;
};

} // namespace tavrel::testing
