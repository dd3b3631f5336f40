// The tolerance box: its corners, the worst case over them, and the spread.
#include "calc_core/tolerance_box.h"

#include <algorithm>
#include <cmath>

namespace calc_core {

ToleranceBox ToleranceBoxAt(const Circuit& c, double pinV, const AnalysisSettings& s) {
    return ToleranceBoxAt(c, pinV, s, SizesOf(s));
}

ToleranceBox ToleranceBoxAt(const Circuit& c, double pinV, const AnalysisSettings& s,
                            const TermSizes& sizes) {
    ToleranceBox box;
    box.nominal = {c.r1, c.r2, c.r3, c.vref, pinV, 0, c.vf.value_or(0)};
    static_assert(Index(ToleranceQuantity::Vf) == ToleranceQuantityCount - 1);
    box.varying = c.diode() ? ToleranceQuantityCount : Index(ToleranceQuantity::Vf);
    box.diode = c.diode();
    for (std::size_t q = 0; q < ToleranceQuantityCount; ++q) {
        const QuantityRange range = q < box.varying
                                        ? RangeOf(ToleranceQuantity(q), box.nominal[q], sizes, s)
                                        : QuantityRange{box.nominal[q], box.nominal[q]};
        box.low[q] = range.low;
        box.high[q] = range.high;
    }
    return box;
}

Circuit CircuitAt(const TolerancePoint& p, bool diode) {
    using enum ToleranceQuantity;
    Circuit c{p[Index(R1)], p[Index(R2)], p[Index(R3)], p[Index(Vref)], std::nullopt};
    if (diode) {
        c.vf = p[Index(Vf)];
    }
    return c;
}

double OutputAt(const TolerancePoint& p, bool diode) {
    using enum ToleranceQuantity;
    return OutputWithFbCurrent(CircuitAt(p, diode), p[Index(Level)], p[Index(FbCurrent)]);
}

// The output is linear in R1 and in the current, and monotonic in each other quantity alone, so
// the extremes are at corners; which corners depends on the rest (R3 raises the output while
// Vref is below the pin level and lowers it above, and R1 turns with the current's sign).
ToleranceLevel WorstCase(const ToleranceBox& box) {
    using enum ToleranceQuantity;
    ToleranceLevel band;
    band.pinV = box.nominal[Index(Level)];
    band.diodeMayConduct = !box.diode;
    for (unsigned corner = 0; corner < (1u << box.varying); ++corner) {
        TolerancePoint p = box.nominal;
        for (std::size_t q = 0; q < box.varying; ++q) {
            p[q] = (corner >> q) & 1u ? box.high[q] : box.low[q];
        }
        const Circuit c = CircuitAt(p, box.diode);
        const double vo = OutputWithFbCurrent(c, p[Index(Level)], p[Index(FbCurrent)]);
        band.min = corner == 0 ? vo : Lowest(band.min, vo);
        band.max = corner == 0 ? vo : Highest(band.max, vo);
        if (box.diode) {
            const bool conducts = R3Voltage(c, p[Index(Level)]) > 0;
            band.diodeMayConduct = band.diodeMayConduct || conducts;
            band.diodeMayBlock = band.diodeMayBlock || !conducts;
        }
    }
    return band;
}

std::array<double, ToleranceQuantityCount> HalfSwings(const ToleranceBox& box) {
    std::array<double, ToleranceQuantityCount> half{};
    for (std::size_t q = 0; q < box.varying; ++q) {
        TolerancePoint up = box.nominal;
        TolerancePoint down = box.nominal;
        up[q] = box.high[q];
        down[q] = box.low[q];
        half[q] = std::fabs(OutputAt(up, box.diode) - OutputAt(down, box.diode)) / 2;
    }
    return half;
}

ToleranceLevel AnalyseTolerance(const Circuit& c, double pinV, const AnalysisSettings& s) {
    const ToleranceBox box = ToleranceBoxAt(c, pinV, s);
    ToleranceLevel band = WorstCase(box);

    // Half swings, scaled by the largest before squaring so that no square under- or overflows.
    std::array<double, ToleranceQuantityCount> half = HalfSwings(box);
    double scale = 0;
    for (double h : half) {
        scale = Highest(scale, h);
    }
    if (scale == 0) {
        return band; // nothing varies: no spread, and no shares
    }
    double total = 0;
    for (double& h : half) {
        h = (h / scale) * (h / scale);
        total += h;
    }
    band.rss = scale * std::sqrt(total);
    for (std::size_t q = 0; q < half.size(); ++q) {
        band.shares[q] = half[q] / total;
    }
    return band;
}

bool BandsMeet(const ToleranceLevel& a, const ToleranceLevel& b) {
    return a.min <= b.max && b.min <= a.max;
}

} // namespace calc_core
