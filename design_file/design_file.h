// A design file (.okep): one design of the Calc or Check tab with its analysis settings, the pair
// fitted, whether the yield is estimated and a note, as JSON that every front end reads and
// writes.
#pragma once

#include "calc_core/analysis_settings.h"
#include "calc_core/design_analysis.h"
#include "calc_core/design_tab.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace design_file {

// The members "format" and "version" say what a file is and which reader it needs. The version
// goes up whenever a version's reader would refuse what the writer now writes, such as a new
// setting's member. A reader opens every version up to its own, each member a file of an older
// version lacks taking its default, and refuses a newer one by its version. Version 2 added the
// resistors' life drift, and a grade's life drift, price and power rating.
inline constexpr std::string_view FormatName = "orvalex-kep-design";
inline constexpr int FormatVersion = 2;
inline constexpr std::string_view Extension = ".okep";

// A design is a kilobyte or two; anything much larger is not one, and is refused unread. The
// writer holds to it too: a design whose text would be larger is not saved.
inline constexpr std::size_t MaxFileBytes = std::size_t{1} << 20;
// The deepest a design nests is a list inside the settings; deeper is not a design.
inline constexpr std::size_t MaxDepth = 16;

// The top-level members, in the order they are written.
namespace keys {
inline constexpr std::string_view Format = "format";
inline constexpr std::string_view Version = "version";
inline constexpr std::string_view Tab = "tab";
inline constexpr std::string_view Diode = "diode";
inline constexpr std::string_view Inputs = "inputs";
inline constexpr std::string_view Settings = "settings";
inline constexpr std::string_view Fit = "fit";
// Whether the yield is estimated with the analysis; a file may lack it (then false).
inline constexpr std::string_view YieldEstimated = "yield_estimated";
inline constexpr std::string_view Note = "note";
} // namespace keys

struct Design {
    calc_core::Tab tab = calc_core::Tab::Calc;
    bool diode = false;
    // The tab's boxes as numbers, in the gate's order (calc_core::TabInputs); Vf, the last, is
    // read and written with the diode only.
    std::array<double, 5> inputs{};
    calc_core::AnalysisSettings settings;
    std::optional<calc_core::FitChoice> fit;
    bool yieldEstimated = false; // with every analysis of the design, as asked
    std::string note;            // free text, such as the rail's name
};

} // namespace design_file
