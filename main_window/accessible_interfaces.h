// The window's own accessibility interfaces, for controls the toolkit's interfaces misdescribe.
#pragma once

class QLabel;
class QRadioButton;
class QWidget;

namespace main_window {

// A result label reads as a value named by its caption: the accessible name (the caption),
// the shown result as its value and as read-only, selectable text.
void UseResultLabelAccessible(QLabel* label);

// A picture box reads as a picture with the accessible name and description it carries.
void UsePictureAccessible(QWidget* box);

// The two diode buttons of a tab read as one group named by the caption label, although on
// screen they stand loose on the tab page beside the other tab's pair.
void UseDiodeGroupAccessible(QLabel* caption, QRadioButton* yes, QRadioButton* no);

} // namespace main_window
