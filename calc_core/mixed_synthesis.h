// Buying at least cost: a grade for each of R1, R2 and R3, the cheapest sum of their prices whose
// build meets the criterion, with each resistor's values from its own grade.
#pragma once

#include "calc_core/build_criterion.h"
#include "calc_core/circuit.h"
#include "calc_core/part_grades.h"
#include "calc_core/part_power.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace calc_core {

struct AnalysisSettings;

// One build with a grade for each resistor.
struct MixedBuild {
    std::array<std::size_t, 3> grades{}; // R1's, R2's and R3's, indices into the grades
    double r1 = 0;
    double r2 = 0;
    double r3 = 0;
    double price = 0; // the three parts' prices together
    BuildPower power;
    CriterionVerdict verdict;
};

// Where each resistor's values come from: a grade's series or the parts list, and R2 as designed
// or, with a range, each of its grade's values within it.
struct MixedSearch {
    std::span<const PartGrade> grades;
    std::span<const double> parts;
    std::optional<std::pair<double, double>> r2Range; // ohms, both included
    CriterionSettings criterion;
    // No assignment dearer than this is tried: the synthesis looks for a mix only below the
    // cheapest grade that meets the criterion for all three parts.
    std::optional<double> highestPrice;
};

// The most assignments of grades the search tries, about a second's work when none meets: a
// catalogue whose lines differ in price makes a grade of each, and a grade for each part then
// means the third power of their number (50 such lines make 125,000).
inline constexpr std::size_t MaxMixAssignments = 125'000;

// Every grade priced, and more than one grade: the grades may be mixed.
bool MixablePrices(std::span<const PartGrade> grades);

// The assignments of grades the search would try: the grades the settings accept for R1 and R3
// squared, times those that offer R2 (R2Choices); 0 when the grades cannot be mixed.
std::size_t MixAssignments(const Circuit& design, const AnalysisSettings& settings,
                           const MixedSearch& search);

// The cheapest build over every assignment of grades to R1, R2 and R3 whose build, the one with
// the largest worst-case margin among those within their power ratings, meets the criterion; ties
// in price go to the larger margin (with the yield criterion the smaller failure bound, with Cpk
// the larger Cpk), then to the smaller R1, R3 and R2. Assignments are tried from the cheapest up,
// and none dearer than a build found is tried. Absent when no assignment meets the criterion, the
// grades cannot be mixed, or there are more than MaxMixAssignments assignments. The grades must
// be ones the settings accept (SettingsRefusal).
std::optional<MixedBuild> CheapestMix(const Circuit& design, const std::vector<double>& targets,
                                      const AnalysisSettings& settings, const MixedSearch& search);

// The values a grade offers, ascending without repeats: a catalogue grade's own, its series from
// LowestSeriesOhms to HighestSeriesOhms, or the parts list's.
std::vector<double> GradeValues(const PartGrade& grade, std::span<const double> parts);

// The values of R2 a grade offers: with a range, those of its values within it (both ends
// included); without, R2 as designed, which a catalogue's grade offers only among its values.
std::vector<double> R2Choices(double designedR2, const PartGrade& grade,
                              const std::vector<double>& values,
                              const std::optional<std::pair<double, double>>& range);

// The grades of R1, R2 and R3 in an assignment.
std::array<const PartGrade*, 3> GradesOf(std::span<const PartGrade> grades,
                                         const std::array<std::size_t, 3>& assignment);

} // namespace calc_core
