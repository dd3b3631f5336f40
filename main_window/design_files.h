// Opening and saving design files in the window: the menu's entries and their keys, dropped
// files, and the file named when the program starts.
#pragma once

#include "calc_core/analysis_settings.h"
#include "calc_core/design_analysis.h"
#include "calc_core/design_tab.h"

#include <QKeySequence>
#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace main_window {

class DesignDocument;
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
    static QKeySequence SaveAsKey() { return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S); }
    static QString NameFilter();

    // Replaces the file dialog, for tests; the program uses the real one.
    void setFileChooser(FileChooser chooser) { m_choose = std::move(chooser); }

    // The open design file: its changes, its titles and the question before they are lost.
    DesignDocument* document() const { return m_document; }

    // Reads the file whole first: one that cannot be read is a message naming it and the place,
    // and nothing shown changes. Else the form enters and presses its design, and the analysis
    // opens with its settings, fit and yield estimate when the press recorded a design; it is the
    // open design then, first among the recent ones. False when unread, or when the user keeps
    // the open design's changes rather than leave them.
    bool open(const QString& path);
    // Saves the tab's boxes and diode choice, the analysis's settings, fit and yield estimate
    // (the window's when it shows that tab, else the tab's file's or as last changed there, else
    // the defaults), and the note of the file last opened on that tab; the file is then the open
    // design. Refused with a message when a box holds no number; false then, or when it cannot be
    // written (QSaveFile: the old file stays).
    bool save(calc_core::Tab tab, const QString& path);
    // The menu's and the shortcuts' actions: a file dialog, then open or save (Save design as).
    void chooseAndOpen();
    void chooseAndSave(calc_core::Tab tab);
    // Save design: to the open design's file when it is the tab's, else as chooseAndSave.
    void saveDesign(calc_core::Tab tab);
    // A recent design: opened, or when it is no longer there, a message and off the list.
    bool openRecent(const QString& path);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // What a design file keeps of the analysis beside the tab's inputs.
    struct KeptAnalysis {
        calc_core::AnalysisSettings settings;
        std::optional<calc_core::FitChoice> fit;
        bool yieldEstimated = false;
    };

    QString defaultChoice(bool save, const QString& suggested);
    QString suggestion(calc_core::Tab tab) const;
    void addShortcuts();
    KeptAnalysis analysisOf(calc_core::Tab tab) const;

    Orvalen* m_form;
    DesignMenu* m_menu;
    DesignDocument* m_document;
    FileChooser m_choose;
    // By tab: the analysis of the file opened there, or as last changed in the window there.
    std::array<std::optional<KeptAnalysis>, 2> m_analyses;
    // By tab: the note of the file last opened there, and the file last opened or saved.
    std::array<std::string, 2> m_notes;
    std::array<QString, 2> m_paths;
};

} // namespace main_window
