// The terms' sizes from the settings, and the range each quantity spans over them.
#include "calc_core/error_terms.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace calc_core {
namespace {

// Each term's unit, from its setting's row, looked up once.
const std::array<Unit, ErrorTermCount>& TermUnits() {
    static const std::array<Unit, ErrorTermCount> units = [] {
        std::array<Unit, ErrorTermCount> list{};
        for (std::size_t t = 0; t < ErrorTermCount; ++t) {
            list[t] = SettingOf(ErrorTerms[t].setting).unit;
        }
        return list;
    }();
    return units;
}

// How far a term reaches over the range, either way, for a symmetric one.
double TemperatureReach(const ErrorTerm& term, double size, const AnalysisSettings& s) {
    return term.temperature == TermTemperature::Symmetric ? size * TemperatureSwing(s) : size;
}

} // namespace

std::string_view QuantityName(ToleranceQuantity q) {
    static constexpr std::string_view names[ToleranceQuantityCount] = {
        "R1", "R2", "R3", "Vref", "pin level", "feedback pin current", "Vf"};
    return names[Index(q)];
}

std::span<const ToleranceQuantity> TermQuantities() {
    static const std::vector<ToleranceQuantity> order = [] {
        std::vector<ToleranceQuantity> list;
        for (const ErrorTerm& term : ErrorTerms) {
            for (std::size_t q = 0; q < ToleranceQuantityCount; ++q) {
                const auto quantity = ToleranceQuantity(q);
                if (Moves(term.moves, quantity) &&
                    std::find(list.begin(), list.end(), quantity) == list.end()) {
                    list.push_back(quantity);
                }
            }
        }
        return list;
    }();
    return order;
}

TermSizes SizesOf(const AnalysisSettings& settings) {
    TermSizes sizes;
    for (std::size_t t = 0; t < ErrorTermCount; ++t) {
        const double size = TermUnits()[t].ToBase(settings.*ErrorTerms[t].setting);
        for (std::size_t q = 0; q < ToleranceQuantityCount; ++q) {
            if (Moves(ErrorTerms[t].moves, ToleranceQuantity(q))) {
                sizes.of[t][q] = size;
            }
        }
    }
    return sizes;
}

TermSizes SizesOf(const AnalysisSettings& settings,
                  const std::array<const PartGrade*, 3>& resistorGrades) {
    static_assert(Index(ToleranceQuantity::R1) == 0 && Index(ToleranceQuantity::R3) == 2);
    TermSizes sizes = SizesOf(settings);
    for (std::size_t r = 0; r < resistorGrades.size(); ++r) {
        const TermSizes own = SizesOf(GradeSettings(settings, *resistorGrades[r]));
        for (std::size_t t = 0; t < ErrorTermCount; ++t) {
            sizes.of[t][r] = own.of[t][r];
        }
    }
    return sizes;
}

double TemperatureSwing(const AnalysisSettings& s) {
    return std::max(std::fabs(s.tempMinC - NominalTemperatureC),
                    std::fabs(s.tempMaxC - NominalTemperatureC));
}

double RelativeSwing(ToleranceQuantity q, const TermSizes& sizes, const AnalysisSettings& s) {
    double swing = 0;
    bool first = true;
    for (std::size_t t = 0; t < ErrorTermCount; ++t) {
        const ErrorTerm& term = ErrorTerms[t];
        if (term.scale == TermScale::Relative && Moves(term.moves, q)) {
            const double reach = TemperatureReach(term, sizes.At(t, q), s);
            swing = first ? reach : swing + reach;
            first = false;
        }
    }
    return swing;
}

QuantityRange RangeOf(ToleranceQuantity q, double nominal, const TermSizes& sizes,
                      const AnalysisSettings& s) {
    QuantityRange range{nominal, nominal};
    bool relative = false;
    for (std::size_t t = 0; t < ErrorTermCount; ++t) {
        const ErrorTerm& term = ErrorTerms[t];
        if (!Moves(term.moves, q)) {
            continue;
        }
        relative = relative || term.scale == TermScale::Relative;
        const double size = sizes.At(t, q);
        if (term.scale == TermScale::Absolute && term.temperature == TermTemperature::Signed) {
            // Linear in T, so the ends of the range hold the extremes; a range that leaves out
            // the nominal temperature may leave out the nominal value too.
            const double cold = size * (s.tempMinC - NominalTemperatureC);
            const double hot = size * (s.tempMaxC - NominalTemperatureC);
            range.low = range.low + std::min(cold, hot);
            range.high = range.high + std::max(cold, hot);
        } else if (term.scale == TermScale::Absolute) {
            const double reach = TemperatureReach(term, size, s);
            range.low = range.low - reach;
            range.high = range.high + reach;
        }
    }
    if (relative) {
        const double swing = RelativeSwing(q, sizes, s);
        range = {nominal * (1 - swing), nominal * (1 + swing)};
    }
    return range;
}

double InBaseUnit(double AnalysisSettings::*setting, const AnalysisSettings& settings) {
    return SettingOf(setting).unit.ToBase(settings.*setting);
}

bool TermActive(std::size_t term, const TermSizes& sizes) {
    return !ErrorTerms[term].quietWhenZero ||
           std::any_of(sizes.of[term].begin(), sizes.of[term].end(),
                       [](double size) { return size != 0; });
}

bool TermApplies(const ErrorTerm& term, bool diode) {
    return diode || !Moves(term.moves, ToleranceQuantity::Vf);
}

} // namespace calc_core
