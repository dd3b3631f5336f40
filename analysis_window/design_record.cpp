// The designs the Calc and Check tabs last computed.
#include "analysis_window/design_record.h"

namespace analysis_window {

void DesignRecord::recordCalc(const calc_core::CalcPressOutcome& press) {
    if (const auto design = calc_core::DesignOfPress(press)) {
        record(calc_core::Tab::Calc, *design);
    }
}

void DesignRecord::recordCheck(const calc_core::CheckOutcome& press) {
    if (const auto design = calc_core::DesignOfPress(press)) {
        record(calc_core::Tab::Check, *design);
    }
}

void DesignRecord::record(calc_core::Tab tab, const calc_core::AnalysisDesign& design) {
    m_designs[std::size_t(tab)] = design;
    emit recorded(tab);
}

} // namespace analysis_window
