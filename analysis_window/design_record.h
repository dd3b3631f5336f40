// The designs the Calc and Check tabs last computed, kept for the design analysis.
#pragma once

#include "analysis_report/press_record.h"
#include "calc_core/check_calculation.h"
#include "calc_core/design_analysis.h"
#include "calc_core/design_calculation.h"
#include "calc_core/design_tab.h"

#include <QObject>

#include <optional>

namespace analysis_window {

// Kept with the window like CheckResults, and neither CLEAR resets it: the record of the tabs'
// presses (analysis_report::PressRecord), which says when a press recorded a design.
class DesignRecord : public QObject {
    Q_OBJECT

  public:
    using QObject::QObject;

    const std::optional<calc_core::AnalysisDesign>& design(calc_core::Tab tab) const {
        return m_record.design(tab);
    }
    const std::optional<analysis_report::Section>& results(calc_core::Tab tab) const {
        return m_record.results(tab);
    }

    void recordCalc(const calc_core::CalcPressOutcome& press);
    void recordCheck(const calc_core::CheckOutcome& press);
    void record(calc_core::Tab tab, const calc_core::AnalysisDesign& design);

  signals:
    void recorded(calc_core::Tab tab);

  private:
    analysis_report::PressRecord m_record;
};

} // namespace analysis_window
