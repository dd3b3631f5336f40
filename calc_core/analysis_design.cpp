// The design of a Calc or Check press, as the analysis takes it.
#include "calc_core/analysis_design.h"

#include "calc_core/number_text.h"

#include <cmath>
#include <tuple>

namespace calc_core {

AnalysisDesign DesignOfCalc(const DesignInputs& inputs, double r1Shown, double r3Shown) {
    AnalysisDesign design;
    design.circuit = {r1Shown, inputs.r2, r3Shown, inputs.vref, std::nullopt};
    if (inputs.choice == DiodeChoice::Yes) {
        design.circuit.vf = inputs.vf;
    }
    design.targetVoMax = inputs.voMax;
    design.targetVoMin = inputs.voMin;
    return design;
}

AnalysisDesign DesignOfCheck(const CheckInputs& inputs) {
    AnalysisDesign design;
    design.circuit = {inputs.r1, inputs.r2, inputs.r3, inputs.vref, std::nullopt};
    if (inputs.choice == DiodeChoice::Yes) {
        design.circuit.vf = inputs.vf;
    }
    return design;
}

std::optional<AnalysisDesign> DesignOfPress(const CalcPressOutcome& press) {
    const DesignOutcome& result = press.result;
    if (!press.inputs || !result.r1Text || !result.r3Text) {
        return std::nullopt;
    }
    return DesignOfCalc(*press.inputs, ReadWholeText(*result.r1Text),
                        ReadWholeText(*result.r3Text));
}

std::optional<AnalysisDesign> DesignOfPress(const CheckOutcome& press) {
    if (!press.inputs) {
        return std::nullopt;
    }
    return DesignOfCheck(*press.inputs);
}

std::string PositiveRefusal(double value, std::string_view name, std::string_view unit) {
    if (!std::isfinite(value)) {
        return std::string(name) + " must be a finite number to analyse the design.";
    }
    if (!(value > 0)) {
        return std::string(name) + " must be above 0 " + std::string(unit) +
               " to analyse the design.";
    }
    return {};
}

std::string DesignRefusal(const AnalysisDesign& d) {
    const Circuit& c = d.circuit;
    for (const auto& [value, name, unit] :
         {std::tuple{c.r1, "R1", "\u03A9"}, std::tuple{c.r2, "R2", "\u03A9"},
          std::tuple{c.r3, "R3", "\u03A9"}, std::tuple{c.vref, "Vref", "V"}}) {
        if (std::string reason = PositiveRefusal(value, name, unit); !reason.empty()) {
            return reason;
        }
    }
    if (c.vf) {
        if (std::string reason = PositiveRefusal(*c.vf, "The diode's Vf", "V"); !reason.empty()) {
            return reason;
        }
    }
    if (d.targetVoMax && !std::isfinite(*d.targetVoMax)) {
        return "The target Vo_max must be a finite number to analyse the design.";
    }
    if (d.targetVoMin && !std::isfinite(*d.targetVoMin)) {
        return "The target Vo_min must be a finite number to analyse the design.";
    }
    return {};
}

} // namespace calc_core
