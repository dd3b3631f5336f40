// Arrow keys that move between the two diode buttons of one tab.
#pragma once

#include <QObject>

class QRadioButton;

namespace main_window {

// The four diode buttons form one exclusive group across two tabs, so the toolkit's own
// arrow-key move picks the nearest button of the group, which may be the other tab's hidden
// one at the same place. This keeps the move within the tab's pair: Left and Up go to "Yes",
// Right and Down to "No", and a selection moves along as it does between grouped buttons.
class DiodeArrowKeys : public QObject {
  public:
    DiodeArrowKeys(QRadioButton* yes, QRadioButton* no);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QRadioButton* m_yes;
    QRadioButton* m_no;
};

} // namespace main_window
