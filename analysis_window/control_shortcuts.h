// The analysis window's keyboard shortcuts to its settings' and fit's controls: which letter of
// each caption takes the '&', by the control's id. A control the table does not name has none.
#pragma once

#include <QString>

#include <string_view>

namespace analysis_window {

// The caption with its shortcut: "Resistor TCR" for "ResistorTcr" is "Resistor TC&R".
QString CaptionWithShortcut(std::string_view id, std::string_view label);

} // namespace analysis_window
