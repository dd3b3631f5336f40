// Tests of reading values from text: plain decimals, engineering forms, and what is refused; and
// quoting a text for a message.
#include "calc_core/value_text.h"

#include <gtest/gtest.h>

#include <string>

namespace calc_core {
namespace {

TEST(ReadValue, ReadsDecimalsAndEngineeringFormsRefusesTheRest) {
    struct Case {
        const char* text;
        ValueKind kind;
        ValueRead expected;
    };
    constexpr auto R = ValueKind::Resistance;
    constexpr auto N = ValueKind::Number;
    constexpr auto NaN = ValueProblem::NotANumber;
    constexpr auto NaR = ValueProblem::NotAResistance;
    constexpr auto Range = ValueProblem::OutOfRange;
    const Case cases[] = {
        {"2.5", N, 2.5},
        {"+2.5", N, 2.5},
        {"-5", N, -5.0},
        {".5", N, 0.5},
        {"1.", N, 1.0},
        {"1e3", N, 1000.0},
        {"1E-3", N, 0.001},
        {"0", N, 0.0},
        {"10k", R, 10000.0},
        {"4k7", R, 4700.0},
        {"4.7k", R, 4700.0},
        {"2M2", R, 2.2e6},
        {"470R", R, 470.0},
        {"4R7", R, 4.7},
        {"0R1", R, 0.1},
        {"-4k7", R, -4700.0},
        {"1k", R, 1000.0},
        {"4700", R, 4700.0},
        {"1e3", R, 1000.0},
        {"0.33k", R, 330.0},
        // The decimal comma, grouping and blanks are no notation of the command line.
        {"2,5", N, NaN},
        {"1,000", N, NaN},
        {" 2.5", N, NaN},
        {"2.5 ", N, NaN},
        {"", N, NaN},
        {".", N, NaN},
        {"+-5", N, NaN},
        {"--5", N, NaN},
        {"1e", N, NaN},
        {"0x10", N, NaN},
        {"nan", N, NaN},
        {"inf", N, NaN},
        {"-infinity", N, NaN},
        {"10k", N, NaN},
        {"2.5V", N, NaN},
        {"\xC2\xB5", N, NaN},
        {"1e999", N, Range},
        {"-1e999", N, Range},
        {"1e-999", N, Range},
        {"1e999", R, Range},
        // One letter, standing after digits; a point only when the letter ends the text.
        {"4k7k", R, NaR},
        {"k7", R, NaR},
        {"4.7k7", R, NaR},
        {"4K7", R, NaR},
        {"4m7", R, NaR},
        {"4k.7", R, NaR},
        {"4.k", R, NaR},
        {".5k", R, NaR},
        {"1e3k", R, NaR},
        {"4 k7", R, NaR},
        {"nan", R, NaR},
        {"4kR", R, NaR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ReadValue(c.text, c.kind), c.expected);
    }
}

TEST(ReadValue, EngineeringFormsRoundOnceFromTheirDigits) {
    // 1.001 * 1000 as doubles gives 1000.9999999999999; the digits give 1001 exactly.
    EXPECT_EQ(ReadValue("1.001k", ValueKind::Resistance), ValueRead(1001.0));
    EXPECT_EQ(ReadValue("1k001", ValueKind::Resistance), ValueRead(1001.0));
    EXPECT_EQ(ReadValue("3M3", ValueKind::Resistance), ValueRead(3300000.0));
}

TEST(QuotedForMessage, EscapesControlAndNonAsciiBytesAndCutsLongTexts) {
    EXPECT_EQ(QuotedForMessage("4x7"), "'4x7'");
    EXPECT_EQ(QuotedForMessage("a\nb\x7F\xC2\xB5"), "'a\\x0Ab\\x7F\\xC2\\xB5'");
    EXPECT_EQ(QuotedForMessage(std::string(10000, '9')), "'" + std::string(40, '9') + "...'");
}

} // namespace
} // namespace calc_core
