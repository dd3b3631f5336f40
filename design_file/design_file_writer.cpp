// Writing a design as JSON text, each number by the core's shortest exact text.
#include "design_file/design_file_writer.h"

#include "analysis_report/fit_json.h"
#include "analysis_report/settings_json.h"
#include "calc_core/decimal_text.h"
#include "calc_core/tab_inputs.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace design_file {
namespace {

using analysis_report::Json;

// nlohmann's own writer may not give the shortest digits; the core's does, as the command line
// writes its values.
void WriteValue(const Json& value, const std::string& indent, std::string& out);

void WriteObject(const Json& object, const std::string& indent, std::string& out) {
    if (object.empty()) {
        out += "{}";
        return;
    }
    const std::string inner = indent + "  ";
    out += "{\n";
    bool first = true;
    for (const auto& member : object.items()) {
        out += (first ? "" : ",\n") + inner + Json(member.key()).dump() + ": ";
        WriteValue(member.value(), inner, out);
        first = false;
    }
    out += "\n" + indent + "}";
}

// An object on one line, as an item of a list: {"series": "E96", "tolerance_pct": 1}.
void WriteInlineObject(const Json& object, std::string& out) {
    out += "{";
    bool first = true;
    for (const auto& member : object.items()) {
        out += (first ? "" : ", ") + Json(member.key()).dump() + ": ";
        WriteValue(member.value(), "", out);
        first = false;
    }
    out += "}";
}

// A list of values stays on one line, which reads best; a list of objects, such as the part
// grades, has one a line.
void WriteArray(const Json& array, const std::string& indent, std::string& out) {
    const bool objects =
        std::any_of(array.begin(), array.end(), [](const Json& item) { return item.is_object(); });
    if (!objects || array.empty()) {
        out += "[";
        bool first = true;
        for (const Json& item : array) {
            out += first ? "" : ", ";
            WriteValue(item, "", out);
            first = false;
        }
        out += "]";
        return;
    }
    out += "[\n";
    bool first = true;
    for (const Json& item : array) {
        out += (first ? "" : ",\n") + indent + "  ";
        item.is_object() ? WriteInlineObject(item, out) : WriteValue(item, "", out);
        first = false;
    }
    out += "\n" + indent + "]";
}

void WriteValue(const Json& value, const std::string& indent, std::string& out) {
    switch (value.type()) {
    case Json::value_t::object:
        WriteObject(value, indent, out);
        break;
    case Json::value_t::array:
        WriteArray(value, indent, out);
        break;
    case Json::value_t::number_float: {
        const double number = value.get<double>();
        // "-0" would read back as the integer 0; "-0.0" keeps the sign.
        out += number == 0 && std::signbit(number) ? "-0.0" : calc_core::ShortestText(number);
        break;
    }
    default:
        // Text that is not UTF-8 cannot be read back; it is replaced rather than refused.
        out += value.dump(-1, ' ', false, Json::error_handler_t::replace);
        break;
    }
}

Json InputsJson(const Design& design) {
    Json inputs = Json::object();
    const auto boxes = calc_core::TabInputs(design.tab);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (i != calc_core::VfInput || design.diode) {
            inputs[std::string(boxes[i].key)] = design.inputs[i];
        }
    }
    return inputs;
}

} // namespace

std::string DesignText(const Design& design) {
    const Json document = {
        {std::string(keys::Format), std::string(FormatName)},
        {std::string(keys::Version), FormatVersion},
        {std::string(keys::Tab), std::string(calc_core::TabKey(design.tab))},
        {std::string(keys::Diode), design.diode},
        {std::string(keys::Inputs), InputsJson(design)},
        {std::string(keys::Settings), analysis_report::SettingsJson(design.settings)},
        {std::string(keys::Fit), analysis_report::FitJson(design.fit)},
        {std::string(keys::YieldEstimated), design.yieldEstimated},
        {std::string(keys::Note), design.note},
    };
    std::string text;
    WriteValue(document, "", text);
    return text + "\n";
}

std::string OversizeRefusal(std::string_view text) {
    if (text.size() <= MaxFileBytes) {
        return {};
    }
    return "it would be larger than " + std::to_string(MaxFileBytes >> 20) +
           " MiB, which no design file may be; shorten the parts list or the part grades";
}

} // namespace design_file
