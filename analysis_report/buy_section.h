// What to buy, as the report's sections: the build with each resistor's part, and its bill of
// materials, which every front end also gives as CSV.
#pragma once

#include "analysis_report/analysis_report.h"
#include "analysis_report/report_writer.h"
#include "calc_core/build_criterion.h"
#include "calc_core/design_analysis.h"

#include <array>
#include <cstddef>
#include <optional>

namespace analysis_report {

inline constexpr std::string_view BuySectionName = "Buy";
inline constexpr std::string_view BomSectionName = "Bill of materials";

// The build to buy: the cheapest mix of grades when there is one, else the first grade that meets
// the criterion for all three parts; with each resistor's grade.
struct BuildToBuy {
    double r1 = 0;
    double r2 = 0;
    double r3 = 0;
    std::array<const calc_core::PartGrade*, 3> grades{};
    std::array<std::size_t, 3> gradeIndex{}; // in the settings' grades
    bool mixed = false;
    const calc_core::CriterionVerdict* verdict = nullptr;
};

// Absent without the synthesis, or when nothing meets the criterion.
std::optional<BuildToBuy> ToBuy(const calc_core::DesignAnalysis& analysis);

// Each part with its value, grade, figures, price, power and derated rating, and the total.
Section BuySection(const calc_core::DesignAnalysis& analysis, const BuildToBuy& build,
                   const Writer& w);

// One row a part, designator to power rating, numbers as their shortest text, then the board's
// total price: the columns a purchasing list takes.
Section BomSection(const calc_core::DesignAnalysis& analysis, const BuildToBuy& build);

// The report's bill of materials as CSV, cells made harmless for spreadsheets; absent when the
// report has nothing to buy.
std::optional<std::string> BomCsv(const Report& report);

} // namespace analysis_report
