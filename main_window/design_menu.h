// The right-click menu of the Calc and Check pages, with the design analysis and About, and
// the keyboard shortcut of the analysis.
#pragma once

#include "analysis_window/design_record.h"

#include <QKeySequence>
#include <QObject>

#include <array>
#include <optional>
#include <span>

class QMenu;
class QTabWidget;
class QWidget;

namespace analysis_window {
class AnalysisWindow;
}

namespace main_window {

class DesignFiles;
using analysis_window::DesignRecord;

class DesignMenu : public QObject {
    Q_OBJECT

  public:
    // Watches the two pages and the controls on them that have a menu of their own (input
    // boxes and result labels), gives the hinted controls a tooltip that names the analysis and
    // its key, and sets up the shortcut; the menu is made each time it opens, the analysis
    // window when first opened.
    DesignMenu(QWidget* form, QTabWidget* tabs, const DesignRecord* record,
               std::span<QWidget* const> ownMenus, std::span<QWidget* const> hinted);

    // The tooltip of the hinted controls.
    static QString Hint();

    static QKeySequence AnalyseKey() { return QKeySequence(Qt::CTRL | Qt::Key_D); }

    // Opens the analysis of the tab's design and brings it to the front; false, and nothing
    // happens, before the tab's first CAL that computed.
    bool openAnalysis(calc_core::Tab tab);
    // The same with these settings, this pair to fit and the yield estimated or not.
    bool openAnalysis(calc_core::Tab tab, const calc_core::AnalysisSettings& settings,
                      const std::optional<calc_core::FitChoice>& fit, bool estimateYield);

    // The analysis window, once it has been opened; null before.
    const analysis_window::AnalysisWindow* analysisWindow() const { return m_window; }

    // The menu's entries that open and save design files go to these.
    void setDesignFiles(DesignFiles* files) { m_files = files; }

  signals:
    // The analysis window was made, when first opened.
    void analysisWindowMade(analysis_window::AnalysisWindow* window);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::optional<calc_core::Tab> tabOf(const QWidget* widget) const;
    void showMenu(QWidget* target, calc_core::Tab tab, const QPoint& globalPos);
    void addFileActions(QMenu* menu, calc_core::Tab tab);
    void addRecentDesigns(QMenu* menu);
    analysis_window::AnalysisWindow* window();

    QWidget* m_form;
    QTabWidget* m_tabs;
    const DesignRecord* m_record;
    std::array<QWidget*, 2> m_pages{}; // by calc_core::Tab
    analysis_window::AnalysisWindow* m_window = nullptr;
    DesignFiles* m_files = nullptr;
};

} // namespace main_window
