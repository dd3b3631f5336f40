// Tests of the parts list read from text: every form of a resistance, sorted without repeats,
// and one sentence for its first bad line.
#include "calc_core/parts_list.h"

#include <gtest/gtest.h>

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
        const ListRead<double> read = ReadPartsList(text);
        EXPECT_EQ(read.error, "") << text;
        EXPECT_EQ(read.values, values) << text;
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
        const ListRead<double> read = ReadPartsList(text);
        EXPECT_EQ(read.error, message) << text;
        EXPECT_TRUE(read.values.empty()) << text;
    }
}

} // namespace
} // namespace calc_core
