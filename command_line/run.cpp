// The program's run: parse, save, press, report; or a batch of rails.
#include "command_line/run.h"

#include "command_line/arguments.h"
#include "command_line/batch_run.h"
#include "command_line/design_request.h"
#include "command_line/json_output.h"
#include "command_line/press_report.h"
#include "command_line/text_output.h"

namespace command_line {

int Run(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    const ParsedArguments parsed = ParseArguments(args);
    if (parsed.batch) {
        return RunBatch(*parsed.batch, out, err);
    }
    if (!parsed.request) {
        out << parsed.output;
        if (!parsed.error.empty()) {
            err << "orvalex-kep: " << parsed.error << '\n';
        }
        return parsed.status;
    }
    // The file describes the command, whatever its press answers; a save that fails stops here.
    if (parsed.request->savePath) {
        if (const std::string error = SaveRequestedDesign(*parsed.request); !error.empty()) {
            err << "orvalex-kep: " << error << '\n';
            return 2;
        }
    }
    const PressReport report = RunPress(*parsed.request);
    if (parsed.request->json) {
        WriteJson(report, out);
    } else {
        WriteText(report, out);
    }
    if (report.message != calc_core::PressMessage::None) {
        err << "orvalex-kep: " << calc_core::MessageText(report.message) << '\n';
    }
    return ExitStatus(report.message);
}

} // namespace command_line
