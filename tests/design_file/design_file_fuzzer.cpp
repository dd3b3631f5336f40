// Coverage-guided fuzzer of the design file's reader: any bytes are a file's text, and the reader
// must refuse them in one sentence or give a design that writes and reads back unchanged.
//
// Input format: the file's text as it is; tests/design_file/fuzz_corpus/ holds good and bad files.
#include "design_file/design_file_reader.h"
#include "design_file/design_file_writer.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Require(bool holds, const char* what, std::string_view detail = {}) {
    if (!holds) {
        std::fprintf(stderr, "design_file_fuzzer: %s '%.*s'\n", what,
                     static_cast<int>(detail.size()), detail.data());
        std::abort();
    }
}

const std::string Head = "fuzz.okep cannot be opened: ";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const design_file::DesignRead read = design_file::ReadDesign(text, "fuzz.okep");
    if (!read.design) {
        Require(read.error.starts_with(Head) && read.error.size() > Head.size() + 1 &&
                    read.error.ends_with('.'),
                "a refusal that is not one sentence naming the file", read.error);
        Require(read.error.find('\n') == std::string::npos, "a refusal of two lines", read.error);
        return 0;
    }
    Require(read.error.empty(), "a design with an error", read.error);
    const design_file::Design& design = *read.design;
    for (double input : design.inputs) {
        Require(std::isfinite(input), "an input that is not finite");
    }
    Require(calc_core::SettingsRefusal(design.settings).empty(), "settings the core refuses");
    Require(calc_core::FitRefusal(design.fit).empty(), "a fit the core refuses");
    // What was read writes a file that reads back as the same design, written the same.
    const std::string written = design_file::DesignText(design);
    const design_file::DesignRead again = design_file::ReadDesign(written, "fuzz.okep");
    Require(again.design.has_value(), "a written design that does not read back", again.error);
    Require(design_file::DesignText(*again.design) == written, "a design that changes when read",
            written);
    return 0;
}
