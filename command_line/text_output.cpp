// Writing a press and its analysis as text for a terminal.
#include "command_line/text_output.h"

#include "calc_core/number_text.h"

#include "command_line/flag_values.h"
#include "command_line/text_table.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <vector>

namespace command_line {
namespace {

using namespace calc_core;

std::string Fixed(double value, int decimals) {
    char buffer[400]; // fixed notation of the largest double needs 309 digits
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::string text = error == std::errc{} ? std::string(buffer, end) : std::string("?");
    if (text.starts_with('-') && text.find_first_of("123456789") == std::string::npos) {
        text.erase(0, 1); // a negative value that rounds to zero
    }
    return text;
}

std::string Percent(double fraction) {
    return Fixed(fraction * 100, 1) + " %";
}

std::string PinLevel(double pinV) {
    return PlainText(pinV) + " V";
}

void WritePress(const PressReport& report, std::ostream& out) {
    out << (report.tab == Tab::Calc ? "Calc" : "Check") << ", diode "
        << (report.diode ? "Yes" : "No") << '\n';
    TextTable texts;
    for (const ResultText& text : report.texts) {
        texts.AddRow({std::string(text.name), text.text});
    }
    texts.Write(out);
    if (!report.flagged.empty()) {
        out << "  " << report.flagged << " is marked red: it misses its target by 3 V or more.\n";
    }
}

void WriteDesign(const DesignAnalysis& analysis, std::ostream& out) {
    const AnalysisDesign& design = analysis.design;
    const Circuit& circuit = design.circuit;
    out << "\nDesign: R1 " << WithPrefix(circuit.r1, "Ω", 6) << ", R2 "
        << WithPrefix(circuit.r2, "Ω", 6) << ", R3 " << WithPrefix(circuit.r3, "Ω", 6) << ", Vref "
        << PlainText(circuit.vref) << " V, "
        << (circuit.vf ? "diode Vf " + PlainText(*circuit.vf) + " V" : std::string("no diode"))
        << '\n';
    if (design.targetVoMax && design.targetVoMin) {
        out << "Targets: Vo_max " << Volts(*design.targetVoMax) << ", Vo_min "
            << Volts(*design.targetVoMin) << '\n';
    }
}

void WriteLevels(const DesignAnalysis& analysis, std::ostream& out) {
    const bool diode = analysis.design.circuit.diode();
    std::vector<std::string> header = {"Pin", "Vo", "I(R1)", "I(R2)", "I(R3)"};
    if (diode) {
        header.insert(header.end(), {"Formula", "Diode"});
    }
    TextTable table;
    table.AddRow(header);
    for (const LevelAnalysis& level : analysis.levels) {
        std::vector<std::string> row = {
            PinLevel(level.pinV), Volts(level.vo), WithPrefix(level.iR1, "A", 4),
            WithPrefix(level.iR2, "A", 4), WithPrefix(level.iR3, "A", 4)};
        if (diode) {
            row.insert(row.end(),
                       {Volts(level.voFormula), level.diodeConducts ? "conducts" : "blocks"});
        }
        table.AddRow(row);
    }
    out << "\nLevels\n";
    table.Write(out);
    out << "  Span " << Volts(analysis.span) << "; highest power in R1 "
        << WithPrefix(analysis.pR1Max, "W", 4) << ", in R2 " << WithPrefix(analysis.pR2Max, "W", 4)
        << '\n';
    if (diode) {
        out << "  Formula: the tabs' formula, which takes no account of the diode blocking.\n";
    }
}

void WriteFaults(const DesignAnalysis& analysis, std::ostream& out) {
    TextTable table;
    table.AddRow({"Pin", "Vo", ""});
    for (const FaultAnalysis& fault : analysis.faults) {
        const std::string state = fault.state == FaultState::PinAtZero ? "at 0 V"
                                  : fault.state == FaultState::PinOpen
                                      ? "open"
                                      : "at " + PinLevel(fault.pinV.value_or(0));
        table.AddRow({state, Volts(fault.vo), fault.overvoltage ? "above the highest level" : ""});
    }
    out << "\nPin faults\n";
    table.Write(out);
}

void WritePreferred(const DesignAnalysis& analysis, std::ostream& out) {
    std::vector<std::string> header = {"R1", "R3"};
    for (const LevelAnalysis& level : analysis.levels) {
        header.push_back("Vo at " + PinLevel(level.pinV));
    }
    header.push_back("Worst error");
    TextTable table;
    table.AddRow(header);
    for (const PreferredPair& pair : analysis.preferred) {
        std::vector<std::string> row = {WithPrefix(pair.r1, "Ω", 6), WithPrefix(pair.r3, "Ω", 6)};
        for (double vo : pair.levels) {
            row.push_back(Volts(vo));
        }
        row.push_back(Volts(pair.worstError));
        table.AddRow(row);
    }
    out << "\nPreferred pairs, " << SeriesName(analysis.settings.series) << '\n';
    table.Write(out);
}

void WriteTolerance(const DesignAnalysis& analysis, std::ostream& out) {
    const AnalysisSettings& settings = analysis.settings;
    const bool diode = analysis.design.circuit.diode();
    constexpr std::array<const char*, ToleranceQuantityCount> kNames = {
        "R1", "R2", "R3", "Vref", "Level", "I_FB", "Vf"};
    const std::size_t quantities = diode ? kNames.size() : kNames.size() - 1;
    std::vector<std::string> header = {"Pin", "Min", "Max", "RSS ±"};
    header.insert(header.end(), kNames.begin(), kNames.begin() + quantities);
    TextTable table;
    table.AddRow(header);
    for (const ToleranceLevel& level : analysis.tolerance) {
        std::vector<std::string> row = {PinLevel(level.pinV), Volts(level.min), Volts(level.max),
                                        Volts(level.rss)};
        for (std::size_t q = 0; q < quantities; ++q) {
            row.push_back(Percent(level.shares[q]));
        }
        table.AddRow(row);
    }
    out << "\nTolerance: resistors ±" << PlainText(settings.resistorTolerancePct) << " %, Vref ±"
        << PlainText(settings.vrefTolerancePct) << " %, pin levels ±"
        << PlainText(settings.levelAccuracyMv) << " mV";
    if (diode) {
        out << ", Vf ±" << PlainText(settings.vfSpreadV) << " V";
    }
    out << "\n  worst case, root-sum-square spread and each part's share of it\n";
    table.Write(out);
    out << "  The worst-case bands of neighbouring levels "
        << (analysis.bandsOverlap ? "overlap." : "are apart.") << '\n';
}

} // namespace

std::string Volts(double value) {
    return Fixed(value, 3) + " V";
}

std::string WithPrefix(double value, std::string_view unit, int digits) {
    const PrefixedValue prefixed = WithDecimalPrefix(value, digits);
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, prefixed.scaled,
                                            std::chars_format::general, digits);
    std::string text = error == std::errc{} ? std::string(buffer, end) : std::string("?");
    return text + " " + std::string(prefixed.symbol) + std::string(unit);
}

void WriteText(const PressReport& report, std::ostream& out) {
    if (IsGateMessage(report.message)) {
        return;
    }
    WritePress(report, out);
    if (!report.analysis.analysis) {
        out << "\nNo analysis: " << report.analysis.reason << '\n';
        return;
    }
    const DesignAnalysis& analysis = *report.analysis.analysis;
    WriteDesign(analysis, out);
    WriteLevels(analysis, out);
    WriteFaults(analysis, out);
    WritePreferred(analysis, out);
    WriteTolerance(analysis, out);
}

} // namespace command_line
