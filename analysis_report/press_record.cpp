// Recording the designs of the tabs' presses.
#include "analysis_report/press_record.h"

#include "analysis_report/press_section.h"

namespace analysis_report {

bool PressRecord::Record(const calc_core::CalcPressOutcome& press) {
    const auto design = calc_core::DesignOfPress(press);
    if (design) {
        Store(calc_core::Tab::Calc, *design, PressSection(press));
    }
    return design.has_value();
}

bool PressRecord::Record(const calc_core::CheckOutcome& press) {
    const auto design = calc_core::DesignOfPress(press);
    if (design) {
        Store(calc_core::Tab::Check, *design, PressSection(press));
    }
    return design.has_value();
}

void PressRecord::Record(calc_core::Tab tab, const calc_core::AnalysisDesign& design) {
    Store(tab, design, std::nullopt);
}

void PressRecord::Store(calc_core::Tab tab, const calc_core::AnalysisDesign& design,
                        std::optional<Section> results) {
    m_designs[std::size_t(tab)] = design;
    m_results[std::size_t(tab)] = std::move(results);
    ++m_recordings[std::size_t(tab)];
}

} // namespace analysis_report
