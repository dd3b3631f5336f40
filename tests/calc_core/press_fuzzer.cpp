// Coverage-guided fuzzer of both CAL presses and the design analysis: arbitrary bytes become
// option values, a locale, the five texts of a tab and the analysis settings; every outcome must
// be one the window can show as it stands.
//
// Input format: byte 0 holds the options (bit 0 "Yes" selected, bit 1 "No" selected), byte 1
// picks a locale (low three bits), and the rest are the five texts separated by '|'. A fifth '|'
// ends the fifth text and starts the analysis settings, up to 13 more fields separated by '|':
// the series (0 to 5 for E6 to E192), the resistor and Vref tolerances in %, the pin level
// accuracy in mV, the Vf spread and the pin voltage in V, the lowest and highest temperature in
// °C, the TCR and the Vref drift in ppm/°C, the Vf tempco in mV/°C, the feedback pin current in
// nA and the output spec in %; "n" stands for a NaN, "i" and "-i" for
// the infinities, and a missing field for its default (E6 for the series, to keep runs fast).
// So "20" + "470|10|100|1.2|" selects "No" in the point-decimal locale, and
// "20" + "470|10|100|1.2||5|1|1|10|0.05|3.3" also asks for the E192 pairs.
#include "calc_core/check_calculation.h"
#include "calc_core/design_analysis.h"
#include "calc_core/design_calculation.h"
#include "calc_core/number_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

using namespace calc_core;

namespace {

// The separators Qt gives for the locales users have: point or comma decimals, and digit groups
// by comma, point, apostrophes and the non-ASCII spaces (U+202F, U+00A0) or a plain space.
const std::array<NumberLocale, 8> kLocales = {{
    {".", ","},
    {",", "."},
    {",", "\u202F"},
    {",", "\u00A0"},
    {".", "'"},
    {".", "\u2019"},
    {"\u066B", "\u066C"}, // Arabic decimal and group separators, both two bytes
    {",", " "},
}};

// Recognisable values for a record the press must leave alone.
const CheckResults kEarlier{101.0, 102.0, 103.0, 104.0};

[[noreturn]] void Fail(const char* what, std::string_view detail = {}) {
    std::fprintf(stderr, "press_fuzzer: %s '%.*s'\n", what, static_cast<int>(detail.size()),
                 detail.data());
    std::abort();
}

void Require(bool holds, const char* what, std::string_view detail = {}) {
    if (!holds) {
        Fail(what, detail);
    }
}

bool IsGateMessage(PressMessage message) {
    return message == PressMessage::SelectDiode || message == PressMessage::InputMissing ||
           message == PressMessage::InputError;
}

// None, or one of the four texts the message box shows.
void RequireKnownMessage(PressMessage message) {
    if (message == PressMessage::None) {
        return;
    }
    const std::string_view text = MessageText(message);
    Require(text == "Please select Diode Yes or No" || text == "Please input Data" ||
                text == "Input Data Error" || text == "Cal Error! Please check circuit!",
            "unknown message", text);
}

// Digits with an optional leading minus, no superfluous leading zero, never "-0".
bool IsWholeText(std::string_view text) {
    std::size_t i = text.starts_with('-') ? 1 : 0;
    const std::string_view digits = text.substr(i);
    if (digits.empty() || (digits.size() > 1 && digits[0] == '0')) {
        return false;
    }
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return text != "-0";
}

void RequireWholeText(const std::string& text) {
    Require(IsWholeText(text), "bad whole text", text);
}

// Delta is a whole number written with one decimal: "<whole><separator>0", never "-0.0".
void RequireDeltaText(const std::string& text, const NumberLocale& locale) {
    const std::string& separator = locale.decimalSeparator;
    const std::string tail = separator + "0";
    Require(text.size() > tail.size() && text.ends_with(tail), "bad Delta text", text);
    RequireWholeText(text.substr(0, text.size() - tail.size()));
}

bool SameRecord(const CheckResults& a, const CheckResults& b) {
    return a.voMax == b.voMax && a.voMid == b.voMid && a.voMin == b.voMin && a.delta == b.delta;
}

struct Press {
    bool yes = false;
    bool no = false;
    NumberLocale locale;
    TabInputTexts texts;
    AnalysisSettings settings;
};

// One settings field: empty keeps the default, "n" and "i" give the values no text can.
double SettingValue(std::string_view text, double fallback) {
    if (text.empty()) {
        return fallback;
    }
    if (text.starts_with('n')) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    if (text.starts_with('i') || text.starts_with("-i")) {
        return text[0] == '-' ? -HUGE_VAL : HUGE_VAL;
    }
    return LeadingNumber(text);
}

AnalysisSettings DecodeSettings(std::string_view rest) {
    AnalysisSettings settings;
    settings.series = ESeries::E6;
    double* const fields[] = {&settings.resistorTolerancePct,
                              &settings.vrefTolerancePct,
                              &settings.levelAccuracyMv,
                              &settings.vfSpreadV,
                              &settings.pinVoltage,
                              &settings.tempMinC,
                              &settings.tempMaxC,
                              &settings.resistorTcrPpm,
                              &settings.vrefDriftPpm,
                              &settings.vfTempcoMv,
                              &settings.fbCurrentNa,
                              &settings.specPct};
    for (int field = -1; field < int(std::size(fields)) && !rest.empty(); ++field) {
        const std::size_t cut = rest.find('|');
        const std::string_view text = rest.substr(0, cut);
        if (field < 0) {
            const double index = SettingValue(text, 0);
            if (index >= 0 && index < std::size(AllSeries)) {
                settings.series = AllSeries[static_cast<std::size_t>(index)];
            }
        } else {
            *fields[field] = SettingValue(text, *fields[field]);
        }
        rest = cut == std::string_view::npos ? std::string_view{} : rest.substr(cut + 1);
    }
    return settings;
}

Press Decode(const std::uint8_t* data, std::size_t size) {
    Press press;
    if (size > 0) {
        press.yes = (data[0] & 1) != 0;
        press.no = (data[0] & 2) != 0;
    }
    press.locale = kLocales[size > 1 ? data[1] & 7 : 0];
    std::string_view rest;
    if (size > 2) {
        rest = std::string_view(reinterpret_cast<const char*>(data) + 2, size - 2);
    }
    for (std::string& text : press.texts) {
        const std::size_t cut = rest.find('|');
        text = std::string(rest.substr(0, cut));
        rest = cut == std::string_view::npos ? std::string_view{} : rest.substr(cut + 1);
    }
    press.settings = DecodeSettings(rest);
    return press;
}

// Returns the Calc press's choice, so the Check press can be compared with it.
CalcPressOutcome CheckCalcPress(const Press& p) {
    CalcPressOutcome out = CalcPress(p.yes, p.no, p.texts, p.locale);
    const DesignOutcome& r = out.result;
    const DiodeChoice choice = ChooseDiode(p.yes, p.no);
    RequireKnownMessage(r.message);
    Require(out.layout == choice, "layout differs from the options");
    Require((choice == DiodeChoice::NotSelected) == (r.message == PressMessage::SelectDiode),
            "diode message without a missing choice, or the reverse");
    if (r.flagged != FlaggedElement::None) {
        Require(r.message == PressMessage::CalError, "flagged element without the Cal Error");
        Require(r.flagged != FlaggedElement::VoMidResult || choice == DiodeChoice::No,
                "Vo_mid flagged with the diode");
    }
    if (IsGateMessage(r.message)) {
        Require(!r.r1Text && !r.r3Text && !r.voMidText && r.flagged == FlaggedElement::None,
                "a gate message with outputs");
        return out;
    }
    Require(r.message == PressMessage::None || r.message == PressMessage::CalError,
            "Calc press ends with a message of the gate after the gate passed");
    Require(r.r1Text.has_value() == r.r3Text.has_value(), "R1 without R3 or the reverse");
    if (r.message == PressMessage::None) {
        Require(r.r1Text.has_value(), "a passing design without results");
    }
    if (r.r1Text) {
        RequireWholeText(*r.r1Text);
        RequireWholeText(*r.r3Text);
        Require(!r.r1Text->starts_with('-'), "negative R1", *r.r1Text);
    }
    Require(r.voMidText.has_value() == (r.r1Text.has_value() && choice == DiodeChoice::No),
            "Vo_mid shown with the diode or without R1");
    if (r.voMidText) {
        RequireWholeText(*r.voMidText);
    }
    return out;
}

CheckOutcome CheckCheckPress(const Press& p, CheckResults& record) {
    record = kEarlier;
    CheckOutcome out = CheckPress(p.yes, p.no, p.texts, p.locale, record);
    RequireKnownMessage(out.message);
    Require(out.message != PressMessage::CalError, "Cal Error on the Check tab");
    if (out.message != PressMessage::None) {
        Require(!out.voMaxText && !out.voMidText && !out.voMinText && !out.deltaText,
                "a message with result texts");
        Require(SameRecord(record, kEarlier), "a message with a changed record");
        return out;
    }
    const bool diode = ChooseDiode(p.yes, p.no) == DiodeChoice::Yes;
    Require(out.voMaxText && out.voMinText, "Vo max or Vo min missing");
    Require(out.voMidText.has_value() != diode && out.deltaText.has_value() != diode,
            "Vo mid and Delta not computed exactly without the diode");
    RequireWholeText(*out.voMaxText);
    RequireWholeText(*out.voMinText);
    if (!diode) {
        RequireWholeText(*out.voMidText);
        RequireDeltaText(*out.deltaText, p.locale);
    }
    // R1 / R3 is positive, so the levels fall with the pin voltage and Delta is never negative.
    Require(record.voMax >= record.voMin, "Vo max below Vo min");
    if (diode) {
        Require(record.voMid == kEarlier.voMid && record.delta == kEarlier.delta,
                "a diode run changed Vo mid or Delta");
    } else {
        Require(record.voMax >= record.voMid && record.voMid >= record.voMin,
                "Vo mid outside Vo max and Vo min");
        Require(record.delta >= 0, "negative Delta");
    }
    return out;
}

// A design that passed its check, entered on the Check tab, gives levels within the band around
// the targets. Without the diode both tabs evaluate the same expression, so this holds exactly.
void CrossCheck(const Press& p, const CalcPressOutcome& calc) {
    const DesignOutcome& r = calc.result;
    if (r.message != PressMessage::None || calc.layout != DiodeChoice::No ||
        r.r1Text->starts_with('-') || r.r3Text->starts_with('-') || *r.r1Text == "0" ||
        *r.r3Text == "0") {
        return;
    }
    const Press check{
        p.yes, p.no, p.locale, {*r.r1Text, p.texts[0], *r.r3Text, p.texts[1], ""}, p.settings};
    CheckResults record = kEarlier;
    const CheckOutcome out = CheckPress(check.yes, check.no, check.texts, check.locale, record);
    Require(out.message == PressMessage::None, "the Check tab refuses a passing design",
            MessageText(out.message));
    const double voMax = *StrictNumber(p.texts[2], p.locale);
    const double voMin = *StrictNumber(p.texts[3], p.locale);
    Require(!MissesTarget(voMax, record.voMax), "Check tab's Vo max misses the target");
    Require(!MissesTarget(LeadingNumber(*r.voMidText), record.voMid),
            "Check tab's Vo mid misses the shown Vo_mid");
    Require(!MissesTarget(voMin, record.voMin), "Check tab's Vo min misses the target");
}

// A value of the analysis as the window shows it: finite, and never a negative zero.
void RequireShowable(double value, const char* what) {
    Require(std::isfinite(value) && !(value == 0 && std::signbit(value)), what);
}

void CheckAnalysis(const AnalysisOutcome& out, std::size_t levelCount) {
    if (!out.analysis) {
        Require(!out.reason.empty() && out.reason.ends_with('.'), "no analysis and no reason");
        return;
    }
    Require(out.reason.empty(), "a reason beside the analysis", out.reason);
    const DesignAnalysis& analysis = *out.analysis;
    const SetAnalysis& a = analysis.set;
    Require(a.levels.size() == levelCount && a.tolerance.size() == levelCount,
            "not one result per pin level");
    for (const LevelAnalysis& level : a.levels) {
        for (double v : {level.pinV, level.vo, level.voFormula, level.iR1, level.iR2, level.iR3}) {
            RequireShowable(v, "a level's value");
        }
    }
    for (double v :
         {a.span, a.pR1Max, a.pR2Max, *analysis.design.targetVoMax, *analysis.design.targetVoMin}) {
        RequireShowable(v, "a figure of the design");
    }
    Require(a.faults.size() == 3, "not three fault states");
    for (const FaultAnalysis& fault : a.faults) {
        RequireShowable(fault.vo, "a fault state's output");
    }
    Require(analysis.preferred.size() == std::size_t{PreferredPairCount}, "fewer than three pairs");
    for (std::size_t i = 0; i < analysis.preferred.size(); ++i) {
        const PreferredPair& p = analysis.preferred[i];
        for (double v : {p.r1, p.r3, p.errorVoMax, p.errorVoMin, p.worstError, p.sumError}) {
            RequireShowable(v, "a pair's value");
        }
        Require(p.levels.size() == levelCount, "a pair without its levels");
        for (double v : p.levels) {
            RequireShowable(v, "a pair's level");
        }
        Require(p.worstError == std::max(p.errorVoMax, p.errorVoMin) &&
                    p.sumError == p.errorVoMax + p.errorVoMin,
                "a pair's errors disagree");
        if (i > 0) {
            const PreferredPair& q = analysis.preferred[i - 1];
            Require(std::tie(q.worstError, q.sumError, q.r1, q.r3) <
                        std::tie(p.worstError, p.sumError, p.r1, p.r3),
                    "pairs out of order");
        }
    }
    for (const ToleranceLevel& band : a.tolerance) {
        for (double v : {band.min, band.max, band.rss}) {
            RequireShowable(v, "a tolerance figure");
        }
        Require(band.min <= band.max, "a band's min above its max");
        double total = 0;
        for (double share : band.shares) {
            RequireShowable(share, "a share");
            Require(share >= 0 && share <= 1, "a share outside 0 to 1");
            total += share;
        }
        Require(band.rss > 0 ? std::fabs(total - 1) < 1e-9 : total == 0,
                "shares that do not add up to 1");
    }
    Require(a.spec.size() == levelCount, "not one spec check per pin level");
    for (const SpecLevel& spec : a.spec) {
        for (double v : {spec.target, spec.low, spec.high, spec.margin}) {
            RequireShowable(v, "a spec figure");
        }
        Require(spec.low <= spec.target && spec.target <= spec.high, "a spec around no target");
        Require(spec.meets == (spec.margin >= 0), "a spec's verdict against its margin");
    }
}

// The analysis of what each press computed with, under the input's settings; the Calc design
// takes R1 and R3 as shown, whether or not its check flagged something.
void AnalysePresses(const Press& p, const CalcPressOutcome& calc, const CheckOutcome& check,
                    const CheckResults& record) {
    if (const auto design = DesignOfPress(calc)) {
        CheckAnalysis(AnalyseDesign(*design, p.settings), PinLevels(design->circuit).size());
    }
    const auto checked = DesignOfPress(check);
    if (!checked) {
        return;
    }
    const AnalysisDesign& design = *checked;
    const AnalysisOutcome out = AnalyseDesign(design, p.settings);
    const std::size_t levelCount = PinLevels(design.circuit).size();
    CheckAnalysis(out, levelCount);
    // The analysis states the tab's own numbers beside the circuit's.
    if (out.analysis) {
        const std::vector<LevelAnalysis>& levels = out.analysis->set.levels;
        Require(levels.front().voFormula == record.voMax, "Vo max differs from the Check tab");
        Require(levels.back().voFormula == record.voMin, "Vo min differs from the Check tab");
        Require(levelCount == 2 || levels[1].voFormula == record.voMid,
                "Vo mid differs from the Check tab");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Press press = Decode(data, size);
    const CalcPressOutcome calc = CheckCalcPress(press);
    CheckResults record;
    const CheckOutcome check = CheckCheckPress(press, record);

    // Both tabs run the same gate over the same texts.
    if (IsGateMessage(calc.result.message)) {
        Require(check.message == calc.result.message, "the tabs' gates disagree");
    } else {
        Require(!IsGateMessage(check.message) || check.message == PressMessage::InputError,
                "the Check gate refuses what the Calc gate passed");
    }
    CrossCheck(press, calc);
    AnalysePresses(press, calc, check, record);
    return 0;
}
