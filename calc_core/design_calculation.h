// The Calc tab: R1, R3 and Vo_mid from R2, Vref, Vo_max, Vo_min (and the diode's Vf),
// then the check of the design as shown in whole ohms.
#pragma once

#include "calc_core/input_gate.h"
#include "calc_core/number_locale.h"
#include "calc_core/press_message.h"

#include <optional>
#include <string>

namespace calc_core {

// A value compared by the design check fails when it is this far from its target or farther.
inline constexpr double CheckTolerance = 3.0;

// The element a failed design check marks red.
enum class FlaggedElement {
    None,
    VoMaxBox,    // Text1(2)
    VoMidResult, // Label2(2)
    VoMinBox,    // Text1(3)
};

struct DesignInputs {
    DiodeChoice choice = DiodeChoice::No; // No or Yes
    double r2 = 0;
    double vref = 0;
    double voMax = 0;
    double voMin = 0;
    double vf = 0; // read with Yes only
};

struct DesignOutcome {
    // Absent when the arithmetic gives no finite result; Vo_mid only with the choice No.
    std::optional<std::string> r1Text;
    std::optional<std::string> r3Text;
    std::optional<std::string> voMidText;
    FlaggedElement flagged = FlaggedElement::None;
    PressMessage message = PressMessage::None;
};

// True when x lies on or outside the band of CheckTolerance around the target.
bool MissesTarget(double x, double target);

DesignOutcome ComputeDesign(const DesignInputs& inputs);

struct CalcPressOutcome {
    // The layout the press applies before its field tests: No hides the Diode Vf row,
    // Yes shows it and hides the Vo_mid row; NotSelected changes nothing.
    DiodeChoice layout = DiodeChoice::NotSelected;
    // The values the gate passed on; absent when the press ended at the gate.
    std::optional<DesignInputs> inputs;
    DesignOutcome result;
};

// The whole Calc press: the gate over the tab's texts, then the design and its check.
CalcPressOutcome CalcPress(bool yesSelected, bool noSelected, const TabInputTexts& texts,
                           const NumberLocale& locale);

} // namespace calc_core
