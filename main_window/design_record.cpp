// The designs the Calc and Check tabs last computed.
#include "main_window/design_record.h"

#include "calc_core/design_analysis.h"

namespace main_window {

void DesignRecord::recordCalc(const calc_core::CalcPressOutcome& press) {
    if (const auto design = calc_core::DesignOfPress(press)) {
        record(DesignTab::Calc, *design);
    }
}

void DesignRecord::recordCheck(const calc_core::CheckOutcome& press) {
    if (const auto design = calc_core::DesignOfPress(press)) {
        record(DesignTab::Check, *design);
    }
}

void DesignRecord::record(DesignTab tab, const calc_core::AnalysisDesign& design) {
    m_designs[std::size_t(tab)] = design;
    emit recorded(tab);
}

} // namespace main_window
