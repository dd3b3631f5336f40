// The control of each kind of setting, built from its row: a number box, a choice, a whole
// number's box or its digits, an optional resistance or a list typed as text; and the value each
// holds, read into the settings and shown from them.
#pragma once

#include "calc_core/analysis_settings.h"

#include <QString>

#include <string>
#include <string_view>

class QWidget;

namespace analysis_window {

// Whether the row is typed as text (an optional resistance, a whole number beyond a spin box's
// reach, a list), taken when read with ReadSettingText; the others hold their value in the box.
bool TypedAsText(const calc_core::SettingRow& row);

// The row's control showing its default, named by the row's id and its plain label, its help as
// the tooltip; changes to it are not connected here.
QWidget* MakeSettingControl(const calc_core::SettingRow& row);

// The value of a control that holds it (not one typed as text) into the settings.
void ReadControl(const calc_core::SettingRow& row, const QWidget* control,
                 calc_core::AnalysisSettings& settings);

// Shows the row's value of the settings in its control, of any kind, without its signals.
void ShowInControl(const calc_core::SettingRow& row, QWidget* control,
                   const calc_core::AnalysisSettings& settings);

// The text typed in a control typed as text.
QString TypedText(const QWidget* control);

// Reads a typed text into the row's member of the settings: an empty optional resistance is
// absent. The sentence of what is wrong, the settings left as they were; empty when taken.
std::string ReadSettingText(const calc_core::SettingRow& row, std::string_view text,
                            calc_core::AnalysisSettings& settings);

} // namespace analysis_window
