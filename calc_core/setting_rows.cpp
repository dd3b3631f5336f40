// The table of the analysis settings: each setting declared once, with its key, flag, label,
// unit, help, limits and decimals.
#include "calc_core/analysis_settings.h"

#include "calc_core/decimal_text.h"
#include "calc_core/parts_list.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

namespace calc_core {
namespace {

using S = AnalysisSettings;

constexpr std::string_view PerDegree = "ppm/\u00b0C";

constexpr std::string_view RangeHelp =
    "Every value is nominal at 25 \u00b0C; each part drifts with its own sign over the larger "
    "distance of the operating range from 25 \u00b0C.";

// The IEC series, then the parts list.
constexpr ESeries SeriesChoiceOrder[] = {ESeries::E6,  ESeries::E12,  ESeries::E24,  ESeries::E48,
                                         ESeries::E96, ESeries::E192, ESeries::Parts};

std::span<const std::string_view> SeriesChoices() {
    static const auto names = [] {
        std::array<std::string_view, std::size(SeriesChoiceOrder)> list{};
        std::transform(std::begin(SeriesChoiceOrder), std::end(SeriesChoiceOrder), list.begin(),
                       SeriesName);
        return list;
    }();
    return names;
}

std::span<const std::string_view> DistributionChoices() {
    static constexpr std::string_view names[] = {"uniform", "normal"};
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

SettingRow OptionalOhms(SettingRow row, std::optional<double> S::*member) {
    row.kind = SettingKind::OptionalNumber;
    row.optionalNumber = member;
    row.valueName = "OHM";
    row.unit = "\u03a9";
    row.lowest = LowestSeriesOhms;
    row.highest = HighestSeriesOhms;
    row.decimals = 3;
    row.resistance = true;
    return row;
}

std::string GradesText(const S& s) {
    std::string text;
    for (const PartGrade& grade : s.grades) {
        text += std::string(grade.parts ? PartsGradeName : SeriesName(grade.series)) + ", " +
                ShortestText(grade.tolerancePct) + ", " + ShortestText(grade.tcrPpm) +
                (grade.name.empty() ? "" : ", " + grade.name) + "\n";
    }
    return text;
}

std::string PartsText(const S& s) {
    std::string text;
    for (double value : s.parts) {
        text += ShortestText(value) + "\n";
    }
    return text;
}

// The part grades the synthesis may buy.
SettingRow GradesRow() {
    SettingRow grades{.kind = SettingKind::List,
                      .id = "Grades",
                      .key = "grades",
                      .flag = "--grades",
                      .valueName = "FILE",
                      .label = "Part grades",
                      .subject = "The part grades",
                      .help = "The part grades the synthesis may buy, cheapest first",
                      .details = "One a line: series (E6 to E192, or parts for the parts list), "
                                 "tolerance in %, TCR in ppm/\u00b0C and an optional name, "
                                 "separated by commas, as in \"E96, 1, 50, thick film\". Lines "
                                 "starting with # are comments.",
                      .group = SettingGroup::Parts,
                      .list = ListKind::Grades};
    grades.listText = GradesText;
    grades.readList = [](S& s, std::string_view text) {
        ListRead<PartGrade> read = ReadPartGrades(text);
        if (read.error.empty()) {
            s.grades = std::move(read.values);
        }
        return read.error;
    };
    return grades;
}

// The user's own values, which the series "parts" and the grades that name it take.
SettingRow PartsRow() {
    SettingRow parts{.kind = SettingKind::List,
                     .id = "Parts",
                     .key = "parts",
                     .flag = "--parts",
                     .valueName = "FILE",
                     .label = "Parts &list",
                     .subject = "The parts list",
                     .help = "Your own resistor values, one a line, as 4k7, 10k, 2M2 or 470R",
                     .details = "The series parts, and the grades that name it, take only these "
                                "values. Lines starting with # are comments.",
                     .group = SettingGroup::Parts,
                     .list = ListKind::Parts};
    parts.listText = PartsText;
    parts.readList = [](S& s, std::string_view text) {
        ListRead<double> read = ReadPartsList(text);
        if (read.error.empty()) {
            s.parts = std::move(read.values);
        }
        return read.error;
    };
    return parts;
}

// The part grades, R2's range and the parts list, which the synthesis reads.
void AddSynthesisRows(std::vector<SettingRow>& rows) {
    rows.push_back(GradesRow());
    rows.push_back(OptionalOhms({.id = "R2Min",
                                 .key = "r2_min",
                                 .flag = "--r2-min",
                                 .label = "Lo&west R2",
                                 .subject = "The lowest R2",
                                 .help = "The lowest R2 the synthesis may choose",
                                 .details = "With the highest, R2 is free between the two, of "
                                            "each grade's values; without them, as designed.",
                                 .group = SettingGroup::Parts},
                                &S::r2MinOhms));
    rows.push_back(OptionalOhms({.id = "R2Max",
                                 .key = "r2_max",
                                 .flag = "--r2-max",
                                 .label = "H&ighest R2",
                                 .subject = "The highest R2",
                                 .help = "The highest R2 the synthesis may choose",
                                 .details = "With the lowest, R2 is free between the two, of "
                                            "each grade's values; without them, as designed.",
                                 .group = SettingGroup::Parts},
                                &S::r2MaxOhms));
    rows.push_back(PartsRow());
}

// The number of boards, their seed and the distribution, which the yield estimate reads.
void AddYieldRows(std::vector<SettingRow>& rows) {
    SettingRow boards{.kind = SettingKind::Whole,
                      .id = "Boards",
                      .key = "boards",
                      .flag = "--boards",
                      .valueName = "N",
                      .label = "Number of boards",
                      .subject = "The number of boards",
                      .help = "How many boards the yield estimate simulates",
                      .group = SettingGroup::Yield};
    boards.wholeOf = [](const S& s) { return s.yield.boards; };
    boards.setWhole = [](S& s, std::uint64_t n) { s.yield.boards = n; };
    boards.lowestWhole = YieldBoardsLowest;
    boards.highestWhole = YieldBoardsHighest;
    SettingRow seed{.kind = SettingKind::Whole,
                    .id = "Seed",
                    .key = "seed",
                    .flag = "--seed",
                    .valueName = "N",
                    .label = "Random seed",
                    .subject = "The seed",
                    .help = "The seed of the simulated boards' draws",
                    .details = "The same seed gives the same boards, in every front end; any "
                               "whole number from 0 to 18446744073709551615.",
                    .group = SettingGroup::Yield};
    seed.wholeOf = [](const S& s) { return s.yield.seed; };
    seed.setWhole = [](S& s, std::uint64_t n) { s.yield.seed = n; };
    seed.highestWhole = std::numeric_limits<std::uint64_t>::max();
    SettingRow distribution{
        .kind = SettingKind::Choice,
        .id = "Distribution",
        .key = "distribution",
        .flag = "--distribution",
        .valueName = "uniform|normal",
        .label = "Distribution",
        .subject = "The distribution",
        .help = "How each part's deviation within its tolerance is drawn",
        .details = "uniform: evenly over the tolerance; normal: with the tolerance at 3 "
                   "\u03c3, drawn again outside it, as binned parts never lie outside their "
                   "tolerance.",
        .group = SettingGroup::Yield};
    distribution.choices = DistributionChoices();
    distribution.choiceOf = [](const S& s) { return std::size_t(s.yield.distribution); };
    distribution.choose = [](S& s, std::size_t i) { s.yield.distribution = YieldDistribution(i); };
    rows.insert(rows.end(), {boards, seed, distribution});
}

// Each row's limits are those of a real circuit: they keep the arithmetic far from the ends of
// the doubles, and every front end offers the same. A table of one row a setting, as long as
// there are settings.
// NOLINTNEXTLINE(readability-function-size)
std::vector<SettingRow> MakeRows() {
    SettingRow series{
        .kind = SettingKind::Choice,
        .id = "Series",
        .key = "series",
        .flag = "--series",
        .valueName = "E6|E12|E24|E48|E96|E192|parts",
        .label = "&Series",
        .subject = "The series",
        .help = "The preferred-value series of the pairs of R1 and R3, or the parts list"};
    series.choices = SeriesChoices();
    series.choiceOf = [](const S& s) {
        return std::size_t(
            std::find(std::begin(SeriesChoiceOrder), std::end(SeriesChoiceOrder), s.series) -
            std::begin(SeriesChoiceOrder));
    };
    series.choose = [](S& s, std::size_t i) { s.series = SeriesChoiceOrder[i]; };
    // clang-format off
    std::vector<SettingRow> rows = {
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
    AddSynthesisRows(rows);
    AddYieldRows(rows);
    return rows;
}

} // namespace

std::span<const SettingRow> SettingRows() {
    static const std::vector<SettingRow> rows = MakeRows();
    return rows;
}

} // namespace calc_core
