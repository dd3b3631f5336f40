// Tests of both CAL presses at the edges of their input: the longest text a box takes, texts of
// blanks, tabs or line feeds only, numbers at the ends of the double range, and results whose
// Delta or Vo_mid offset lies beyond 32 bits.
#include "calc_core/check_calculation.h"
#include "calc_core/design_calculation.h"
#include "calc_core/input_gate.h"
#include "press_cases.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace calc_core {

namespace {

// The most characters an input box takes (its default maximum length).
constexpr std::size_t kBoxMaxLength = 32767;

std::string Repeat(std::string_view unit, std::size_t length) {
    std::string text;
    while (text.size() + unit.size() <= length) {
        text += unit;
    }
    return text;
}

bool SameRecord(const CheckResults& a, const CheckResults& b) {
    return a.voMax == b.voMax && a.voMid == b.voMid && a.voMin == b.voMin && a.delta == b.delta;
}

// Both tabs with the diode, so that all five boxes are tested and read.
const TabInputTexts kCalcTexts{"10000", "2.5", "40", "30", "0.6"};
const TabInputTexts kCheckTexts{"470", "10", "100", "1.2", "0.6"};

// A text in one box either ends the press with the message, or gives exactly the outcome of the
// plain number it stands for.
struct BoxTextCase {
    const char* name;
    std::string text;
    std::optional<std::string> sameAs; // nullopt: "Input Data Error"
};

void PrintTo(const BoxTextCase& c, std::ostream* os) {
    *os << c.name;
}

// The gate passes the text with the value of the plain number, so that equal outcomes below
// cannot both be its refusal.
void ExpectSameReading(TabInputTexts texts, std::size_t box, const std::string& plain) {
    const GateOutcome read = ValidateInputs(DiodeChoice::Yes, texts, kPointComma);
    texts[box] = plain;
    const GateOutcome plainRead = ValidateInputs(DiodeChoice::Yes, texts, kPointComma);
    ASSERT_TRUE(plainRead.passed());
    EXPECT_EQ(read.values, plainRead.values);
}

class BoxTextTest : public ::testing::TestWithParam<BoxTextCase> {};

TEST_P(BoxTextTest, CalcPressInEveryBox) {
    const BoxTextCase& c = GetParam();
    for (std::size_t box = 0; box < kCalcTexts.size(); ++box) {
        SCOPED_TRACE(testing::Message() << "Text1(" << box << ")");
        TabInputTexts texts = kCalcTexts;
        texts[box] = c.text;
        const CalcPressOutcome out = CalcPress(true, false, texts, kPointComma);
        EXPECT_EQ(out.layout, DiodeChoice::Yes);
        if (!c.sameAs) {
            EXPECT_EQ(MessageText(out.result.message), MessageText(PressMessage::InputError));
            EXPECT_FALSE(out.result.r1Text || out.result.r3Text || out.result.voMidText);
            EXPECT_EQ(out.result.flagged, FlaggedElement::None);
            continue;
        }
        ExpectSameReading(texts, box, *c.sameAs);
        texts[box] = *c.sameAs;
        const CalcPressOutcome plain = CalcPress(true, false, texts, kPointComma);
        EXPECT_EQ(MessageText(out.result.message), MessageText(plain.result.message));
        EXPECT_EQ(out.result.r1Text, plain.result.r1Text);
        EXPECT_EQ(out.result.r3Text, plain.result.r3Text);
        EXPECT_EQ(out.result.flagged, plain.result.flagged);
    }
}

TEST_P(BoxTextTest, CheckPressInEveryBox) {
    const BoxTextCase& c = GetParam();
    for (std::size_t box = 0; box < kCheckTexts.size(); ++box) {
        SCOPED_TRACE(testing::Message() << "Text2(" << box << ")");
        TabInputTexts texts = kCheckTexts;
        texts[box] = c.text;
        CheckResults results = kEarlier;
        const CheckOutcome out = CheckPress(true, false, texts, kPointComma, results);
        if (!c.sameAs) {
            EXPECT_EQ(MessageText(out.message), MessageText(PressMessage::InputError));
            EXPECT_EQ(TextsOf(out), CheckTexts{});
            EXPECT_TRUE(SameRecord(results, kEarlier));
            continue;
        }
        ExpectSameReading(texts, box, *c.sameAs);
        texts[box] = *c.sameAs;
        CheckResults plainResults = kEarlier;
        const CheckOutcome plain = CheckPress(true, false, texts, kPointComma, plainResults);
        EXPECT_EQ(MessageText(out.message), MessageText(plain.message));
        EXPECT_EQ(TextsOf(out), TextsOf(plain));
        EXPECT_TRUE(SameRecord(results, plainResults));
    }
}

const auto kBoxTextName = [](const ::testing::TestParamInfo<BoxTextCase>& info) {
    return std::string(info.param.name);
};

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    LongestTexts, BoxTextTest,
    ::testing::Values(
        BoxTextCase{"Digits", std::string(kBoxMaxLength, '1'), std::nullopt},
        BoxTextCase{"Blanks", std::string(kBoxMaxLength, ' '), std::nullopt},
        BoxTextCase{"Tabs", std::string(kBoxMaxLength, '\t'), std::nullopt},
        BoxTextCase{"LineFeeds", std::string(kBoxMaxLength, '\n'), std::nullopt},
        BoxTextCase{"BlanksTabsLineFeeds", Repeat(" \t\n", kBoxMaxLength), std::nullopt},
        // Far beyond the double range once the groups are joined.
        BoxTextCase{"GroupedDigits", "1" + Repeat(",000", kBoxMaxLength - 1), std::nullopt},
        BoxTextCase{"NumberAfterBlanks", std::string(kBoxMaxLength - 1, ' ') + "2", "2"},
        BoxTextCase{"NumberBeforeBlanks", "2" + std::string(kBoxMaxLength - 1, ' '), "2"},
        BoxTextCase{
            "NumberBetweenTabs",
            std::string(kBoxMaxLength / 2, '\t') + "2" + std::string(kBoxMaxLength / 2, '\t'), "2"},
        BoxTextCase{"LeadingZeros", std::string(kBoxMaxLength - 1, '0') + "2", "2"},
        // The nearest double to 1.99...9 with 32765 nines is 2 exactly.
        BoxTextCase{"LongFraction", "1." + std::string(kBoxMaxLength - 2, '9'), "2"},
        BoxTextCase{"ZeroWithLongFraction", "0." + std::string(kBoxMaxLength - 2, '0'),
                    std::nullopt}),
    kBoxTextName);
// clang-format on

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    ShortTexts, BoxTextTest,
    ::testing::Values(
        // Blanks and tabs around a number are allowed; a line feed anywhere is not.
        BoxTextCase{"LineFeed", "\n", std::nullopt},
        BoxTextCase{"LineFeedBeforeNumber", "\n2", std::nullopt},
        BoxTextCase{"LineFeedInsideNumber", "2\n5", std::nullopt},
        BoxTextCase{"BlankTabLineFeed", " \t\n", std::nullopt},
        BoxTextCase{"Overflow", "1e999", std::nullopt},
        BoxTextCase{"NegativeOverflow", "-1e999", std::nullopt},
        BoxTextCase{"NegativeSmallestSubnormal", "-4.9e-324", std::nullopt},
        // Below half the smallest subnormal the value is 0; from the half on it is that value.
        BoxTextCase{"UnderflowToZero", "2.4e-324", std::nullopt},
        BoxTextCase{"RoundsUpToSmallestSubnormal", "2.5e-324", "4.9e-324"},
        BoxTextCase{"LongExponent", "2e" + std::string(kBoxMaxLength - 3, '0') + "0", "2"}),
    kBoxTextName);
// clang-format on

// With the choice No the diode box is neither tested nor read, however long its text.
TEST(EdgeInputs, LongestDiodeTextIgnoredWithNo) {
    const std::string texts[] = {std::string(kBoxMaxLength, '\n'), std::string(kBoxMaxLength, 'x'),
                                 std::string(kBoxMaxLength, '1')};
    for (const std::string& text : texts) {
        const CalcPressOutcome calc =
            CalcPress(false, true, {"10000", "2.5", "40", "30", text}, kPointComma);
        EXPECT_EQ(calc.result.message, PressMessage::None);
        EXPECT_EQ(calc.result.r1Text, std::optional<std::string>("64955"));

        CheckResults results = kEarlier;
        const CheckOutcome check =
            CheckPress(false, true, {"470", "10", "100", "1.2", text}, kPointComma, results);
        EXPECT_EQ(check.message, PressMessage::None);
        EXPECT_EQ(check.deltaText, std::optional<std::string>("3.0"));
    }
}

// Levels near the double limit are written with every digit, Delta with its ".0".
TEST(EdgeInputs, LevelsNearDoubleLimitKeepEveryDigit) {
    CheckResults results = kEarlier;
    const CheckOutcome out =
        CheckPress(false, true, {"1e307", "1", "1", "1.2", ""}, kPointComma, results);
    ASSERT_EQ(out.message, PressMessage::None);

    const struct {
        const char* leading;
        std::size_t length;
    } expected[] = {{"2259999999999999761", 308},
                    {"1699999999999999888", 308},
                    {"1149999999999999902", 308},
                    {"5549999999999999292", 309}};
    for (std::size_t i = 0; i < 4; ++i) {
        const std::string& text = TextsOf(out)[i].value_or("");
        SCOPED_TRACE(testing::Message() << "Label3(" << i << ") " << text.substr(0, 30));
        EXPECT_TRUE(text.starts_with(expected[i].leading));
        EXPECT_EQ(text.size(), expected[i].length);
    }
    EXPECT_TRUE(out.deltaText.value_or("").ends_with(".0"));
    EXPECT_EQ(results.delta, 5.5499999999999993e306);
}

using enum DiodeChoice;
using enum PressMessage;
// One row per case, so that the tables read as tables.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Magnitudes, CalcPressTest,
    ::testing::Values(
        // n overflows: nothing to show.
        CalcCase{"R2AtDoubleLimit", No, {"1e308", "2.5", "40", "30", ""},
                 kAbsent, kAbsent, kAbsent, FlaggedElement::None, CalError},
        CalcCase{"VrefAtDoubleLimit", No, {"10000", "1e308", "40", "30", ""},
                 kAbsent, kAbsent, kAbsent, FlaggedElement::None, CalError},
        // R1 and R3 are subnormal and show as 0, so the design cannot be checked.
        CalcCase{"SubnormalR2", No, {"1e-320", "2.5", "40", "30", ""},
                 "0", "0", "35", FlaggedElement::None, CalError},
        // d is subnormal, so R1 = n / d overflows.
        CalcCase{"SubnormalVref", No, {"10000", "4.9e-324", "40", "30", ""},
                 kAbsent, kAbsent, kAbsent, FlaggedElement::None, CalError},
        // A subnormal target or Vf is as good as 0 V.
        CalcCase{"SubnormalVoMax", No, {"10000", "2.5", "4.9e-324", "30", ""},
                 "245135", "-9070", "15", FlaggedElement::None, PressMessage::None},
        CalcCase{"SubnormalVf", Yes, {"10000", "2.5", "40", "30", "4.9e-324"},
                 "18571", "1463", kAbsent, FlaggedElement::None, PressMessage::None}),
    kCaseName);

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    OffsetBeyond32Bits, CalcPressTest,
    ::testing::Values(
        // Offsets of 2140540540.5 and 2156756756.8: either side of 2^31, both held exactly.
        CalcCase{"OffsetJustBelow2To31", No, {"1e13", "2.5", "3e9", "1.68e9", ""},
                 "774054044054053847040", "650909082500", "2334054055",
                 FlaggedElement::None, PressMessage::None},
        CalcCase{"OffsetJustAbove2To31", No, {"1e13", "2.5", "3.01e9", "1.68e9", ""},
                 "729008999009008746496", "608421044286", "2339009009",
                 FlaggedElement::None, PressMessage::None},
        // Offset about 6.5e9: the shown Vo_mid still passes its check.
        CalcCase{"OffsetThreeTimes2To31", No, {"1e13", "2.5", "1e10", "6e9", ""},
                 "5981981971981977780224", "1659999997225", "7981981981",
                 FlaggedElement::None, PressMessage::None},
        // Offset about -5e9 with a negative R3; Vo_max cannot be reached.
        CalcCase{"OffsetBelowMinus2To31", No, {"1e6", "2.5", "1e10", "1", ""},
                 "4504504504654055", "-500000", "-4954954955",
                 FlaggedElement::VoMaxBox, CalError},
        // Targets near the double limit overflow in n.
        CalcCase{"TargetsNearDoubleLimit", No, {"1e13", "2.5", "1e300", "6e299", ""},
                 kAbsent, kAbsent, kAbsent, FlaggedElement::None, CalError}),
    kCaseName);
// clang-format on

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Magnitudes, CheckPressTest,
    ::testing::Values(
        // Huge R2: the divider term is Vref and the R3 term rules.
        CheckCase{"R2AtDoubleLimit",
                  false,
                  true,
                  {"470", "1e308", "100", "1.2", ""},
                  None,
                  {"6", "4", "1", "3.0"},
                  {6.1820000000000004, 3.5499999999999998, 0.96499999999999975, 3},
                  0.0},
        CheckCase{"R3AtDoubleLimit",
                  false,
                  true,
                  {"470", "10", "1e308", "1.2", ""},
                  None,
                  {"58", "58", "58", "0.0"},
                  {57.599999999999994, 57.599999999999994, 57.599999999999994, 0},
                  0.0},
        CheckCase{"VrefAtDoubleLimit",
                  false,
                  true,
                  {"470", "10", "100", "1e308", ""},
                  InputError,
                  {},
                  kEarlier,
                  0.0},
        // A subnormal R1 leaves every level at Vref.
        CheckCase{"SubnormalR1",
                  false,
                  true,
                  {"4.9e-324", "10", "100", "1.2", ""},
                  None,
                  {"1", "1", "1", "0.0"},
                  {1.2, 1.2, 1.2, 0},
                  0.0},
        // R1 / R2 and R1 / R3 overflow.
        CheckCase{"SubnormalR2",
                  false,
                  true,
                  {"470", "1e-320", "100", "1.2", ""},
                  InputError,
                  {},
                  kEarlier,
                  0.0},
        CheckCase{"SubnormalR3",
                  false,
                  true,
                  {"470", "10", "4.9e-324", "1.2", ""},
                  InputError,
                  {},
                  kEarlier,
                  0.0},
        CheckCase{"SubnormalVref",
                  false,
                  true,
                  {"470", "10", "100", "1e-320", ""},
                  None,
                  {"-1", "-3", "-6", "3.0"},
                  {-0.65800000000000014, -3.29, -5.875, 3},
                  0.0}),
    kCaseName);
// clang-format on

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    DeltaBeyond32Bits, CheckPressTest,
    ::testing::Values(
        // Half-spreads either side of 2^31 - 1 = 2147483647, the largest 32-bit integer.
        CheckCase{
            "DeltaAt2To31Minus1",
            false,
            true,
            {"3869339905", "1", "1", "1.2", ""},
            None,
            {"8744708187", "6577877840", "4449740892", "2147483647.0"},
            {8744708186.5, 6577877839.6999998, 4449740891.9499998, 2147483647},
            0.0},
        CheckCase{
            "DeltaAt2To31",
            false,
            true,
            {"3869339906", "1", "1", "1.2", ""},
            None,
            {"8744708189", "6577877841", "4449740893", "2147483648.0"},
            {8744708188.7600002, 6577877841.3999996, 4449740893.0999994, 2147483648},
            0.0},
        CheckCase{
            "DeltaFarBeyond2To31",
            false,
            true,
            {"4e9", "1", "1", "1.2", ""},
            None,
            {"9040000001", "6800000001", "4600000001", "2220000000.0"},
            {9040000001.2000008, 6800000001.1999998, 4600000001.1999998, 2220000000},
            0.0}),
    kCaseName);
// clang-format on

} // namespace
} // namespace calc_core
