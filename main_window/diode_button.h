// A diode option button, whose arrow keys stay within its tab's pair.
#pragma once

#include <QRadioButton>

namespace main_window {

// The "Yes" and "No" of a tab stand side by side in an exclusive group of their own, where the
// toolkit moves focus and choice with Left and Right. Up and Down move the same way, as they do
// between option buttons stacked in a column: Up to "Yes", Down to "No".
class DiodeButton : public QRadioButton {
  public:
    using QRadioButton::QRadioButton;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace main_window
