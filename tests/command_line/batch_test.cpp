// The batch of rails: the header's faults, bad rows among good ones keeping their places, the
// same output in the input's order on 1 and 4 threads, CSV as RFC 4180 writes it, and names a
// spreadsheet takes as text.
#include "calc_core/analysis_settings.h"
#include "command_line/batch_columns.h"
#include "command_line/batch_run.h"
#include "command_line/csv_text.h"
#include "program_runner.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using command_line::BatchRequest;

struct Output {
    int status = -1;
    std::string out;
    std::string err;
};

Output Batch(const std::string& rails, unsigned threads = 1, bool json = false) {
    BatchRequest batch;
    batch.threads = threads;
    batch.json = json;
    std::istringstream in(rails);
    std::ostringstream out;
    std::ostringstream err;
    Output output;
    output.status = command_line::RunBatchStream(batch, in, "rails.csv", out, err);
    output.out = out.str();
    output.err = err.str();
    return output;
}

std::vector<std::vector<std::string>> Rows(const std::string& csv) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(csv);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_TRUE(line.ends_with('\r')) << line;
        line.pop_back();
        const command_line::CsvRecord record = command_line::SplitCsvLine(line);
        EXPECT_EQ(record.problem, "") << line;
        EXPECT_EQ(record.cells.size(), command_line::ResultColumns().size()) << line;
        rows.push_back(record.cells);
    }
    return rows;
}

std::size_t Column(const std::string& name) {
    const auto& columns = command_line::ResultColumns();
    return std::size_t(std::find(columns.begin(), columns.end(), name) - columns.begin());
}

struct BadHeader {
    const char* name;
    const char* header;
    const char* error; // after "orvalex-kep: rails.csv"
};

void PrintTo(const BadHeader& h, std::ostream* os) {
    *os << h.name;
}

class HeaderFault : public ::testing::TestWithParam<BadHeader> {};

TEST_P(HeaderFault, EndsTheRunWithStatusTwo) {
    const Output output = Batch(std::string(GetParam().header) + "a,10k,2.5,40,30\n");
    EXPECT_EQ(output.status, 2);
    EXPECT_EQ(output.out, "");
    EXPECT_EQ(output.err, "orvalex-kep: rails.csv" + std::string(GetParam().error) + "\n");
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Headers, HeaderFault,
    ::testing::Values(
        BadHeader{"NameMissing", "r2,vref,vo_max,vo_min\n", ", line 1: the column 'name' is missing"},
        BadHeader{"VoMinMissing", "name,r2,vref,vo_max\n", ", line 1: the column 'vo_min' is missing"},
        BadHeader{"R3Missing", "name,r1,r2,vref\n", ", line 1: the column 'r3' is missing"},
        BadHeader{"Both", "name,r1,r2,r3,vref,vo_max\n", ", line 1: the header names both the Calc inputs (r2, vref, vo_max, vo_min) and the Check set (r1, r2, r3, vref); a file holds the rows of one"},
        BadHeader{"Neither", "name,r2,vref\n", ", line 1: the header names neither the Calc inputs (r2, vref, vo_max, vo_min) nor the Check set (r1, r2, r3, vref); a file holds the rows of one"},
        BadHeader{"Twice", "name,r2,vref,vo_max,vo_min,vref\n", ", line 1: the column 'vref' is given twice"},
        BadHeader{"Unknown", "name,r2,vref,vo_max,vo_min,colour\n", ", line 1: 'colour' is not a column of Calc rows (name, their inputs, vf, or a setting's key)"},
        BadHeader{"FlagNotKey", "name,r2,vref,vo_max,vo_min,tolerance\n", ", line 1: 'tolerance' is not a column of Calc rows (name, their inputs, vf, or a setting's key)"},
        BadHeader{"QuotedNewline", "\"name\nx\",r2,vref,vo_max,vo_min\n", ", line 1: a quoted cell is not closed on its line (a rail's row is one line, so a quoted line break cannot stand in it)"}));
// clang-format on

TEST(BatchHeader, EmptyFileHasNoHeader) {
    const Output output = Batch("");
    EXPECT_EQ(output.status, 2);
    EXPECT_EQ(output.err, "orvalex-kep: rails.csv has no header line\n");
}

// A byte order mark, blanks around the names, CR LF and any order of the columns are taken.
TEST(BatchHeader, TakesWhatSpreadsheetsWrite) {
    const Output output =
        Batch("\xEF\xBB\xBF vo_min , name,vref ,r2,vo_max\r\n30,5V,2.5,10k,40\r\n");
    EXPECT_EQ(output.status, 0) << output.err;
    const auto rows = Rows(output.out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], command_line::ResultColumns());
    EXPECT_EQ(rows[1][Column("r1")], "64955");
}

struct Expected {
    const char* name;
    const char* message;
    const char* r1; // "" when empty
    const char* r3;
};

// Every row keeps its place: a bad one with its message, the others analysed.
TEST(BatchRows, BadRowsAmongGoodOnesKeepTheirPlaces) {
    const std::string rails = "name,r2,vref,vo_max,vo_min,vf,spec_pct,series\n"
                              "5V,10k,2.5,40,30,,,\n"
                              "diode,10000,2.5,40,30,0.6,,\n"
                              "short,1,2\n"
                              "bad,4x7,2.5,40,30,,,\n"
                              "\"open,1,2,3,4,5,6,7\n"
                              "\n"
                              "gate,0,2.5,40,30,,,\n"
                              "empty,,2.5,40,30,,,\n"
                              "cal,10000,2.5,40,2,,,\n"
                              "spec,10000,2.5,40,30,,0,\n"
                              "series,10000,2.5,40,30,,,E7\n"
                              "tail,\"10k\"x,2.5,40,30,,,\n"
                              "negative,10000,2.5,30,40,,,\n"
                              "last, 10k ,2.5,40,30,,5,e96\n";
    // clang-format off
    const Expected expected[] = {
        {"5V", "", "64955", "7210"},
        {"diode", "", "24286", "1360"},
        {"short", "line 4: the row has 3 cells, and the header 8", "", ""},
        {"bad", "line 5: r2: '4x7' is not a resistance (write it like 4700, 4.7k, 4k7, 470R or 2M2)", "", ""},
        {"", "line 6: a quoted cell is not closed on its line (a rail's row is one line, so a quoted line break cannot stand in it)", "", ""},
        {"gate", "Input Data Error", "", ""},
        {"empty", "Please input Data", "", ""},
        {"cal", "Cal Error! Please check circuit!", "173171", "-4943"},
        {"spec", "The output spec must be from 0.01 % to 99.99 % to analyse the design.", "64955", "7210"},
        {"series", "line 12: series: 'E7' is not a series (E6, E12, E24, E48, E96, E192 or parts)", "", ""},
        {"tail", "line 13: cell 2 has text after its closing quote", "", ""},
        {"negative", "R3 must be above 0 \u03a9 to analyse the design.", "195045", "-21650"},
        {"last", "", "64955", "7210"},
    };
    // clang-format on
    const Output output = Batch(rails);
    EXPECT_EQ(output.status, 1);
    EXPECT_EQ(output.err, "");
    const auto rows = Rows(output.out);
    ASSERT_EQ(rows.size(), std::size(expected) + 1);
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(expected[i].name);
        const auto& row = rows[i + 1];
        EXPECT_EQ(row[Column("name")], expected[i].name);
        EXPECT_EQ(row[Column("message")], expected[i].message);
        EXPECT_EQ(row[Column("r1")], expected[i].r1);
        EXPECT_EQ(row[Column("r3")], expected[i].r3);
    }
    // The diode has two levels: the highest pin level's cells are empty.
    EXPECT_EQ(rows[2][Column("vo_1.25")], "");
    EXPECT_NE(rows[2][Column("vo_0.7")], "");
}

// The Calc example's figures, as its report shows them to the millivolt.
TEST(BatchRows, WorkedExampleGivesTheReportsFigures) {
    const Output output = Batch("name,r2,vref,vo_max,vo_min\n5V,10k,2.5,40,30\n", 1, true);
    EXPECT_EQ(output.status, 0);
    const nlohmann::json row = nlohmann::json::parse(output.out);
    const std::pair<const char*, double> figures[] = {
        {"vo_0.14", 40.000}, {"min_0.14", 38.295}, {"max_0.14", 41.777}, {"margin_0.14", 0.223},
        {"vo_0.7", 34.955},  {"min_0.7", 33.414},  {"max_0.7", 36.563},  {"margin_0.7", 0.140},
        {"vo_1.25", 30.000}, {"min_1.25", 28.620}, {"max_1.25", 31.441}, {"margin_1.25", 0.059},
        {"best_r1", 64900},  {"best_r3", 7150},    {"r2", 10000}};
    for (const auto& [column, figure] : figures) {
        EXPECT_NEAR(row[column].get<double>(), figure, 5e-4) << column;
    }
    EXPECT_EQ(row["meets_0.14"], true);
    EXPECT_EQ(row["message"], nullptr);
    std::vector<std::string> keys;
    const auto ordered = nlohmann::ordered_json::parse(output.out);
    for (const auto& member : ordered.items()) {
        keys.push_back(member.key());
    }
    EXPECT_EQ(keys, command_line::ResultColumns());
}

// Cells a spreadsheet shows well, in the CSV and the JSON alike: volts and % to the report's
// thousandth, other numbers to ten significant digits, a million failures per million in full.
// Worked example with 1000 boards: at ± 5 % every board passes (its interval from
// 1000 / (1000 + 1.959963984540054^2) = 0.99617324146 up), at ± 0.05 % none does; grade 4 is
// bought at ± 5 %, its build passing as the design does.
TEST(BatchRows, CellsHoldNumbersASpreadsheetShowsWell) {
    struct Row {
        const char* flags;
        const char* column;
        const char* cell;
    };
    // clang-format off
    const Row rows[] = {
        {"--yield --boards 1000 --spec 0.05", "vo_0.14", "40.000"},
        {"--yield --boards 1000 --spec 0.05", "margin_1.25", "-1.426"},
        {"--yield --boards 1000 --spec 0.05", "yield", "0"},
        {"--yield --boards 1000 --spec 0.05", "yield_high95", "0.003826758486"},
        {"--yield --boards 1000 --spec 0.05", "ppm_fail", "1000000"},
        {"--yield --boards 1000", "ppm_fail", "0"},
        {"--yield --boards 1000", "yield_low95", "0.9961732415"},
        {"--meet-spec --yield --boards 1000", "tightest_spec_pct", "4.431"},
        {"--meet-spec --yield --boards 1000", "grade_margin", "0.171"},
        {"--meet-spec --yield --boards 1000", "grade_yield", "1"},
        {"--meet-spec --yield --boards 1000", "grade_ppm_fail", "0"},
        {"--meet-spec --yield --boards 1000", "r1", "64955"},
    };
    // clang-format on
    const std::string rails = ::testing::TempDir() + "cells-" + std::to_string(getpid()) + ".csv";
    { std::ofstream(rails) << "name,r2,vref,vo_max,vo_min\n5V,10k,2.5,40,30\n"; }
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.flags) + " " + row.column);
        std::vector<std::string> args = {"batch", rails};
        for (const std::string& word : program_runner::Words(row.flags)) {
            args.push_back(word);
        }
        const program_runner::Ran csv = program_runner::RunProgram(args);
        std::istringstream lines(csv.out);
        std::string header;
        std::string cells;
        std::getline(lines, header);
        std::getline(lines, cells);
        const auto names = command_line::SplitCsvLine(header.substr(0, header.size() - 1)).cells;
        const auto values = command_line::SplitCsvLine(cells.substr(0, cells.size() - 1)).cells;
        const auto at = std::find(names.begin(), names.end(), row.column) - names.begin();
        ASSERT_LT(std::size_t(at), values.size()) << header;
        EXPECT_EQ(values[std::size_t(at)], row.cell);
        args.insert(args.end(), {"--format", "json"});
        const auto json = nlohmann::json::parse(program_runner::RunProgram(args).out);
        EXPECT_EQ(json[row.column], nlohmann::json::parse(row.cell));
    }
    std::remove(rails.c_str());
}

// The help names every column the batch reads and writes, from the same declaration.
TEST(BatchProgram, HelpListsTheColumns) {
    const std::string help = program_runner::RunProgram({"batch", "--help"}).out;
    std::vector<std::string> names = {"name", "r2, vref, vo_max, vo_min", "r1, r2, r3, vref", "vf"};
    for (const auto& column : command_line::ResultColumnTable()) {
        names.emplace_back(column.name);
    }
    // A name stands at the start of a line of the list, before its text or a line break.
    const auto listed = [&help](const std::string& name) {
        return help.find("\n  " + name + ' ') != std::string::npos ||
               help.find("\n  " + name + '\n') != std::string::npos;
    };
    for (const std::string& name : names) {
        EXPECT_TRUE(listed(name)) << name;
    }
    for (const auto& row : calc_core::SettingRows()) {
        EXPECT_NE(help.find(std::string(row.key)), std::string::npos) << row.key;
    }
    // Each written column is a declared one, its pin level standing for P.
    for (const std::string& written : command_line::ResultColumns({true, true, 1})) {
        const std::string declared =
            written.find("_0") != std::string::npos || written.find("_1") != std::string::npos
                ? written.substr(0, written.find('_') + 1) + "P"
                : written;
        EXPECT_TRUE(listed(declared)) << written;
    }
}

// A thousand rails with a bad one every seventh row: the same output on 1 and 4 threads, in the
// order of the input.
TEST(BatchRows, OutputKeepsTheInputsOrderOnAnyNumberOfThreads) {
    std::string rails = "name,r1,r2,r3,vref\n";
    for (int i = 0; i < 1000; ++i) {
        rails += "rail " + std::to_string(i) + "," + std::to_string(1000 + i) + "," +
                 (i % 7 == 3 ? "x" : "100") + ",220,1.2\n";
    }
    const Output one = Batch(rails, 1);
    const Output four = Batch(rails, 4);
    EXPECT_EQ(one.status, 1);
    EXPECT_EQ(four.status, 1);
    EXPECT_EQ(four.out, one.out);
    const auto rows = Rows(four.out);
    ASSERT_EQ(rows.size(), 1001u);
    for (int i = 0; i < 1000; ++i) {
        EXPECT_EQ(rows[std::size_t(i) + 1][Column("name")], "rail " + std::to_string(i));
        EXPECT_EQ(rows[std::size_t(i) + 1][Column("message")].empty(), i % 7 != 3);
    }
}

// Names a spreadsheet would run as formulas are made text; every cell is quoted as RFC 4180 asks.
TEST(BatchRows, NamesAreInertAndQuoted) {
    const std::pair<const char*, const char*> names[] = {
        {"=1+2", "'=1+2"},
        {"+33", "'+33"},
        {"-x", "'-x"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"\"\ttab\"", "'\ttab"},
        {"\"a,b\"", "\"a,b\""},
        {"\"say \"\"hi\"\"\"", "\"say \"\"hi\"\"\""},
        {"\"=a,b\"", "\"'=a,b\""},
        {"\" lead\"", "\" lead\""},
        {"plain 5V", "plain 5V"},
    };
    for (const auto& [cell, written] : names) {
        SCOPED_TRACE(cell);
        const Output output =
            Batch("name,r2,vref,vo_max,vo_min\n" + std::string(cell) + ",10k,2.5,40,30\n");
        EXPECT_EQ(output.status, 0);
        const std::string row = output.out.substr(output.out.find('\n') + 1);
        EXPECT_EQ(row.substr(0, row.find(",,64955,")), written);
    }
    // JSON lines keep the name as it was.
    const Output json = Batch("name,r2,vref,vo_max,vo_min\n=1+2,10k,2.5,40,30\n", 1, true);
    EXPECT_EQ(nlohmann::json::parse(json.out)["name"], "=1+2");
}

TEST(BatchCsv, SplitsAsRfc4180Writes) {
    const std::pair<const char*, std::vector<std::string>> lines[] = {
        {"a,\"b,c\",\"\"", {"a", "b,c", ""}}, {"\"\"\"\"", {"\""}}, {"a,", {"a", ""}}, {"", {""}},
        {" a , b ", {" a ", " b "}},
    };
    for (const auto& [line, cells] : lines) {
        EXPECT_EQ(command_line::SplitCsvLine(line).cells, cells) << line;
    }
}

// The program itself: a file, or stdin for "-", with the flags' settings for every row.
TEST(BatchProgram, ReadsAFileOrStdin) {
    const std::string path = ::testing::TempDir() + "rails-" + std::to_string(getpid()) + ".csv";
    { std::ofstream(path) << "name,r2,vref,vo_max,vo_min\n5V,10k,2.5,40,30\nbad,1,2,3\n"; }
    const auto file = program_runner::RunProgram({"batch", path, "--spec", "2", "--threads", "2"});
    const auto piped = program_runner::RunProgram({"batch", "-", "--spec", "2"}, {}, path);
    std::remove(path.c_str());
    EXPECT_EQ(file.status, 1);
    EXPECT_EQ(file.err, "");
    EXPECT_EQ(piped.out, file.out);
    const auto rows = Rows(file.out);
    ASSERT_EQ(rows.size(), 3u);
    // At ± 2 % the Calc example's lowest level misses its spec.
    EXPECT_EQ(rows[1][Column("meets_1.25")], "no");
    EXPECT_EQ(rows[2][Column("message")], "line 3: the row has 4 cells, and the header 5");
}

} // namespace
