// A rail's row: its cells read into a request, the press and analysis, and the result's cells.
#include "command_line/batch_row.h"

#include "analysis_report/number_format.h"
#include "calc_core/decimal_text.h"
#include "calc_core/tab_inputs.h"
#include "calc_core/value_text.h"
#include "command_line/csv_text.h"
#include "command_line/flag_values.h"
#include "command_line/press_report.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <variant>
#include <vector>

namespace command_line {
namespace {

using calc_core::VfInput;

// A result's cell: empty, text, a number or yes/no.
using Cell = std::variant<std::monostate, std::string, double, bool>;

// RFC 4180 ends each record with CR LF.
constexpr std::string_view CsvLineEnd = "\r\n";
// The most significant digits of a number that is not in volts or %: more than a spreadsheet
// shows, and no rounding noise (40.00002600554785).
constexpr int CellDigits = 10;

struct RowRequest {
    std::string name;
    std::optional<Request> request;
    std::string problem; // without a request: why, naming the line
};

// The row's input cells into the request's boxes: Vf's cell selects the diode when it holds a
// value; any other empty cell stays empty, for the press to answer as it answers an empty box.
bool ReadInputCells(const RailColumns& columns, const std::vector<std::string>& cells,
                    Request& request, std::string& error) {
    const auto boxes = calc_core::TabInputs(columns.tab);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (!columns.inputs[i]) {
            continue;
        }
        const std::string_view text = TrimBlanks(cells[*columns.inputs[i]]);
        if (text.empty()) {
            continue;
        }
        request.diode = request.diode || i == VfInput;
        const calc_core::ValueRead value =
            calc_core::ReadValue(text, boxes[i].resistance ? calc_core::ValueKind::Resistance
                                                           : calc_core::ValueKind::Number);
        if (const auto* problem = std::get_if<calc_core::ValueProblem>(&value)) {
            error = ValueError(boxes[i].key, text, *problem);
            return false;
        }
        request.texts[i] = calc_core::ShortestText(std::get<double>(value));
    }
    return true;
}

// The row's own settings over those every row starts from; an empty cell keeps them.
bool ReadSettingCells(const RailColumns& columns, const std::vector<std::string>& cells,
                      Request& request, std::string& error) {
    for (const auto& [row, at] : columns.settings) {
        const std::string_view text = TrimBlanks(cells[at]);
        if (!text.empty() && !ReadSettingValue(*row, row->key, text, request.settings, error)) {
            return false;
        }
    }
    return true;
}

RowRequest ReadRow(const RailColumns& columns, const calc_core::AnalysisSettings& settings,
                   std::string_view line, std::size_t lineNumber) {
    RowRequest row;
    const std::string at = "line " + std::to_string(lineNumber) + ": ";
    const CsvRecord record = SplitCsvLine(line);
    // The cells before a fault are read, and the name may be among them.
    if (columns.name < record.cells.size()) {
        row.name = record.cells[columns.name];
    }
    if (!record.problem.empty()) {
        row.problem = at + record.problem;
        return row;
    }
    if (record.cells.size() != columns.count) {
        row.problem = at + "the row has " + std::to_string(record.cells.size()) +
                      " cells, and the header " + std::to_string(columns.count);
        return row;
    }
    Request request;
    request.tab = columns.tab;
    request.settings = settings;
    std::string error;
    if (!ReadInputCells(columns, record.cells, request, error) ||
        !ReadSettingCells(columns, record.cells, request, error)) {
        row.problem = at + error;
        return row;
    }
    row.request = request;
    return row;
}

// Empty for a row that was analysed as pressed.
std::string Message(const RowRequest& row, const PressReport* report) {
    if (!report) {
        return row.problem;
    }
    if (report->message != calc_core::PressMessage::None) {
        return std::string(calc_core::MessageText(report->message));
    }
    return report->analysis.analysis ? std::string() : report->analysis.reason;
}

void AddLevelCells(const calc_core::DesignAnalysis* analysis, std::vector<Cell>& cells) {
    for (const double level : ResultLevels) {
        const calc_core::SetAnalysis* set = analysis ? &analysis->shown() : nullptr;
        std::size_t j = 0;
        while (set && j < set->levels.size() && set->levels[j].pinV != level) {
            ++j;
        }
        if (!set || j == set->levels.size()) {
            cells.insert(cells.end(), 5, std::monostate{});
            continue;
        }
        cells.insert(cells.end(), {set->levels[j].vo, set->tolerance[j].min, set->tolerance[j].max,
                                   set->spec[j].meets, set->spec[j].margin});
    }
}

// The chosen grade and its best build; with no grade that meets the spec, only how tight a spec
// the last grade reaches.
void AddSynthesisCells(const calc_core::DesignAnalysis* analysis, std::vector<Cell>& cells) {
    const calc_core::Synthesis* synthesis =
        analysis && analysis->synthesis ? &*analysis->synthesis : nullptr;
    if (!synthesis || !synthesis->chosen) {
        cells.insert(cells.end(), 8, std::monostate{});
        cells.push_back(synthesis && synthesis->limit ? Cell(synthesis->limit->tightestSpecPct)
                                                      : Cell());
        return;
    }
    const calc_core::GradeSynthesis& g = synthesis->grades[*synthesis->chosen];
    const std::string series(calc_core::SeriesName(g.grade.series));
    cells.insert(cells.end(),
                 {double(*synthesis->chosen + 1), series, g.grade.tolerancePct, g.grade.tcrPpm,
                  g.best.r1, g.best.r2, g.best.r3, g.best.margin, g.tightestSpecPct});
}

void AddYieldCells(const calc_core::DesignAnalysis* analysis, std::vector<Cell>& cells) {
    if (!analysis || !analysis->yield) {
        cells.insert(cells.end(), 4, std::monostate{});
        return;
    }
    const calc_core::YieldEstimate& y = *analysis->yield;
    cells.insert(cells.end(), {y.yield, y.interval.low, y.interval.high, y.ppmFail});
}

// The yield of the build to buy: the chosen grade's best build's.
void AddGradeYieldCells(const calc_core::DesignAnalysis* analysis, std::vector<Cell>& cells) {
    const calc_core::Synthesis* synthesis =
        analysis && analysis->synthesis ? &*analysis->synthesis : nullptr;
    const calc_core::GradeSynthesis* g =
        synthesis && synthesis->chosen ? &synthesis->grades[*synthesis->chosen] : nullptr;
    if (!g || !g->yield) {
        cells.insert(cells.end(), 4, std::monostate{});
        return;
    }
    cells.insert(cells.end(),
                 {*g->yield, g->yieldInterval.low, g->yieldInterval.high, g->yieldPpmFail});
}

// The cells in the order of ResultColumns.
std::vector<Cell> ResultCells(const RowRequest& row, const PressReport* report,
                              const AnalysisExtras& extras) {
    std::vector<Cell> cells{row.name};
    const std::string message = Message(row, report);
    cells.push_back(message.empty() ? Cell() : Cell(message));
    const auto& design = report ? report->design : std::nullopt;
    if (design) {
        cells.insert(cells.end(), {design->circuit.r1, design->circuit.r2, design->circuit.r3});
    } else {
        cells.insert(cells.end(), 3, std::monostate{});
    }
    const calc_core::DesignAnalysis* analysis =
        report && report->analysis.analysis ? &*report->analysis.analysis : nullptr;
    AddLevelCells(analysis, cells);
    if (analysis && !analysis->preferred.empty()) {
        cells.insert(cells.end(), {analysis->preferred.front().r1, analysis->preferred.front().r3});
    } else {
        cells.insert(cells.end(), 2, std::monostate{});
    }
    if (extras.meetSpec) {
        AddSynthesisCells(analysis, cells);
    }
    if (extras.yield) {
        AddYieldCells(analysis, cells);
    }
    if (extras.meetSpec && extras.yield) {
        AddGradeYieldCells(analysis, cells);
    }
    return cells;
}

// A number as its column writes it: volts and percentages to the report's thousandth, the others
// to ten significant digits at most (a whole number below 10^10 in full: 1000000, not 1e+06).
std::string NumberText(double number, CellFormat format) {
    if (format == CellFormat::Volts || format == CellFormat::Percent) {
        return analysis_report::FormatFixed(number, 3, ".");
    }
    return calc_core::SignificantText(number, CellDigits);
}

// Text is the user's or quotes it: a spreadsheet must take it as text.
std::string CsvText(const Cell& cell, CellFormat format) {
    if (const auto* text = std::get_if<std::string>(&cell)) {
        return CsvCell(InertText(*text));
    }
    if (const auto* number = std::get_if<double>(&cell)) {
        return NumberText(*number, format);
    }
    if (const auto* yes = std::get_if<bool>(&cell)) {
        return *yes ? "yes" : "no";
    }
    return {};
}

std::string CsvLine(const std::vector<Cell>& cells, const AnalysisExtras& extras) {
    const std::vector<NamedColumn> columns = ResultColumnsWithFormats(extras);
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        line += (i == 0 ? "" : ",") + CsvText(cells[i], columns[i].format);
    }
    return line + std::string(CsvLineEnd);
}

// The same values as the CSV's: a number is the JSON number of its cell's text.
std::string JsonLine(const std::vector<Cell>& cells, const AnalysisExtras& extras) {
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    const std::vector<NamedColumn> columns = ResultColumnsWithFormats(extras);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        nlohmann::ordered_json& member = object[columns[i].name];
        if (const auto* number = std::get_if<double>(&cells[i])) {
            member = nlohmann::ordered_json::parse(NumberText(*number, columns[i].format));
        } else if (const auto* text = std::get_if<std::string>(&cells[i])) {
            member = *text;
        } else if (const auto* yes = std::get_if<bool>(&cells[i])) {
            member = *yes;
        }
    }
    return object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

} // namespace

RailResult AnalyseRail(const RailColumns& columns, const calc_core::AnalysisSettings& settings,
                       std::string_view line, std::size_t lineNumber, bool json,
                       const AnalysisExtras& extras) {
    RowRequest row = ReadRow(columns, settings, line, lineNumber);
    std::optional<PressReport> report;
    if (row.request) {
        row.request->extras = extras;
        report = RunPress(*row.request);
    }
    const std::vector<Cell> cells = ResultCells(row, report ? &*report : nullptr, extras);
    return {json ? JsonLine(cells, extras) : CsvLine(cells, extras),
            !std::get_if<std::monostate>(&cells[1])};
}

RailResult RefusedRail(const std::string& problem, bool json, const AnalysisExtras& extras) {
    RowRequest row;
    row.problem = problem;
    const std::vector<Cell> cells = ResultCells(row, nullptr, extras);
    return {json ? JsonLine(cells, extras) : CsvLine(cells, extras), true};
}

std::string ResultHeaderLine(const AnalysisExtras& extras) {
    std::string line;
    for (const std::string& name : ResultColumns(extras)) {
        line += (line.empty() ? "" : ",") + CsvCell(name);
    }
    return line + std::string(CsvLineEnd);
}

} // namespace command_line
