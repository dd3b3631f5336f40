// Tests of the input gate: the diode choice, the order of its passes and the values it passes on.
#include "calc_core/input_gate.h"
#include "calc_core/press_message.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace calc_core {
namespace {

const NumberLocale kPointComma{".", ","};
const NumberLocale kCommaPoint{",", "."};

TEST(MessageText, GivesTheExactWordingOfEachMessage) {
    EXPECT_EQ(MessageText(PressMessage::SelectDiode), "Please select Diode Yes or No");
    EXPECT_EQ(MessageText(PressMessage::InputMissing), "Please input Data");
    EXPECT_EQ(MessageText(PressMessage::InputError), "Input Data Error");
    EXPECT_EQ(MessageText(PressMessage::CalError), "Cal Error! Please check circuit!");
}

TEST(ChooseDiode, NoWinsOverYesAndNeitherIsNotSelected) {
    struct Case {
        bool yes;
        bool no;
        DiodeChoice choice;
    };
    const Case cases[] = {
        {false, false, DiodeChoice::NotSelected},
        {true, false, DiodeChoice::Yes},
        {false, true, DiodeChoice::No},
        {true, true, DiodeChoice::No},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "yes " << c.yes << ", no " << c.no);
        EXPECT_EQ(ChooseDiode(c.yes, c.no), c.choice);
    }
}

TEST(FieldCount, DiodeFieldCountsOnlyWithYes) {
    EXPECT_EQ(FieldCount(DiodeChoice::No), 4u);
    EXPECT_EQ(FieldCount(DiodeChoice::Yes), 5u);
}

struct GateCase {
    const char* name;
    DiodeChoice choice;
    TabInputTexts fields;
    PressMessage message;
    std::vector<double> values; // checked only when the gate passes
    NumberLocale locale = kPointComma;
};

void PrintTo(const GateCase& c, std::ostream* os) {
    *os << c.name;
}

class ValidateInputsTest : public ::testing::TestWithParam<GateCase> {};

TEST_P(ValidateInputsTest, FirstFailingPassDecidesTheMessage) {
    const GateCase& c = GetParam();
    const GateOutcome out = ValidateInputs(c.choice, c.fields, c.locale);
    // Compared as text so that a failure names the messages.
    EXPECT_EQ(MessageText(out.message), MessageText(c.message));
    EXPECT_EQ(out.passed(), c.message == PressMessage::None);
    if (c.message == PressMessage::None) {
        EXPECT_EQ(out.values, c.values);
    }
}

using enum DiodeChoice;
using enum PressMessage;

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Passes, ValidateInputsTest,
    ::testing::Values(
        GateCase{"DiodeTestedBeforeEmptyFields", NotSelected, {"", "", "", "", ""}, SelectDiode,
                 {}},
        GateCase{"DiodeTestedEvenWithValidFields", NotSelected, {"1", "2", "3", "4", "5"},
                 SelectDiode, {}},
        GateCase{"ValidNoGivesFourValues", No, {"10000", "2.5", "40", "30", ""}, None,
                 {10000, 2.5, 40, 30}},
        GateCase{"DiodeFieldTextIgnoredWithNo", No, {"10000", "2.5", "40", "30", "abc"}, None,
                 {10000, 2.5, 40, 30}},
        GateCase{"DiodeFieldNegativeIgnoredWithNo", No, {"10000", "2.5", "40", "30", "-1"}, None,
                 {10000, 2.5, 40, 30}},
        GateCase{"ValidYesGivesFiveValues", Yes, {"10000", "2.5", "40", "30", "0.6"}, None,
                 {10000, 2.5, 40, 30, 0.6}},
        GateCase{"DiodeFieldEmptyWithYes", Yes, {"10000", "2.5", "40", "30", ""}, InputMissing, {}},
        GateCase{"DiodeFieldTextWithYes", Yes, {"10000", "2.5", "40", "30", "abc"}, InputError,
                 {}},
        GateCase{"DiodeFieldNegativeWithYes", Yes, {"10000", "2.5", "40", "30", "-1"}, InputError,
                 {}},
        GateCase{"AllEmptyWithYes", Yes, {"", "", "", "", ""}, InputMissing, {}},
        GateCase{"EmptyReportedBeforeEarlierNonNumeric", No, {"abc", "", "40", "30", ""},
                 InputMissing, {}},
        GateCase{"EmptyLastReportedBeforeEarlierNonNumeric", No, {"abc", "2.5", "40", "", ""},
                 InputMissing, {}},
        GateCase{"EmptyReportedBeforeEarlierNonPositive", No, {"-5", "2.5", "40", "", ""},
                 InputMissing, {}},
        GateCase{"EmptyDiodeFieldReportedBeforeNonNumeric", Yes, {"abc", "2.5", "40", "30", ""},
                 InputMissing, {}},
        GateCase{"BlanksOnlyAreNotEmpty", No, {"10000", "   ", "40", "30", ""}, InputError, {}},
        GateCase{"TabOnlyIsNotEmpty", No, {"10000", "\t", "40", "30", ""}, InputError, {}},
        GateCase{"ZeroIsNotPositive", No, {"0", "2.5", "40", "30", ""}, InputError, {}},
        GateCase{"NegativeIsNotPositive", No, {"10000", "-5", "40", "30", ""}, InputError, {}},
        GateCase{"ZeroWithDecimalsIsNotPositive", No, {"10000", "2.5", "0.0", "30", ""},
                 InputError, {}},
        GateCase{"NegativeZeroIsNotPositive", No, {"10000", "2.5", "40", "-0", ""}, InputError,
                 {}},
        GateCase{"UnderflowToZeroIsNotPositive", No, {"1e-400", "2.5", "40", "30", ""},
                 InputError, {}},
        GateCase{"OverflowIsNotANumber", No, {"10000", "1e309", "40", "30", ""}, InputError, {}},
        GateCase{"LastFieldNonNumeric", No, {"10000", "2.5", "40", "x", ""}, InputError, {}},
        // No field is compared with another and there is no upper limit.
        GateCase{"VoMaxBelowVoMinPasses", No, {"10000", "2.5", "30", "40", ""}, None,
                 {10000, 2.5, 30, 40}},
        GateCase{"VrefAboveVoMinPasses", No, {"10000", "50", "1e300", "30", ""}, None,
                 {10000, 50, 1e300, 30}},
        // The values are those of the locale's reading, not of a prefix reading.
        GateCase{"GroupedValueKept", No, {"10,000", "2.5", "1e3", "30", ""}, None,
                 {10000, 2.5, 1000, 30}},
        GateCase{"CommaDecimalValueKept", No, {"10.000", "2,5", "40", " 30 ", ""}, None,
                 {10000, 2.5, 40, 30}, kCommaPoint},
        GateCase{"PointIsNoDecimalUnderCommaLocale", No, {"10000", "2.5", "40", "30", ""},
                 InputError, {}, kCommaPoint}),
    [](const ::testing::TestParamInfo<GateCase>& info) { return std::string(info.param.name); });
// clang-format on

TEST(ValidateInputs, HugeTextsGetTheirMessage) {
    struct Case {
        std::string text;
        PressMessage message;
    };
    const Case cases[] = {
        {std::string(1'000'000, '1'), InputError},              // beyond the double range
        {std::string(100'000, 'x'), InputError},                // not a number
        {"0." + std::string(1'000'000, '0') + "1", InputError}, // underflows to 0
        {std::string(1'000'000, '0') + "5", None},              // just a 5 with leading zeros
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text of " << c.text.size() << " characters");
        const TabInputTexts fields{c.text, "2.5", "40", "30", ""};
        const GateOutcome out = ValidateInputs(DiodeChoice::No, fields, kPointComma);
        EXPECT_EQ(MessageText(out.message), MessageText(c.message));
        if (c.message == PressMessage::None) {
            EXPECT_EQ(out.values, (std::vector<double>{5, 2.5, 40, 30}));
        }
    }
}

} // namespace
} // namespace calc_core
