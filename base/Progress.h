#pragma once

#include <string>

namespace tavrel {

// What the long passes (import, export, Global Edit) report while they run. The window shows it
// in its progress window. Passes take a Progress*; null means nobody listens, and then progress
// costs nothing.
class Progress {
public:
    virtual ~Progress() = default;
    // Shows the progress window with this message; the bar keeps its value until SetValue.
    virtual void Begin(const std::string& caption) = 0;
    // Moves the bar (0..100) and lets the window repaint.
    virtual void SetValue(float value) = 0;
    // Hides the progress window.
    virtual void End() = 0;
};

// The progress rule the three passes share: after each row add `step` (span / rows, in single
// precision) to the bar's value, and only while the sum is below 100 move the bar and repaint.
// So the bar never reaches 100 and stops at the last sum below it. A pass with no rows takes no
// steps.
class ProgressStepper {
public:
    ProgressStepper(Progress* sink, float start, float span, long long rows)
        : sink_(sink), value_(start), step_(rows > 0 ? span / float(rows) : 0.0f) {}

    void Advance() {
        if (!sink_)
            return;
        const float sum = value_ + step_;
        if (sum < 100.0f) {
            value_ = sum;
            sink_->SetValue(value_);
        }
    }

    float value() const { return value_; }

private:
    Progress* sink_;
    float value_;
    float step_;
};

// Shows the progress window for the life of a pass and hides it however the pass ends.
class ProgressScope {
public:
    ProgressScope(Progress* sink, const std::string& caption) : sink_(sink) {
        if (sink_)
            sink_->Begin(caption);
    }
    ~ProgressScope() {
        if (sink_)
            sink_->End();
    }
    void Set(float value) {
        if (sink_)
            sink_->SetValue(value);
    }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

private:
    Progress* sink_;
};

} // namespace tavrel
