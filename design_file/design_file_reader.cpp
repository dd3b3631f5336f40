// Reading a design file: the text's size, its JSON, its format and version, then each member.
#include "design_file/design_file_reader.h"

#include "analysis_report/fit_json.h"
#include "analysis_report/json_reader.h"
#include "analysis_report/settings_json.h"
#include "calc_core/decimal_text.h"
#include "calc_core/tab_inputs.h"
#include "design_file/strict_json.h"

#include <cctype>
#include <cmath>
#include <fstream>
#include <system_error>
#include <vector>

namespace design_file {
namespace {

using analysis_report::Json;
using analysis_report::JsonReader;

const std::string SizeFault =
    "it is larger than " + std::to_string(MaxFileBytes >> 20) + " MiB, which no design file is";

// A fault of the core's, "The output spec must be ...", placed: "at settings.spec_pct, the output
// spec must be ...".
std::string AtPlace(const std::string& place, std::string reason) {
    if (!reason.empty()) {
        reason[0] = char(std::tolower(static_cast<unsigned char>(reason[0])));
    }
    if (reason.ends_with('.')) {
        reason.pop_back();
    }
    return "at " + place + ", " + reason;
}

// The format and the version come first: a newer file is refused for what it is, not for a
// member this version does not know.
bool ReadFormat(JsonReader& top) {
    const auto format = top.String(keys::Format);
    if (!top.failed() && *format != FormatName) {
        top.WrongType(keys::Format, "\"" + std::string(FormatName) + "\"");
    }
    const auto version = top.Number(keys::Version);
    if (top.failed()) {
        return false;
    }
    if (!(*version >= 1 && *version == std::floor(*version))) {
        top.WrongType(keys::Version, "a whole number from 1");
    } else if (*version > FormatVersion) {
        top.Fail("it was saved by a newer version (format " + calc_core::ShortestText(*version) +
                 "); this one reads up to " + std::to_string(FormatVersion));
    }
    return !top.failed();
}

// A member that must be there and be an object; null after a fault.
const Json* ObjectMember(JsonReader& top, std::string_view key) {
    const Json* member = top.Member(key);
    if (member != nullptr && !member->is_object()) {
        top.WrongType(key, "an object");
        return nullptr;
    }
    return member;
}

void ReadInputs(JsonReader& top, Design& design) {
    const Json* object = ObjectMember(top, keys::Inputs);
    if (object == nullptr) {
        return;
    }
    JsonReader inputs = top.Nested(*object, keys::Inputs);
    const auto boxes = calc_core::TabInputs(design.tab);
    std::vector<std::string_view> allowed;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (i != calc_core::VfInput || design.diode) {
            allowed.push_back(boxes[i].key);
        }
    }
    if (!design.diode && object->contains(boxes[calc_core::VfInput].key)) {
        inputs.Fail(inputs.Name(boxes[calc_core::VfInput].key) +
                    " is for a design with the diode, and diode is false");
    }
    inputs.AllowOnly(allowed);
    for (std::size_t i = 0; i < allowed.size(); ++i) {
        if (const auto value = inputs.Number(allowed[i])) {
            design.inputs[i] = *value;
        }
    }
    if (inputs.failed()) {
        top.Fail(inputs.error());
    }
}

void ReadSettings(JsonReader& top, Design& design) {
    const Json* object = ObjectMember(top, keys::Settings);
    if (object == nullptr) {
        return;
    }
    JsonReader settings = top.Nested(*object, keys::Settings);
    design.settings = analysis_report::ReadSettingsJson(settings);
    if (settings.failed()) {
        top.Fail(settings.error());
    } else if (const auto fault = calc_core::FindSettingsFault(design.settings); fault.row) {
        top.Fail(AtPlace(settings.Name(fault.row->key), fault.reason));
    }
}

void ReadFit(JsonReader& top, Design& design) {
    const Json* member = top.Member(keys::Fit);
    if (member == nullptr || member->is_null()) {
        return;
    }
    if (!member->is_object()) {
        top.WrongType(keys::Fit, "null or an object");
        return;
    }
    JsonReader fit = top.Nested(*member, keys::Fit);
    design.fit = analysis_report::ReadFitJson(fit);
    if (fit.failed()) {
        top.Fail(fit.error());
    } else if (std::string reason = calc_core::FitRefusal(design.fit); !reason.empty()) {
        top.Fail(AtPlace(top.Name(keys::Fit), reason));
    }
}

// The members after the version, in the order they are written.
std::optional<Design> ReadMembers(JsonReader& top) {
    top.AllowOnly({keys::Format, keys::Version, keys::Tab, keys::Diode, keys::Inputs,
                   keys::Settings, keys::Fit, keys::YieldEstimated, keys::Note});
    Design design;
    const auto tab = top.Word(keys::Tab, {calc_core::TabKey(calc_core::Tab::Calc),
                                          calc_core::TabKey(calc_core::Tab::Check)});
    const auto diode = top.Bool(keys::Diode);
    if (top.failed()) {
        return std::nullopt;
    }
    design.tab = calc_core::Tab(*tab);
    design.diode = *diode;
    ReadInputs(top, design);
    ReadSettings(top, design);
    ReadFit(top, design);
    if (const auto estimated = top.Bool(keys::YieldEstimated, false)) {
        design.yieldEstimated = *estimated;
    }
    if (const auto note = top.String(keys::Note)) {
        design.note = *note;
    }
    if (top.failed()) {
        return std::nullopt;
    }
    return design;
}

// A file's name as a one-line message can hold it: control characters become '?'.
std::string Shown(std::string_view fileName) {
    std::string shown(fileName);
    for (char& c : shown) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = '?';
        }
    }
    return shown;
}

DesignRead Refused(std::string_view fileName, const std::string& fault) {
    return {std::nullopt, Shown(fileName) + " cannot be opened: " + fault + "."};
}

} // namespace

DesignRead ReadDesign(std::string_view text, std::string_view fileName) {
    if (text.size() > MaxFileBytes) {
        return Refused(fileName, SizeFault);
    }
    const StrictParse parse = ParseStrictJson(text, MaxDepth);
    if (!parse.document) {
        return Refused(fileName, parse.fault);
    }
    JsonReader top = JsonReader::AtPath(*parse.document, "");
    if (!ReadFormat(top)) {
        return Refused(fileName, top.error());
    }
    auto design = ReadMembers(top);
    if (!design) {
        return Refused(fileName, top.error());
    }
    return {std::move(design), {}};
}

DesignRead ReadDesignFile(const std::filesystem::path& path, std::string_view fileName) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        return Refused(fileName, "it is a folder");
    }
    const auto size = std::filesystem::file_size(path, error);
    if (!error && size > MaxFileBytes) {
        return Refused(fileName, SizeFault);
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return Refused(fileName,
                       "it cannot be read (" + std::generic_category().message(errno) + ")");
    }
    // At most one byte past the limit, so that a file that grows, or a pipe, is never read whole.
    std::string text(MaxFileBytes + 1, '\0');
    file.read(text.data(), std::streamsize(text.size()));
    text.resize(std::size_t(file.gcount()));
    if (file.bad()) {
        return Refused(fileName, "it cannot be read");
    }
    return ReadDesign(text, fileName);
}

} // namespace design_file
