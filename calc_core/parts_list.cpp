// Reading the parts list.
#include "calc_core/parts_list.h"

#include "calc_core/preferred_values.h"
#include "calc_core/value_text.h"

#include <algorithm>
#include <string>
#include <variant>

namespace calc_core {
namespace {

// Why an entry is not a resistance of the list, as a sentence; empty when it is one.
std::string EntryRefusal(const EntryLine& line, const ValueRead& value) {
    const std::string quoted = LineMessage(line.number) + QuotedForMessage(line.text) + " ";
    if (const auto* problem = std::get_if<ValueProblem>(&value)) {
        return quoted + std::string(ValueProblemText(*problem)) + ".";
    }
    const double ohms = std::get<double>(value);
    if (!(ohms >= LowestSeriesOhms && ohms <= HighestSeriesOhms)) {
        return quoted + "must be from " + SeriesRangeText() + ".";
    }
    return {};
}

} // namespace

ListRead<double> ReadPartsList(std::string_view text) {
    ListRead<double> list;
    const bool read = ForEachEntry(text, [&list](const EntryLine& line) {
        const ValueRead value = ReadValue(line.text, ValueKind::Resistance);
        list.error = EntryRefusal(line, value);
        if (!list.error.empty()) {
            return false;
        }
        list.values.push_back(std::get<double>(value));
        return true;
    });
    if (!read) {
        list.values.clear();
        return list;
    }
    if (list.values.empty()) {
        list.error = "The parts list holds no resistance.";
        return list;
    }
    std::sort(list.values.begin(), list.values.end());
    list.values.erase(std::unique(list.values.begin(), list.values.end()), list.values.end());
    return list;
}

} // namespace calc_core
