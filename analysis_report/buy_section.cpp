// The report's sections of what to buy: each resistor's part with its grade, price and power
// against its rating, and the bill of materials of those parts.
#include "analysis_report/buy_section.h"

#include "analysis_report/report_csv.h"
#include "analysis_report/report_sections.h"
#include "analysis_report/term_text.h"
#include "calc_core/catalogue_grades.h"
#include "calc_core/decimal_text.h"
#include "calc_core/part_power.h"

#include <numeric>

namespace analysis_report {
namespace {

using calc_core::PartGrade;

constexpr std::array<std::string_view, 3> Designators = {"R1", "R2", "R3"};

std::string Number(const std::optional<double>& value) {
    return value ? calc_core::ShortestText(*value) : std::string();
}

// The parts' total, when every part has a price.
std::optional<double> TotalPrice(const BuildToBuy& build) {
    double total = 0;
    for (const PartGrade* grade : build.grades) {
        if (!grade->price) {
            return std::nullopt;
        }
        total += *grade->price;
    }
    return total;
}

// The total to 12 significant digits, so that 1.3 + 1.1 + 1.1 reads 3.5.
std::string TotalText(const BuildToBuy& build) {
    const std::optional<double> total = TotalPrice(build);
    return total ? calc_core::SignificantText(*total, 12) : std::string();
}

// "Buy R1 of grade 4, R2 of grade 2 and R3 of grade 3 for 4 a board, against 4.8 for grade 4
// throughout."
Note PriceNote(const calc_core::Synthesis& synthesis, const BuildToBuy& build, const Writer& w) {
    std::vector<std::string> parts;
    for (std::size_t r = 0; r < 3; ++r) {
        parts.push_back(std::string(Designators[r]) + " of grade " +
                        std::to_string(build.gradeIndex[r] + 1));
    }
    const std::optional<double> price = TotalPrice(build);
    std::string text = "Buy " + JoinedList(parts) +
                       (price ? " for " + w.Setting(*price) + " a board" : std::string());
    const std::optional<double> throughout =
        synthesis.chosen ? calc_core::BoardPrice(synthesis.grades[*synthesis.chosen].grade)
                         : std::nullopt;
    if (build.mixed && throughout) {
        text += ", against " + w.Setting(*throughout) + " for grade " +
                std::to_string(*synthesis.chosen + 1) + " throughout";
    }
    return {text + ".", false};
}

// What the build was judged by, and its figure.
Note CriterionNote(const calc_core::DesignAnalysis& a, const calc_core::CriterionVerdict& v,
                   const Writer& w) {
    const calc_core::AnalysisSettings& s = a.settings;
    const std::string spec = std::string(PlusMinus) + w.Setting(s.specPct) + " %";
    switch (s.criterion) {
    case calc_core::BuildCriterion::WorstCase:
        break;
    case calc_core::BuildCriterion::Yield:
        return {"Judged by the yield: at most " + w.Setting(s.maxFailPpm) +
                " failures per million against " + spec + " by their 95 % upper bound" +
                (v.boards == 0 ? "; its worst case meets the spec, so every board passes."
                               : ", " + w.Setting(v.ppmHigh.value_or(0)) + " ppm after " +
                                     std::to_string(v.boards) + " boards (seed " +
                                     std::to_string(s.yield.seed) + ").")};
    case calc_core::BuildCriterion::Cpk:
        return {"Judged by Cpk: every level's at least " + w.Setting(s.minCpk) + " against " +
                spec + "; the least is " + w.Setting(v.cpk.value_or(0)) + " over " +
                std::to_string(v.boards) + " boards (seed " + std::to_string(s.yield.seed) + ")."};
    }
    return {"Judged by the worst case: every level's worst-case band within its target " + spec +
            ", with " + w.Volts(v.margin) + " to spare."};
}

// Where the prices come from: the catalogue's lines, a grade file's, or the default grades'
// rough ones.
Note PricesNote(const calc_core::DesignAnalysis& a) {
    if (!a.settings.parts.catalogue.empty()) {
        return {"Prices are the parts catalogue's, in its unit."};
    }
    return {"Prices are the grade list's, in its unit. The default grades' are rough relative "
            "prices of 0603 parts bought by the reel, 1 for E24 5 %; a grade file with a price "
            "column gives real ones."};
}

std::vector<Note> BuyNotes(const calc_core::DesignAnalysis& a, const BuildToBuy& build,
                           const Writer& w) {
    const double rated = a.settings.tempMaxC;
    return {PriceNote(*a.synthesis, build, w),
            CriterionNote(a, *build.verdict, w),
            PricesNote(a),
            {"Power: each part's highest dissipation at its nominal value, against its rating "
             "derated for " +
             w.Setting(rated) +
             " \u00b0C, the highest of the range: a rating "
             "holds up to " +
             w.Setting(calc_core::PowerRatedUpToC) +
             " \u00b0C and falls "
             "linearly to none at " +
             w.Setting(calc_core::PowerNoneAtC) + " \u00b0C."}};
}

} // namespace

std::optional<BuildToBuy> ToBuy(const calc_core::DesignAnalysis& a) {
    if (!a.synthesis) {
        return std::nullopt;
    }
    const calc_core::Synthesis& synthesis = *a.synthesis;
    if (synthesis.mixed) {
        const calc_core::MixedBuild& m = *synthesis.mixed;
        const auto grade = [&](std::size_t r) { return &synthesis.grades[m.grades[r]].grade; };
        return BuildToBuy{m.r1,     m.r2, m.r3,      {grade(0), grade(1), grade(2)},
                          m.grades, true, &m.verdict};
    }
    if (!synthesis.chosen) {
        return std::nullopt;
    }
    const calc_core::GradeSynthesis& g = synthesis.grades[*synthesis.chosen];
    const std::size_t i = *synthesis.chosen;
    return BuildToBuy{g.best.r1, g.best.r2, g.best.r3, {&g.grade, &g.grade, &g.grade},
                      {i, i, i}, false,     &g.verdict};
}

Section BuySection(const calc_core::DesignAnalysis& a, const BuildToBuy& build, const Writer& w) {
    Section section;
    section.name = std::string(BuySectionName);
    section.header = {"Part",       "Value", "Grade", "Tolerance", "TCR",
                      "Life drift", "Price", "Power", "Rating"};
    calc_core::Circuit circuit = a.design.circuit;
    circuit.r1 = build.r1;
    circuit.r2 = build.r2;
    circuit.r3 = build.r3;
    const calc_core::BuildPower power = calc_core::PowerOf(circuit);
    const std::array<double, 3> values = {build.r1, build.r2, build.r3};
    for (std::size_t r = 0; r < 3; ++r) {
        const PartGrade& grade = *build.grades[r];
        const double drift = grade.lifeDriftPct.value_or(a.settings.resistorLifeDriftPct);
        section.rows.push_back(
            {std::string(Designators[r]), w.Ohms(values[r]),
             std::to_string(build.gradeIndex[r] + 1) + ": " + GradeText(grade, w),
             std::string(PlusMinus) + w.Setting(grade.tolerancePct) + " %",
             std::string(PlusMinus) + w.Setting(grade.tcrPpm) + " ppm/\u00b0C",
             std::string(PlusMinus) + w.Setting(drift) + " %",
             grade.price ? w.Setting(*grade.price) : std::string("\u2014"), w.Watts(power.watts[r]),
             grade.powerW ? w.Watts(calc_core::DeratedPowerW(*grade.powerW, a.settings.tempMaxC))
                          : std::string("\u2014")});
    }
    const std::optional<double> total = TotalPrice(build);
    section.rows.push_back(
        {"Total", "", "", "", "", "", total ? w.Setting(*total) : std::string("\u2014"), "", ""});
    section.notes = BuyNotes(a, build, w);
    return section;
}

Section BomSection(const calc_core::DesignAnalysis& a, const BuildToBuy& build) {
    Section section;
    section.name = std::string(BomSectionName);
    section.header = {"designator",     "value_ohm",  "tolerance_pct", "tcr_ppm",
                      "life_drift_pct", "grade",      "mpn",           "manufacturer",
                      "quantity",       "unit_price", "power_w"};
    const std::array<double, 3> values = {build.r1, build.r2, build.r3};
    for (std::size_t r = 0; r < 3; ++r) {
        const PartGrade& grade = *build.grades[r];
        const calc_core::CataloguePart* line =
            calc_core::CatalogueLine(a.settings.parts, grade, values[r]);
        section.rows.push_back(
            {std::string(Designators[r]), calc_core::ShortestText(values[r]),
             calc_core::ShortestText(grade.tolerancePct), calc_core::ShortestText(grade.tcrPpm),
             calc_core::ShortestText(grade.lifeDriftPct.value_or(a.settings.resistorLifeDriftPct)),
             std::to_string(build.gradeIndex[r] + 1) +
                 (grade.name.empty() ? "" : " (" + grade.name + ")"),
             line ? line->mpn : "", line ? line->manufacturer : "", "1", Number(grade.price),
             Number(grade.powerW)});
    }
    section.rows.push_back({"total", "", "", "", "", "", "", "", "", TotalText(build), ""});
    return section;
}

std::optional<std::string> BomCsv(const Report& report) {
    const Section* bom = FindSection(report, BomSectionName);
    return bom ? std::optional(SectionCsv(*bom)) : std::nullopt;
}

} // namespace analysis_report
