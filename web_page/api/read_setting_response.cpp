// Reading a setting's text by its row's kind, and judging it by the row's limits.
#include "web_page/api/read_setting_response.h"

#include "analysis_report/settings_json.h"
#include "calc_core/list_text.h"
#include "calc_core/value_text.h"
#include "web_page/api/protocol_keys.h"

#include <charconv>
#include <limits>
#include <string>

namespace web_page {
namespace {

using namespace calc_core;
using Json = nlohmann::ordered_json;

bool Blank(std::string_view text) {
    return ForEachEntry(text, [](const EntryLine&) { return false; });
}

std::string ReadList(const SettingRow& row, AnalysisSettings& settings, std::string_view text) {
    if (Blank(text) && DefaultListText(row).empty()) {
        return {}; // nothing given: the default, no list
    }
    return row.readList(settings, text);
}

std::string ReadNumber(const SettingRow& row, AnalysisSettings& settings, std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty() && row.kind == SettingKind::OptionalNumber) {
        return {};
    }
    const ValueRead value =
        ReadValue(text, row.resistance ? ValueKind::Resistance : ValueKind::Number);
    if (const auto* problem = std::get_if<ValueProblem>(&value)) {
        return QuotedForMessage(text) + " " + std::string(ValueProblemText(*problem)) + ".";
    }
    if (row.kind == SettingKind::OptionalNumber) {
        settings.*row.optionalNumber = std::get<double>(value);
    } else {
        settings.*row.number = std::get<double>(value);
    }
    return {};
}

// Decimal digits alone; a value beyond 64 bits stands above every row's highest but the
// largest, which takes every value.
std::string ReadWhole(const SettingRow& row, AnalysisSettings& settings, std::string_view text) {
    text = TrimBlanks(text);
    constexpr std::uint64_t Largest = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t value = 0;
    const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), value);
    const bool digits =
        !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
    if (!digits || (fault != std::errc() && fault != std::errc::result_out_of_range) ||
        end != text.data() + text.size()) {
        return QuotedForMessage(text) + " is not a whole number.";
    }
    if (fault == std::errc::result_out_of_range) {
        if (row.highestWhole == Largest) {
            return QuotedForMessage(text) + " is beyond the largest whole number, " +
                   std::to_string(Largest) + ".";
        }
        value = Largest;
    }
    row.setWhole(settings, value);
    return {};
}

std::string ReadChoice(const SettingRow& row, AnalysisSettings& settings, std::string_view text) {
    const auto choice = ChoiceIndex(row, TrimBlanks(text));
    if (!choice) {
        return QuotedForMessage(text) + " is not one of " + ChoiceList(row) + ".";
    }
    row.choose(settings, *choice);
    return {};
}

std::string ReadText(const SettingRow& row, AnalysisSettings& settings, std::string_view text) {
    switch (row.kind) {
    case SettingKind::List:
        return ReadList(row, settings, text);
    case SettingKind::Whole:
        return ReadWhole(row, settings, text);
    case SettingKind::Choice:
        return ReadChoice(row, settings, text);
    case SettingKind::Number:
    case SettingKind::OptionalNumber:
        break;
    }
    return ReadNumber(row, settings, text);
}

} // namespace

Json ReadSettingResponse(const SettingRow& row, std::string_view text) {
    AnalysisSettings settings;
    std::string problem = ReadText(row, settings, text);
    if (problem.empty()) {
        problem = RowRefusal(row, settings);
    }
    if (!problem.empty()) {
        return {{keys::Problem, problem}};
    }
    if (row.kind == SettingKind::Whole) {
        return {{keys::Value, std::to_string(row.wholeOf(settings))}};
    }
    return {{keys::Value, analysis_report::SettingsJson(settings)[std::string(row.key)]}};
}

} // namespace web_page
