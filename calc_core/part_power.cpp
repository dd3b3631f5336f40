// The build's dissipation at each pin level, and the derated ratings.
#include "calc_core/part_power.h"

#include <algorithm>

namespace calc_core {

double DeratedPowerW(double ratingW, double temperatureC) {
    const double share = (PowerNoneAtC - temperatureC) / (PowerNoneAtC - PowerRatedUpToC);
    return ratingW * std::clamp(share, 0.0, 1.0);
}

BuildPower PowerOf(const Circuit& c) {
    BuildPower power;
    for (double pinV : PinLevels(c)) {
        // The node sits at Vref: R2 carries Vref, R3 its drive, and R1 the output's rise above it.
        const double vo = CircuitOutput(c, pinV);
        const double r1Volts = vo - c.vref;
        const double r3Volts = R3Voltage(c, pinV);
        const std::array<double, 3> watts = {r1Volts * r1Volts / c.r1, c.vref * c.vref / c.r2,
                                             r3Volts * r3Volts / c.r3};
        for (std::size_t r = 0; r < 3; ++r) {
            power.watts[r] = std::max(power.watts[r], watts[r]);
        }
        power.dividerCurrentA = std::max(power.dividerCurrentA, r1Volts / c.r1);
    }
    power.highest =
        std::size_t(std::max_element(power.watts.begin(), power.watts.end()) - power.watts.begin());
    return power;
}

bool WithinRatings(const BuildPower& power, const std::array<const PartGrade*, 3>& grades,
                   double temperatureC) {
    for (std::size_t r = 0; r < 3; ++r) {
        if (grades[r]->powerW && power.watts[r] > DeratedPowerW(*grades[r]->powerW, temperatureC)) {
            return false;
        }
    }
    return true;
}

} // namespace calc_core
