// The designs the Calc and Check tabs last computed, with the results their presses showed: what
// the design analysis of each tab analyses, kept alike by the window and the page's interface.
// A press that computes replaces its tab's design; one that ends with a message of the input
// check leaves it.
#pragma once

#include "analysis_report/analysis_report.h"
#include "calc_core/analysis_design.h"
#include "calc_core/check_calculation.h"
#include "calc_core/design_calculation.h"
#include "calc_core/design_tab.h"

#include <array>
#include <cstdint>
#include <optional>

namespace analysis_report {

class PressRecord {
  public:
    // Absent until the tab's first press that wrote results.
    const std::optional<calc_core::AnalysisDesign>& design(calc_core::Tab tab) const {
        return m_designs[std::size_t(tab)];
    }

    // The results the press that recorded the tab's design showed, the first section of its
    // document; absent for a design recorded without a press.
    const std::optional<Section>& results(calc_core::Tab tab) const {
        return m_results[std::size_t(tab)];
    }

    // How many designs the tab has recorded: a newer design's analysis is not an older one's.
    std::uint64_t recordings(calc_core::Tab tab) const { return m_recordings[std::size_t(tab)]; }

    // A Calc press that wrote R1 and R3 records its inputs with R1 and R3 as shown, whether or not
    // it marked something red; a Check press that computed, the set it computed with. True when
    // the press recorded a design.
    bool Record(const calc_core::CalcPressOutcome& press);
    bool Record(const calc_core::CheckOutcome& press);
    // Records a design as a press of the tab would, without its results.
    void Record(calc_core::Tab tab, const calc_core::AnalysisDesign& design);

  private:
    void Store(calc_core::Tab tab, const calc_core::AnalysisDesign& design,
               std::optional<Section> results);

    std::array<std::optional<calc_core::AnalysisDesign>, 2> m_designs;
    std::array<std::optional<Section>, 2> m_results;
    std::array<std::uint64_t, 2> m_recordings{};
};

} // namespace analysis_report
