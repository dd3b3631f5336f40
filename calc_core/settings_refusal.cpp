// The core's refusal of a setting it cannot work with: each row's limits, then what a setting
// must satisfy with those before it.
#include "calc_core/analysis_settings.h"
#include "calc_core/error_terms.h"

#include <bit>
#include <cctype>
#include <cmath>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace calc_core {
namespace {

using S = AnalysisSettings;

const std::string AnalyseSuffix = " to analyse the design.";

// Why a number is out of its row's limits; empty when it is within them.
std::string NumberRefusal(const SettingRow& row, std::string_view subject, double value) {
    if (!std::isfinite(value)) {
        return std::string(subject) + " must be a finite number" + AnalyseSuffix;
    }
    if (value >= row.lowest && value <= row.highest) {
        return {};
    }
    return std::string(subject) + " must be from " + LimitWithUnit(row, row.lowest) + " to " +
           LimitWithUnit(row, row.highest) + AnalyseSuffix;
}

std::string WholeRefusal(const SettingRow& row, const S& s) {
    const std::uint64_t value = row.wholeOf(s);
    if (value >= row.lowestWhole && value <= row.highestWhole) {
        return {};
    }
    return std::string(row.subject) + " must be from " + std::to_string(row.lowestWhole) + " to " +
           std::to_string(row.highestWhole) + AnalyseSuffix;
}

// Each figure a grade or a catalogue's part gives, figure(i) for GradeColumns()[i], within its
// column's row's limits; the refusal begins with the grade or part it names.
template <typename Figure> std::string FiguresRefusal(const std::string& which, Figure figure) {
    const std::span<const GradeColumn> columns = GradeColumns();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const GradeColumn& column = columns[i];
        if (const std::optional<double> value = figure(i)) {
            const SettingRow& row = ColumnRow(column);
            std::string subject(row.subject);
            subject[0] = char(std::tolower(static_cast<unsigned char>(subject[0])));
            if (std::string reason = NumberRefusal(row, subject, *value); !reason.empty()) {
                return which + reason;
            }
        }
    }
    return {};
}

std::string GradesRefusal(const S& s) {
    if (s.grades.empty()) {
        return "The part grades must hold a grade" + AnalyseSuffix;
    }
    for (std::size_t i = 0; i < s.grades.size(); ++i) {
        std::string refusal =
            FiguresRefusal("Part grade " + std::to_string(i + 1) + ": ", [&](std::size_t column) {
                return GradeColumns()[column].get(s.grades[i]);
            });
        if (!refusal.empty()) {
            return refusal;
        }
    }
    return {};
}

// Each value within the series' range, and each catalogue line's figures within their limits.
std::string PartsRefusal(const SettingRow& row, const S& s) {
    const std::span<std::optional<double> CataloguePart::*const> figures = CatalogueFigures();
    for (std::size_t i = 0; i < s.parts.catalogue.size(); ++i) {
        const CataloguePart& part = s.parts.catalogue[i];
        std::string refusal =
            FiguresRefusal("Part " + std::to_string(i + 1) + " of the parts catalogue: ",
                           [&](std::size_t column) { return part.*figures[column]; });
        if (!refusal.empty()) {
            return refusal;
        }
    }
    for (std::size_t i = 0; i < s.parts.values.size(); ++i) {
        const double value = s.parts.values[i];
        if (!(value >= LowestSeriesOhms && value <= HighestSeriesOhms)) {
            return std::string(row.subject) + "'s value " + std::to_string(i + 1) +
                   " must be from " + SeriesRangeText() + AnalyseSuffix;
        }
    }
    if (s.series == ESeries::Parts && s.parts.empty()) {
        return "The series \"parts\" needs a parts list" + AnalyseSuffix;
    }
    return {};
}

// A relative quantity's terms together must stay below 100 % over the range, or a part could
// reach 0 or below: judged at the row of the last of its terms that takes part, and worded from
// them, "The resistor tolerance with the TCR over the operating range must stay below 100 %".
std::string SwingRefusal(const SettingRow& row, const S& s) {
    const TermSizes sizes = SizesOf(s);
    for (std::size_t q = 0; q < ToleranceQuantityCount; ++q) {
        std::vector<std::size_t> terms;
        for (std::size_t t = 0; t < ErrorTermCount; ++t) {
            const ErrorTerm& term = ErrorTerms[t];
            // Each group of quantities once: by the first quantity its terms move.
            if (term.scale == TermScale::Relative && Moves(term.moves, ToleranceQuantity(q)) &&
                std::countr_zero(term.moves) == int(q) && TermActive(t, sizes)) {
                terms.push_back(t);
            }
        }
        if (terms.empty() || &SettingOf(ErrorTerms[terms.back()].setting) != &row ||
            RelativeSwing(ToleranceQuantity(q), sizes, s) < 1) {
            continue;
        }
        std::string others;
        for (std::size_t i = 1; i < terms.size(); ++i) {
            const ErrorTerm& term = ErrorTerms[terms[i]];
            others +=
                std::string(i == 1                  ? ""
                            : i + 1 == terms.size() ? " and "
                                                    : ", ") +
                "the " + std::string(term.name) +
                (term.temperature != TermTemperature::None ? " over the operating range" : "");
        }
        std::string reason(SettingOf(ErrorTerms[terms.front()].setting).subject);
        reason += others.empty() ? "" : " with " + others;
        reason += " must stay below 100 %";
        return reason + AnalyseSuffix;
    }
    return {};
}

// What a setting must also satisfy with those before it; empty when it does.
std::string JointRefusal(const SettingRow& row, const S& s) {
    if (row.number == &S::tempMaxC && s.tempMinC > s.tempMaxC) {
        return "The lowest operating temperature must not be above the highest" + AnalyseSuffix;
    }
    if (std::string reason = SwingRefusal(row, s); !reason.empty()) {
        return reason;
    }
    if (row.optionalNumber == &S::r2MaxOhms) {
        if (s.r2MinOhms.has_value() != s.r2MaxOhms.has_value()) {
            return "The lowest and the highest R2 go together: give both, or neither," +
                   AnalyseSuffix;
        }
        if (s.r2MinOhms && *s.r2MinOhms > *s.r2MaxOhms) {
            return "The lowest R2 must not be above the highest" + AnalyseSuffix;
        }
    }
    return {};
}

} // namespace

std::string RowRefusal(const SettingRow& row, const AnalysisSettings& s) {
    switch (row.kind) {
    case SettingKind::Number:
        return NumberRefusal(row, row.subject, s.*row.number);
    case SettingKind::OptionalNumber:
        return (s.*row.optionalNumber) ? NumberRefusal(row, row.subject, *(s.*row.optionalNumber))
                                       : std::string();
    case SettingKind::Whole:
        return WholeRefusal(row, s);
    case SettingKind::Choice:
    case SettingKind::Flag:
        return {}; // a choice holds one of its names, and a flag is on or off, by their types
    case SettingKind::List:
        return row.list == ListKind::Grades ? GradesRefusal(s) : PartsRefusal(row, s);
    }
    return {};
}

std::string SettingsRefusal(const AnalysisSettings& s) {
    return FindSettingsFault(s).reason;
}

SettingsFault FindSettingsFault(const AnalysisSettings& s) {
    for (const SettingRow& row : SettingRows()) {
        if (std::string reason = RowRefusal(row, s); !reason.empty()) {
            return {&row, reason};
        }
        if (std::string reason = JointRefusal(row, s); !reason.empty()) {
            return {&row, reason};
        }
    }
    return {};
}

} // namespace calc_core
