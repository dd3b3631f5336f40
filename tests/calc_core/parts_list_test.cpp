// Tests of the parts list read from text: every form of a resistance, sorted without repeats,
// and one sentence for its first bad line; a catalogue's header, lines and refusals, and its text
// read back.
#include "calc_core/parts_list.h"

#include <gtest/gtest.h>

#include <optional>

#include <string>
#include <vector>

namespace calc_core {
namespace {

TEST(PartsList, ReadsEveryFormSortedWithoutRepeats) {
    const std::pair<std::string, std::vector<double>> rows[] = {
        {"4k7\n10k\n2M2\n470R\n4R7\n1e3\n4700\n", {4.7, 470, 1000, 4700, 10000, 2.2e6}},
        // Windows line ends, blanks, comments, no final newline; both ends of the range.
        {"# drawer 3\r\n  10M \r\n\r\n\t1\r\n   # 2k2\r\n1k", {1, 1000, 1e7}},
        {"\xEF\xBB\xBF"
         "1.001k\n1k001\n0.33k",
         {330, 1001}},
        {"68k", {68000}},
    };
    for (const auto& [text, values] : rows) {
        const PartsRead read = ReadPartsList(text);
        EXPECT_EQ(read.error, "") << text;
        EXPECT_EQ(read.list.values, values) << text;
    }
}

// Line numbers count every line, comments and empty ones too.
TEST(PartsList, RefusesTheFirstBadLineByItsNumber) {
    const std::pair<const char*, const char*> rows[] = {
        {"4k7\n# c\n\n4x7\n5x6",
         "Line 4: '4x7' is not a resistance (write it like 4700, 4.7k, 4k7, 470R or 2M2)."},
        {"4k7 # spare",
         "Line 1: '4k7 # spare' is not a resistance (write it like 4700, 4.7k, 4k7, 470R or "
         "2M2)."},
        {"10k\r\n1,5k",
         "Line 2: '1,5k' is not a resistance (write it like 4700, 4.7k, 4k7, 470R or 2M2)."},
        {"0R99", "Line 1: '0R99' must be from 1 Ω to 10 MΩ."},
        {"1k\n10000001", "Line 2: '10000001' must be from 1 Ω to 10 MΩ."},
        {"-4k7", "Line 1: '-4k7' must be from 1 Ω to 10 MΩ."},
        {"0", "Line 1: '0' must be from 1 Ω to 10 MΩ."},
        {"1e999", "Line 1: '1e999' is beyond the range of numbers."},
        {"", "The parts list holds no resistance."},
        {"\r\n# none\r\n  \r\n", "The parts list holds no resistance."},
    };
    for (const auto& [text, message] : rows) {
        const PartsRead read = ReadPartsList(text);
        EXPECT_EQ(read.error, message) << text;
        EXPECT_TRUE(read.list.empty()) << text;
    }
}

// A header in any order and case makes a catalogue: each line one part, a value in two lines
// (two grades), empty optional fields and ones left off the end absent.
TEST(PartsCatalogue, ReadsEachLineAsAPart) {
    const std::optional<double> none;
    const struct {
        const char* text;
        std::vector<CataloguePart> parts;
        std::vector<double> values;
    } rows[] = {
        {"value, tolerance, tcr, price, power_w, mpn, manufacturer\n"
         "10k, 1, 100, 0.013, 0.1, RC0603FR-0710KL, Yageo\n"
         "# the better grade\n"
         "10k, 1, 50, 0.016, 0.1, ERJ-3EKF1002V, Panasonic\n"
         "4k7, 0.1, 25, , , ,\n",
         {{10000, 1, 100, none, 0.013, 0.1, "RC0603FR-0710KL", "Yageo"},
          {10000, 1, 50, none, 0.016, 0.1, "ERJ-3EKF1002V", "Panasonic"},
          {4700, 0.1, 25, none, none, none, "", ""}},
         {4700, 10000}},
        {"\xEF\xBB\xBF"
         "Price, MPN, Life_Drift, VALUE\r\n2.5, A-1, 0.5, 2M2\r\n, , , 470R",
         {{2.2e6, none, none, 0.5, 2.5, none, "A-1", ""},
          {470, none, none, none, none, none, "", ""}},
         {470, 2.2e6}},
        {"mpn, value, manufacturer\nX, 1k",
         {{1000, none, none, none, none, none, "X", ""}},
         {1000}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        const PartsRead read = ReadPartsList(row.text);
        EXPECT_EQ(read.error, "");
        EXPECT_EQ(read.list.catalogue, row.parts);
        EXPECT_EQ(read.list.values, row.values);
    }
}

// The first bad line is named, whether the header or a part is at fault.
TEST(PartsCatalogue, RefusesTheFirstBadLineByItsNumber) {
    const std::pair<const char*, const char*> rows[] = {
        {"value, colour\n1k, red",
         "Line 1: 'colour' is not a column of a parts catalogue (value, tolerance, tcr, "
         "life_drift, price, power_w, mpn, manufacturer)."},
        {"# parts\nmpn, price\nX, 1", "Line 2: the header must name the column value."},
        {"value, Value", "Line 1: the column 'Value' is named twice."},
        {"value, price\n1k, 1\n2k, -1",
         "Line 3: the price must be from 0 to 1000000000000, not '-1'."},
        {"value, price\n1k, inf",
         "Line 2: the price 'inf' is not a number (write it like 2.5, 0.6 or 1e-3)."},
        {"value, price\n1k, 1e999", "Line 2: the price '1e999' is beyond the range of numbers."},
        {"value, tolerance\n1k, 150",
         "Line 2: the resistor tolerance must be from 0 % to 99.99 %, not '150'."},
        {"value, price\n1k, 1, 2",
         "Line 2: '1k, 1, 2' does not give the header's 2 columns, separated by commas."},
        {"price, value\n1",
         "Line 2: '1' does not give the header's 2 columns, separated by commas."},
        {"value, mpn\n\n4x7, A",
         "Line 3: '4x7' is not a resistance (write it like 4700, 4.7k, 4k7, 470R or 2M2)."},
        {"value, mpn\n20M, A", "Line 2: '20M' must be from 1 Ω to 10 MΩ."},
        {"value, mpn\n# none yet", "The parts catalogue holds no part."},
        // A header after the first value is not one.
        {"1k\nvalue", "Line 2: 'value' is not a resistance (write it like 4700, 4.7k, 4k7, 470R or "
                      "2M2)."},
    };
    for (const auto& [text, message] : rows) {
        const PartsRead read = ReadPartsList(text);
        EXPECT_EQ(read.error, message) << text;
        EXPECT_TRUE(read.list.empty() && read.list.catalogue.empty()) << text;
    }
}

// The text a list is written as reads back as the same list: a value a line, or a header naming
// only the columns its parts give.
TEST(PartsCatalogue, ItsTextReadsBackTheSame) {
    const std::pair<const char*, const char*> rows[] = {
        {"4k7\n1k\n1k", "1000\n4700\n"},
        {"mpn, value, tcr, tolerance, manufacturer\nX, 1k, 50, , Maker\nY, 2k2, , 1,",
         "value, tolerance, tcr, mpn, manufacturer\n1000, , 50, X, Maker\n2200, 1, , Y, \n"},
        {"value, price\n1k", "value\n1000\n"},
    };
    for (const auto& [text, written] : rows) {
        const PartsList list = ReadPartsList(text).list;
        EXPECT_EQ(PartsListText(list), written) << text;
        EXPECT_EQ(ReadPartsList(PartsListText(list)).list, list) << text;
    }
}

} // namespace
} // namespace calc_core
