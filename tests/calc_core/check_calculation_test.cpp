// Tests of the Check press: output levels of a chosen R1, R2, R3, Delta -/+, and the kept record.
#include "calc_core/check_calculation.h"
#include "press_cases.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace calc_core {
namespace {

void ExpectRecord(const CheckResults& actual, const CheckResults& expected, double tolerance) {
    const auto bound = [tolerance](double v) { return tolerance * std::fmax(1.0, std::fabs(v)); };
    EXPECT_NEAR(actual.voMax, expected.voMax, bound(expected.voMax));
    EXPECT_NEAR(actual.voMid, expected.voMid, bound(expected.voMid));
    EXPECT_NEAR(actual.voMin, expected.voMin, bound(expected.voMin));
    EXPECT_EQ(actual.delta, expected.delta); // always a whole number
}

TEST_P(CheckPressTest, WritesLevelsAndKeepsWhatItDoesNotCompute) {
    const CheckCase& c = GetParam();
    CheckResults results = kEarlier;
    const CheckOutcome out = CheckPress(c.yes, c.no, c.texts, c.locale, results);
    EXPECT_EQ(MessageText(out.message), MessageText(c.message));
    EXPECT_EQ(TextsOf(out), c.shown);
    EXPECT_EQ(out.inputs.has_value(), c.message == PressMessage::None);
    ExpectRecord(results, c.results, c.tolerance);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Runs, CheckPressTest,
    ::testing::Values(
        // Half-spread 2.6085 is rounded to 3 before it is written with one decimal.
        CheckCase{"NoDiodeLevels", false, true, {"470", "10", "100", "1.2", ""},
                  PressMessage::None,
                  {"63", "60", "57", "3.0"},
                  {62.582, 59.95, 57.365, 3}},
        // Vo min uses 0.7 V with the diode; Vo mid and Delta keep the earlier run's values.
        CheckCase{"DiodeLevelsKeepMidAndDelta", true, false, {"470", "10", "100", "1.2", "0.6"},
                  PressMessage::None,
                  {"60", kAbsent, "57", kAbsent},
                  {59.762, 2.0, 57.13, 4.0}},
        // Half-spread exactly 4.5 goes to the even 4.
        CheckCase{"ExactHalfSpreadRoundsToEven", false, true, {"300", "4", "37", "1.25", ""},
                  PressMessage::None,
                  {"104", "99", "95", "4.0"},
                  {104.0, 99.45945945945947, 95.0, 4.0}, 0.0},
        CheckCase{"CloseLevelsGiveZeroDelta", false, true, {"330", "10", "1000", "1.0", ""},
                  PressMessage::None,
                  {"34", "34", "34", "0.0"},
                  {34.2838, 34.099, 33.9175, 0}},
        // Vref below both pin levels turns the R3 term of Vo mid and Vo min negative.
        CheckCase{"NegativeLevels", false, true, {"100", "100", "12", "0.5", ""},
                  PressMessage::None,
                  {"4", "-1", "-5", "5.0"},
                  {4.0, -2.0 / 3.0, -5.25, 5}},
        CheckCase{"DiodeFieldTextIgnoredWithNo", false, true, {"470", "10", "100", "1.2", "abc"},
                  PressMessage::None,
                  {"63", "60", "57", "3.0"},
                  {62.582, 59.95, 57.365, 3}},
        // Computed with the gate's 1000 ohms, not the prefix reading 1.
        CheckCase{"GroupedR1ComputedAsAccepted", false, true, {"1,000", "10", "100", "1.2", ""},
                  PressMessage::None,
                  {"132", "126", "121", "6.0"},
                  {131.8, 126.2, 120.7, 6}},
        CheckCase{"CommaDecimalComputedAsAccepted", false, true, {"470", "10", "100", "1,2", ""},
                  PressMessage::None,
                  {"63", "60", "57", "3,0"},
                  {62.582, 59.95, 57.365, 3}, 1e-9, kCommaPoint},
        // R1 / R3 = 1e10: Delta is far beyond 32 bits and still exact.
        CheckCase{"DeltaBeyond32Bits", false, true, {"1e10", "1", "1", "1.2", ""},
                  PressMessage::None,
                  {"22600000001", "17000000001", "11500000001", "5550000000.0"},
                  {22600000001.2, 17000000001.2, 11500000001.2, 5550000000.0}},
        // R1 / R3 overflows: the press is refused like bad input and the record stays.
        CheckCase{"InfiniteLevelIsInputError", false, true, {"1e308", "1", "1e-300", "1.2", ""},
                  PressMessage::InputError, {}, kEarlier},
        CheckCase{"GateFailureKeepsRecord", false, true, {"470", "10", "x", "1.2", ""},
                  PressMessage::InputError, {}, kEarlier},
        CheckCase{"EmptyDiodeFieldWithYes", true, false, {"470", "10", "100", "1.2", ""},
                  PressMessage::InputMissing, {}, kEarlier},
        CheckCase{"NoDiodeChoiceKeepsRecord", false, false, {"470", "10", "100", "1.2", ""},
                  PressMessage::SelectDiode, {}, kEarlier}),
    kCaseName);
// clang-format on

TEST(CheckPress, DiodeRunAfterPlainRunLeavesItsMidAndDelta) {
    CheckResults results;
    CheckPress(false, true, {"470", "10", "100", "1.2", ""}, kPointComma, results);
    const CheckOutcome out =
        CheckPress(true, false, {"470", "10", "100", "1.2", "0.6"}, kPointComma, results);
    EXPECT_EQ(TextsOf(out), (CheckTexts{"60", kAbsent, "57", kAbsent}));
    ExpectRecord(results, {59.762, 59.95, 57.13, 3}, 1e-9);

    // A refused press afterwards changes nothing.
    const CheckOutcome refused =
        CheckPress(true, false, {"470", "10", "100", "1.2", "0"}, kPointComma, results);
    EXPECT_EQ(refused.message, PressMessage::InputError);
    ExpectRecord(results, {59.762, 59.95, 57.13, 3}, 1e-9);
}

TEST(CheckCalculation, ZeroR3StoresNothing) {
    CheckResults results = kEarlier;
    const CheckInputs inputs{DiodeChoice::No, 470, 10, 0, 1.2, 0};
    EXPECT_EQ(CheckCalculation(inputs, results, kPointComma).message, PressMessage::InputError);
    ExpectRecord(results, kEarlier, 0.0);
}

} // namespace
} // namespace calc_core
