// The report's number writer: every cell and note of the report writes its numbers through one,
// so that all of them share the user's decimal separator and the same digits.
#pragma once

#include "analysis_report/number_format.h"

#include <string>
#include <string_view>

namespace analysis_report {

// Put before a half width: "± 1 %".
inline constexpr std::string_view PlusMinus = "\u00b1 ";

class Writer {
  public:
    explicit Writer(std::string_view separator) : separator_(separator) {}

    std::string Volts(double v) const { return FormatVolts(v, separator_); }
    std::string Ohms(double r) const { return FormatOhms(r, separator_); }
    std::string Amps(double i) const { return FormatPrefixed(i, "A", 4, separator_); }
    std::string Watts(double p) const { return FormatPrefixed(p, "W", 4, separator_); }
    std::string Share(double s) const { return FormatShare(s, separator_); }
    std::string Setting(double s) const { return FormatSetting(s, separator_); }
    const std::string& Separator() const { return separator_; }

  private:
    std::string separator_;
};

} // namespace analysis_report
