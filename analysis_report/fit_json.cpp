// Writing and reading the pair to fit by its fields' keys.
#include "analysis_report/fit_json.h"

#include <cmath>
#include <string>

namespace analysis_report {

using calc_core::FitChoice;
using calc_core::FitPairField;
using calc_core::FitR1Field;
using calc_core::FitR2Field;
using calc_core::FitR3Field;

Json FitJson(const std::optional<FitChoice>& fit) {
    if (!fit) {
        return nullptr;
    }
    if (fit->pairRank) {
        return {{std::string(FitPairField.key), *fit->pairRank}};
    }
    Json json = {{std::string(FitR1Field.key), fit->r1}, {std::string(FitR3Field.key), fit->r3}};
    if (fit->r2) {
        json[std::string(calc_core::FitR2Field.key)] = *fit->r2;
    }
    return json;
}

std::optional<FitChoice> ReadFitJson(JsonReader& reader) {
    reader.AllowOnly({FitPairField.key, FitR1Field.key, FitR3Field.key, FitR2Field.key});
    const auto rank = reader.OptionalNumber(FitPairField.key);
    const auto r1 = reader.OptionalNumber(FitR1Field.key);
    const auto r3 = reader.OptionalNumber(FitR3Field.key);
    const auto r2 = reader.OptionalNumber(FitR2Field.key);
    if (reader.failed()) {
        return std::nullopt;
    }
    const bool pair = rank.has_value();
    if (pair ? (r1 || r3 || r2) : (!r1 || !r3)) {
        reader.Fail(reader.ObjectName() + " must be {\"" + std::string(FitPairField.key) +
                    "\": rank} or {\"" + std::string(FitR1Field.key) + "\": ohms, \"" +
                    std::string(FitR3Field.key) + "\": ohms}");
        return std::nullopt;
    }
    if (pair && !(*rank == std::floor(*rank) && std::abs(*rank) <= 1e9)) {
        reader.Fail(reader.Name(FitPairField.key) + " must be a whole number");
        return std::nullopt;
    }
    return pair ? FitChoice::Pair(int(*rank)) : FitChoice::Typed(*r1, *r3, r2);
}

} // namespace analysis_report
