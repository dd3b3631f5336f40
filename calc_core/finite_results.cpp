// Checking that every result of the analysis is a finite number.
#include "calc_core/finite_results.h"

#include <string_view>
#include <utility>

namespace calc_core {
namespace {

// Whether each group of a set's results is finite, after making them plain.
struct FiniteGroups {
    bool voltages = true;
    bool formula = true;
    bool currents = true;
    bool span = true;
    bool pR1 = true;
    bool pR2 = true;
    bool faults = true;
    bool bands = true;
    bool spec = true;

    bool All() const {
        return voltages && formula && currents && span && pR1 && pR2 && faults && bands && spec;
    }
};

FiniteGroups MakeSetFinite(SetAnalysis& a) {
    FiniteGroups finite;
    for (LevelAnalysis& level : a.levels) {
        finite.voltages = MakeFinite(level.pinV, level.vo) && finite.voltages;
        finite.formula = MakeFinite(level.voFormula) && finite.formula;
        finite.currents = MakeFinite(level.iR1, level.iR2, level.iR3) && finite.currents;
    }
    finite.span = MakeFinite(a.span);
    finite.pR1 = MakeFinite(a.pR1Max);
    finite.pR2 = MakeFinite(a.pR2Max);
    for (FaultAnalysis& fault : a.faults) {
        finite.faults = MakeFinite(fault.vo) && finite.faults;
    }
    for (ToleranceLevel& band : a.tolerance) {
        finite.bands = MakeFinite(band.min, band.max, band.rss) && finite.bands;
        for (double& share : band.shares) {
            finite.bands = MakeFinite(share) && finite.bands;
        }
    }
    for (SpecLevel& spec : a.spec) {
        finite.spec = MakeFinite(spec.target, spec.low, spec.high, spec.margin) && finite.spec;
    }
    return finite;
}

bool MakePairsFinite(std::vector<PreferredPair>& pairs) {
    bool finite = pairs.size() == std::size_t{PreferredPairCount};
    for (PreferredPair& pair : pairs) {
        for (double& vo : pair.levels) {
            finite = MakeFinite(vo) && finite;
        }
        finite = MakeFinite(pair.errorVoMax, pair.errorVoMin, pair.worstError, pair.sumError,
                            pair.specMargin) &&
                 finite;
    }
    return finite;
}

bool MakeFittedFinite(std::optional<FittedAnalysis>& fitted) {
    if (!fitted) {
        return true;
    }
    bool finite = MakeSetFinite(fitted->set).All();
    for (double& change : fitted->voChange) {
        finite = MakeFinite(change) && finite;
    }
    return finite;
}

} // namespace

std::string FiniteRefusal(DesignAnalysis& a) {
    const FiniteGroups set = MakeSetFinite(a.set);
    const bool targets = MakeFinite(*a.design.targetVoMax, *a.design.targetVoMin);
    const bool pairs = MakePairsFinite(a.preferred);
    const bool fitted = MakeFittedFinite(a.fitted);
    const std::pair<bool, std::string_view> groups[] = {
        {set.voltages, "The output voltages at the pin levels are"},
        {targets, "The targets are"},
        {set.formula, "The output voltages by the tabs' formula are"},
        {set.currents, "The currents at the pin levels are"},
        {set.span, "The span of the output is"},
        {set.pR1, "The power in R1 is"},
        {set.pR2, "The power in R2 is"},
        {set.faults, "The outputs in the fault states are"},
        {pairs, "The errors of the preferred-value pairs are"},
        {set.bands, "The tolerance bands are"},
        {set.spec, "The spec's edges and margins are"},
        {fitted, "The results for the fitted pair are"},
    };
    for (const auto& [finite, subject] : groups) {
        if (!finite) {
            return std::string(subject) +
                   " beyond the range of numbers, so the design cannot be analysed.";
        }
    }
    return {};
}

} // namespace calc_core
