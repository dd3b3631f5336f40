// The IEC 60063 preferred-number series as resistor values from 1 ohm to 10 Mohm.
#include "calc_core/preferred_values.h"

#include "calc_core/decimal_text.h"
#include "calc_core/number_text.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace calc_core {
namespace {

constexpr std::array<int, 6> E6 = {100, 150, 220, 330, 470, 680};
constexpr std::array<int, 12> E12 = {100, 120, 150, 180, 220, 270, 330, 390, 470, 560, 680, 820};
constexpr std::array<int, 24> E24 = {100, 110, 120, 130, 150, 160, 180, 200, 220, 240, 270, 300,
                                     330, 360, 390, 430, 470, 510, 560, 620, 680, 750, 820, 910};

// The published values, not 10^(i/192) rounded: that would give 919 where the series has 920.
constexpr std::array<int, 192> E192 = {
    100, 101, 102, 104, 105, 106, 107, 109, 110, 111, 113, 114, 115, 117, 118, 120, 121, 123,
    124, 126, 127, 129, 130, 132, 133, 135, 137, 138, 140, 142, 143, 145, 147, 149, 150, 152,
    154, 156, 158, 160, 162, 164, 165, 167, 169, 172, 174, 176, 178, 180, 182, 184, 187, 189,
    191, 193, 196, 198, 200, 203, 205, 208, 210, 213, 215, 218, 221, 223, 226, 229, 232, 234,
    237, 240, 243, 246, 249, 252, 255, 258, 261, 264, 267, 271, 274, 277, 280, 284, 287, 291,
    294, 298, 301, 305, 309, 312, 316, 320, 324, 328, 332, 336, 340, 344, 348, 352, 357, 361,
    365, 370, 374, 379, 383, 388, 392, 397, 402, 407, 412, 417, 422, 427, 432, 437, 442, 448,
    453, 459, 464, 470, 475, 481, 487, 493, 499, 505, 511, 517, 523, 530, 536, 542, 549, 556,
    562, 569, 576, 583, 590, 597, 604, 612, 619, 626, 634, 642, 649, 657, 665, 673, 681, 690,
    698, 706, 715, 723, 732, 741, 750, 759, 768, 777, 787, 796, 806, 816, 825, 835, 845, 856,
    866, 876, 887, 898, 909, 920, 931, 942, 953, 965, 976, 988};

// E96 is every second value of E192, and E48 every fourth.
template <std::size_t Step> constexpr std::array<int, 192 / Step> EveryNth() {
    std::array<int, 192 / Step> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = E192[i * Step];
    }
    return values;
}
constexpr auto E96 = EveryNth<2>();
constexpr auto E48 = EveryNth<4>();

// 1 ohm to 9.88 ohm is the first decade; 10 Mohm closes the range.
constexpr int Decades = 7;

} // namespace

std::string SeriesRangeText() {
    const auto ohms = [](double value) {
        const PrefixedValue prefixed = WithDecimalPrefix(value, 6);
        return ShortestText(prefixed.scaled) + " " + std::string(prefixed.symbol) + "\u03a9";
    };
    return ohms(LowestSeriesOhms) + " to " + ohms(HighestSeriesOhms);
}

std::string_view SeriesName(ESeries series) {
    switch (series) {
    case ESeries::E6:
        return "E6";
    case ESeries::E12:
        return "E12";
    case ESeries::E24:
        return "E24";
    case ESeries::E48:
        return "E48";
    case ESeries::E96:
        return "E96";
    case ESeries::E192:
        return "E192";
    case ESeries::Parts:
        return "parts";
    }
    return {};
}

std::optional<ESeries> SeriesFromName(std::string_view name) {
    const auto sameLetter = [](char a, char b) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(a) == lower(b);
    };
    for (ESeries series : {ESeries::E6, ESeries::E12, ESeries::E24, ESeries::E48, ESeries::E96,
                           ESeries::E192, ESeries::Parts}) {
        const std::string_view candidate = SeriesName(series);
        if (std::equal(candidate.begin(), candidate.end(), name.begin(), name.end(), sameLetter)) {
            return series;
        }
    }
    return std::nullopt;
}

std::span<const int> SeriesHundredths(ESeries series) {
    switch (series) {
    case ESeries::E6:
        return E6;
    case ESeries::E12:
        return E12;
    case ESeries::E24:
        return E24;
    case ESeries::E48:
        return E48;
    case ESeries::E96:
        return E96;
    case ESeries::E192:
        return E192;
    case ESeries::Parts:
        break;
    }
    return {};
}

std::vector<double> SeriesValues(ESeries series) {
    const std::span<const int> hundredths = SeriesHundredths(series);
    std::vector<double> values;
    if (hundredths.empty()) {
        return values;
    }
    values.reserve(hundredths.size() * Decades + 1);
    // Whole values are exact; the first two decades divide exact integers, which rounds once to
    // the double nearest the decimal value (1.01 ohm, 10.2 ohm).
    for (int decade = 0; decade < Decades; ++decade) {
        double scale = 1;
        for (int i = 2; i < decade; ++i) {
            scale *= 10;
        }
        for (int h : hundredths) {
            if (decade == 0) {
                values.push_back(h / 100.0);
            } else if (decade == 1) {
                values.push_back(h / 10.0);
            } else {
                values.push_back(h * scale);
            }
        }
    }
    values.push_back(HighestSeriesOhms);
    return values;
}

} // namespace calc_core
