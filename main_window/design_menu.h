// The right-click menu of the Calc and Check pages, with the design analysis and About, and
// the keyboard shortcut of the analysis.
#pragma once

#include "analysis_window/design_record.h"

#include <QKeySequence>
#include <QObject>

#include <array>
#include <optional>
#include <span>

class QTabWidget;
class QWidget;

namespace analysis_window {
class AnalysisWindow;
}

namespace main_window {

using analysis_window::DesignRecord;

class DesignMenu : public QObject {
    Q_OBJECT

  public:
    // Watches the two pages and the controls on them that have a menu of their own (input
    // boxes and result labels), and sets up the shortcut; the menu is made each time it opens,
    // the analysis window when first opened.
    DesignMenu(QWidget* form, QTabWidget* tabs, const DesignRecord* record,
               std::span<QWidget* const> ownMenus);

    static QKeySequence AnalyseKey() { return QKeySequence(Qt::CTRL | Qt::Key_D); }

    // Opens the analysis of the tab's design and brings it to the front; false, and nothing
    // happens, before the tab's first CAL that computed.
    bool openAnalysis(calc_core::Tab tab);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::optional<calc_core::Tab> tabOf(const QWidget* widget) const;
    void showMenu(QWidget* target, calc_core::Tab tab, const QPoint& globalPos);

    QWidget* m_form;
    QTabWidget* m_tabs;
    const DesignRecord* m_record;
    std::array<QWidget*, 2> m_pages{}; // by calc_core::Tab
    analysis_window::AnalysisWindow* m_window = nullptr;
};

} // namespace main_window
