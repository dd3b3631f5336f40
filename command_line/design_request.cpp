// Turning a design file into a request and a request into a design file.
#include "command_line/design_request.h"

#include "calc_core/decimal_text.h"
#include "calc_core/tab_inputs.h"
#include "calc_core/value_text.h"
#include "command_line/flag_values.h"
#include "command_line/system_text.h"
#include "design_file/atomic_save.h"
#include "design_file/design_file_writer.h"

namespace command_line {

using calc_core::VfInput;

Request RequestOfDesign(const design_file::Design& design) {
    Request request;
    request.tab = design.tab;
    request.diode = design.diode;
    for (std::size_t i = 0; i < design.inputs.size(); ++i) {
        if (i != VfInput || design.diode) {
            request.values[i] = design.inputs[i];
            request.texts[i] = calc_core::ShortestText(design.inputs[i]);
        }
    }
    request.settings = design.settings;
    request.fit = design.fit;
    request.extras.yield = design.yieldEstimated;
    request.note = design.note;
    return request;
}

std::optional<design_file::Design> DesignOfRequest(const Request& request, std::string& error) {
    design_file::Design design;
    design.tab = request.tab;
    design.diode = request.diode;
    const auto boxes = calc_core::TabInputs(request.tab);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (i == VfInput && !request.diode) {
            continue;
        }
        if (!request.values[i]) {
            error = "--save: " + std::string(boxes[i].flag) +
                    " is empty, and a design file holds a number for it";
            return std::nullopt;
        }
        design.inputs[i] = *request.values[i];
    }
    design.settings = request.settings;
    design.fit = request.fit;
    design.yieldEstimated = request.extras.yield;
    design.note = request.note;
    return design;
}

std::string SaveRequestedDesign(const Request& request) {
    std::string error;
    const auto design = DesignOfRequest(request, error);
    if (!design) {
        return error;
    }
    const std::string text = design_file::DesignText(*design);
    std::string reason = design_file::OversizeRefusal(text);
    if (reason.empty()) {
        reason = design_file::SaveAtomically(PathOfArgument(*request.savePath), text);
    }
    if (reason.empty()) {
        return {};
    }
    return calc_core::Printable(*request.savePath, 200) + " cannot be saved: " + reason;
}

} // namespace command_line
