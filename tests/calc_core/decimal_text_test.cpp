// Tests of the exact decimal texts: printf's rounding and notation, shortest texts, reading.
#include "calc_core/decimal_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

namespace calc_core {
namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();

TEST(DecimalText, WritesAsPrintfAndTheShortestRoundTrip) {
    struct Case {
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        // Exact halves go to the even digit; the double nearest 0.05 lies above the half.
        {FixedText(2.5, 0), "2"},
        {FixedText(0.125, 2), "0.12"},
        {FixedText(0.05, 1), "0.1"},
        {FixedText(1e22, 0), "10000000000000000000000"},
        {FixedText(-0.0, 3), "-0.000"},
        {FixedText(1.5, -1), "1.500000"},
        // Exponent notation from an exponent below -4 or of at least the digits, after rounding;
        // no trailing zeros.
        {SignificantText(1234567, 6), "1.23457e+06"},
        {SignificantText(999999.5, 6), "1e+06"},
        {SignificantText(0.0001, 6), "0.0001"},
        {SignificantText(0.00001, 6), "1e-05"},
        {SignificantText(2.5, 6), "2.5"},
        // The shorter notation wins, fixed on a tie; whole numbers show their exact digits.
        {ShortestText(0.1 + 0.2), "0.30000000000000004"},
        {ShortestText(5e-324), "5e-324"},
        {ShortestText(1.7976931348623157e308), "1.7976931348623157e+308"},
        {ShortestText(-0.0), "-0"},
        {ShortestText(0.0001), "1e-04"},
        {ShortestText(0.001), "0.001"},
        {ShortestText(1.7438020045141553e21), "1743802004514155266048"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.text, c.expected);
    }
}

TEST(ReadDecimal, ReadsTheLongestDecimalAndFlagsMagnitudesBeyondTheDoubles) {
    struct Case {
        std::string text;
        double value;
        std::size_t length;
        bool outOfRange;
    };
    const Case cases[] = {
        {"64954.9999999999999", 64955, 19, false},
        // Beyond either end: the command line refuses these, a field reads an underflow as 0.
        {"1e400", Infinity, 5, true},
        {"1e-400", 0.0, 6, true},
        {"-1e-400", -0.0, 7, true},
        {"0e999", 0.0, 5, false},
        {".5", 0.5, 2, false},
        {"5.", 5, 2, false},
        {"1e", 1, 1, false},
        {"1e+", 1, 1, false},
        {"+1", 0, 0, false},
        {"inf", 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const DecimalRead read = ReadDecimal(c.text);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(read.value), std::bit_cast<std::uint64_t>(c.value));
        EXPECT_EQ(read.length, c.length);
        EXPECT_EQ(read.outOfRange, c.outOfRange);
    }
}

TEST(ShortestText, ReadsBackTheSameDoubleWithoutAComma) {
    const double values[] = {64955.0, 2.5, 0.1, 4700.0, 1e22, 1e-7, 0.1 + 0.2, -0.0, 5e-324};
    for (double value : values) {
        const std::string text = ShortestText(value);
        SCOPED_TRACE(text);
        EXPECT_EQ(text.find(','), std::string::npos);
        EXPECT_EQ(std::strtod(text.c_str(), nullptr), value);
    }
    EXPECT_EQ(ShortestText(64955.0), "64955");
    EXPECT_EQ(ShortestText(0.1 + 0.2), "0.30000000000000004");
}

} // namespace
} // namespace calc_core
