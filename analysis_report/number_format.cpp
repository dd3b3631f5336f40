// The analysis's number formats, on the core's exact decimal text.
#include "analysis_report/number_format.h"

#include "calc_core/decimal_text.h"
#include "calc_core/number_text.h"

#include <algorithm>
#include <cmath>

namespace analysis_report {
namespace {

// The "C" text with its point written as the separator, and no sign left on a zero.
std::string Localised(std::string text, std::string_view separator) {
    if (text.starts_with('-') && text.find_first_of("123456789") == std::string::npos) {
        text.erase(0, 1);
    }
    if (const auto point = text.find('.'); point != std::string::npos) {
        text.replace(point, 1, separator);
    }
    return text;
}

} // namespace

std::string FormatFixed(double value, int decimals, std::string_view separator) {
    if (!std::isfinite(value)) {
        return std::string(NoValue);
    }
    return Localised(calc_core::FixedText(value, decimals), separator);
}

std::string FormatVolts(double volts, std::string_view separator) {
    if (!std::isfinite(volts)) {
        return std::string(NoValue);
    }
    return FormatFixed(volts, 3, separator) + " V";
}

std::string FormatPrefixed(double value, std::string_view unit, int digits,
                           std::string_view separator) {
    if (!std::isfinite(value)) {
        return std::string(NoValue);
    }
    const calc_core::PrefixedValue prefixed = calc_core::WithDecimalPrefix(value, digits);
    return Localised(calc_core::SignificantText(prefixed.scaled, digits), separator) + " " +
           std::string(prefixed.symbol) + std::string(unit);
}

std::string FormatOhms(double ohms, std::string_view separator) {
    return FormatPrefixed(ohms, "\u03a9", 6, separator);
}

std::string FormatShare(double share, std::string_view separator) {
    if (!std::isfinite(share)) {
        return std::string(NoValue);
    }
    return FormatFixed(std::max(share, 0.0) * 100, 1, separator) + " %";
}

std::string YieldText(double share, std::string_view separator) {
    if (!std::isfinite(share)) {
        return std::string(NoValue);
    }
    const double pct = std::clamp(share, 0.0, 1.0) * 100;
    std::string text = FormatFixed(pct, 3, separator);
    for (int decimals = 4; share < 1 && text.starts_with("100") && decimals <= 6; ++decimals) {
        text = FormatFixed(pct, decimals, separator);
    }
    return text + " %";
}

std::string FormatSetting(double value, std::string_view separator) {
    if (!std::isfinite(value)) {
        return std::string(NoValue);
    }
    return Localised(calc_core::SignificantText(value, 6), separator);
}

} // namespace analysis_report
