// The core's refusal of a setting it cannot work with: each row's limits, then what a setting
// must satisfy with those before it.
#include "calc_core/analysis_settings.h"

#include <cctype>
#include <cmath>
#include <string>
#include <utility>

namespace calc_core {
namespace {

using S = AnalysisSettings;

const std::string AnalyseSuffix = " to analyse the design.";

std::string WithUnit(const SettingRow& row, double value) {
    return LimitText(row, value) + (row.unit.empty() ? "" : " " + std::string(row.unit));
}

// Why a number is out of its row's limits; empty when it is within them.
std::string NumberRefusal(const SettingRow& row, std::string_view subject, double value) {
    if (!std::isfinite(value)) {
        return std::string(subject) + " must be a finite number" + AnalyseSuffix;
    }
    if (value >= row.lowest && value <= row.highest) {
        return {};
    }
    return std::string(subject) + " must be from " + WithUnit(row, row.lowest) + " to " +
           WithUnit(row, row.highest) + AnalyseSuffix;
}

std::string WholeRefusal(const SettingRow& row, const S& s) {
    const std::uint64_t value = row.wholeOf(s);
    if (value >= row.lowestWhole && value <= row.highestWhole) {
        return {};
    }
    return std::string(row.subject) + " must be from " + std::to_string(row.lowestWhole) + " to " +
           std::to_string(row.highestWhole) + AnalyseSuffix;
}

// Each grade's tolerance and TCR within their rows' limits.
std::string GradesRefusal(const S& s) {
    if (s.grades.empty()) {
        return "The part grades must hold a grade" + AnalyseSuffix;
    }
    for (std::size_t i = 0; i < s.grades.size(); ++i) {
        const std::string grade = "Part grade " + std::to_string(i + 1) + ": ";
        for (const auto& [member, value] :
             {std::pair{&S::resistorTolerancePct, s.grades[i].tolerancePct},
              std::pair{&S::resistorTcrPpm, s.grades[i].tcrPpm}}) {
            const SettingRow& row = SettingOf(member);
            std::string subject(row.subject);
            subject[0] = char(std::tolower(static_cast<unsigned char>(subject[0])));
            if (std::string reason = NumberRefusal(row, subject, value); !reason.empty()) {
                return grade + reason;
            }
        }
    }
    return {};
}

std::string PartsRefusal(const SettingRow& row, const S& s) {
    for (std::size_t i = 0; i < s.parts.size(); ++i) {
        const double value = s.parts[i];
        if (!(value >= LowestSeriesOhms && value <= HighestSeriesOhms)) {
            return std::string(row.subject) + "'s value " + std::to_string(i + 1) +
                   " must be from 1 \u03a9 to 10 M\u03a9" + AnalyseSuffix;
        }
    }
    if (s.series == ESeries::Parts && s.parts.empty()) {
        return "The series \"parts\" needs a parts list" + AnalyseSuffix;
    }
    return {};
}

} // namespace

std::string SettingValueRefusal(const SettingRow& row, const S& s) {
    switch (row.kind) {
    case SettingKind::Number:
        return NumberRefusal(row, row.subject, s.*row.number);
    case SettingKind::OptionalNumber:
        return (s.*row.optionalNumber) ? NumberRefusal(row, row.subject, *(s.*row.optionalNumber))
                                       : std::string();
    case SettingKind::Whole:
        return WholeRefusal(row, s);
    case SettingKind::Choice:
        return {}; // a choice holds one of its names by its type
    case SettingKind::List:
        return row.list == ListKind::Grades ? GradesRefusal(s) : PartsRefusal(row, s);
    }
    return {};
}

namespace {

// What a setting must also satisfy with those before it; empty when it does.
std::string JointRefusal(const SettingRow& row, const S& s) {
    if (row.number == &S::tempMaxC && s.tempMinC > s.tempMaxC) {
        return "The lowest operating temperature must not be above the highest" + AnalyseSuffix;
    }
    // A part that could swing by 100 % or more over the range would reach 0 or below.
    if (row.number == &S::resistorTcrPpm && !(ResistorSwing(s) < 1)) {
        return "The resistor tolerance with the TCR over the operating range must stay below "
               "100 %" +
               AnalyseSuffix;
    }
    if (row.number == &S::vrefDriftPpm && !(VrefSwing(s) < 1)) {
        return "The Vref tolerance with the drift over the operating range must stay below 100 %" +
               AnalyseSuffix;
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

std::string SettingsRefusal(const AnalysisSettings& s) {
    return FindSettingsFault(s).reason;
}

SettingsFault FindSettingsFault(const AnalysisSettings& s) {
    for (const SettingRow& row : SettingRows()) {
        if (std::string reason = SettingValueRefusal(row, s); !reason.empty()) {
            return {&row, reason};
        }
        if (std::string reason = JointRefusal(row, s); !reason.empty()) {
            return {&row, reason};
        }
    }
    return {};
}

} // namespace calc_core
