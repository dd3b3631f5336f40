// The report's words for the settings' values and the error terms.
#include "analysis_report/term_text.h"

#include <algorithm>
#include <cctype>

namespace analysis_report {

using calc_core::ErrorTerms;
using calc_core::QuantitySet;

std::string SettingValueText(const calc_core::SettingRow& row, double value, const Writer& w) {
    std::string text;
    if (row.unit.symbol == calc_core::Volts.symbol) {
        text = w.Volts(value);
    } else if (row.unit.symbol == calc_core::Ohms.symbol) {
        text = w.Ohms(value);
    } else {
        text =
            w.Setting(value) + (row.unit.symbol.empty() ? "" : " " + std::string(row.unit.symbol));
    }
    return row.plusMinus ? std::string(PlusMinus) + text : text;
}

std::vector<QuantitySet> TermGroups() {
    std::vector<QuantitySet> groups;
    for (const calc_core::ErrorTerm& term : ErrorTerms) {
        if (std::find(groups.begin(), groups.end(), term.moves) == groups.end()) {
            groups.push_back(term.moves);
        }
    }
    return groups;
}

std::string JoinedList(const std::vector<std::string>& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == items.size() ? " and " : ", ") + items[i];
    }
    return text;
}

std::string GroupText(QuantitySet group) {
    std::vector<std::string> names;
    for (const calc_core::ToleranceQuantity q : calc_core::TermQuantities()) {
        if (calc_core::Moves(group, q)) {
            const std::string name(calc_core::QuantityName(q));
            // A name of words, not a symbol, takes its article.
            names.push_back(std::islower(static_cast<unsigned char>(name[0])) ? "the " + name
                                                                              : name);
        }
    }
    return JoinedList(names);
}

std::string TermsText(QuantitySet group, const calc_core::AnalysisSettings& s, const Writer& w,
                      bool nonZeroOnly) {
    const calc_core::TermSizes sizes = calc_core::SizesOf(s);
    std::vector<std::string> parts;
    std::vector<std::string_view> units;
    for (std::size_t t = 0; t < calc_core::ErrorTermCount; ++t) {
        const calc_core::ErrorTerm& term = ErrorTerms[t];
        const calc_core::SettingRow& row = calc_core::SettingOf(term.setting);
        const double value = s.*term.setting;
        if (term.moves != group || !calc_core::TermActive(t, sizes) ||
            (nonZeroOnly && !parts.empty() && value == 0)) {
            continue;
        }
        const bool named = std::find(units.begin(), units.end(), row.unit.symbol) != units.end();
        parts.push_back(SettingValueText(row, value, w) +
                        (named ? " " + std::string(term.name) : std::string()));
        units.push_back(row.unit.symbol);
    }
    return JoinedList(parts);
}

} // namespace analysis_report
