// Looking up the settings' rows, their defaults, and their values as text.
#include "calc_core/analysis_settings.h"

#include "calc_core/decimal_text.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <stdexcept>

namespace calc_core {

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

const SettingRow& SettingOf(std::optional<double> AnalysisSettings::*number) {
    for (const SettingRow& row : SettingRows()) {
        if (row.optionalNumber == number) {
            return row;
        }
    }
    throw std::logic_error("a setting without a row");
}

std::string_view SettingGroupName(SettingGroup group) {
    switch (group) {
    case SettingGroup::Analysis:
        return "Analysis";
    case SettingGroup::Parts:
        return "Parts to buy";
    case SettingGroup::Yield:
        return "Yield";
    }
    return {};
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

bool PartsListUsed(const AnalysisSettings& s, bool synthesis) {
    return s.series == ESeries::Parts || (synthesis && !s.parts.catalogue.empty()) ||
           (synthesis && std::any_of(s.grades.begin(), s.grades.end(), [](const PartGrade& g) {
                return g.series == ESeries::Parts;
            }));
}

std::string_view UnusedPartsListNote(const AnalysisSettings& s) {
    if (!s.parts.catalogue.empty()) {
        return "The parts catalogue is not used: the synthesis of the parts to buy chooses among "
               "its parts, and the series parts takes its values.";
    }
    return "The parts list is not used: neither the series nor a part grade names it. To use it, "
           "choose the series parts, or add a grade that names it, such as \"parts, 1, 100\", "
           "to the part grades.";
}

CriterionSettings CriterionOf(const AnalysisSettings& s) {
    return {s.criterion, s.maxFailPpm, s.minCpk};
}

std::string NegatedFlag(const SettingRow& row) {
    return "--no-" + std::string(row.flag.substr(2));
}

std::string ValueName(const SettingRow& row) {
    if (row.kind != SettingKind::Choice) {
        return std::string(row.valueName);
    }
    std::string names;
    for (std::string_view choice : row.choices) {
        names += (names.empty() ? "" : "|") + std::string(choice);
    }
    return names;
}

void CopySetting(const SettingRow& row, const AnalysisSettings& from, AnalysisSettings& to) {
    switch (row.kind) {
    case SettingKind::Number:
        to.*row.number = from.*row.number;
        break;
    case SettingKind::OptionalNumber:
        to.*row.optionalNumber = from.*row.optionalNumber;
        break;
    case SettingKind::Whole:
        row.setWhole(to, row.wholeOf(from));
        break;
    case SettingKind::Choice:
        row.choose(to, row.choiceOf(from));
        break;
    case SettingKind::List:
        row.copyList(to, from);
        break;
    case SettingKind::Flag:
        to.*row.onOff = from.*row.onOff;
        break;
    }
}

double DefaultNumber(const SettingRow& row) {
    return AnalysisSettings{}.*row.number;
}

std::uint64_t DefaultWhole(const SettingRow& row) {
    return row.wholeOf(AnalysisSettings{});
}

std::size_t DefaultChoice(const SettingRow& row) {
    return row.choiceOf(AnalysisSettings{});
}

std::string DefaultListText(const SettingRow& row) {
    return row.listText(AnalysisSettings{});
}

std::string SettingText(const SettingRow& row, const AnalysisSettings& settings) {
    switch (row.kind) {
    case SettingKind::Number:
        return LimitText(row, settings.*row.number);
    case SettingKind::OptionalNumber: {
        const std::optional<double>& value = settings.*row.optionalNumber;
        return value ? LimitText(row, *value) : std::string();
    }
    case SettingKind::Whole:
        return std::to_string(row.wholeOf(settings));
    case SettingKind::Choice:
        return std::string(row.choices[row.choiceOf(settings)]);
    case SettingKind::List:
        return row.listText(settings);
    case SettingKind::Flag:
        return settings.*row.onOff ? "yes" : "no";
    }
    return {};
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

std::string LimitWithUnit(const SettingRow& row, double value) {
    return LimitText(row, value) +
           (row.unit.symbol.empty() ? "" : " " + std::string(row.unit.symbol));
}

} // namespace calc_core
