// The report's sections of the synthesis: each part grade's best build, what to buy, and when no
// grade meets the spec, what stands in the way.
#include "analysis_report/report_sections.h"

#include "analysis_report/term_text.h"

#include "calc_core/catalogue_grades.h"
#include "calc_core/part_power.h"
#include "calc_core/synthesis.h"

#include <cctype>
#include <string>
#include <vector>

namespace analysis_report {
namespace {

using calc_core::DesignAnalysis;
using calc_core::GradeStatus;
using calc_core::GradeSynthesis;
using calc_core::PartGrade;

std::string Percent(double share, int decimals, const Writer& w) {
    return FormatFixed(share * 100, decimals, w.Separator()) + " %";
}

// A spec the search found, to the thousandth of a percent.
std::string TightestText(double pct, const Writer& w) {
    return std::string(PlusMinus) + FormatFixed(pct, 3, w.Separator()) + " %";
}

// "± 1 % ± 50 ppm/°C".
std::string ToleranceAndTcr(double tolerancePct, double tcrPpm, const Writer& w) {
    const std::string pm(PlusMinus);
    return pm + w.Setting(tolerancePct) + " % " + pm + w.Setting(tcrPpm) + " ppm/\u00b0C";
}

std::string SpecText(double pct, const Writer& w) {
    return std::string(PlusMinus) + w.Setting(pct) + " %";
}

RowFit BuildFit(const calc_core::Build& build, const PartGrade& grade, bool r2Free) {
    return {calc_core::FitChoice::Typed(build.r1, build.r3,
                                        r2Free ? std::optional(build.r2) : std::nullopt),
            grade};
}

// "R1 21.65 mW": the part that dissipates most, at its nominal value.
std::string PowerText(const calc_core::BuildPower& power, const Writer& w) {
    return "R" + std::to_string(power.highest + 1) + " " + w.Watts(power.watts[power.highest]);
}

calc_core::BuildPower PowerOfBuild(const DesignAnalysis& a, const calc_core::Build& build) {
    calc_core::Circuit c = a.design.circuit;
    c.r1 = build.r1;
    c.r2 = build.r2;
    c.r3 = build.r3;
    return calc_core::PowerOf(c);
}

std::vector<std::string> GradeRow(std::size_t index, const GradeSynthesis& g, const Writer& w) {
    const PartGrade& grade = g.grade;
    std::vector<std::string> row = {
        std::to_string(index + 1), std::string(calc_core::GradeSeriesName(grade)),
        std::string(PlusMinus) + w.Setting(grade.tolerancePct) + " %",
        std::string(PlusMinus) + w.Setting(grade.tcrPpm) + " ppm/\u00b0C", grade.name};
    const std::optional<double> board = calc_core::BoardPrice(grade);
    const std::string price = board ? w.Setting(*board) : "\u2014";
    if (g.status != GradeStatus::Searched) {
        row.insert(row.end(), {"\u2014", "\u2014", "\u2014", "\u2014", "no", "\u2014", "\u2014",
                               price, "\u2014", "\u2014"});
        return row;
    }
    row.insert(row.end(),
               {w.Ohms(g.best.r1), w.Ohms(g.best.r2), w.Ohms(g.best.r3), w.Volts(g.best.margin),
                g.meets() ? "yes" : "no", TightestText(g.tightestSpecPct, w),
                g.yield ? YieldText(*g.yield, w.Separator()) : std::string("\u2014"), price,
                PowerText(g.power, w), w.Amps(g.power.dividerCurrentA)});
    return row;
}

Note MethodNote(const DesignAnalysis& a, const Writer& w) {
    const calc_core::AnalysisSettings& s = a.settings;
    const std::string r2 = s.r2MinOhms && s.r2MaxOhms
                               ? "R2 free from " + w.Ohms(*s.r2MinOhms) + " to " +
                                     w.Ohms(*s.r2MaxOhms) + " of the grade's values"
                               : "R2 as designed, " + w.Ohms(a.design.circuit.r2);
    const std::string values =
        s.parts.catalogue.empty()
            ? "of its values from " + calc_core::SeriesRangeText() + " (or the parts list's)"
            : "of its parts in the catalogue";
    return {"Each grade's best build: R1 and R3 " + values + ", with " + r2 +
            ", judged by its worst-case bands with the grade's tolerance and TCR and every other "
            "setting against each level's target " +
            SpecText(s.specPct, w) +
            ". The largest smallest margin wins; ties go to the smaller R1, then R3, then R2. "
            "Tightest spec: the smallest spec that some build of the grade meets."};
}

// Why a grade was not searched.
std::string SkippedText(std::size_t index, const GradeSynthesis& g) {
    const std::string grade = "Grade " + std::to_string(index + 1) + " was not searched: ";
    switch (g.status) {
    case GradeStatus::NoPartsList:
        return grade + "it names the parts list, and there is none.";
    case GradeStatus::NoR2InRange:
        return grade + "none of its values lies in R2's range.";
    case GradeStatus::NoR2Value:
        return grade + "the catalogue has none of its parts at R2 as designed; give R2's range "
                       "to choose R2 as well.";
    case GradeStatus::Refused:
        return grade + g.refusal;
    case GradeStatus::OverRating:
        return grade + "every build would dissipate more than its rating somewhere.";
    case GradeStatus::Searched:
        break;
    }
    return {};
}

// What the quantity's swing is made of: "Vref ± 1 %", its terms that are not 0.
std::string FixedText(calc_core::ToleranceQuantity quantity, const calc_core::AnalysisSettings& s,
                      const Writer& w) {
    for (const calc_core::QuantitySet group : TermGroups()) {
        if (calc_core::Moves(group, quantity)) {
            std::string text = GroupText(group) + " " + TermsText(group, s, w, true);
            text[0] = char(std::toupper(static_cast<unsigned char>(text[0])));
            return text;
        }
    }
    return {};
}

// No grade meets the spec: the grade that comes nearest, and what no resistor choice changes.
std::vector<Note> LimitNotes(const DesignAnalysis& a, const calc_core::SpecLimit& limit,
                             const Writer& w) {
    const GradeSynthesis& nearest = a.synthesis->grades[limit.grade];
    std::vector<Note> notes = {{"No grade meets the " + SpecText(a.settings.specPct, w) +
                                    " spec. Grade " + std::to_string(limit.grade + 1) + " (" +
                                    GradeText(nearest.grade, w) + ") comes nearest, reaching " +
                                    TightestText(limit.tightestSpecPct, w) + " at best; " +
                                    std::string(BuildsSectionName) + " shows its builds.",
                                true}};
    double share = 0;
    for (const calc_core::FixedSwing& swing : limit.fixed) {
        share += swing.share;
    }
    notes.push_back({"At " + w.Volts(limit.pinV) +
                     ", where its best build comes nearest the "
                     "spec's edge, what no resistor choice changes takes " +
                     Percent(share, 1, w) + " of the spread (sum of squares):"});
    for (const calc_core::FixedSwing& swing : limit.fixed) {
        if (swing.halfSwingV > 0) {
            notes.push_back(
                {FixedText(swing.quantity, a.settings, w) + " alone moves Vo at " +
                 w.Volts(limit.pinV) + " by " + std::string(PlusMinus) + w.Volts(swing.halfSwingV) +
                 ", " + FormatFixed(swing.pctOfTarget, 1, w.Separator()) + " % of its target."});
        }
    }
    return notes;
}

std::vector<Note> SynthesisNotes(const DesignAnalysis& a, const Writer& w) {
    const calc_core::Synthesis& synthesis = *a.synthesis;
    std::vector<Note> notes = {MethodNote(a, w)};
    if (!a.settings.parts.catalogue.empty()) {
        notes.push_back({CatalogueNote(a)});
    }
    for (std::size_t i = 0; i < synthesis.grades.size(); ++i) {
        if (synthesis.grades[i].status != GradeStatus::Searched) {
            notes.push_back({SkippedText(i, synthesis.grades[i])});
        }
    }
    if (synthesis.mixAssignments > calc_core::MaxMixAssignments) {
        notes.push_back({"A grade for each part was not looked for: the " +
                             std::to_string(synthesis.grades.size()) + " grades make " +
                             std::to_string(synthesis.mixAssignments) +
                             " assignments of a grade to R1, R2 and R3, more than the " +
                             std::to_string(calc_core::MaxMixAssignments) +
                             " the search tries. Give the parts of a series one price, so that "
                             "they make one grade.",
                         true});
    }
    if (synthesis.chosen) {
        const GradeSynthesis& chosen = synthesis.grades[*synthesis.chosen];
        notes.push_back({"Buy grade " + std::to_string(*synthesis.chosen + 1) + ", " +
                         GradeText(chosen.grade, w) + ": the cheapest that meets the " +
                         SpecText(a.settings.specPct, w) +
                         " spec for all three parts. Select a row to analyse its "
                         "build as fitted, with its tolerance and TCR."});
        const std::optional<double> throughout = calc_core::BoardPrice(chosen.grade);
        if (synthesis.mixed && throughout && synthesis.mixed->price < *throughout) {
            notes.push_back({"A grade for each part costs less: see Buy."});
        }
    } else if (synthesis.mixed) {
        notes.push_back({"No grade meets the " + SpecText(a.settings.specPct, w) +
                         " spec for all three parts, but a grade for each part does: see Buy."});
    } else if (synthesis.limit) {
        const std::vector<Note> limit = LimitNotes(a, *synthesis.limit, w);
        notes.insert(notes.end(), limit.begin(), limit.end());
    }
    if (a.yield) {
        notes.push_back({"Yield: of each grade's best build, with the boards, seed and "
                         "distribution of the Yield section."});
    }
    return notes;
}

} // namespace

std::string CatalogueNote(const DesignAnalysis& a) {
    const std::size_t parts = a.settings.parts.catalogue.size();
    const std::size_t grades = a.synthesis->grades.size();
    return "The parts catalogue stood in for the part grades: its " + std::to_string(parts) +
           (parts == 1 ? " part" : " parts") + ", grouped by their figures into " +
           std::to_string(grades) + (grades == 1 ? " grade" : " grades") +
           ", cheapest first; a part's figure it leaves out is the setting's.";
}

std::string GradeText(const PartGrade& grade, const Writer& w) {
    return std::string(calc_core::GradeSeriesName(grade)) + " " +
           ToleranceAndTcr(grade.tolerancePct, grade.tcrPpm, w) +
           (grade.name.empty() ? "" : " (" + grade.name + ")");
}

std::string ResistorGradeText(const calc_core::AnalysisSettings& s, const Writer& w) {
    return ToleranceAndTcr(s.resistorTolerancePct, s.resistorTcrPpm, w);
}

Section PartsSection(const DesignAnalysis& a, const Writer& w) {
    const calc_core::Synthesis& synthesis = *a.synthesis;
    const bool r2Free = a.settings.r2MinOhms && a.settings.r2MaxOhms;
    Section section;
    section.name = std::string(PartsSectionName);
    section.header = {
        "Grade",  "Series", "Tolerance",  "TCR",           "Name",  "R1",          "R2",
        "R3",     "Margin", "Meets spec", "Tightest spec", "Yield", "Board price", "Highest power",
        "Current"};
    for (std::size_t i = 0; i < synthesis.grades.size(); ++i) {
        const GradeSynthesis& g = synthesis.grades[i];
        section.rows.push_back(GradeRow(i, g, w));
        section.fits.push_back(g.status == GradeStatus::Searched
                                   ? std::optional(BuildFit(g.best, g.grade, r2Free))
                                   : std::nullopt);
    }
    section.notes = SynthesisNotes(a, w);
    return section;
}

Section BuildsSection(const DesignAnalysis& a, const Writer& w) {
    const calc_core::Synthesis& synthesis = *a.synthesis;
    // The grade that meets the spec, or else the one that comes nearest.
    const std::size_t index = synthesis.chosen ? *synthesis.chosen : synthesis.limit->grade;
    const GradeSynthesis& grade = synthesis.grades[index];
    const bool r2Free = a.settings.r2MinOhms && a.settings.r2MaxOhms;
    Section section;
    section.name = std::string(BuildsSectionName);
    section.subject = "Grade " + std::to_string(index + 1) +
                      (synthesis.chosen ? ": " : ", nearest the spec (none meets it): ") +
                      GradeText(grade.grade, w);
    section.header = {"Rank", "R1", "R2", "R3", "Margin", "Highest power", "Current"};
    for (std::size_t i = 0; i < synthesis.builds.size(); ++i) {
        const calc_core::Build& build = synthesis.builds[i];
        const calc_core::BuildPower power = PowerOfBuild(a, build);
        section.rows.push_back({std::to_string(i + 1), w.Ohms(build.r1), w.Ohms(build.r2),
                                w.Ohms(build.r3), w.Volts(build.margin), PowerText(power, w),
                                w.Amps(power.dividerCurrentA)});
        section.fits.emplace_back(BuildFit(build, grade.grade, r2Free));
    }
    const std::string which =
        synthesis.chosen ? "The best builds of the cheapest grade that meets the spec"
                         : "No grade meets the " + SpecText(a.settings.specPct, w) +
                               " spec: these are the best builds of the grade that comes nearest";
    section.notes = {{which + ", by their smallest margin; select a row to analyse it as fitted."}};
    return section;
}

} // namespace analysis_report
