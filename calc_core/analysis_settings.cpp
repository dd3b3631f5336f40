// The table of the analysis settings, and the core's refusal of a setting it cannot work with.
#include "calc_core/analysis_settings.h"

#include "calc_core/decimal_text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <stdexcept>

namespace calc_core {
namespace {

using S = AnalysisSettings;

constexpr std::string_view PerDegree = "ppm/\u00b0C";

constexpr std::string_view RangeHelp =
    "Every value is nominal at 25 \u00b0C; each part drifts with its own sign over the larger "
    "distance of the operating range from 25 \u00b0C.";

std::span<const std::string_view> SeriesChoices() {
    static const auto names = [] {
        std::array<std::string_view, std::size(AllSeries)> list{};
        std::transform(std::begin(AllSeries), std::end(AllSeries), list.begin(), SeriesName);
        return list;
    }();
    return names;
}

SettingRow Number(SettingRow row, double S::*member, double lowest, double highest, int decimals) {
    row.kind = SettingKind::Number;
    row.number = member;
    row.lowest = lowest;
    row.highest = highest;
    row.decimals = decimals;
    return row;
}

// Each row's limits are those of a real circuit: they keep the arithmetic far from the ends of
// the doubles, and every front end offers the same. A table of one row a setting, as long as
// there are settings.
// NOLINTNEXTLINE(readability-function-size)
std::vector<SettingRow> MakeRows() {
    SettingRow series{.kind = SettingKind::Choice,
                      .id = "Series",
                      .key = "series",
                      .flag = "--series",
                      .valueName = "E6|E12|E24|E48|E96|E192",
                      .label = "&Series",
                      .subject = "The series",
                      .help = "The preferred-value series of the pairs of R1 and R3"};
    series.choices = SeriesChoices();
    series.choiceOf = [](const S& s) {
        return std::size_t(std::find(std::begin(AllSeries), std::end(AllSeries), s.series) -
                           std::begin(AllSeries));
    };
    series.choose = [](S& s, std::size_t i) { s.series = AllSeries[i]; };
    // clang-format off
    return {
        series,
        Number({.id = "ResistorTolerance", .key = "resistor_pct", .flag = "--tolerance",
                .valueName = "PCT", .label = "R&esistor tolerance", .unit = "%",
                .plusMinus = true, .subject = "The resistor tolerance",
                .help = "The tolerance of each of R1, R2 and R3, plus or minus"},
               &S::resistorTolerancePct, 0, 99.99, 2),
        Number({.id = "VrefTolerance", .key = "vref_pct", .flag = "--vref-tolerance",
                .valueName = "PCT", .label = "&Vref tolerance", .unit = "%", .plusMinus = true,
                .subject = "The Vref tolerance", .help = "The tolerance of Vref, plus or minus"},
               &S::vrefTolerancePct, 0, 99.99, 2),
        Number({.id = "LevelAccuracy", .key = "level_mv", .flag = "--level-accuracy",
                .valueName = "MV", .label = "Pin level &accuracy", .unit = "mV",
                .plusMinus = true, .subject = "The pin level accuracy",
                .help = "The accuracy of every pin level, plus or minus"},
               &S::levelAccuracyMv, 0, 1000, 1),
        Number({.id = "VfSpread", .key = "vf_v", .flag = "--vf-spread", .valueName = "V",
                .label = "V&f spread", .unit = "V", .plusMinus = true, .subject = "The Vf spread",
                .help = "The spread of the diode's Vf, plus or minus; used with the diode only",
                .diodeOnly = true},
               &S::vfSpreadV, 0, 10, 3),
        Number({.id = "PinVoltage", .key = "pin_v", .flag = "--pin-voltage", .valueName = "V",
                .label = "&Pin voltage", .unit = "V", .subject = "The pin voltage",
                .help = "The pin's voltage in the fault state \"at the set voltage\""},
               &S::pinVoltage, -1000, 1000, 3),
        Number({.id = "TempMin", .key = "temp_min_c", .flag = "--temp-min", .valueName = "C",
                .label = "Lowest &temperature", .unit = "\u00b0C",
                .subject = "The lowest operating temperature",
                .help = "The lowest operating temperature", .details = RangeHelp},
               &S::tempMinC, -273.15, 500, 2),
        Number({.id = "TempMax", .key = "temp_max_c", .flag = "--temp-max", .valueName = "C",
                .label = "&Highest temperature", .unit = "\u00b0C",
                .subject = "The highest operating temperature",
                .help = "The highest operating temperature", .details = RangeHelp},
               &S::tempMaxC, -273.15, 500, 2),
        Number({.id = "ResistorTcr", .key = "tcr_ppm", .flag = "--tcr", .valueName = "PPM",
                .label = "Resistor TC&R", .unit = PerDegree, .plusMinus = true,
                .subject = "The resistor TCR",
                .help = "Each resistor's temperature coefficient, plus or minus",
                .details = RangeHelp},
               &S::resistorTcrPpm, 0, 10000, 1),
        Number({.id = "VrefDrift", .key = "vref_drift_ppm", .flag = "--vref-drift",
                .valueName = "PPM", .label = "Vref &drift", .unit = PerDegree, .plusMinus = true,
                .subject = "The Vref drift", .help = "Vref's drift, plus or minus",
                .details = "It is 0 by default because datasheets usually give Vref's tolerance "
                           "over temperature already; give a drift only when the tolerance is at "
                           "25 \u00b0C alone."},
               &S::vrefDriftPpm, 0, 10000, 1),
        Number({.id = "VfTempco", .key = "vf_tempco_mv", .flag = "--vf-tempco", .valueName = "MV",
                .label = "Vf te&mpco", .unit = "mV/\u00b0C", .subject = "The Vf tempco",
                .help = "The diode's Vf per \u00b0C; used with the diode only",
                .details = "Over the range, Vf moves within the lowest and highest of Vf \u00b1 "
                           "spread + tempco \u00d7 (T \u2212 25 \u00b0C), which may stop the "
                           "diode conducting at a level.",
                .diodeOnly = true},
               &S::vfTempcoMv, -100, 100, 2),
        Number({.id = "FbCurrent", .key = "fb_current_na", .flag = "--fb-current",
                .valueName = "NA", .label = "Feed&back pin current", .unit = "nA",
                .plusMinus = true, .subject = "The feedback pin current",
                .help = "The current into or out of the feedback pin, plus or minus",
                .details = "The node sits at Vref, so the current through R1 is the current "
                           "through R2 and R3 plus the pin's: the output moves by I_FB \u00d7 R1 "
                           "(100 nA through 1 M\u03a9 is 0.1 V). The nominal levels use 0."},
               &S::fbCurrentNa, 0, 1e6, 1),
        Number({.id = "Spec", .key = "spec_pct", .flag = "--spec", .valueName = "PCT",
                .label = "O&utput spec", .unit = "%", .plusMinus = true,
                .subject = "The output spec",
                .help = "The output spec, plus or minus, of each level's target",
                .details = "Each level's worst-case band must stay within its target plus or "
                           "minus this share: on the Calc tab Vo_max, Vo_min and the designed "
                           "output between them; on the Check tab the set's own outputs."},
               &S::specPct, 0.01, 99.99, 2),
    };
    // clang-format on
}

const std::string AnalyseSuffix = " to analyse the design.";

// Why a number row's value is out of its limits; empty when it is within them.
std::string RangeRefusal(const SettingRow& row, const S& s) {
    const double value = s.*row.number;
    if (!std::isfinite(value)) {
        return std::string(row.subject) + " must be a finite number" + AnalyseSuffix;
    }
    if (value >= row.lowest && value <= row.highest) {
        return {};
    }
    const std::string unit = " " + std::string(row.unit);
    return std::string(row.subject) + " must be from " + LimitText(row, row.lowest) + unit +
           " to " + LimitText(row, row.highest) + unit + AnalyseSuffix;
}

// What a setting must also satisfy with those before it; empty when it does.
std::string JointRefusal(const SettingRow& row, const S& s) {
    if (row.number == &S::tempMaxC && s.tempMinC > s.tempMaxC) {
        return "The lowest operating temperature must not be above the highest" + AnalyseSuffix;
    }
    // A part that could swing by 100 % or more over the range would reach 0 or below.
    const double dT = TemperatureSwing(s);
    if (row.number == &S::resistorTcrPpm &&
        !(s.resistorTolerancePct / 100 + s.resistorTcrPpm * 1e-6 * dT < 1)) {
        return "The resistor tolerance with the TCR over the operating range must stay below "
               "100 %" +
               AnalyseSuffix;
    }
    if (row.number == &S::vrefDriftPpm &&
        !(s.vrefTolerancePct / 100 + s.vrefDriftPpm * 1e-6 * dT < 1)) {
        return "The Vref tolerance with the drift over the operating range must stay below 100 %" +
               AnalyseSuffix;
    }
    return {};
}

} // namespace

std::span<const SettingRow> SettingRows() {
    static const std::vector<SettingRow> rows = MakeRows();
    return rows;
}

const SettingRow* FindSetting(std::string_view key) {
    for (const SettingRow& row : SettingRows()) {
        if (row.key == key) {
            return &row;
        }
    }
    return nullptr;
}

const SettingRow& SettingOf(double AnalysisSettings::*number) {
    for (const SettingRow& row : SettingRows()) {
        if (row.number == number) {
            return row;
        }
    }
    throw std::logic_error("a setting without a row");
}

std::optional<std::size_t> ChoiceIndex(const SettingRow& row, std::string_view name) {
    const auto same = [](std::string_view a, std::string_view b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) ==
                   std::tolower(static_cast<unsigned char>(y));
        });
    };
    for (std::size_t i = 0; i < row.choices.size(); ++i) {
        if (same(row.choices[i], name)) {
            return i;
        }
    }
    return std::nullopt;
}

std::string ChoiceList(const SettingRow& row, std::string_view last) {
    std::string list;
    for (std::size_t i = 0; i < row.choices.size(); ++i) {
        list += std::string(i == 0                        ? ""
                            : i + 1 == row.choices.size() ? last
                                                          : ", ") +
                std::string(row.choices[i]);
    }
    return list;
}

std::string HelpText(const SettingRow& row) {
    std::string text(row.help);
    return row.details.empty() ? text : text + ". " + std::string(row.details);
}

std::string PlainLabel(const SettingRow& row) {
    std::string text(row.label);
    std::erase(text, '&');
    return text;
}

double DefaultNumber(const SettingRow& row) {
    return AnalysisSettings{}.*row.number;
}

std::size_t DefaultChoice(const SettingRow& row) {
    return row.choiceOf(AnalysisSettings{});
}

std::string LimitText(const SettingRow& row, double value) {
    std::string text = FixedText(value, row.decimals);
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') {
            text.pop_back();
        }
    }
    return text == "-0" ? "0" : text;
}

double TemperatureSwing(const AnalysisSettings& s) {
    return std::max(std::fabs(s.tempMinC - NominalTemperatureC),
                    std::fabs(s.tempMaxC - NominalTemperatureC));
}

std::string SettingsRefusal(const AnalysisSettings& s) {
    for (const SettingRow& row : SettingRows()) {
        if (row.kind != SettingKind::Number) {
            continue; // a choice holds one of its names by its type
        }
        if (std::string reason = RangeRefusal(row, s); !reason.empty()) {
            return reason;
        }
        if (std::string reason = JointRefusal(row, s); !reason.empty()) {
            return reason;
        }
    }
    return {};
}

} // namespace calc_core
