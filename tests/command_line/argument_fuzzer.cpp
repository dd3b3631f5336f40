// Coverage-guided fuzzer of the command line: arbitrary bytes become the arguments of a run, and
// every run must end as the program promises.
//
// Input format: the arguments that follow the program's name, separated by NUL bytes, at most 32
// of them; tests/command_line/fuzz_corpus/ holds examples. Arguments that would save, open or
// read a batch are skipped.
#include "calc_core/press_message.h"
#include "command_line/arguments.h"
#include "command_line/run.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

[[noreturn]] void Fail(const char* what, std::string_view detail = {}) {
    std::fprintf(stderr, "argument_fuzzer: %s '%.*s'\n", what, static_cast<int>(detail.size()),
                 detail.data());
    std::abort();
}

void Require(bool holds, const char* what, std::string_view detail = {}) {
    if (!holds) {
        Fail(what, detail);
    }
}

std::vector<std::string> Decode(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    while (!rest.empty() && args.size() < 32) {
        const std::size_t cut = rest.find('\0');
        args.emplace_back(rest.substr(0, cut));
        rest = cut == std::string_view::npos ? std::string_view{} : rest.substr(cut + 1);
    }
    return args;
}

// The status the document's press ends with, as the program must exit by it.
int StatusOfDocument(const std::string& out) {
    const nlohmann::json document = nlohmann::json::parse(out, nullptr, false);
    Require(document.is_object() && document.contains("press") && document.contains("analysis"),
            "not one JSON document of a press", out);
    const nlohmann::json& message = document["press"]["message"];
    Require(document["analysis"].is_null() == document.contains("reason"),
            "an analysis with a reason, or neither", out);
    if (message.is_null()) {
        return 0;
    }
    return message == calc_core::MessageText(calc_core::PressMessage::CalError) ? 1 : 2;
}

// Saving, opening and batches reach the file system, which a fuzzer must not write into or wait
// on (stdin); the design file's and the batch's own fuzzers take their texts in memory.
bool TouchesFiles(const std::vector<std::string>& args) {
    return std::any_of(args.begin(), args.end(), [](const std::string& arg) {
        return arg.starts_with("--save") || arg == "open" || arg == "batch";
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> args = Decode(data, size);
    if (TouchesFiles(args)) {
        return 0;
    }
    std::ostringstream out;
    std::ostringstream err;
    const int status = command_line::Run(args, out, err);
    const std::string error = err.str();

    Require(status == 0 || status == 1 || status == 2, "exit status other than 0, 1, 2");
    if (status == 2) {
        Require(!error.empty(), "status 2 without an error");
    }
    if (!error.empty()) {
        Require(error.find('\n') == error.size() - 1, "error not exactly one line", error);
    }
    Require((status == 1) ==
                (error ==
                 "orvalex-kep: " +
                     std::string(calc_core::MessageText(calc_core::PressMessage::CalError)) + "\n"),
            "status 1 and the Cal Error do not go together", error);
    Require(status != 0 || error.empty(), "an error on a passing run", error);

    const command_line::ParsedArguments parsed = command_line::ParseArguments(args);
    if (parsed.request && parsed.request->format == command_line::OutputFormat::Json) {
        Require(StatusOfDocument(out.str()) == status, "exit status differs from the press");
    } else if (parsed.request && status != 2) {
        Require(!out.str().empty(), "a press without a report");
    }
    return 0;
}
