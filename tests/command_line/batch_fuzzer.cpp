// Coverage-guided fuzzer of the batch: any bytes are a rails' file, and the run must end as the
// program promises, one result a row in the results' columns.
//
// Input format: the first byte chooses the output (bit 0: JSON lines) and the threads (bit 1: 3,
// else 1); the rest is the file. tests/command_line/batch_fuzz_corpus/ holds examples.
#include "command_line/batch_columns.h"
#include "command_line/batch_row.h"
#include "command_line/batch_run.h"
#include "command_line/csv_text.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

namespace {

void Require(bool holds, const char* what, std::string_view detail = {}) {
    if (!holds) {
        std::fprintf(stderr, "batch_fuzzer: %s '%.*s'\n", what, static_cast<int>(detail.size()),
                     detail.data());
        std::abort();
    }
}

// A result's line: its message cell, after its cells are checked against the columns.
std::string MessageOf(std::string_view line, bool json) {
    const auto& columns = command_line::ResultColumns();
    if (json) {
        const auto row = nlohmann::ordered_json::parse(line, nullptr, false);
        Require(row.is_object() && row.size() == columns.size(), "not a result's JSON", line);
        std::size_t i = 0;
        for (const auto& member : row.items()) {
            Require(member.key() == columns[i++], "a member out of the columns' order", line);
        }
        return row["message"].is_null() ? std::string() : row["message"].get<std::string>();
    }
    Require(line.ends_with('\r'), "a CSV line without CR LF", line);
    const command_line::CsvRecord record =
        command_line::SplitCsvLine(line.substr(0, line.size() - 1));
    Require(record.problem.empty() && record.cells.size() == columns.size(),
            "a CSV line that does not split into the columns", line);
    return record.cells[1];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    command_line::BatchRequest batch;
    batch.json = (data[0] & 1) != 0;
    batch.threads = (data[0] & 2) != 0 ? 3 : 1;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
    std::ostringstream out;
    std::ostringstream err;
    const int status = command_line::RunBatchStream(batch, in, "fuzz.csv", out, err);
    const std::string error = err.str();
    Require(status == 0 || status == 1 || status == 2, "exit status other than 0, 1, 2");
    if (status == 2) {
        Require(out.str().empty(), "results after a bad header", out.str());
        Require(error.starts_with("orvalex-kep: fuzz.csv") && error.find('\n') == error.size() - 1,
                "status 2 without one error line", error);
        return 0;
    }
    Require(error.empty(), "an error beside the results", error);
    std::istringstream lines(out.str());
    std::string line;
    if (!batch.json) {
        Require(std::getline(lines, line) && line + "\n" == command_line::ResultHeaderLine(),
                "no header of the results", line);
    }
    bool failed = false;
    while (std::getline(lines, line)) {
        failed = failed || !MessageOf(line, batch.json).empty();
    }
    Require(failed == (status == 1), "the status and the messages do not agree");
    return 0;
}
