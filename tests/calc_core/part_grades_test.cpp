// Tests of the grade list read from text, with one sentence for its first bad line. The default
// table is checked by the synthesis' worked rows, whose figures depend on each grade.
#include "calc_core/part_grades.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace calc_core {
namespace {

auto Fields(const PartGrade& g) {
    return std::tie(g.series, g.tolerancePct, g.tcrPpm, g.lifeDriftPct, g.name);
}

// Comments, blank lines, blanks around fields, Windows line ends and no final newline; series
// without regard to case, the parts list, and names with commas of their own.
TEST(PartGrades, ReadsEveryFormOfALine) {
    const std::string text = "\xEF\xBB\xBF# grade, tolerance, TCR, name\r\n"
                             "E96, 1, 50, thick film\r\n"
                             "\r\n"
                             "  \t e192 ,0.1,10\r\n"
                             "   # a comment after blanks\n"
                             "PARTS, 0.5, 25, drawer 3, left\n"
                             "E6,0,0,\n"
                             "e12, 99.99, 10000";
    using enum ESeries;
    const PartGrade expected[] = {
        {E96, 1, 50, {}, "thick film"},
        {E192, 0.1, 10, {}, ""},
        {Parts, 0.5, 25, {}, "drawer 3, left"},
        {E6, 0, 0, {}, ""},
        {E12, 99.99, 10000, {}, ""},
    };
    const ListRead<PartGrade> read = ReadPartGrades(text);
    EXPECT_EQ(read.error, "");
    ASSERT_EQ(read.values.size(), std::size(expected));
    for (std::size_t i = 0; i < read.values.size(); ++i) {
        EXPECT_EQ(Fields(read.values[i]), Fields(expected[i])) << i;
    }
}

// A header names the columns in any order, without regard to case; the name, last, is the rest
// of the line, and an empty life drift leaves the grade without one (the setting's). Written back,
// a list with a life drift has a header; one without reads as it always did.
TEST(PartGrades, ReadsAHeaderInAnyOrder) {
    const std::string text = "# a catalogue\n"
                             "TCR, life_drift, Series, tolerance, name\n"
                             "50, 0.5, E96, 1, thick film, 0603\n"
                             "25, , E192, 0.1\n";
    using enum ESeries;
    const PartGrade expected[] = {{E96, 1, 50, 0.5, "thick film, 0603"}, {E192, 0.1, 25, {}, ""}};
    const ListRead<PartGrade> read = ReadPartGrades(text);
    EXPECT_EQ(read.error, "");
    ASSERT_EQ(read.values.size(), std::size(expected));
    for (std::size_t i = 0; i < read.values.size(); ++i) {
        EXPECT_EQ(Fields(read.values[i]), Fields(expected[i])) << i;
    }
    EXPECT_EQ(PartGradesText(read.values), "series, tolerance, tcr, life_drift, name\n"
                                           "E96, 1, 50, 0.5, thick film, 0603\n"
                                           "E192, 0.1, 25, \n");
    EXPECT_EQ(PartGradesText(DefaultPartGrades()).substr(0, 65),
              "series, tolerance, tcr, price, power_w, name\nE24, 5, 200, 1, 0.1\n");
    const ListRead<PartGrade> again = ReadPartGrades(PartGradesText(read.values));
    ASSERT_EQ(again.values.size(), std::size(expected));
    for (std::size_t i = 0; i < again.values.size(); ++i) {
        EXPECT_EQ(Fields(again.values[i]), Fields(expected[i])) << i;
    }
}

// The first bad line refuses the list, named by its number among all lines; the limits are
// those of the settings' rows.
TEST(PartGrades, RefusesTheFirstBadLineByItsNumber) {
    const std::pair<const char*, const char*> rows[] = {
        {"E96, 1, 50\n# c\nE97, 1, 50\nE98, 1, 50",
         "Line 3: 'E97' is not a series (E6, E12, E24, E48, E96, E192 or parts)."},
        {"\n\nE 96, 1, 50",
         "Line 3: 'E 96' is not a series (E6, E12, E24, E48, E96, E192 or parts)."},
        {"E96 1 50",
         "Line 1: 'E96 1 50' is not a grade: write its series, tolerance in % and TCR in ppm/°C, "
         "separated by commas (E96, 1, 50)."},
        {"E96, 1\r\n",
         "Line 1: 'E96, 1' is not a grade: write its series, tolerance in % and TCR in ppm/°C, "
         "separated by commas (E96, 1, 50)."},
        {"E96, 100, 50", "Line 1: the resistor tolerance must be from 0 % to 99.99 %, not '100'."},
        {"E96, -0.01, 50",
         "Line 1: the resistor tolerance must be from 0 % to 99.99 %, not '-0.01'."},
        {"E96, 1, 10000.5",
         "Line 1: the resistor TCR must be from 0 ppm/°C to 10000 ppm/°C, not '10000.5'."},
        {"E96, 1%, 50",
         "Line 1: the resistor tolerance '1%' is not a number (write it like 2.5, 0.6 or 1e-3)."},
        {"E96, 1, ",
         "Line 1: the resistor TCR '' is not a number (write it like 2.5, 0.6 or 1e-3)."},
        {"E96, 1e999, 50",
         "Line 1: the resistor tolerance '1e999' is beyond the range of numbers."},
        {"", "The grade list holds no grade."},
        {"# only a comment\r\n \t\r\n", "The grade list holds no grade."},
        // A header names its columns; a line then gives as many.
        {"series, tolerance, tcr, colour\nE96, 1, 50, red",
         "Line 1: 'colour' is not a column of a grade list (series, tolerance, tcr, life_drift, "
         "price, power_w, name)."},
        {"tolerance, tcr, life_drift\n1, 50, 0.5",
         "Line 1: the header must name the column series."},
        {"series, tcr, name\nE96, 50", "Line 1: the header must name the column tolerance."},
        {"series, tolerance, TCR, tolerance", "Line 1: the column 'tolerance' is named twice."},
        {"series, tolerance, tcr, life_drift\nE96, 1, 50, 0.5, 7",
         "Line 2: 'E96, 1, 50, 0.5, 7' does not give the header's 4 columns, separated by commas."},
        {"series, tolerance, tcr, life_drift\nE96, 1, 50, 100",
         "Line 2: the life drift must be from 0 % to 99.99 %, not '100'."},
    };
    for (const auto& [text, message] : rows) {
        const ListRead<PartGrade> read = ReadPartGrades(text);
        EXPECT_EQ(read.error, message) << text;
        EXPECT_TRUE(read.values.empty()) << text;
    }
}

} // namespace
} // namespace calc_core
