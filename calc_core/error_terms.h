// What moves the output: the quantities of the circuit that are not exact, and the terms that
// move them (tolerances, drifts, accuracies, spreads), each declared once with what it moves, how,
// which setting gives its size and how the yield draws it. The tolerance box and so the worst
// case, the RSS and the shares, the yield's boards, the synthesis's bands and the report's notes
// all read this one list; nothing else turns a setting's %, ppm/°C, mV or nA into the arithmetic's
// units.
#pragma once

#include "calc_core/analysis_settings.h"

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace calc_core {

// The quantities a term may move. Vf stays last, so that the others are the first
// ToleranceQuantityCount - 1 without the diode.
enum class ToleranceQuantity { R1, R2, R3, Vref, Level, FbCurrent, Vf };
inline constexpr std::size_t ToleranceQuantityCount = 7;

constexpr std::size_t Index(ToleranceQuantity q) {
    return static_cast<std::size_t>(q);
}

// How the report names a quantity: "R1", "Vref", "pin level", "feedback pin current", "Vf".
std::string_view QuantityName(ToleranceQuantity q);

// R1, R2 and R3: the quantities a part grade gives the terms of.
constexpr bool IsResistor(ToleranceQuantity q) {
    return Index(q) <= Index(ToleranceQuantity::R3);
}

// A set of quantities, one bit each by Index.
using QuantitySet = unsigned;
constexpr QuantitySet Quantities(std::initializer_list<ToleranceQuantity> list) {
    QuantitySet set = 0;
    for (ToleranceQuantity q : list) {
        set |= 1u << Index(q);
    }
    return set;
}
constexpr bool Moves(QuantitySet set, ToleranceQuantity q) {
    return (set >> Index(q)) & 1u;
}

// Relative: a fraction of the quantity's nominal value. Absolute: in volts or amperes.
enum class TermScale { Relative, Absolute };

// None: the same at every temperature. Symmetric: plus or minus the size per °C of distance
// from NominalTemperatureC, each part with its own sign. Signed: the size (with its sign) per °C
// times (T - NominalTemperatureC), the same for every part; absolute terms only.
enum class TermTemperature { None, Symmetric, Signed };

// How the yield draws a term's deviation: its unit u by the distribution setting, uniformly in
// (-1, 1), or not at all (a signed temperature term follows the temperature alone).
enum class TermDraw { Distribution, Uniform, None };

// One draw for each part the term moves (each resistor; each pin level), or one draw that the
// parts share, as parts of one network drift together.
enum class TermSharing { PerPart, Shared };

struct ErrorTerm {
    std::string_view name; // as a sentence names it after its quantity's setting: "TCR"
    QuantitySet moves = 0;
    TermScale scale = TermScale::Relative;
    TermTemperature temperature = TermTemperature::None;
    double AnalysisSettings::*setting = nullptr; // its size, in the unit of that setting's row
    TermDraw draw = TermDraw::Distribution;
    TermSharing sharing = TermSharing::PerPart;
    // A term added after the first model: at a size of 0 it takes no draws and no words, so that
    // the boards of a seed and the notes stay as they were for a design that leaves it at 0.
    bool quietWhenZero = false;
};

inline constexpr QuantitySet Resistors =
    Quantities({ToleranceQuantity::R1, ToleranceQuantity::R2, ToleranceQuantity::R3});

// Every term, in the order the notes name them and each quantity adds them up. The yield draws
// first every Distribution term of the first model, then every Uniform one, then the quiet ones
// that are not 0, each group in this order.
inline constexpr ErrorTerm ErrorTerms[] = {
    {"tolerance", Resistors, TermScale::Relative, TermTemperature::None,
     &AnalysisSettings::resistorTolerancePct, TermDraw::Distribution},
    {"TCR", Resistors, TermScale::Relative, TermTemperature::Symmetric,
     &AnalysisSettings::resistorTcrPpm, TermDraw::Uniform},
    {"life drift", Resistors, TermScale::Relative, TermTemperature::None,
     &AnalysisSettings::resistorLifeDriftPct, TermDraw::Distribution, TermSharing::PerPart, true},
    {"tolerance", Quantities({ToleranceQuantity::Vref}), TermScale::Relative, TermTemperature::None,
     &AnalysisSettings::vrefTolerancePct, TermDraw::Distribution},
    {"drift", Quantities({ToleranceQuantity::Vref}), TermScale::Relative,
     TermTemperature::Symmetric, &AnalysisSettings::vrefDriftPpm, TermDraw::Uniform},
    {"accuracy", Quantities({ToleranceQuantity::Level}), TermScale::Absolute, TermTemperature::None,
     &AnalysisSettings::levelAccuracyMv, TermDraw::Distribution},
    {"spread", Quantities({ToleranceQuantity::Vf}), TermScale::Absolute, TermTemperature::None,
     &AnalysisSettings::vfSpreadV, TermDraw::Distribution},
    {"tempco", Quantities({ToleranceQuantity::Vf}), TermScale::Absolute, TermTemperature::Signed,
     &AnalysisSettings::vfTempcoMv, TermDraw::None},
    {"current", Quantities({ToleranceQuantity::FbCurrent}), TermScale::Absolute,
     TermTemperature::None, &AnalysisSettings::fbCurrentNa, TermDraw::Uniform},
};
inline constexpr std::size_t ErrorTermCount = std::size(ErrorTerms);

// The quantities in the order the terms first move them: R1, R2, R3, Vref, the pin level, Vf and
// the feedback pin's current.
std::span<const ToleranceQuantity> TermQuantities();

// Each term's size for each quantity it moves, in the base unit of its setting's row (a fraction
// for a relative term, volts or amperes, per °C for one that follows the temperature); 0 where it
// moves nothing.
struct TermSizes {
    std::array<std::array<double, ToleranceQuantityCount>, ErrorTermCount> of{};

    double At(std::size_t term, ToleranceQuantity q) const { return of[term][Index(q)]; }
};

// The sizes the settings give, the same for R1, R2 and R3.
TermSizes SizesOf(const AnalysisSettings& settings);

// The sizes with each of R1, R2 and R3 of its own grade: the grade's figures for its terms
// (GradeSettings), the settings' for the rest.
TermSizes SizesOf(const AnalysisSettings& settings,
                  const std::array<const PartGrade*, 3>& resistorGrades);

// How far the operating range reaches from the nominal temperature, either way.
double TemperatureSwing(const AnalysisSettings& settings);

// The extremes of a quantity over the terms and the operating range, from its nominal value: a
// relative quantity within nominal * (1 -+ the sum of its terms' swings), an absolute one from
// nominal -+ each term's swing, a signed term adding its lowest and highest over the range.
struct QuantityRange {
    double low = 0;
    double high = 0;
};
QuantityRange RangeOf(ToleranceQuantity q, double nominal, const TermSizes& sizes,
                      const AnalysisSettings& settings);

// The sum of a relative quantity's terms' swings over the range, as a fraction either way.
double RelativeSwing(ToleranceQuantity q, const TermSizes& sizes, const AnalysisSettings& settings);

// A setting's row's value in its base unit: "1 %" is 0.01.
double InBaseUnit(double AnalysisSettings::*setting, const AnalysisSettings& settings);

// Whether the term takes part at these sizes: not quiet, or not 0 for some quantity.
bool TermActive(std::size_t term, const TermSizes& sizes);

// The quantities a term moves for a circuit: Vf with the diode only.
bool TermApplies(const ErrorTerm& term, bool diode);

} // namespace calc_core
