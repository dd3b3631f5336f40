// The program's run: parse, save, press, report; or a batch of rails.
#include "command_line/run.h"

#include "analysis_report/buy_section.h"
#include "analysis_report/report_csv.h"

#include "calc_core/value_text.h"
#include "command_line/arguments.h"
#include "command_line/batch_run.h"
#include "command_line/design_request.h"
#include "command_line/document_date.h"
#include "command_line/document_output.h"
#include "command_line/json_output.h"
#include "command_line/press_report.h"
#include "command_line/text_output.h"

#include <cstdlib>
#include <ctime>
#include <optional>

namespace command_line {
namespace {

// The documents' date: SOURCE_DATE_EPOCH's day when it is set and not empty, else today's.
std::optional<std::string> DocumentDate(std::string& error) {
    const char* epoch = std::getenv(SourceDateEpoch);
    if (epoch == nullptr || *epoch == '\0') {
        return LocalDate(std::time(nullptr));
    }
    auto date = DateOfEpoch(epoch);
    if (!date) {
        error = std::string(SourceDateEpoch) + ": " + calc_core::QuotedForMessage(epoch) +
                " is not a count of seconds since 1970 up to the year 9999";
    }
    return date;
}

// The bill of materials of the build to buy as CSV; with nothing to buy, why, and status 1.
int WriteBom(const PressReport& report, std::ostream& out, std::ostream& err) {
    const auto& analysis = report.analysis.analysis;
    const std::optional<analysis_report::BuildToBuy> build =
        analysis ? analysis_report::ToBuy(*analysis) : std::nullopt;
    if (!build) {
        err << "orvalex-kep: "
            << (report.message != calc_core::PressMessage::None
                    ? std::string(calc_core::MessageText(report.message))
                : !analysis ? report.analysis.reason
                            : std::string("no build meets the criterion; there is nothing to buy"))
            << '\n';
        return report.message != calc_core::PressMessage::None ? ExitStatus(report.message) : 1;
    }
    out << analysis_report::SectionCsv(analysis_report::BomSection(*analysis, *build));
    return 0;
}

} // namespace

int Run(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    const ParsedArguments parsed = ParseArguments(args);
    if (!parsed.note.empty()) {
        err << "orvalex-kep: " << parsed.note << '\n';
    }
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
    const OutputFormat format = parsed.request->format;
    std::optional<std::string> date;
    if (format == OutputFormat::Html || format == OutputFormat::Csv) {
        std::string error;
        if (!(date = DocumentDate(error))) {
            err << "orvalex-kep: " << error << '\n';
            return 2;
        }
    }
    // The file describes the command, whatever its press answers; a save that fails stops here.
    if (parsed.request->savePath) {
        if (const std::string error = SaveRequestedDesign(*parsed.request); !error.empty()) {
            err << "orvalex-kep: " << error << '\n';
            return 2;
        }
    }
    const PressReport report = RunPress(*parsed.request);
    if (format == OutputFormat::Bom) {
        return WriteBom(report, out, err);
    }
    if (format == OutputFormat::Json) {
        WriteJson(report, out);
    } else if (date) {
        WriteDocument(report, format, *date, *parsed.request, out);
    } else {
        WriteText(report, out);
    }
    if (report.message != calc_core::PressMessage::None) {
        err << "orvalex-kep: " << calc_core::MessageText(report.message) << '\n';
    }
    return ExitStatus(report.message);
}

} // namespace command_line
