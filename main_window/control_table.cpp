// The form Orvalen as a table of its 51 controls.
#include "main_window/control_table.h"

namespace main_window {
namespace {

using enum ControlType;
using enum FontRole;

constexpr std::optional<std::uint32_t> Default = std::nullopt;
constexpr unsigned Caption_ = AutoSize;
constexpr unsigned Input = RightAligned;

// clang-format off
constexpr ControlRow Controls[] = {
    // array      idx  type           container    tab caption          left  top   width height font        traits      back         focus
    {"SSTab1",    -1, TabControl,    "Orvalen",    -1, "",              120,  120,  6735, 4215, Window,     NoTrait,    Default,     0},

    // Tab 0 "Calc"
    {"Label6",     0, Label,         "SSTab1",      0, "Diode",         3600, 480,  1335, 375,  Window,     NoTrait,    Default,     49},
    {"Option1",    0, OptionButton,  "SSTab1",      0, "Yes",           3720, 840,  975,  330,  Window,     NoTrait,    Default,     47},
    {"Option1",    1, OptionButton,  "SSTab1",      0, "No",            5040, 840,  975,  330,  Window,     Selected,   Default,     48},
    {"Frame1",     0, Frame,         "SSTab1",      0, "Input Data",    360,  600,  2775, 2775, InputFrame, NoTrait,    Default,     11},
    {"Frame2",     0, Frame,         "SSTab1",      0, "Output Data",   3600, 1320, 2655, 2055, Window,     NoTrait,    Default,     3},
    {"Command1",  -1, CommandButton, "SSTab1",      0, "CAL",           1800, 3480, 1215, 495,  Window,     NoTrait,    Default,     10},
    {"Command2",  -1, CommandButton, "SSTab1",      0, "CLEAR",         3720, 3480, 1215, 495,  Window,     NoTrait,    ColourWhite, 1},

    {"Label1",     0, Label,         "Frame1(0)",  -1, "R2 [ohm]",      120,  500,  795,  240,  Caption,    Caption_,   Default,     16},
    {"Text1",      0, TextBox,       "Frame1(0)",  -1, "",              1320, 480,  1215, 315,  Value,      Input,      Default,     14},
    {"Label1",     1, Label,         "Frame1(0)",  -1, "Vref [V]",      120,  930,  660,  240,  Caption,    Caption_,   Default,     17},
    {"Text1",      1, TextBox,       "Frame1(0)",  -1, "",              1320, 900,  1215, 315,  Value,      Input,      Default,     15},
    {"Label1",     2, Label,         "Frame1(0)",  -1, "Vo_max [V]",    120,  1320, 1035, 240,  Caption,    Caption_,   Default,     18},
    {"Text1",      2, TextBox,       "Frame1(0)",  -1, "",              1320, 1320, 1215, 315,  Value,      Input,      ColourWhite, 13},
    {"Label1",     3, Label,         "Frame1(0)",  -1, "Vo_min  [V]",   120,  1800, 1035, 240,  Caption,    Caption_,   Default,     19},
    {"Text1",      3, TextBox,       "Frame1(0)",  -1, "",              1320, 1800, 1215, 315,  Value,      Input,      Default,     12},
    {"Label1",     8, Label,         "Frame1(0)",  -1, "Diode Vf [V]",  120,  2280, 1050, 240,  Caption,    Caption_,   Default,     50},
    {"Text1",      4, TextBox,       "Frame1(0)",  -1, "",              1320, 2280, 1215, 315,  Value,      Input,      Default,     51},

    {"Label5",     0, Label,         "Frame2(0)",  -1, "R1 [ohm]",      120,  480,  795,  240,  Caption,    Caption_,   Default,     8},
    {"Label2",     0, Label,         "Frame2(0)",  -1, "",              1320, 480,  1095, 315,  Value,      ValueLabel, ColourWhite, 9},
    {"Label5",     1, Label,         "Frame2(0)",  -1, "R3 [ohm]",      120,  960,  795,  240,  Caption,    Caption_,   Default,     7},
    {"Label2",     1, Label,         "Frame2(0)",  -1, "",              1320, 960,  1095, 315,  Value,      ValueLabel, ColourWhite, 5},
    {"Label5",     2, Label,         "Frame2(0)",  -1, "Vo_mid [V]",    120,  1440, 975,  240,  Caption,    Caption_,   Default,     6},
    {"Label2",     2, Label,         "Frame2(0)",  -1, "",              1320, 1440, 1095, 315,  Value,      ValueLabel, ColourWhite, 4},

    // Tab 1 "Schematic" and tab 2 "Resister"
    {"Picture1",  -1, PictureBox,    "SSTab1",      1, "",              720,  900,  4815, 2655, Window,     NoTrait,    Default,     2,  ":/pictures/schematic.svg"},
    {"Picture2",  -1, PictureBox,    "SSTab1",      2, "",              240,  780,  6255, 3375, Window,     NoTrait,    Default,     26, ":/pictures/preferred_values.svg"},

    // Tab 3 "Check"
    {"Label6",     1, Label,         "SSTab1",      3, "Diode",         3600, 480,  1335, 375,  Window,     NoTrait,    Default,     52},
    {"Option2",    0, OptionButton,  "SSTab1",      3, "Yes",           3720, 840,  1215, 330,  Window,     NoTrait,    Default,     55},
    {"Option2",    1, OptionButton,  "SSTab1",      3, "No",            5040, 840,  1215, 330,  Window,     NoTrait,    Default,     56},
    {"Frame1",     1, Frame,         "SSTab1",      3, "Input Data",    360,  1080, 2775, 2295, InputFrame, NoTrait,    Default,     27},
    {"Frame2",     1, Frame,         "SSTab1",      3, "Output Data",   3600, 1440, 2655, 1935, Window,     NoTrait,    Default,     36},
    {"Command3",  -1, CommandButton, "SSTab1",      3, "CAL",           1800, 3480, 1215, 495,  Window,     NoTrait,    Default,     45},
    {"Command4",  -1, CommandButton, "SSTab1",      3, "CLEAR",         3720, 3480, 1215, 495,  Window,     NoTrait,    Default,     46},

    // The Check inputs stand in screen order, which is not index order.
    {"Label1",     4, Label,         "Frame1(1)",  -1, "Vref [V]",      120,  360,  660,  240,  Caption,    Caption_,   Default,     32},
    {"Text2",      3, TextBox,       "Frame1(1)",  -1, "",              1320, 360,  1215, 315,  Value,      Input,      Default,     31},
    {"Label1",     7, Label,         "Frame1(1)",  -1, "R1 [ohm]",      120,  720,  795,  240,  Caption,    Caption_,   Default,     35},
    {"Text2",      0, TextBox,       "Frame1(1)",  -1, "",              1320, 720,  1215, 315,  Value,      Input,      Default,     29},
    {"Label1",     6, Label,         "Frame1(1)",  -1, "R2 [ohm]",      120,  1080, 795,  240,  Caption,    Caption_,   Default,     34},
    {"Text2",      1, TextBox,       "Frame1(1)",  -1, "",              1320, 1080, 1215, 315,  Value,      Input,      Default,     28},
    {"Label1",     5, Label,         "Frame1(1)",  -1, "R3 [ohm]",      120,  1440, 795,  240,  Caption,    Caption_,   Default,     33},
    {"Text2",      2, TextBox,       "Frame1(1)",  -1, "",              1320, 1440, 1215, 315,  Value,      Input,      Default,     30},
    {"Label1",     9, Label,         "Frame1(1)",  -1, "Diode Vf [V]",  120,  1800, 1050, 240,  Caption,    Caption_,   Default,     54},
    {"Text2",      4, TextBox,       "Frame1(1)",  -1, "",              1320, 1800, 1215, 315,  Value,      Input,      Default,     53},

    {"Label5",     3, Label,         "Frame2(1)",  -1, "Vo max [V]",    120,  360,  990,  240,  Caption,    Caption_,   Default,     38},
    {"Label3",     0, Label,         "Frame2(1)",  -1, "",              1320, 360,  1095, 315,  Value,      ValueLabel, ColourWhite, 37},
    {"Label5",     4, Label,         "Frame2(1)",  -1, "Vo mid [V]",    120,  720,  930,  240,  Caption,    Caption_,   Default,     39},
    {"Label3",     1, Label,         "Frame2(1)",  -1, "",              1320, 720,  1095, 315,  Value,      ValueLabel, ColourWhite, 41},
    {"Label5",     5, Label,         "Frame2(1)",  -1, "Vo min [V]",    120,  1080, 930,  240,  Caption,    Caption_,   Default,     40},
    {"Label3",     2, Label,         "Frame2(1)",  -1, "",              1320, 1080, 1095, 315,  Value,      ValueLabel, ColourWhite, 42},
    {"Label5",     6, Label,         "Frame2(1)",  -1, "Delta -/+ [V]", 120,  1440, 1065, 240,  Caption,    Caption_,   Default,     44},
    {"Label3",     3, Label,         "Frame2(1)",  -1, "",              1320, 1440, 1095, 315,  Value,      ValueLabel, ColourWhite, 43},
};
// clang-format on

static_assert(std::size(Controls) == 51);

} // namespace

std::span<const ControlRow> OrvalenControls() {
    return Controls;
}

std::string ObjectName(const ControlRow& row) {
    std::string name(row.array);
    if (row.index >= 0) {
        name += '(' + std::to_string(row.index) + ')';
    }
    return name;
}

} // namespace main_window
