// Coverage-guided fuzzer of both CAL presses: arbitrary bytes become option values, a locale and
// the five texts of a tab; every outcome must be one the window can show as it stands.
//
// Input format: byte 0 holds the options (bit 0 "Yes" selected, bit 1 "No" selected), byte 1
// picks a locale (low three bits), and the rest are the five texts separated by '|' (the fifth
// takes whatever follows the fourth separator). So "20" + "470|10|100|1.2|" selects "No" in the
// point-decimal locale.
#include "calc_core/check_calculation.h"
#include "calc_core/design_calculation.h"
#include "calc_core/number_text.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

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
};

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
    for (std::size_t field = 0; field < press.texts.size(); ++field) {
        const std::size_t cut = field + 1 < press.texts.size() ? rest.find('|') : rest.npos;
        press.texts[field] = std::string(rest.substr(0, cut));
        rest = cut == rest.npos ? std::string_view{} : rest.substr(cut + 1);
    }
    return press;
}

// Returns the Calc press's choice, so the Check press can be compared with it.
CalcPressOutcome CheckCalcPress(const Press& p) {
    const CalcPressOutcome out = CalcPress(p.yes, p.no, p.texts, p.locale);
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
    const CheckOutcome out = CheckPress(p.yes, p.no, p.texts, p.locale, record);
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
    const Press check{p.yes, p.no, p.locale, {*r.r1Text, p.texts[0], *r.r3Text, p.texts[1], ""}};
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
    return 0;
}
