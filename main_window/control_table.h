// The window described as data: the form, the tab control and every control on it.
#pragma once

#include "calc_core/design_tab.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace main_window {

// Positions and sizes in twips; 15 twips are one logical pixel.
inline constexpr int TwipsPerPixel = 15;
constexpr int ToPixels(int twips) {
    return (twips + TwipsPerPixel / 2) / TwipsPerPixel;
}

enum class ControlType {
    TabControl,
    Frame,
    Label,
    TextBox,
    CommandButton,
    OptionButton,
    PictureBox
};

enum class FontRole { Window, InputFrame, Caption, Value };

enum ControlTrait : unsigned {
    NoTrait = 0,
    AutoSize = 1 << 0,     // the label's size follows its caption
    ValueLabel = 1 << 1,   // white, right-justified, single-line border
    RightAligned = 1 << 2, // text box text is right-justified
    Selected = 1 << 3,     // option button selected at creation
};

// Toolkit colour values: red in the low byte, blue in the third.
inline constexpr std::uint32_t ColourWhite = 0x00FFFFFF;
inline constexpr std::uint32_t ColourRed = 0x000000FF;

struct ControlRow {
    std::string_view array; // array name, or the name of a single control
    int index;              // index in its array; -1 for a single control
    ControlType type;
    std::string_view container; // "Orvalen", "SSTab1" or a frame's name
    int tab;                    // tab page for a control directly on SSTab1, else -1
    std::string_view caption;
    int left, top, width, height;
    FontRole font;
    unsigned traits;
    std::optional<std::uint32_t> backColor;
    int focus;                     // focus order number
    std::string_view picture = {}; // image shown by a picture box
};

// Every control of the form, containers before their children.
std::span<const ControlRow> OrvalenControls();

// "Text1(0)" for an array element, "Command1" for a single control.
std::string ObjectName(const ControlRow& row);

inline constexpr std::string_view FormName = "Orvalen";
inline constexpr std::string_view FormCaption = "Orvalex KEP CAL";
inline constexpr int FormClientWidth = 6960;
inline constexpr int FormClientHeight = 4485;

inline constexpr std::string_view TabCaptions[] = {"Calc", "Schematic", "Resister", "Check"};
inline constexpr int InitialTab = 1;
// The page of the tab control that holds a tab's inputs and results.
constexpr int PageIndex(calc_core::Tab tab) {
    return tab == calc_core::Tab::Calc ? 0 : 3;
}
inline constexpr int TabStripHeight = 295; // 520 hundredths of a millimetre

inline constexpr std::string_view ApplicationTitle = "Orvalex_KEP";

} // namespace main_window
