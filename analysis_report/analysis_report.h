// The design analysis as a report: sections of formatted cells with their notes, the same for
// every front end. A front end lays the cells out and changes none of them.
#pragma once

#include "calc_core/design_analysis.h"
#include "calc_core/design_tab.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace analysis_report {

// A line under a table; a warning is one the user must not miss.
struct Note {
    std::string text;
    bool warning = false;
};

// What selecting a section's row analyses as fitted: a preferred pair by its rank, or a build
// with its grade's figures (tolerance, TCR, life drift) taken into the settings (row_fit.h).
struct RowFit {
    calc_core::FitChoice fit;
    std::optional<calc_core::PartGrade> grade{};
};

struct Section {
    std::string name; // the table's heading, and its accessible name in the window
    // What the figures are for, shown under the name: the designed or the fitted R1 and R3;
    // empty for sections of the design as a whole.
    std::string subject;
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
    std::vector<std::pair<int, int>> flagged; // (row, column) of cells that warn
    std::vector<Note> notes;
    // What each row fits, in the order of the rows; empty for a section whose rows fit nothing.
    std::vector<std::optional<RowFit>> fits{};
};

// The names of the sections whose rows a front end may offer to fit: the preferred pairs, each
// grade's best build, and the best builds of the cheapest grade that meets the spec.
inline constexpr std::string_view PreferredSectionName = "Preferred values";
inline constexpr std::string_view PartsSectionName = "Parts to buy";
inline constexpr std::string_view BuildsSectionName = "Best builds";
// The section of the yield estimate.
inline constexpr std::string_view YieldSectionName = "Yield";

struct Report {
    std::string heading;
    Section design;                // quantity, value
    Section settings;              // setting, value
    std::string reason;            // why the design cannot be analysed; then `sections` is empty
    std::vector<Section> sections; // what the analysis finds, one section a subject
};

// Makes the report of the tab's design and its analysis; numbers are written with the given
// decimal separator (UTF-8) and never grouped.
Report MakeReport(calc_core::Tab tab, const calc_core::AnalysisDesign& design,
                  const calc_core::AnalysisSettings& settings,
                  const calc_core::AnalysisOutcome& outcome, std::string_view decimalSeparator);

// The report of a tab whose press gave no design: its heading and the reason, without sections.
Report ReportWithoutDesign(calc_core::Tab tab, std::string reason);

// The cell of the named row (first column) and column (header), or nullptr.
const std::string* FindCell(const Section& section, std::string_view row, std::string_view column);

// The section of that name, or nullptr.
const Section* FindSection(const Report& report, std::string_view name);

// Plain text for the clipboard: the heading, then each section apart by a blank line, its table as
// a heading line, a header line and rows with their cells separated by tabs, then its notes.
std::string ReportText(const Report& report);

} // namespace analysis_report
