// The designs the Calc and Check tabs last computed.
#include "analysis_window/design_record.h"

#include "analysis_report/press_section.h"

namespace analysis_window {

void DesignRecord::recordCalc(const calc_core::CalcPressOutcome& press) {
    if (const auto design = calc_core::DesignOfPress(press)) {
        store(calc_core::Tab::Calc, *design, analysis_report::PressSection(press));
    }
}

void DesignRecord::recordCheck(const calc_core::CheckOutcome& press) {
    if (const auto design = calc_core::DesignOfPress(press)) {
        store(calc_core::Tab::Check, *design, analysis_report::PressSection(press));
    }
}

void DesignRecord::record(calc_core::Tab tab, const calc_core::AnalysisDesign& design) {
    store(tab, design, std::nullopt);
}

void DesignRecord::store(calc_core::Tab tab, const calc_core::AnalysisDesign& design,
                         std::optional<analysis_report::Section> results) {
    m_designs[std::size_t(tab)] = design;
    m_results[std::size_t(tab)] = std::move(results);
    emit recorded(tab);
}

} // namespace analysis_window
