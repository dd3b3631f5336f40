// How the analysis writes numbers: volts to the millivolt, values with a decimal prefix, shares
// and settings, with the user's decimal separator and never grouped.
#pragma once

#include <string>
#include <string_view>

namespace analysis_report {

// A quantity the core could not give as a finite number; no front end shows inf or nan.
inline constexpr std::string_view NoValue = "\u2014";

// `decimals` digits after the separator; never "-0.000": a negative value that rounds to zero
// loses its sign.
std::string FormatFixed(double value, int decimals, std::string_view separator);

// Volts to 1 mV: "41.261 V".
std::string FormatVolts(double volts, std::string_view separator);

// A value with the SI prefix that leaves 1 to 999 before the separator, and at most `digits`
// significant digits: "64.955 kΩ", "7.21 kΩ", "596.7 µA". Never "-0".
std::string FormatPrefixed(double value, std::string_view unit, int digits,
                           std::string_view separator);

// Resistances to six significant digits, so that a whole-ohm value of up to 999,999 stays exact.
std::string FormatOhms(double ohms, std::string_view separator);

// A share of 0 to 1 as a percentage with one decimal: "61.2 %".
std::string FormatShare(double share, std::string_view separator);

// A share of boards as a percentage: three decimals, and more while fewer would write a share
// below 1 as 100 % ("99.9996 %"), up to six; never more than 100 %.
std::string YieldText(double share, std::string_view separator);

// A setting as the user gave it, to six significant digits: "1", "0.25".
std::string FormatSetting(double value, std::string_view separator);

} // namespace analysis_report
