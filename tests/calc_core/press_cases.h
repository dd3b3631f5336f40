// Table rows for both CAL presses, shared by the tests that instantiate them: one Calc and one
// Check test body each, defined in design_calculation_test.cpp and check_calculation_test.cpp.
#pragma once

#include "calc_core/check_calculation.h"
#include "calc_core/design_calculation.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <ostream>
#include <string>

namespace calc_core {

inline const NumberLocale kPointComma{".", ","};
inline const NumberLocale kCommaPoint{",", "."};
inline const std::optional<std::string> kAbsent;

// Stands for the record of an earlier run, so that what a press leaves alone shows.
inline const CheckResults kEarlier{1.0, 2.0, 3.0, 4.0};

struct CalcCase {
    const char* name;
    DiodeChoice choice; // Yes or No, selected alone
    TabInputTexts texts;
    std::optional<std::string> r1;
    std::optional<std::string> r3;
    std::optional<std::string> voMid;
    FlaggedElement flagged;
    PressMessage message;
    NumberLocale locale = kPointComma;
};

inline void PrintTo(const CalcCase& c, std::ostream* os) {
    *os << c.name;
}

class CalcPressTest : public ::testing::TestWithParam<CalcCase> {};

// The four result texts of a Check outcome, in label order.
using CheckTexts = std::array<std::optional<std::string>, 4>;

inline CheckTexts TextsOf(const CheckOutcome& out) {
    return {out.voMaxText, out.voMidText, out.voMinText, out.deltaText};
}

struct CheckCase {
    const char* name;
    bool yes;
    bool no;
    TabInputTexts texts;
    PressMessage message;
    CheckTexts shown; // Vo max, Vo mid, Vo min, Delta; absent where not computed
    CheckResults results;
    double tolerance = 1e-9; // 0 where the levels are exact
    NumberLocale locale = kPointComma;
};

inline void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << c.name;
}

class CheckPressTest : public ::testing::TestWithParam<CheckCase> {};

// Names each instantiated row by its case name.
inline constexpr auto kCaseName = [](const auto& info) { return std::string(info.param.name); };

} // namespace calc_core
