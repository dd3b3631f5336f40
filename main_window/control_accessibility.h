// What assistive technology reads for the window's controls, as data beside the control table.
#pragma once

#include <span>
#include <string_view>

namespace main_window {

// Names and descriptions that a control's own caption does not give. A control with a
// caption label is named by that label, which becomes its buddy; otherwise it takes the
// fixed name, if any. The description tells apart controls that share a caption.
struct AccessibleRow {
    std::string_view control;      // object name, as ObjectName() gives it
    std::string_view captionLabel; // the label standing left of it, or empty
    std::string_view name;         // a fixed name for a control without caption label
    std::string_view description;
};

// The two diode buttons of one tab, presented as one group named by the tab's "Diode" label;
// on screen they stand loose on the tab so that all four share one exclusive group.
struct DiodeGroupRow {
    std::string_view captionLabel;
    std::string_view yes;
    std::string_view no;
};

std::span<const AccessibleRow> OrvalenAccessibility();
std::span<const DiodeGroupRow> OrvalenDiodeGroups();

} // namespace main_window
