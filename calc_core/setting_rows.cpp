// The table of the analysis settings: each setting declared once, with its key, flag, label,
// unit, help, limits and decimals. Each row's limits are those of a real circuit: they keep the
// arithmetic far from the ends of the doubles, and every front end offers the same.
#include "calc_core/analysis_settings.h"

#include "calc_core/decimal_text.h"
#include "calc_core/parts_list.h"

#include <algorithm>
#include <array>
#include <utility>

namespace calc_core {
namespace {

using S = AnalysisSettings;

// The nominal temperature as the help writes it: "25 °C".
const std::string Nominal = ShortestText(NominalTemperatureC) + " \u00b0C";

const std::string RangeHelp = "Every value is nominal at " + Nominal +
                              "; each part drifts with its own sign over the larger distance of "
                              "the operating range from " +
                              Nominal + ".";

const std::string VrefDriftHelp =
    "It is 0 by default because datasheets usually give Vref's tolerance over temperature "
    "already; give a drift only when the tolerance is at " +
    Nominal + " alone.";

const std::string VfTempcoHelp = "Over the range, Vf moves within the lowest and highest of Vf "
                                 "\u00b1 spread + tempco \u00d7 (T \u2212 " +
                                 Nominal + "), which may stop the diode conducting at a level.";

// The IEC series, then the parts list.
constexpr ESeries SeriesChoiceOrder[] = {ESeries::E6,  ESeries::E12,  ESeries::E24,  ESeries::E48,
                                         ESeries::E96, ESeries::E192, ESeries::Parts};
const auto SeriesChoices = [] {
    std::array<std::string_view, std::size(SeriesChoiceOrder)> names{};
    std::transform(std::begin(SeriesChoiceOrder), std::end(SeriesChoiceOrder), names.begin(),
                   SeriesName);
    return names;
}();

// The row kinds, each from the texts every row has.
SettingRow Number(SettingRow row, double S::*member, Unit unit, double lowest, double highest,
                  int decimals) {
    row.kind = SettingKind::Number;
    row.number = member;
    row.unit = unit;
    row.lowest = lowest;
    row.highest = highest;
    row.decimals = decimals;
    return row;
}

SettingRow OptionalOhms(SettingRow row, std::optional<double> S::*member) {
    row.kind = SettingKind::OptionalNumber;
    row.optionalNumber = member;
    row.valueName = "OHM";
    row.unit = Ohms;
    row.lowest = LowestSeriesOhms;
    row.highest = HighestSeriesOhms;
    row.decimals = 3;
    row.resistance = true;
    return row;
}

SettingRow Whole(SettingRow row, std::uint64_t (*get)(const S&), void (*set)(S&, std::uint64_t),
                 std::uint64_t lowest, std::uint64_t highest) {
    row.kind = SettingKind::Whole;
    row.valueName = "N";
    row.wholeOf = get;
    row.setWhole = set;
    row.lowestWhole = lowest;
    row.highestWhole = highest;
    return row;
}

SettingRow Choice(SettingRow row, std::span<const std::string_view> names,
                  std::size_t (*get)(const S&), void (*set)(S&, std::size_t)) {
    row.kind = SettingKind::Choice;
    row.choices = names;
    row.choiceOf = get;
    row.choose = set;
    return row;
}

SettingRow Flag(SettingRow row, bool S::*member) {
    row.kind = SettingKind::Flag;
    row.valueName = "yes|no";
    row.onOff = member;
    return row;
}

SettingRow List(SettingRow row, ListKind list, std::string (*text)(const S&),
                std::string (*read)(S&, std::string_view), void (*copy)(S&, const S&)) {
    row.kind = SettingKind::List;
    row.valueName = "FILE";
    row.list = list;
    row.listText = text;
    row.readList = read;
    row.copyList = copy;
    return row;
}

// The members of the rows that are not plain numbers, read and written.
std::size_t SeriesOf(const S& s) {
    return std::size_t(
        std::find(std::begin(SeriesChoiceOrder), std::end(SeriesChoiceOrder), s.series) -
        std::begin(SeriesChoiceOrder));
}
void SetSeries(S& s, std::size_t i) {
    s.series = SeriesChoiceOrder[i];
}
void CopyGrades(S& to, const S& from) {
    to.grades = from.grades;
}
void CopyParts(S& to, const S& from) {
    to.parts = from.parts;
}
std::string GradesText(const S& s) {
    return PartGradesText(s.grades);
}
std::string ReadGrades(S& s, std::string_view text) {
    ListRead<PartGrade> read = ReadPartGrades(text);
    if (read.error.empty()) {
        s.grades = std::move(read.values);
    }
    return read.error;
}
std::string PartsText(const S& s) {
    return PartsListText(s.parts);
}
std::string ReadParts(S& s, std::string_view text) {
    PartsRead read = ReadPartsList(text);
    if (read.error.empty()) {
        s.parts = std::move(read.list);
    }
    return read.error;
}
std::size_t CriterionIndex(const S& s) {
    return std::size_t(s.criterion);
}
void SetCriterion(S& s, std::size_t i) {
    s.criterion = BuildCriterion(i);
}
std::uint64_t BoardsOf(const S& s) {
    return s.yield.boards;
}
void SetBoards(S& s, std::uint64_t n) {
    s.yield.boards = n;
}
std::uint64_t SeedOf(const S& s) {
    return s.yield.seed;
}
void SetSeed(S& s, std::uint64_t n) {
    s.yield.seed = n;
}
std::size_t DistributionOf(const S& s) {
    return std::size_t(s.yield.distribution);
}
void SetDistribution(S& s, std::size_t i) {
    s.yield.distribution = YieldDistribution(i);
}

constexpr SettingGroup Parts = SettingGroup::Parts;
constexpr SettingGroup Yield = SettingGroup::Yield;

// clang-format off
const SettingRow Rows[] = {
    Choice({.id = "Series", .key = "series", .flag = "--series", .label = "Series",
            .subject = "The series",
            .help = "The preferred-value series of the pairs of R1 and R3, or the parts list"},
           SeriesChoices, SeriesOf, SetSeries),
    Number({.id = "ResistorTolerance", .key = "resistor_pct", .flag = "--tolerance",
            .valueName = "PCT", .label = "Resistor tolerance", .plusMinus = true,
            .subject = "The resistor tolerance",
            .help = "The tolerance of each of R1, R2 and R3, plus or minus"},
           &S::resistorTolerancePct, Percent, 0, 99.99, 2),
    Number({.id = "VrefTolerance", .key = "vref_pct", .flag = "--vref-tolerance",
            .valueName = "PCT", .label = "Vref tolerance", .plusMinus = true,
            .subject = "The Vref tolerance", .help = "The tolerance of Vref, plus or minus"},
           &S::vrefTolerancePct, Percent, 0, 99.99, 2),
    Number({.id = "LevelAccuracy", .key = "level_mv", .flag = "--level-accuracy",
            .valueName = "MV", .label = "Pin level accuracy", .plusMinus = true,
            .subject = "The pin level accuracy",
            .help = "The accuracy of every pin level, plus or minus"},
           &S::levelAccuracyMv, Millivolts, 0, 1000, 1),
    Number({.id = "VfSpread", .key = "vf_v", .flag = "--vf-spread", .valueName = "V",
            .label = "Vf spread", .plusMinus = true, .subject = "The Vf spread",
            .help = "The spread of the diode's Vf, plus or minus; used with the diode only",
            .diodeOnly = true},
           &S::vfSpreadV, Volts, 0, 10, 3),
    Number({.id = "PinVoltage", .key = "pin_v", .flag = "--pin-voltage", .valueName = "V",
            .label = "Pin voltage", .subject = "The pin voltage",
            .help = "The pin's voltage in the fault state \"at the set voltage\""},
           &S::pinVoltage, Volts, -1000, 1000, 3),
    Number({.id = "TempMin", .key = "temp_min_c", .flag = "--temp-min", .valueName = "C",
            .label = "Lowest temperature", .subject = "The lowest operating temperature",
            .help = "The lowest operating temperature", .details = RangeHelp},
           &S::tempMinC, DegreesCelsius, -273.15, 500, 2),
    Number({.id = "TempMax", .key = "temp_max_c", .flag = "--temp-max", .valueName = "C",
            .label = "Highest temperature", .subject = "The highest operating temperature",
            .help = "The highest operating temperature", .details = RangeHelp},
           &S::tempMaxC, DegreesCelsius, -273.15, 500, 2),
    Number({.id = "ResistorTcr", .key = "tcr_ppm", .flag = "--tcr", .valueName = "PPM",
            .label = "Resistor TCR", .plusMinus = true, .subject = "The resistor TCR",
            .help = "Each resistor's temperature coefficient, plus or minus",
            .details = RangeHelp},
           &S::resistorTcrPpm, PartsPerMillionPerDegree, 0, 10000, 1),
    Number({.id = "LifeDrift", .key = "life_drift_pct", .flag = "--life-drift",
            .valueName = "PCT", .label = "Life drift", .plusMinus = true,
            .subject = "The life drift",
            .help = "Each resistor's drift over its load life, plus or minus",
            .details = "Its load-life stability from the datasheet, such as 0.5 to 1 % for a "
                       "thick-film chip over 1,000 h at 70 \u00b0C, or 0.05 to 0.1 % for a thin-film "
                       "one; a grade may give its own."},
           &S::resistorLifeDriftPct, Percent, 0, 99.99, 2),
    Number({.id = "VrefDrift", .key = "vref_drift_ppm", .flag = "--vref-drift",
            .valueName = "PPM", .label = "Vref drift", .plusMinus = true,
            .subject = "The Vref drift", .help = "Vref's drift, plus or minus",
            .details = VrefDriftHelp},
           &S::vrefDriftPpm, PartsPerMillionPerDegree, 0, 10000, 1),
    Number({.id = "VfTempco", .key = "vf_tempco_mv", .flag = "--vf-tempco", .valueName = "MV",
            .label = "Vf tempco", .subject = "The Vf tempco",
            .help = "The diode's Vf per \u00b0C; used with the diode only",
            .details = VfTempcoHelp, .diodeOnly = true},
           &S::vfTempcoMv, MillivoltsPerDegree, -100, 100, 2),
    Number({.id = "FbCurrent", .key = "fb_current_na", .flag = "--fb-current",
            .valueName = "NA", .label = "Feedback pin current", .plusMinus = true,
            .subject = "The feedback pin current",
            .help = "The current into or out of the feedback pin, plus or minus",
            .details = "The node sits at Vref, so the current through R1 is the current "
                       "through R2 and R3 plus the pin's: the output moves by I_FB \u00d7 R1 "
                       "(100 nA through 1 M\u03a9 is 0.1 V). The nominal levels use 0."},
           &S::fbCurrentNa, Nanoamperes, 0, 1e6, 1),
    Number({.id = "Spec", .key = "spec_pct", .flag = "--spec", .valueName = "PCT",
            .label = "Output spec", .plusMinus = true, .subject = "The output spec",
            .help = "The output spec, plus or minus, of each level's target",
            .details = "Each level's worst-case band must stay within its target plus or "
                       "minus this share: on the Calc tab Vo_max, Vo_min and the designed "
                       "output between them; on the Check tab the set's own outputs."},
           &S::specPct, Percent, 0.01, 99.99, 2),
    List({.id = "Grades", .key = "grades", .flag = "--grades", .label = "Part grades",
          .subject = "The part grades",
          .help = "The part grades the synthesis may buy, cheapest first",
          .details = "One a line: series (E6 to E192, or parts for the parts list), tolerance "
                     "in %, TCR in ppm/\u00b0C and an optional name, separated by commas, as in "
                     "\"E96, 1, 50, thick film\"; or a first line naming the columns (series, "
                     "tolerance, tcr, life_drift, price, power_w, name, in any order) and the "
                     "lines after it giving them. Lines starting with # are comments.",
          .group = Parts},
         ListKind::Grades, GradesText, ReadGrades, CopyGrades),
    OptionalOhms({.id = "R2Min", .key = "r2_min", .flag = "--r2-min", .label = "Lowest R2",
                  .subject = "The lowest R2", .help = "The lowest R2 the synthesis may choose",
                  .details = "With the highest, R2 is free between the two, of each grade's "
                             "values; without them, as designed.",
                  .group = Parts},
                 &S::r2MinOhms),
    OptionalOhms({.id = "R2Max", .key = "r2_max", .flag = "--r2-max", .label = "Highest R2",
                  .subject = "The highest R2", .help = "The highest R2 the synthesis may choose",
                  .details = "With the lowest, R2 is free between the two, of each grade's "
                             "values; without them, as designed.",
                  .group = Parts},
                 &S::r2MaxOhms),
    List({.id = "Parts", .key = "parts", .flag = "--parts", .label = "Parts list",
          .subject = "The parts list",
          .help = "Your own resistor values, one a line, as 4k7, 10k, 2M2 or 470R",
          .details = "The series parts, and the grades that name it, take only these values. "
                     "Lines starting with # are comments. A first line that names columns (value, "
                     "tolerance, tcr, life_drift, price, power_w, mpn, manufacturer) makes it a "
                     "catalogue: each line a part to buy, among which the synthesis chooses "
                     "instead of the grades.",
          .group = Parts},
         ListKind::Parts, PartsText, ReadParts, CopyParts),
    Choice({.id = "Criterion", .key = "criterion", .flag = "--criterion", .label = "Criterion",
            .subject = "The criterion",
            .help = "What a build to buy must meet",
            .details = "worst-case: every level's worst-case band within its spec; yield: the "
                       "simulated boards' failures per million at most the highest, by their 95 % "
                       "upper bound, the boards run until the bound decides; cpk: every level's "
                       "Cpk at least the lowest.",
            .group = Parts},
           CriterionNames, CriterionIndex, SetCriterion),
    Number({.id = "MaxPpm", .key = "max_ppm", .flag = "--max-ppm", .valueName = "N",
            .label = "Highest failures", .subject = "The highest failures per million",
            .help = "With the yield criterion, the most failures per million a build may have",
            .group = Parts},
           &S::maxFailPpm, PartsPerMillion, 0.001, 1e6, 3),
    Number({.id = "MinCpk", .key = "min_cpk", .flag = "--min-cpk", .valueName = "X",
            .label = "Lowest Cpk", .subject = "The lowest Cpk",
            .help = "With the Cpk criterion, the least Cpk every level must reach",
            .group = Parts},
           &S::minCpk, NoUnit, 0.1, 10, 2),
    Flag({.id = "MixGrades", .key = "mix_grades", .flag = "--mix-grades",
          .label = "Mix grades", .subject = "Mixing the grades",
          .help = "Let R1, R2 and R3 each be of its own grade, the cheapest sum of prices",
          .details = "Only with grades that all have a price; the grades each for all three "
                     "parts stay beside it.",
          .group = Parts},
         &S::mixGrades),
    Whole({.id = "Boards", .key = "boards", .flag = "--boards", .label = "Number of boards",
           .subject = "The number of boards",
           .help = "How many boards the yield estimate simulates", .group = Yield},
          BoardsOf, SetBoards, YieldBoardsLowest, YieldBoardsHighest),
    Whole({.id = "Seed", .key = "seed", .flag = "--seed", .label = "Random seed",
           .subject = "The seed", .help = "The seed of the simulated boards' draws",
           .details = "The same seed gives the same boards, in every front end.",
           .group = Yield},
          SeedOf, SetSeed, 0, LargestWhole),
    Choice({.id = "Distribution", .key = "distribution", .flag = "--distribution",
            .label = "Distribution", .subject = "The distribution",
            .help = "How each part's deviation within its tolerance is drawn",
            .details = "uniform: evenly over the tolerance; normal: with the tolerance at 3 "
                       "\u03c3, drawn again outside it, as binned parts never lie outside their "
                       "tolerance.",
            .group = Yield},
           DistributionNames, DistributionOf, SetDistribution),
};
// clang-format on

} // namespace

// The rows are made when the program starts, before main; no other file's static
// initialisation reads them.
std::span<const SettingRow> SettingRows() {
    return Rows;
}

} // namespace calc_core
