// Tests of the analysis's number formats and the ticks of its plot.
#include "analysis_report/number_format.h"
#include "analysis_report/plot_data.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace analysis_report;

namespace {

struct FormatRow {
    const char* name;
    std::string written;
    std::string expected;
};

const std::string Ohm = "\u03a9";
const std::string Micro = "\u00b5";

// clang-format off
const FormatRow FormatRows[] = {
    // Volts to 1 mV, never "-0.000", never grouped.
    {"volts", FormatVolts(41.2614, "."), "41.261 V"},
    {"volts, rounded to nearest", FormatVolts(18.7398, "."), "18.740 V"},
    {"volts, just under zero", FormatVolts(-0.0004, "."), "0.000 V"},
    {"volts, a millivolt under zero", FormatVolts(-0.0006, "."), "-0.001 V"},
    {"volts, thousands not grouped", FormatVolts(1234.5, "."), "1234.500 V"},
    {"volts, comma separator", FormatVolts(57.6, ","), "57,600 V"},
    {"volts, not finite", FormatVolts(std::nan(""), "."), "\u2014"},
    // Ohms with a prefix and up to six significant digits.
    {"ohms, shown R1", FormatOhms(64955, "."), "64.955 k" + Ohm},
    {"ohms, E96 value", FormatOhms(64900, "."), "64.9 k" + Ohm},
    {"ohms, E96 R3", FormatOhms(7150, "."), "7.15 k" + Ohm},
    {"ohms, no prefix", FormatOhms(470, "."), "470 " + Ohm},
    {"ohms, top of the series", FormatOhms(1e7, "."), "10 M" + Ohm},
    {"ohms, seventh digit rounded", FormatOhms(1234567, "."), "1.23457 M" + Ohm},
    {"ohms, rounding carries up a prefix", FormatOhms(999999.7, "."), "1 M" + Ohm},
    {"ohms, below one", FormatOhms(0.5, "."), "500 m" + Ohm},
    {"ohms, negative as shown", FormatOhms(-1234, "."), "-1.234 k" + Ohm},
    {"ohms, negative zero", FormatOhms(-0.0, "."), "0 " + Ohm},
    {"ohms, comma separator", FormatOhms(64900, ","), "64,9 k" + Ohm},
    {"current", FormatPrefixed(0.00059672, "A", 4, "."), "596.7 " + Micro + "A"},
    {"power", FormatPrefixed(7.29744, "W", 4, "."), "7.297 W"},
    {"share", FormatShare(0.35714, "."), "35.7 %"},
    {"share, comma separator", FormatShare(0.35714, ","), "35,7 %"},
    {"setting, as given", FormatSetting(0.25, "."), "0.25"},
    {"setting, a separator of two bytes", FormatSetting(2.5, "\u066b"), "2\u066b5"},
};
// clang-format on

TEST(NumberFormat, NumbersAreWrittenInTheUsersNotation) {
    for (const FormatRow& row : FormatRows) {
        EXPECT_EQ(row.written, row.expected) << row.name;
    }
}

struct TickRow {
    const char* name;
    double lo;
    double hi;
    std::vector<double> ticks;
    int decimals;
};

const TickRow TickRows[] = {
    {"pin volts", 0.0, 3.3, {0, 0.5, 1, 1.5, 2, 2.5, 3}, 1},
    {"output band", 55.7, 62.2, {56, 57, 58, 59, 60, 61, 62}, 0},
    {"wide band", 28.9, 41.3, {30, 32, 34, 36, 38, 40}, 0},
    {"across zero", -0.25, 0.25, {-0.2, -0.1, 0, 0.1, 0.2}, 1},
    {"nothing to span", 1.0, 1.0, {}, 0},
};

TEST(PlotData, TicksAreRoundSteps) {
    for (const TickRow& row : TickRows) {
        const AxisTicks got = NiceTicks(row.lo, row.hi, 8);
        ASSERT_EQ(got.values.size(), row.ticks.size()) << row.name;
        for (std::size_t i = 0; i < row.ticks.size(); ++i) {
            EXPECT_NEAR(got.values[i], row.ticks[i], 1e-12) << row.name << " " << i;
            EXPECT_FALSE(std::signbit(got.values[i]) && got.values[i] == 0) << row.name;
        }
        EXPECT_EQ(got.decimals, row.decimals) << row.name;
    }
}

} // namespace
