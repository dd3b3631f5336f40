// The designs the Calc and Check tabs last computed, kept for the design analysis.
#pragma once

#include "analysis_report/analysis_report.h"
#include "calc_core/check_calculation.h"
#include "calc_core/design_analysis.h"
#include "calc_core/design_calculation.h"
#include "calc_core/design_tab.h"

#include <QObject>

#include <array>
#include <optional>

namespace analysis_window {

// Kept with the window like CheckResults: a press that computes replaces its tab's design, a
// press that ends with a message of the input check leaves it, and neither CLEAR resets it.
class DesignRecord : public QObject {
    Q_OBJECT

  public:
    using QObject::QObject;

    // Absent until the tab's first press that wrote results.
    const std::optional<calc_core::AnalysisDesign>& design(calc_core::Tab tab) const {
        return m_designs[std::size_t(tab)];
    }

    // The results the press that recorded the tab's design showed; absent for a design recorded
    // without a press.
    const std::optional<analysis_report::Section>& results(calc_core::Tab tab) const {
        return m_results[std::size_t(tab)];
    }

    // A Calc press that wrote R1 and R3 records its inputs with R1 and R3 as shown, whether
    // or not it marked something red.
    void recordCalc(const calc_core::CalcPressOutcome& press);
    // A Check press that computed records the set it computed with.
    void recordCheck(const calc_core::CheckOutcome& press);
    // Records a design as a press of the tab would.
    void record(calc_core::Tab tab, const calc_core::AnalysisDesign& design);

  signals:
    void recorded(calc_core::Tab tab);

  private:
    void store(calc_core::Tab tab, const calc_core::AnalysisDesign& design,
               std::optional<analysis_report::Section> results);

    std::array<std::optional<calc_core::AnalysisDesign>, 2> m_designs;
    std::array<std::optional<analysis_report::Section>, 2> m_results;
};

} // namespace analysis_window
