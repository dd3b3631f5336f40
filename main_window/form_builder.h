// Builds the form's controls from the control table.
#pragma once

#include "main_window/control_table.h"

#include <QWidget>

namespace main_window {

// Creates every control of the table on the form, named "Text1(0)", "SSTab1" and so on, in
// the state the table gives; each tab's two diode buttons form an exclusive group of their own.
// Each control is then named and described for assistive technology as the accessibility
// table says.
void BuildControls(QWidget* form);

} // namespace main_window
