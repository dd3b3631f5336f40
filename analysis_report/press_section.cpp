// The press's results as a section.
#include "analysis_report/press_section.h"

#include <optional>
#include <string>
#include <utility>

namespace analysis_report {
namespace {

using NamedText = std::pair<std::string_view, const std::optional<std::string>*>;

// The results the press wrote, in the order of the tab's labels, with `red` flagged; then the
// message, and what the mark means.
template <std::size_t N>
Section Results(const NamedText (&texts)[N], std::string_view red,
                calc_core::PressMessage message) {
    Section section;
    section.name = std::string(PressSectionName);
    section.header = {"Result", "Text"};
    for (const auto& [name, text] : texts) {
        if (*text) {
            if (name == red) {
                section.flagged.emplace_back(int(section.rows.size()), 1);
            }
            section.rows.push_back({std::string(name), **text});
        }
    }
    if (message != calc_core::PressMessage::None) {
        section.notes.push_back(
            {"The press ended with \"" + std::string(calc_core::MessageText(message)) + "\".",
             true});
    }
    if (!red.empty()) {
        section.notes.push_back({RedElementNote(red), true});
    }
    return section;
}

} // namespace

std::string_view RedElementName(calc_core::FlaggedElement element) {
    switch (element) {
    case calc_core::FlaggedElement::VoMaxBox:
        return "Vo_max";
    case calc_core::FlaggedElement::VoMidResult:
        return "Vo_mid";
    case calc_core::FlaggedElement::VoMinBox:
        return "Vo_min";
    case calc_core::FlaggedElement::None:
        break;
    }
    return {};
}

std::string RedElementNote(std::string_view name) {
    return std::string(name) + " is marked red: it misses its target by 3 V or more.";
}

Section PressSection(const calc_core::CalcPressOutcome& press) {
    const calc_core::DesignOutcome& result = press.result;
    const NamedText texts[] = {
        {"R1", &result.r1Text}, {"R3", &result.r3Text}, {"Vo_mid", &result.voMidText}};
    return Results(texts, RedElementName(result.flagged), result.message);
}

Section PressSection(const calc_core::CheckOutcome& press) {
    const NamedText texts[] = {{"Vo_max", &press.voMaxText},
                               {"Vo_mid", &press.voMidText},
                               {"Vo_min", &press.voMinText},
                               {"Delta", &press.deltaText}};
    return Results(texts, {}, press.message);
}

} // namespace analysis_report
