// The IEC 60063 preferred-number series E6 to E192, as resistor values.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace calc_core {

// The range of every series' values, and of every value a build is made of.
inline constexpr double LowestSeriesOhms = 1;
inline constexpr double HighestSeriesOhms = 10'000'000;

// The range as the messages and notes write it: "1 Ω to 10 MΩ".
std::string SeriesRangeText();

// The IEC series, and Parts: the user's own parts list, whose values the settings hold.
enum class ESeries { E6, E12, E24, E48, E96, E192, Parts };

inline constexpr ESeries AllSeries[] = {ESeries::E6,  ESeries::E12, ESeries::E24,
                                        ESeries::E48, ESeries::E96, ESeries::E192};

// "E6", "E12", ... "E192", and "parts".
std::string_view SeriesName(ESeries series);

// The series a name such as "E96", "e96" or "parts" stands for, read without regard to case;
// nullopt for anything else.
std::optional<ESeries> SeriesFromName(std::string_view name);

// The series' values in one decade as whole hundredths, ascending: E24 gives 100, 110, 120 ...
// 910; E192 gives 100, 101, 102 ... 988; none for Parts.
std::span<const int> SeriesHundredths(ESeries series);

// Every value of the series from 1 ohm to 10 Mohm, both included, ascending; each value is the
// double nearest to its decimal value (4.7 kohm is exactly 4700); none for Parts.
std::vector<double> SeriesValues(ESeries series);

} // namespace calc_core
