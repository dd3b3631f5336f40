// The user's own parts: a list of the resistances at hand, which a part grade may build from
// instead of a preferred-value series, or a catalogue of orderable parts, each line a value with
// its own figures, which the synthesis chooses among instead of the grades.
#pragma once

#include "calc_core/list_text.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace calc_core {

// One line of a catalogue: a part you can order. A figure it leaves out is the settings' own
// (the tolerance, the TCR, the life drift) or not judged (the price, the power rating).
struct CataloguePart {
    double ohms = 0;
    std::optional<double> tolerancePct{};
    std::optional<double> tcrPpm{};
    std::optional<double> lifeDriftPct{};
    std::optional<double> price{};
    std::optional<double> powerW{};
    std::string mpn{}; // the manufacturer's part number
    std::string manufacturer{};

    friend bool operator==(const CataloguePart&, const CataloguePart&) = default;
};

struct PartsList {
    std::vector<double> values{}; // ohms, ascending without repeats
    // The lines in the file's order when its first line named the columns; empty for a list of
    // values alone.
    std::vector<CataloguePart> catalogue{};

    bool empty() const { return values.empty(); }
    friend bool operator==(const PartsList&, const PartsList&) = default;
};

// The header names of a catalogue's columns beside the grades' figures (GradeColumns).
inline constexpr std::string_view CatalogueValueColumn = "value";
inline constexpr std::string_view CatalogueMpnColumn = "mpn";
inline constexpr std::string_view CatalogueManufacturerColumn = "manufacturer";

// Each of the grades' figures as a catalogue's line holds it, in the order of GradeColumns.
std::span<std::optional<double> CataloguePart::*const> CatalogueFigures();

// A list of the values, sorted without repeats; a catalogue with its lines' values.
PartsList PartsListOf(std::vector<double> values);
PartsList PartsListOf(std::vector<CataloguePart> catalogue);

struct PartsRead {
    PartsList list;
    std::string error; // empty when the list was read
};

// One resistance a line, in any form the command line reads (4k7, 10k, 2M2, 470R, 4R7, 1e3,
// 4700), each from LowestSeriesOhms to HighestSeriesOhms; entries as ForEachEntry passes them.
// A first line that names columns instead ("value, tolerance, tcr, life_drift, price, power_w,
// mpn, manufacturer", in any order, the value required) makes the list a catalogue, each line
// then giving those columns separated by commas, an empty one left out; figures are held to the
// limits of their settings' rows. The first bad line refuses the whole list with one sentence
// that names its number, and so does a list without a value.
PartsRead ReadPartsList(std::string_view text);

// The list as ReadPartsList reads it back: a value a line, or the catalogue with a header naming
// the columns its lines give.
std::string PartsListText(const PartsList& list);

} // namespace calc_core
