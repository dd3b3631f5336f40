// Opening and saving design files in the window: the menu's entries and their keys, dropped
// files, and the file named when the program starts.
#pragma once

#include "calc_core/design_tab.h"

#include <QKeySequence>
#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <string>

namespace main_window {

class DesignMenu;
class Orvalen;

class DesignFiles : public QObject {
    Q_OBJECT

  public:
    // Asks the user for a file to open (save false) or to save to, starting at `suggested`;
    // empty when the user cancels.
    using FileChooser = std::function<QString(bool save, const QString& suggested)>;

    // Sets up the form's keys and takes files dropped on the form or any of its boxes.
    DesignFiles(Orvalen* form, DesignMenu* menu);

    static QKeySequence OpenKey() { return QKeySequence(Qt::CTRL | Qt::Key_O); }
    static QKeySequence SaveKey() { return QKeySequence(Qt::CTRL | Qt::Key_S); }
    static QString NameFilter();

    // Replaces the file dialog, for tests; the program uses the real one.
    void setFileChooser(FileChooser chooser) { m_choose = std::move(chooser); }

    // Reads the file whole first: one that cannot be read is a message naming it and the place,
    // and nothing shown changes. Else the form enters and presses its design, and the analysis
    // opens with its settings and fit when the press recorded a design. False when unread.
    bool open(const QString& path);
    // Saves the tab's boxes and diode choice, the analysis window's settings and fit when it is
    // open for that tab (else the defaults), and the note of the file last opened on that tab.
    // Refused with a message when a box holds no number; false then, or when it cannot be
    // written (QSaveFile: the old file stays).
    bool save(calc_core::Tab tab, const QString& path);
    // The menu's and the shortcuts' actions: a file dialog, then open or save.
    void chooseAndOpen();
    void chooseAndSave(calc_core::Tab tab);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QString defaultChoice(bool save, const QString& suggested);
    QString suggestion(calc_core::Tab tab) const;

    Orvalen* m_form;
    DesignMenu* m_menu;
    FileChooser m_choose;
    // By tab: the note of the file last opened there, and the file last opened or saved.
    std::array<std::string, 2> m_notes;
    std::array<QString, 2> m_paths;
};

} // namespace main_window
