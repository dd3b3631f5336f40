// Whether a build meets the criterion the parts are bought by: every level's worst-case band
// within its target plus or minus the spec; or, on simulated boards, few enough failures; or a
// high enough Cpk at every level.
#pragma once

#include "calc_core/circuit.h"
#include "calc_core/criterion_settings.h"
#include "calc_core/error_terms.h"
#include "calc_core/yield_settings.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace calc_core {

struct AnalysisSettings;

// The verdict on one build, with the figure that decided it.
struct CriterionVerdict {
    bool meets = false;
    double margin = 0; // the worst-case margin, always [V]
    // Yield: the failures per million's 95 % upper bound, and its lower; Cpk: the least level's.
    std::optional<double> ppmHigh;
    std::optional<double> ppmLow;
    std::optional<double> cpk;
    std::uint64_t boards = 0; // simulated: 0 when the worst case decided alone
};

// Judges the build at the sizes of its terms against one target per pin level. The yield runs
// chunk by chunk in order and stops as soon as the Wilson interval of the failures lies wholly
// below or above maxPpm, up to the settings' boards; a build whose worst-case band meets the spec
// passes every board and one whose band leaves the spec at a level fails every board, neither
// simulated. Cpk simulates every board but for a band wholly outside the spec. The same seed
// gives the same verdict on every platform.
CriterionVerdict JudgeBuild(const Circuit& build, const std::vector<double>& targets,
                            const AnalysisSettings& settings, const TermSizes& sizes,
                            const CriterionSettings& criterion, const YieldSettings& yield);

} // namespace calc_core
