// The Calc tab's design of R1 and R3 and the check of the design as shown.
#include "calc_core/design_calculation.h"

#include "calc_core/number_text.h"
#include "calc_core/pin_levels.h"

#include <cmath>

namespace calc_core {
namespace {

struct DesignValues {
    double r1 = 0;
    double r3 = 0;
    double voMid = 0; // choice No only
};

// Solves the Vo_max and Vo_min equations for R1 and R3; nullopt when the arithmetic gives
// no finite R1, R3 or Vo_mid (a zero divisor, an overflow).
std::optional<DesignValues> Solve(const DesignInputs& in) {
    const bool diode = in.choice == DiodeChoice::Yes;
    const double a = diode ? in.vf + LevelMid : LevelHigh; // level for Vo_min
    const double b = diode ? in.vf + LevelLow : LevelLow;  // level for Vo_max
    const double r2 = in.r2;
    const double vref = in.vref;

    const double n = ((in.voMax - vref) * (vref - a) - (in.voMin - vref) * (vref - b)) * r2;
    const double d = ((vref - b) - (vref - a)) * vref;
    DesignValues v;
    v.r1 = std::fabs(n / d);
    const double u = v.r1 * (vref - a);
    const double w = in.voMin - ((v.r1 + r2) * vref) / r2;
    v.r3 = u / w;
    if (!std::isfinite(v.r1) || !std::isfinite(v.r3)) {
        return std::nullopt;
    }
    if (!diode) {
        const double base = ((v.r1 + r2) / r2) * vref;
        // The offset is whole before it is added; the sum is rounded again for display.
        const double offset = RoundHalfEven((v.r1 / v.r3) * (vref - LevelMid));
        v.voMid = base + offset;
        if (!std::isfinite(v.voMid)) {
            return std::nullopt;
        }
    }
    return v;
}

struct ShownDesign {
    double r1 = 0;
    double r3 = 0;
    double voMid = 0;
};

// Checks the design as the labels show it; nullopt when it cannot be checked (R3 shows 0,
// or a target is not finite).
std::optional<FlaggedElement> CheckDesign(const DesignInputs& in, const ShownDesign& shown) {
    if (shown.r3 == 0) {
        return std::nullopt;
    }
    const bool diode = in.choice == DiodeChoice::Yes;
    const auto target = [&](double level) {
        const double t = diode ? (in.vref - in.vf) - level : in.vref - level;
        return ((shown.r1 + in.r2) / in.r2) * in.vref + (shown.r1 / shown.r3) * t;
    };
    struct Check {
        double actual;
        double level;
        FlaggedElement element;
    };
    const Check withoutDiode[] = {
        {in.voMax, LevelLow, FlaggedElement::VoMaxBox},
        {shown.voMid, LevelMid, FlaggedElement::VoMidResult},
        {in.voMin, LevelHigh, FlaggedElement::VoMinBox},
    };
    const Check withDiode[] = {
        {in.voMax, LevelLow, FlaggedElement::VoMaxBox},
        {in.voMin, LevelMid, FlaggedElement::VoMinBox},
    };
    const std::span<const Check> checks =
        diode ? std::span<const Check>(withDiode) : std::span<const Check>(withoutDiode);
    for (const Check& check : checks) {
        const double vchk = target(check.level);
        if (!std::isfinite(vchk)) {
            return std::nullopt;
        }
        if (MissesTarget(check.actual, vchk)) {
            return check.element;
        }
    }
    return FlaggedElement::None;
}

} // namespace

bool MissesTarget(double x, double target) {
    return x >= target + CheckTolerance || x <= target - CheckTolerance;
}

DesignOutcome ComputeDesign(const DesignInputs& inputs) {
    DesignOutcome outcome;
    const auto values = Solve(inputs);
    if (!values) {
        outcome.message = PressMessage::CalError;
        return outcome;
    }
    outcome.r1Text = FormatWhole(values->r1);
    outcome.r3Text = FormatWhole(values->r3);
    ShownDesign shown{ReadWholeText(*outcome.r1Text), ReadWholeText(*outcome.r3Text), 0};
    if (inputs.choice != DiodeChoice::Yes) {
        outcome.voMidText = FormatWhole(values->voMid);
        shown.voMid = LeadingNumber(*outcome.voMidText);
    }
    const auto flagged = CheckDesign(inputs, shown);
    if (!flagged) {
        outcome.message = PressMessage::CalError;
    } else if (*flagged != FlaggedElement::None) {
        outcome.flagged = *flagged;
        outcome.message = PressMessage::CalError;
    }
    return outcome;
}

CalcPressOutcome CalcPress(bool yesSelected, bool noSelected, const TabInputTexts& texts,
                           const NumberLocale& locale) {
    CalcPressOutcome press;
    const DiodeChoice choice = ChooseDiode(yesSelected, noSelected);
    press.layout = choice;
    const GateOutcome gate = ValidateInputs(choice, texts, locale);
    if (!gate.passed()) {
        press.result.message = gate.message;
        return press;
    }
    DesignInputs inputs;
    inputs.choice = choice;
    inputs.r2 = gate.values[0];
    inputs.vref = gate.values[1];
    inputs.voMax = gate.values[2];
    inputs.voMin = gate.values[3];
    if (choice == DiodeChoice::Yes) {
        inputs.vf = gate.values[4];
    }
    press.inputs = inputs;
    press.result = ComputeDesign(inputs);
    return press;
}

} // namespace calc_core
