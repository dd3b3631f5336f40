// The designs the Calc and Check tabs last computed.
#include "analysis_window/design_record.h"

namespace analysis_window {

void DesignRecord::recordCalc(const calc_core::CalcPressOutcome& press) {
    if (m_record.Record(press)) {
        emit recorded(calc_core::Tab::Calc);
    }
}

void DesignRecord::recordCheck(const calc_core::CheckOutcome& press) {
    if (m_record.Record(press)) {
        emit recorded(calc_core::Tab::Check);
    }
}

void DesignRecord::record(calc_core::Tab tab, const calc_core::AnalysisDesign& design) {
    m_record.Record(tab, design);
    emit recorded(tab);
}

} // namespace analysis_window
