// Tests of the text and number conversions: strict and leading readings, rounding, display.
#include "calc_core/number_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <iomanip>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace calc_core {
namespace {

const NumberLocale kPointComma{".", ","};
const NumberLocale kCommaPoint{",", "."};
const std::string kNbsp = "\xC2\xA0"; // a no-break space in UTF-8, some locales' grouping
const NumberLocale kCommaNbsp{",", kNbsp};

struct StrictCase {
    NumberLocale locale;
    std::string text;
    std::optional<double> value; // nullopt: not a number
};

void PrintTo(const StrictCase& c, std::ostream* os) {
    *os << "'" << c.text << "' with decimal '" << c.locale.decimalSeparator << "'";
}

class StrictNumberTest : public ::testing::TestWithParam<StrictCase> {};

TEST_P(StrictNumberTest, ReadsWholeTextInLocaleNotation) {
    const StrictCase& c = GetParam();
    SCOPED_TRACE("text '" + c.text + "', decimal '" + c.locale.decimalSeparator + "'");
    const std::optional<double> actual = StrictNumber(c.text, c.locale);
    EXPECT_EQ(IsNumericText(c.text, c.locale), c.value.has_value());
    ASSERT_EQ(actual.has_value(), c.value.has_value());
    if (c.value) {
        EXPECT_EQ(*actual, *c.value);
    }
}

const std::vector<StrictCase> kPointDecimalCases = {
    {kPointComma, "2.5", 2.5},
    {kPointComma, " \t2.5\t ", 2.5},
    {kPointComma, "+3", 3.0},
    {kPointComma, "-3", -3.0},
    {kPointComma, ".5", 0.5},
    {kPointComma, "5.", 5.0},
    {kPointComma, "1,000", 1000.0},
    {kPointComma, "12,345,678", 12345678.0},
    {kPointComma, "1,234.5", 1234.5},
    {kPointComma, "1e3", 1000.0},
    {kPointComma, "1E+3", 1000.0},
    {kPointComma, "2.5e-1", 0.25},
    {kPointComma, "-1,234.5e1", -12345.0},
    {kPointComma, "1.7976931348623157e308", DBL_MAX},
    // Underflow is still a number; the gate's sign pass rejects it.
    {kPointComma, "1e-400", 0.0},
    {kPointComma, "0.0", 0.0},
    {kPointComma, "1e309", std::nullopt},
    {kPointComma, "-1.8e308", std::nullopt},
    {kPointComma, "", std::nullopt},
    {kPointComma, "   ", std::nullopt},
    {kPointComma, "abc", std::nullopt},
    {kPointComma, "1,00", std::nullopt},
    {kPointComma, ",5", std::nullopt},
    {kPointComma, "1,5", std::nullopt},
    {kPointComma, "1,0000", std::nullopt},
    {kPointComma, "1,,000", std::nullopt},
    {kPointComma, "12,34,567", std::nullopt},
    // The first group has one to three digits, as every later one has exactly three.
    {kPointComma, "1234,567", std::nullopt},
    {kPointComma, "1,000,", std::nullopt},
    {kPointComma, "0.123,456", std::nullopt},
    {kPointComma, "1.2.3", std::nullopt},
    {kPointComma, "1 2", std::nullopt},
    {kPointComma, "- 5", std::nullopt},
    {kPointComma, "1e", std::nullopt},
    {kPointComma, "1e+", std::nullopt},
    {kPointComma, "e5", std::nullopt},
    {kPointComma, "1d3", std::nullopt},
    {kPointComma, ".", std::nullopt},
    {kPointComma, "-", std::nullopt},
    {kPointComma, "--5", std::nullopt},
    {kPointComma, "5-", std::nullopt},
    {kPointComma, "(5)", std::nullopt},
    {kPointComma, "$5", std::nullopt},
    {kPointComma, "inf", std::nullopt},
    {kPointComma, "nan", std::nullopt},
    {kPointComma, "0x10", std::nullopt},
    {kPointComma, "&H10", std::nullopt},
    {kPointComma, "5\n", std::nullopt},
};
INSTANTIATE_TEST_SUITE_P(PointDecimal, StrictNumberTest, ::testing::ValuesIn(kPointDecimalCases));

const std::vector<StrictCase> kCommaDecimalCases = {
    {kCommaPoint, "2,5", 2.5},
    {kCommaPoint, "1.000", 1000.0},
    {kCommaPoint, "1.000,25", 1000.25},
    {kCommaPoint, ",5", 0.5},
    {kCommaPoint, "5,", 5.0},
    {kCommaPoint, "1,5e2", 150.0},
    {kCommaPoint, "2.5", std::nullopt},
    {kCommaPoint, "1.00", std::nullopt},
    {kCommaPoint, "1,2,3", std::nullopt},
    {kCommaNbsp, "1" + kNbsp + "000,5", 1000.5},
    {kCommaNbsp, " 12" + kNbsp + "345" + kNbsp + "678 ", 12345678.0},
    {kCommaNbsp, "1" + kNbsp + "00", std::nullopt},
    {kCommaNbsp, "1 000,5", std::nullopt},
    {kCommaNbsp, "1" + kNbsp, std::nullopt},
    {kCommaNbsp, "1\xC2" + std::string("000"), std::nullopt}, // half a separator
    {kCommaNbsp, "1.5", std::nullopt},
};
INSTANTIATE_TEST_SUITE_P(CommaDecimal, StrictNumberTest, ::testing::ValuesIn(kCommaDecimalCases));

TEST(LeadingNumber, ReadsNumberAtStartIgnoringBlanksWithPointOnly) {
    struct Case {
        std::string text;
        double value;
    };
    const Case cases[] = {
        {"12.5V", 12.5},  {"1 2", 12.0},  {"1,5", 1.0},        {"$5", 0.0},    {"", 0.0},
        {"-3e2x", -300},  {"1e", 1.0},    {" \t-\n4.5", -4.5}, {"1\n2", 12.0}, {"1.5.5", 1.5},
        {".5", 0.5},      {"-.5", -0.5},  {"5.", 5.0},         {"+7", 7.0},    {"1E+2", 100.0},
        {"2.5e-1", 0.25}, {"1e+x", 1.0},  {"e5", 0.0},         {"--5", 0.0},   {"5-", 5.0},
        {"abc", 0.0},     {"1,000", 1.0}, {".", 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("text '" + c.text + "'");
        EXPECT_EQ(LeadingNumber(c.text), c.value);
    }
}

TEST(RoundHalfEven, RoundsToNearestWithHalvesToEvenBeyond32Bits) {
    struct Case {
        double value;
        double rounded;
    };
    const Case cases[] = {
        {6.5, 6.0},           {7.5, 8.0},
        {-2.5, -2.0},         {2.5, 2.0},
        {3.5, 4.0},           {0.5, 0.0},
        {-0.5, 0.0},          {1.4999999999999998, 1.0},
        {2.6085, 3.0},        {-4.625, -5.0},
        {3e10, 3e10},         {2147483648.5, 2147483648.0},
        {1e15 + 0.5, 1e15},   {1e15 + 1.5, 1e15 + 2},
        {-1e15 - 0.5, -1e15}, {4503599627370495.5, 4503599627370496.0},
        {1e300, 1e300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "value " << std::setprecision(17) << c.value);
        EXPECT_EQ(RoundHalfEven(c.value), c.rounded);
    }
}

TEST(WithDecimalPrefix, PutsTheShownDigitsFromOneToBelowAThousand) {
    struct Case {
        double value;
        int digits;
        double scaled;
        std::string symbol;
    };
    // clang-format off
    const Case cases[] = {
        {64955, 6, 64.955, "k"},         {64900, 6, 64.9, "k"},          {-4943, 6, -4.943, "k"},
        {0.00059672, 4, 596.72, "\u00b5"}, {7.29744, 4, 7.29744, ""},      {10e6, 6, 10, "M"},
        // Rounded to the digits shown, 999.9996 is 1000: it moves on to the next prefix.
        {999.9996, 6, 0.9999996, "k"},   {999.9996, 7, 999.9996, ""},
        // Beyond p and T the value stays with the last prefix.
        {1e-15, 4, 0.001, "p"},          {5e15, 4, 5000, "T"},           {0, 4, 0, ""},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " to " << c.digits << " digits");
        const PrefixedValue prefixed = WithDecimalPrefix(c.value, c.digits);
        EXPECT_DOUBLE_EQ(prefixed.scaled, c.scaled);
        EXPECT_EQ(prefixed.symbol, c.symbol);
    }
}

TEST(FormatWhole, WritesEveryDigitHalvesAwayFromZeroNeverMinusZero) {
    struct Case {
        double value;
        std::string text;
    };
    const Case cases[] = {
        {64954.95, "64955"},
        {2.5, "3"},
        {-2.5, "-3"},
        {1.5, "2"},
        {0.5, "1"},
        {-0.5, "-1"},
        {-21650, "-21650"},
        {0.0, "0"},
        {-0.0, "0"},
        {-0.4, "0"},
        {-0.49999999999999994, "0"},
        // Adding 0.5 before truncating would carry this one to 1.
        {0.49999999999999994, "0"},
        {2.4999999999999996, "2"},
        {4503599627370497.0, "4503599627370497"},
        {1e20, "100000000000000000000"},
        {-1e22, "-10000000000000000000000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "value " << std::setprecision(17) << c.value);
        EXPECT_EQ(FormatWhole(c.value), c.text);
    }
}

TEST(FormatOneDecimal, WritesOneDecimalWithLocaleSeparatorNeverMinusZero) {
    struct Case {
        NumberLocale locale;
        double value;
        std::string text;
    };
    const Case cases[] = {
        {kPointComma, 4.0, "4.0"},
        {kCommaPoint, 4.0, "4,0"},
        {kCommaNbsp, 1234.5, "1234,5"},
        {kPointComma, 1234.5, "1234.5"},
        {kPointComma, 0.25, "0.3"},
        {kPointComma, 0.75, "0.8"},
        {kPointComma, -0.25, "-0.3"},
        {kPointComma, 2.6085, "2.6"},
        {kPointComma, -5.0, "-5.0"},
        {kPointComma, 0.0, "0.0"},
        {kPointComma, -0.0, "0.0"},
        {kPointComma, -0.04, "0.0"},
        {kPointComma, 5550000000.0, "5550000000.0"},
        {kPointComma, 1e20, "100000000000000000000.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "value " << std::setprecision(17) << c.value
                                        << ", decimal '" << c.locale.decimalSeparator << "'");
        EXPECT_EQ(FormatOneDecimal(c.value, c.locale), c.text);
    }
}

} // namespace
} // namespace calc_core
