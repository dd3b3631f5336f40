// Tests of the Calc press: R1, R3 and Vo_mid from the targets, and the check of the shown design.
#include "calc_core/design_calculation.h"
#include "press_cases.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace calc_core {
namespace {

TEST(MissesTarget, ThreeVoltsAwayFailsJustInsidePasses) {
    struct Case {
        double x;
        double target;
        bool misses;
    };
    // clang-format off
    const Case cases[] = {
        {43.0, 40.0, true},    {37.0, 40.0, true},    {42.999, 40.0, false}, {37.001, 40.0, false},
        {40.0, 40.0, false},   {40.5, 37.5, true},    {-17.0, -20.0, true},  {-22.9, -20.0, false},
        {100.0, -100.0, true}, {-36.9, 40.0, true},
        // The band's own comparisons, not |x - target| >= 3, which rounds the other way here.
        {16.97, 13.97, true},  {4.02, 1.02, true},    {-1.97, -4.97, false},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "x " << c.x << ", target " << c.target);
        EXPECT_EQ(MissesTarget(c.x, c.target), c.misses);
    }
}

TEST_P(CalcPressTest, ShowsResultsAndFlagsFirstMiss) {
    const CalcCase& c = GetParam();
    const CalcPressOutcome out =
        CalcPress(c.choice == DiodeChoice::Yes, c.choice == DiodeChoice::No, c.texts, c.locale);
    EXPECT_EQ(out.layout, c.choice);
    EXPECT_EQ(out.result.r1Text, c.r1);
    EXPECT_EQ(out.result.r3Text, c.r3);
    EXPECT_EQ(out.result.voMidText, c.voMid);
    EXPECT_EQ(out.result.flagged, c.flagged);
    EXPECT_EQ(MessageText(out.result.message), MessageText(c.message));
    // The values computed with are kept for the analysis, whenever the gate passed them on.
    const bool gatePassed = c.message == PressMessage::None || c.message == PressMessage::CalError;
    EXPECT_EQ(out.inputs.has_value(), gatePassed);
}

using enum DiodeChoice;
using enum PressMessage;

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, CalcPressTest,
    ::testing::Values(
        CalcCase{"NoDiode40To30", No, {"10000", "2.5", "40", "30", ""}, "64955", "7210", "35",
                 FlaggedElement::None, PressMessage::None},
        // With the diode Vo_min sits at Vf + 0.7 and Vo_mid is not computed.
        CalcCase{"Diode40To30", Yes, {"10000", "2.5", "40", "30", "0.6"}, "24286", "1360", kAbsent,
                 FlaggedElement::None, PressMessage::None},
        // The offset 6.76 is rounded to 7 before it joins base 15.63: 22.63 shows as 23, not 22.
        CalcCase{"VoMidOffsetRoundedBeforeSum", No, {"1000", "1.0", "35", "10", ""}, "14631", "650",
                 "23", FlaggedElement::None, PressMessage::None},
        CalcCase{"VoMaxBelowVoMinGivesNegativeR3", No, {"10000", "2.5", "30", "40", ""}, "195045",
                 "-21650", "35", FlaggedElement::None, PressMessage::None},
        // No positive R1 solves both equations; the results stay shown beside the red box.
        CalcCase{"UnreachableVoMaxFlagsVoMaxBox", No, {"10000", "2.5", "40", "2", ""}, "173171",
                 "-4943", "-17", FlaggedElement::VoMaxBox, CalError},
        // R3 = 3.21 shown as 3 gives 70.45 V against the shown 66.
        CalcCase{"WholeOhmR3MissesVoMid", No, {"100", "2.0", "101.2", "40.2", ""}, "151", "3", "66",
                 FlaggedElement::VoMidResult, CalError},
        CalcCase{"WholeOhmR3MissesVoMin", No, {"2", "0.5", "240.6", "90.8", ""}, "766", "6", "165",
                 FlaggedElement::VoMinBox, CalError}),
    kCaseName);
// clang-format on

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Inputs, CalcPressTest,
    ::testing::Values(
        CalcCase{"DiodeFieldTextIgnoredWithNo", No, {"10000", "2.5", "40", "30", "abc"}, "64955",
                 "7210", "35", FlaggedElement::None, PressMessage::None},
        CalcCase{"DiodeFieldNegativeIgnoredWithNo", No, {"10000", "2.5", "40", "30", "-1"}, "64955",
                 "7210", "35", FlaggedElement::None, PressMessage::None},
        // Computed with the gate's 10000 ohms; a prefix reading (10) would give 65 and 7.
        CalcCase{"GroupedR2ComputedAsAccepted", No, {"10,000", "2.5", "40", "30", ""}, "64955",
                 "7210", "35", FlaggedElement::None, PressMessage::None},
        CalcCase{"CommaDecimalComputedAsAccepted", No, {"10.000", "2,5", "40", "30", ""}, "64955",
                 "7210", "35", FlaggedElement::None, PressMessage::None, kCommaPoint},
        CalcCase{"ExponentComputedAsAccepted", No, {"1e4", "25e-1", "4E1", "30", ""}, "64955",
                 "7210", "35", FlaggedElement::None, PressMessage::None}),
    kCaseName);
// clang-format on

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    ArithmeticLimits, CalcPressTest,
    ::testing::Values(
        // Vref = a: u = 0 and w = 0, so R3 = 0 / 0.
        CalcCase{"VrefAtHighLevelGivesNoResult", No, {"1000", "1.25", "35", "10", ""}, kAbsent,
                 kAbsent, kAbsent, FlaggedElement::None, CalError},
        // Vref = a with w a hair from 0: R3 = -0, so the Vo_mid offset is infinite.
        CalcCase{"VrefAtHighLevelInfiniteOffset", No, {"10000", "1.25", "40", "30", ""},
                 kAbsent, kAbsent, kAbsent, FlaggedElement::None, CalError},
        CalcCase{"OverflowGivesNoResult", No, {"10000", "2.5", "1e308", "30", ""}, kAbsent, kAbsent,
                 kAbsent, FlaggedElement::None, CalError},
        // R1 = 9, R3 = 0.3, offset 54: the shown R3 of 0 cannot be checked.
        CalcCase{"R3ShownAsZeroKeepsTexts", No, {"1", "2.5", "95.8", "62.5", ""}, "9", "0", "79",
                 FlaggedElement::None, CalError},
        // Vref = Vf + 0.14 makes n = 0, so R1 = 0 and R3 = -0; both show as 0.
        CalcCase{"DiodeR1AndR3ZeroKeepTexts", Yes, {"10000", "0.74", "0.74", "3", "0.6"}, "0", "0",
                 kAbsent, FlaggedElement::None, CalError}),
    kCaseName);
// clang-format on

// Rows where each rule gives another result than its nearest neighbour would.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    NeighbourRules, CalcPressTest,
    ::testing::Values(
        // The offset is exactly 2.5 and goes to the even 2: 8.667 + 2 shows 11; away from zero, 12.
        CalcCase{"OffsetHalfGoesToEven", No, {"10000", "0.85", "20.5", "2.0", ""}, "91961", "5518",
                 "11", FlaggedElement::None, PressMessage::None},
        // The shown 19 misses its target of 22.25 by 3.25; the unrounded 19.257 would pass.
        CalcCase{"ShownVoMidIsChecked", No, {"100", "1.5", "37.5", "7.5", ""}, "50", "2", "19",
                 FlaggedElement::VoMidResult, CalError},
        // The shown R1 of 32 puts Vo_max 2.86 V from its target; the unrounded 31.53 would miss
        // by 3.19 V.
        CalcCase{"ShownR1IsChecked", No, {"100", "1.5", "26.6", "6.5", ""}, "32", "2", "16",
                 FlaggedElement::None, PressMessage::None}),
    kCaseName);
// clang-format on

TEST(CalcPress, LayoutFollowsChoiceEvenWhenGateFails) {
    struct Case {
        bool yes;
        bool no;
        TabInputTexts texts;
        DiodeChoice layout;
        PressMessage message;
    };
    const Case cases[] = {
        {false, false, {"10000", "2.5", "40", "30", "0.6"}, NotSelected, SelectDiode},
        {true, false, {"", "", "", "", ""}, Yes, InputMissing},
        {false, true, {"10000", "2.5", "40", "x", ""}, No, InputError},
        {true, true, {"10000", "2.5", "40", "30", ""}, No, PressMessage::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "yes " << c.yes << ", no " << c.no);
        const CalcPressOutcome out = CalcPress(c.yes, c.no, c.texts, kPointComma);
        EXPECT_EQ(out.layout, c.layout);
        EXPECT_EQ(MessageText(out.result.message), MessageText(c.message));
        EXPECT_EQ(out.result.flagged, FlaggedElement::None);
        if (c.message != PressMessage::None) {
            // A press stopped by the gate writes nothing.
            EXPECT_FALSE(out.result.r1Text.has_value());
            EXPECT_FALSE(out.result.r3Text.has_value());
            EXPECT_FALSE(out.result.voMidText.has_value());
        } else {
            EXPECT_EQ(out.result.r1Text, std::optional<std::string>("64955"));
        }
    }
}

} // namespace
} // namespace calc_core
