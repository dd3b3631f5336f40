// The builders of the report's sections, one subject a file; used by MakeReport only.
// A new section gets a builder declared here, defined in a file of its own and listed in
// MakeReport's order.
#pragma once

#include "analysis_report/analysis_report.h"
#include "analysis_report/report_writer.h"
#include "calc_core/analysis_design.h"
#include "calc_core/analysis_settings.h"
#include "calc_core/design_analysis.h"

#include <string>

namespace analysis_report {

// The design as analysed: the parts, and the targets, which on the Check tab are the set's own
// outputs (design_sections.cpp).
Section DesignSection(const calc_core::AnalysisDesign& design, bool checkTargets, const Writer& w);
// The analysis settings; those of the diode only with one (design_sections.cpp).
Section SettingsSection(const calc_core::AnalysisSettings& s, bool diode, const Writer& w);

// The R1 and R3 whose figures a section gives: as designed, or as fitted (section_subject.cpp).
std::string SubjectOf(const calc_core::DesignAnalysis& a, const Writer& w);

// The output, the diode and the currents at each pin level (level_sections.cpp).
Section LevelsSection(const calc_core::DesignAnalysis& a, const Writer& w);
// The output in each of the pin's fault states (level_sections.cpp).
Section FaultsSection(const calc_core::DesignAnalysis& a, const Writer& w);
// The ranked pairs of preferred R1 and R3 (preferred_section.cpp).
Section PreferredSection(const calc_core::DesignAnalysis& a, bool checkTargets, const Writer& w);
// The worst-case and RSS bands of each level and what makes them up (tolerance_section.cpp).
Section ToleranceSection(const calc_core::DesignAnalysis& a, const Writer& w);
// Each level's worst-case band against the output spec (spec_section.cpp).
Section SpecSection(const calc_core::DesignAnalysis& a, bool checkTargets, const Writer& w);

// A grade as the notes name it: "E96 ± 1 % ± 50 ppm/°C (thick film)"; and the settings'
// resistors alike, "± 1 % ± 100 ppm/°C" (synthesis_section.cpp).
std::string GradeText(const calc_core::PartGrade& grade, const Writer& w);
// That the parts catalogue stood in for the grades, with its parts and grades counted.
std::string CatalogueNote(const calc_core::DesignAnalysis& a);
std::string ResistorGradeText(const calc_core::AnalysisSettings& s, const Writer& w);

// Each part grade's best build against the spec, and what to buy (synthesis_section.cpp).
Section PartsSection(const calc_core::DesignAnalysis& a, const Writer& w);
// The best builds of the cheapest grade that meets the spec, or when none does, of the grade that
// comes nearest (synthesis_section.cpp).
Section BuildsSection(const calc_core::DesignAnalysis& a, const Writer& w);
// How many boards pass, and each level's spread (yield_section.cpp).
Section YieldSection(const calc_core::DesignAnalysis& a, const Writer& w);

} // namespace analysis_report
