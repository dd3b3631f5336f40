// The analysis settings as a group of controls, one a row of the settings table with its label,
// limits, unit and help, on one page for each of the table's groups.
#pragma once

#include "calc_core/analysis_settings.h"

#include <QGroupBox>

#include <cstdint>
#include <functional>
#include <vector>

class QBoxLayout;
class QGridLayout;
class QLabel;
class QTabWidget;

namespace analysis_window {

class TextSetting;

class SettingsPanel : public QGroupBox {
    Q_OBJECT

  public:
    // A list file is read whole, up to this size.

    explicit SettingsPanel(QWidget* parent = nullptr);

    // The settings the controls hold: for a typed one, the value last taken.
    calc_core::AnalysisSettings settings() const;
    // Puts the settings into every control, each number to the control's decimals, without
    // raising changed(); a typed text's problem goes.
    void setSettings(const calc_core::AnalysisSettings& settings);

    // The settings used with the diode only take input only with it.
    void setDiode(bool diode);

    // Says beside each list that the settings take but do not use how to use it
    // (calc_core::SettingNotices); nothing beside the others.
    void showNotices(const calc_core::AnalysisSettings& settings);

    // Reads the file into the list row's control and takes it, as its Open… button does. False,
    // with the reason under the control and nothing taken, for a file that cannot be read or is
    // larger than calc_core::MaxListBytes.
    bool openList(const calc_core::SettingRow& row, const QString& path);

    // A control of the window's on a group's page, under its settings.
    void addToGroup(calc_core::SettingGroup group, QWidget* widget);
    // The group pages' titles, each given its shortcut by `mark` (the window's free letters).
    void markGroupTitles(const std::function<QString(const QString&)>& mark);

    // The letters that reach the controls, lower case.
    const QString& shortcutLetters() const { return m_letters; }

    QWidget* firstField() const { return m_controls.front().widget; }

  signals:
    void changed();

  private:
    struct Control {
        const calc_core::SettingRow* row = nullptr;
        QWidget* widget = nullptr;
        TextSetting* text = nullptr; // typed as text only
        QLabel* notice = nullptr;    // a list's, for what SettingNotices says of it
    };
    // A compact row's widgets in a grid: the problem's label only for a row typed as text.
    struct GridCell {
        QLabel* label = nullptr;
        QWidget* control = nullptr;
        QLabel* problem = nullptr;
    };
    // A group's page: its compact rows in a grid, as many a line as fit up to mostPerLine, its
    // lists as columns beside it.
    struct GroupPage {
        QWidget* page = nullptr;
        QWidget* viewport = nullptr; // of the page's scroll area
        QBoxLayout* columns = nullptr;
        QGridLayout* grid = nullptr;
        std::vector<GridCell> cells;
        int mostPerLine = 1;
        int perLine = 0;
    };

  protected:
    // A page's viewport that grows or shrinks puts as many rows a line as fit.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildGroupPages();
    GroupPage& pageOf(calc_core::SettingGroup group);
    static void arrange(GroupPage& page, int perLine);
    static int WidthFor(const GroupPage& page, int perLine);
    static int perLineFor(const GroupPage& page, int width);
    void place(const calc_core::SettingRow& row, QWidget* control, QLabel* problem);
    QLabel* placeList(const calc_core::SettingRow& row, QWidget* control, QLabel* problem);
    void chooseListFile(const calc_core::SettingRow& row);
    const Control& controlOf(const calc_core::SettingRow& row) const;

    QTabWidget* m_groups = nullptr;
    std::vector<GroupPage> m_pages;  // in the order of AllSettingGroups
    std::vector<Control> m_controls; // in the order of the table
    calc_core::AnalysisSettings m_taken;
    QString m_letters;
};

} // namespace analysis_window
