// The report's sections of the pin levels and of the pin's fault states.
#include "analysis_report/report_sections.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace analysis_report {
namespace {

using calc_core::DesignAnalysis;
using calc_core::SetAnalysis;

// The names under which the report shows the pin's states.
std::string_view FaultStateName(calc_core::FaultState state) {
    switch (state) {
    case calc_core::FaultState::PinAtZero:
        return "At 0 V";
    case calc_core::FaultState::PinOpen:
        return "Open";
    case calc_core::FaultState::PinAtUserVoltage:
        return "At the set voltage";
    }
    return {};
}

Note CollapseNote(const std::string& where, double vo, const Writer& w) {
    return {where + " the formula gives " + w.Volts(vo) +
                ": the converter cannot regulate below 0 V, and its output collapses.",
            true};
}

// A fitted pair's outputs stand beside the design's; a diode adds its state and the output the
// tabs' formula gives.
std::vector<std::string> LevelsHeader(bool fitted, bool diode) {
    std::vector<std::string> header = {"Pin level"};
    if (fitted) {
        header.insert(header.end(), {"Designed Vo", "Fitted Vo", "Difference"});
    } else {
        header.emplace_back("Vo");
    }
    if (diode) {
        header.insert(header.end(), {"Diode", "Vo by the tabs' formula"});
    }
    header.insert(header.end(), {"I(R1)", "I(R2)", "I(R3)"});
    return header;
}

// The row of the i-th level, flagging an output that collapses and a diode that blocks.
void AddLevelRow(Section& section, const DesignAnalysis& a, std::size_t i, const Writer& w) {
    const calc_core::LevelAnalysis& level = a.shown().levels[i];
    const bool fitted = a.fitted.has_value();
    const int row = int(section.rows.size());
    if (level.collapses) {
        section.flagged.emplace_back(row, fitted ? 2 : 1);
    }
    std::vector<std::string> cells = {w.Volts(level.pinV)};
    if (fitted) {
        cells.insert(cells.end(), {w.Volts(a.set.levels[i].vo), w.Volts(level.vo),
                                   w.Volts(a.fitted->voChange[i])});
    } else {
        cells.push_back(w.Volts(level.vo));
    }
    if (a.design.circuit.diode()) {
        if (!level.diodeConducts) {
            section.flagged.emplace_back(row, int(cells.size()));
        }
        cells.emplace_back(level.diodeConducts ? "conducts" : "blocks");
        cells.push_back(w.Volts(level.voFormula));
    }
    cells.insert(cells.end(), {w.Amps(level.iR1), w.Amps(level.iR2), w.Amps(level.iR3)});
    section.rows.push_back(std::move(cells));
}

std::vector<Note> LevelNotes(const DesignAnalysis& a, const Writer& w) {
    const SetAnalysis& set = a.shown();
    std::vector<Note> notes;
    if (a.fitted) {
        notes.push_back({"Designed Vo: the output of the design's R1 and R3; the difference is "
                         "the fitted output minus the designed one."});
    }
    notes.push_back({"Span, Vo at " + w.Volts(set.levels.front().pinV) + " minus Vo at " +
                     w.Volts(set.levels.back().pinV) + ": " + w.Volts(set.span)});
    notes.push_back(
        {"Highest power in R1: " + w.Watts(set.pR1Max) + "; in R2: " + w.Watts(set.pR2Max)});
    notes.push_back({"Currents: I(R1) from the output into the node, I(R2) from the node to "
                     "ground, I(R3) from the node towards the pin."});
    for (const calc_core::LevelAnalysis& level : set.levels) {
        if (level.collapses) {
            notes.push_back(CollapseNote("At " + w.Volts(level.pinV), level.vo, w));
        }
        if (!level.diodeConducts) {
            notes.push_back({"At " + w.Volts(level.pinV) +
                                 " the diode blocks, as Vf plus the pin level is not below Vref: "
                                 "no current flows through R3, and the output sits at " +
                                 w.Volts(level.vo) + ", not at the " + w.Volts(level.voFormula) +
                                 " of the Calc and Check tabs' formula.",
                             true});
        }
    }
    return notes;
}

std::vector<Note> FaultNotes(const SetAnalysis& set, const Writer& w) {
    const auto highest =
        std::max_element(set.levels.begin(), set.levels.end(),
                         [](const calc_core::LevelAnalysis& x, const calc_core::LevelAnalysis& y) {
                             return x.vo < y.vo;
                         });
    std::vector<Note> notes = {{"Highest output at the normal levels: " + w.Volts(highest->vo) +
                                ", with the pin at " + w.Volts(highest->pinV) + "."}};
    if (std::any_of(set.faults.begin(), set.faults.end(),
                    [](const calc_core::FaultAnalysis& f) { return f.overvoltage; })) {
        notes.push_back({"A pin state marked \"overvoltage risk\" drives the output above its "
                         "highest normal level.",
                         true});
    }
    for (const calc_core::FaultAnalysis& fault : set.faults) {
        if (fault.collapses) {
            std::string where = std::string(FaultStateName(fault.state));
            where[0] = char(std::tolower(static_cast<unsigned char>(where[0])));
            notes.push_back(CollapseNote("With the pin " + where, fault.vo, w));
        }
    }
    return notes;
}

} // namespace

Section LevelsSection(const DesignAnalysis& a, const Writer& w) {
    Section section;
    section.name = "Levels";
    section.subject = SubjectOf(a, w);
    section.header = LevelsHeader(a.fitted.has_value(), a.design.circuit.diode());
    for (std::size_t i = 0; i < a.shown().levels.size(); ++i) {
        AddLevelRow(section, a, i, w);
    }
    section.notes = LevelNotes(a, w);
    return section;
}

Section FaultsSection(const DesignAnalysis& a, const Writer& w) {
    const SetAnalysis& set = a.shown();
    Section section;
    section.name = "Pin faults";
    section.subject = SubjectOf(a, w);
    section.header = {"Pin", "Pin voltage", "Vo", "Against the normal levels"};
    for (const calc_core::FaultAnalysis& fault : set.faults) {
        if (fault.overvoltage) {
            section.flagged.emplace_back(int(section.rows.size()), 3);
        }
        if (fault.collapses) {
            section.flagged.emplace_back(int(section.rows.size()), 2);
        }
        section.rows.push_back({std::string(FaultStateName(fault.state)),
                                fault.pinV ? w.Volts(*fault.pinV) : "not driven", w.Volts(fault.vo),
                                fault.overvoltage ? "overvoltage risk"
                                : fault.collapses ? "below 0 V: collapses"
                                                  : "not higher"});
    }
    section.notes = FaultNotes(set, w);
    return section;
}

} // namespace analysis_report
