#include "cli/PreviewJson.h"

namespace tavrel::cli {
namespace {

using Json = nlohmann::ordered_json;

void PutTally(Json& json, const RuleTally& tally) {
    json["heldAtActualMax"] = tally.heldAtActualMax;
    json["heldAtActualMin"] = tally.heldAtActualMin;
    json["liftedToActual"] = tally.liftedToActual;
    json["heldAtPotentialMax"] = tally.heldAtPotentialMax;
    json["heldAtPotentialMin"] = tally.heldAtPotentialMin;
}

Json DistributionJson(const Distribution& d) {
    Json json = {{"count", d.count}};
    if (d.count > 0) {
        json["mean"] = d.mean;
        json["min"] = d.min;
        json["max"] = d.max;
    }
    json["counts"] = Json::array();
    for (const auto& [value, n] : d.counts)
        json["counts"].push_back({value, n});
    return json;
}

Json BeforeAfter(const Distribution& before, const Distribution& after) {
    return {{"before", DistributionJson(before)}, {"after", DistributionJson(after)}};
}

} // namespace

nlohmann::ordered_json PreviewJson(int team, const std::vector<PositionPreview>& positions) {
    Json json = {{"team", team}, {"positions", Json::array()}};
    for (const PositionPreview& p : positions) {
        Json position = {{"position", PositionText(p.positionCode)},
                         {"playersSelected", p.playersSelected},
                         {"playersChanged", p.playersChanged}};
        PutTally(position, p.tally);
        position["ratings"] = Json::array();
        for (const RatingPreview& r : p.ratings) {
            Json rating = {{"rating", std::string(kRatings[r.ratingIndex].code)}};
            PutTally(rating, r.tally);
            rating["actual"] = BeforeAfter(r.actualBefore, r.actualAfter);
            rating["potential"] = BeforeAfter(r.potentialBefore, r.potentialAfter);
            position["ratings"].push_back(std::move(rating));
        }
        json["positions"].push_back(std::move(position));
    }
    return json;
}

} // namespace tavrel::cli
