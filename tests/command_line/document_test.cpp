// The command line's documents: --format against --json, the date of SOURCE_DATE_EPOCH, and what
// each format writes, run in-process.
#include "command_line/document_date.h"
#include "command_line/run.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace command_line {
namespace {

TEST(DateOfEpoch, UtcDayOrNothing) {
    const struct {
        const char* seconds;
        const char* date; // nullptr: refused
    } rows[] = {
        {"0", "1970-01-01"},
        {"86399", "1970-01-01"},
        {"86400", "1970-01-02"},
        {"951782400", "2000-02-29"},
        {"951868799", "2000-02-29"},
        {"1767139200", "2025-12-31"},
        {"253402300799", "9999-12-31"},
        {"253402300800", nullptr},
        {"", nullptr},
        {"-1", nullptr},
        {"+1", nullptr},
        {" 1", nullptr},
        {"1e9", nullptr},
        {"1767139200.5", nullptr},
        {"99999999999999999999", nullptr},
    };
    for (const auto& row : rows) {
        const auto date = DateOfEpoch(row.seconds);
        if (row.date == nullptr) {
            EXPECT_FALSE(date) << row.seconds;
        } else {
            EXPECT_EQ(date.value_or("refused"), row.date) << row.seconds;
        }
    }
}

struct Ran {
    int status;
    std::string out;
    std::string err;
};

Ran RunWith(std::vector<std::string> args, const char* epoch) {
    if (epoch != nullptr) {
        setenv(SourceDateEpoch, epoch, 1);
    } else {
        unsetenv(SourceDateEpoch);
    }
    std::ostringstream out;
    std::ostringstream err;
    const int status = Run(args, out, err);
    unsetenv(SourceDateEpoch);
    return {status, out.str(), err.str()};
}

const std::vector<std::string> kCalcExample = {"design",   "--r2", "10k",      "--vref", "2.5",
                                               "--vo-max", "40",   "--vo-min", "30"};

std::vector<std::string> With(std::vector<std::string> more) {
    std::vector<std::string> args = kCalcExample;
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(Format, EachWritesItsDocument) {
    const struct {
        const char* name;
        std::vector<std::string> flags;
        const char* start;
    } rows[] = {
        {"Html", {"--format", "html"}, "<!DOCTYPE html>\n"},
        {"HtmlInCapitals", {"--format", "HTML"}, "<!DOCTYPE html>\n"},
        {"Csv", {"--format", "csv"}, "Document\r\nItem,Value\r\n"},
        {"Text", {"--format", "text"}, "Calc, diode No\n"},
        {"Json", {"--format", "json"}, "{\n  \"press\": {"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Ran ran = RunWith(With(row.flags), "1767139200");
        EXPECT_EQ(ran.status, 0);
        EXPECT_EQ(ran.err, "");
        EXPECT_EQ(ran.out.rfind(row.start, 0), 0u) << ran.out.substr(0, 40);
    }
    // The documents bear the day of SOURCE_DATE_EPOCH, the press's results first.
    const std::string html = RunWith(With({"--format", "html"}), "1767139200").out;
    EXPECT_NE(html.find(" on 2025-12-31.</p>"), std::string::npos);
    EXPECT_LT(html.find("<h2>CAL results</h2>"), html.find("<h2>Design</h2>"));
    const std::string csv = RunWith(With({"--format", "csv"}), "1767139200").out;
    EXPECT_NE(csv.find("\r\nDate,2025-12-31\r\n"), std::string::npos);
    EXPECT_NE(csv.find("\r\nCAL results\r\nResult,Text\r\nR1,64955\r\nR3,7210\r\nVo_mid,35\r\n"),
              std::string::npos);
    // --json is --format json.
    EXPECT_EQ(RunWith(With({"--json"}), nullptr).out,
              RunWith(With({"--format", "json"}), nullptr).out);
    EXPECT_EQ(RunWith(With({"--json", "--format", "json"}), nullptr).out,
              RunWith(With({"--json"}), nullptr).out);
}

TEST(Format, RefusedBeforeThePress) {
    const struct {
        const char* name;
        std::vector<std::string> flags;
        const char* epoch;
        const char* error;
    } rows[] = {
        {"UnknownFormat",
         {"--format", "pdf"},
         nullptr,
         "orvalex-kep: --format: 'pdf' is not a format (text, json, html, csv, bom)\n"},
        {"JsonAndHtml",
         {"--json", "--format", "html"},
         nullptr,
         "orvalex-kep: --json and --format html ask for different reports; give one of them\n"},
        {"JsonAndText",
         {"--format", "text", "--json"},
         nullptr,
         "orvalex-kep: --json and --format text ask for different reports; give one of them\n"},
        {"BadEpoch",
         {"--format", "html"},
         "yesterday",
         "orvalex-kep: SOURCE_DATE_EPOCH: 'yesterday' is not a count of seconds since 1970 up "
         "to the year 9999\n"},
        {"EpochPastYear9999",
         {"--format", "csv"},
         "253402300800",
         "orvalex-kep: SOURCE_DATE_EPOCH: '253402300800' is not a count of seconds since 1970 "
         "up to the year 9999\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Ran ran = RunWith(With(row.flags), row.epoch);
        EXPECT_EQ(ran.status, 2);
        EXPECT_EQ(ran.out, "");
        EXPECT_EQ(ran.err, row.error);
    }
    // The text and JSON bear no date, so a bad one does not stop them; an empty one is unset.
    EXPECT_EQ(RunWith(With({"--format", "text"}), "yesterday").status, 0);
    EXPECT_EQ(RunWith(With({"--format", "html"}), "").status, 0);
}

// A press that ends at the input check writes no document, as it writes no text.
TEST(Format, NoDocumentAfterTheInputCheck) {
    const Ran ran = RunWith({"design", "--r2", "0", "--vref", "2.5", "--vo-max", "40", "--vo-min",
                             "30", "--format", "html"},
                            "1767139200");
    EXPECT_EQ(ran.status, 2);
    EXPECT_EQ(ran.out, "");
    EXPECT_EQ(ran.err, "orvalex-kep: Input Data Error\n");
}

} // namespace
} // namespace command_line
