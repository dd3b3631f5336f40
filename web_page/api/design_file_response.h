// The page's design files: a tab's boxes, settings, fit and note written as a design file's text,
// and a file's text read back into what the page's inputs show. The same library reads and
// writes them for the window and the command line, so that a file of one opens in the others.
#pragma once

#include "calc_core/analysis_settings.h"
#include "calc_core/design_analysis.h"
#include "calc_core/design_tab.h"
#include "calc_core/number_locale.h"
#include "calc_core/tab_inputs.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <string_view>

namespace web_page {

// What the page saves: its tab's boxes as typed with the diode's two buttons, and the analysis.
struct SavedTab {
    calc_core::Tab tab = calc_core::Tab::Calc;
    bool yes = false;
    bool no = false;
    calc_core::TabInputTexts texts;
    calc_core::NumberLocale locale;
    calc_core::AnalysisSettings settings{};
    std::optional<calc_core::FitChoice> fit{};
    bool yieldEstimated = false;
    std::string note;
};

// {"file": the design file's text}, or {"problem": one sentence} for a tab with no diode choice,
// a box that holds no number in the user's notation (Vf only with the diode), or settings or a
// fit the analysis refuses, which no reader would open.
nlohmann::ordered_json SaveDesignResponse(const SavedTab& saved);

// {"tab", "diode", "texts": five box texts in the user's notation ("" for Vf without the diode),
// "settings" as an analysis request takes them (whole numbers as decimal text), "setting_texts"
// as the settings' boxes show them, "fit" (null for none), "yield" (whether the yield is
// estimated), "note"}, or {"problem": the reader's
// sentence naming the file and the place}.
nlohmann::ordered_json OpenDesignResponse(std::string_view text, std::string_view fileName,
                                          std::string_view decimalSeparator);

} // namespace web_page
