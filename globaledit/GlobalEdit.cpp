#include "globaledit/GlobalEdit.h"

#include "globaledit/GlobalEditPass.h"
#include "globaledit/RatingRule.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace tavrel {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The ordinary C-locale conversion of a number: blanks around it, a sign, fractions and an
// exponent are accepted; anything after the number, or a number that is not finite, is not.
std::optional<double> ParseNumber(const std::string& text) {
    std::string_view t(text);
    while (!t.empty() && IsBlank(t.front()))
        t.remove_prefix(1);
    while (!t.empty() && IsBlank(t.back()))
        t.remove_suffix(1);
    if (t.size() > 1 && t.front() == '+' && t[1] != '-' && t[1] != '+')
        t.remove_prefix(1);
    if (t.empty())
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (error != std::errc() || end != t.data() + t.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

std::vector<int> EditedRatings(const GlobalEditInputs& in) {
    std::vector<int> edited;
    for (int k = 0; k < kRatingCount; ++k)
        if (in.actualPercent[k] != 0.0)
            edited.push_back(k);
    return edited;
}

std::optional<double> ParsePercentText(const std::string& text) {
    return ParseNumber(text);
}

std::optional<int> ParseBoundText(const std::string& text) {
    const auto number = ParseNumber(text);
    if (!number)
        return std::nullopt;
    if (*number < -1.0 || *number > 256.0)
        return std::nullopt;
    const std::int64_t whole = RoundHalfEven(*number);
    if (whole < 0 || whole > 255)
        return std::nullopt;
    return static_cast<int>(whole);
}

GlobalEditOutcome ApplyGlobalEdit(const std::filesystem::path& workingDb, int positionCode,
                                  const GlobalEditInputs& inputs, Progress* progress) {
    const int codes[] = {positionCode};
    return RunGlobalEditPass(workingDb, codes, inputs, progress, nullptr).front();
}

} // namespace tavrel
