// The designs the Calc and Check tabs last computed.
#include "main_window/design_record.h"

#include "calc_core/number_text.h"

namespace main_window {

void DesignRecord::recordCalc(const calc_core::CalcPressOutcome& press) {
    const auto& result = press.result;
    if (!press.inputs || !result.r1Text || !result.r3Text) {
        return;
    }
    // The shown results are plain digits, which read the same in every locale.
    const calc_core::NumberLocale plain;
    const double r1 = calc_core::StrictNumber(*result.r1Text, plain).value_or(0);
    const double r3 = calc_core::StrictNumber(*result.r3Text, plain).value_or(0);
    record(DesignTab::Calc, calc_core::DesignOfCalc(*press.inputs, r1, r3));
}

void DesignRecord::recordCheck(const calc_core::CheckOutcome& press) {
    if (press.inputs) {
        record(DesignTab::Check, calc_core::DesignOfCheck(*press.inputs));
    }
}

void DesignRecord::record(DesignTab tab, const calc_core::AnalysisDesign& design) {
    m_designs[std::size_t(tab)] = design;
    emit recorded(tab);
}

} // namespace main_window
