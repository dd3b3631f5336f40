// The texts the documents are made of: escaped markup, CSV fields made inert against formulas,
// the figures' coordinates and their hatching.
#include "analysis_report/markup_text.h"
#include "analysis_report/report_csv.h"
#include "analysis_report/svg_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace analysis_report {
namespace {

struct TextRow {
    const char* name;
    std::string in;
    std::string out;
};

void PrintTo(const TextRow& row, std::ostream* os) {
    *os << row.name;
}

class EscapeMarkupTest : public ::testing::TestWithParam<TextRow> {};

TEST_P(EscapeMarkupTest, LeavesNoMarkup) {
    EXPECT_EQ(EscapeMarkup(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, EscapeMarkupTest,
    ::testing::Values(
        TextRow{"Plain", "64.955 k\u03a9", "64.955 k\u03a9"},
        TextRow{"Script", "<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;"},
        TextRow{"AttributeBreakout", "\" onload='x' a=\"", "&quot; onload=&#39;x&#39; a=&quot;"},
        // An ampersand is escaped once, so that a reference the user typed stays text.
        TextRow{"Reference", "R&amp;D & co", "R&amp;amp;D &amp; co"}),
    [](const auto& info) { return std::string(info.param.name); });

class CsvFieldTest : public ::testing::TestWithParam<TextRow> {};

TEST_P(CsvFieldTest, QuotedAndInert) {
    EXPECT_EQ(CsvField(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, CsvFieldTest,
    ::testing::Values(
        TextRow{"Plain", "Vo_max target", "Vo_max target"}, TextRow{"Empty", "", ""},
        TextRow{"Comma", "40.000 V, 30.000 V", "\"40.000 V, 30.000 V\""},
        TextRow{"Quote", "marked \"overvoltage risk\"", "\"marked \"\"overvoltage risk\"\"\""},
        TextRow{"LineBreak", "one\ntwo", "\"one\ntwo\""},
        // Formulas, and the characters that start them, get a quote in front.
        TextRow{"CommandFormula", "=cmd|' /C calc'!A0", "'=cmd|' /C calc'!A0"},
        TextRow{"CommandFormulaWithComma", "=cmd|' /C calc,x'!A0", "\"'=cmd|' /C calc,x'!A0\""},
        TextRow{"Plus", "+1+1", "'+1+1"}, TextRow{"At", "@SUM(A1)", "'@SUM(A1)"},
        TextRow{"Tab", "\t=1", "'\t=1"}, TextRow{"CarriageReturn", "\r=1", "\"'\r=1\""},
        TextRow{"MinusFormula", "-2+3", "'-2+3"}, TextRow{"MinusCall", "-SUM(A1)", "'-SUM(A1)"},
        TextRow{"MinusAlone", "-", "'-"},
        // The report's negative quantities stay numbers as the report writes them.
        TextRow{"NegativeOhms", "-4.943 k\u03a9", "-4.943 k\u03a9"},
        TextRow{"NegativeTemperature", "-40 \u00b0C to 85 \u00b0C", "-40 \u00b0C to 85 \u00b0C"},
        TextRow{"NegativeMargin", "-0.177 V", "-0.177 V"},
        TextRow{"NegativeShare", "-1.5 %", "-1.5 %"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SvgNumber, TwoDecimalsWithoutTrailingZeros) {
    const struct {
        double value;
        const char* text;
    } rows[] = {{64, "64"},
                {313.5, "313.5"},
                {12.345678, "12.35"},
                {-3.1, "-3.1"},
                {-0.004, "0"},
                {0.004, "0"},
                {1e-300, "0"},
                {std::numeric_limits<double>::quiet_NaN(), "0"},
                {std::numeric_limits<double>::infinity(), "0"}};
    for (const auto& row : rows) {
        EXPECT_EQ(SvgNumber(row.value), row.text) << row.value;
    }
}

// Lines x + y = c, 5 apart across the spec's 6 wide bar, and 2.5 * sqrt(2) apart in a square:
// worked out by hand from where each line enters and leaves the rectangle.
TEST(HatchPath, LinesAcrossTheRectangle) {
    EXPECT_EQ(HatchPath(0, 0, 6, 20, 5),
              "M0 3.54 L3.54 0 M0 10.61 L6 4.61 M0 17.68 L6 11.68 M4.75 20 L6 18.75");
    EXPECT_EQ(HatchPath(10, 10, 20, 20, 5 / std::sqrt(2.0)),
              "M10 12.5 L12.5 10 M10 17.5 L17.5 10 M12.5 20 L20 12.5 M17.5 20 L20 17.5");
    EXPECT_EQ(HatchPath(0, 0, 0, 10, 5), "");
}

} // namespace
} // namespace analysis_report
