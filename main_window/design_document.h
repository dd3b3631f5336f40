// The design file open in the window, as a desktop program keeps a document: the file and its
// tab, whether the tab's inputs, the analysis settings or the fit changed since it was opened or
// saved, the titles that name it with the modified mark, and the question before changes are
// lost by closing the window or opening another design.
#pragma once

#include "calc_core/design_tab.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace analysis_window {
class AnalysisWindow;
}

namespace main_window {

class DesignMenu;

class DesignDocument : public QObject {
    Q_OBJECT

  public:
    enum class Answer { Save, Discard, Cancel };
    // Asks whether to save the changes to the named file before `doing` ("closing"); the
    // program asks with a message box of Save, Discard and Cancel.
    using SaveQuestion = std::function<Answer(const QString& fileName, const QString& doing)>;
    // Saves the tab's design to the file; false, having said why, when it cannot.
    using Saver = std::function<bool(calc_core::Tab tab, const QString& path)>;

    // Watches both tabs' boxes and diode choices, the analysis window once it is made, and the
    // form's close.
    DesignDocument(QWidget* form, DesignMenu* menu, Saver save);

    // Replaces the message box, for tests; none puts it back.
    void setSaveQuestion(SaveQuestion question) { m_ask = std::move(question); }

    // The file just opened or saved on the tab, with its note, is the open design, unchanged.
    void setFile(calc_core::Tab tab, const QString& path, const std::string& note);

    std::optional<calc_core::Tab> tab() const { return m_tab; }
    const QString& path() const { return m_path; }
    bool isModified() const { return m_modified; }

    // Whether the open design may be left before `doing`: it has no changes, or the user saved
    // them or let them go. False when the user cancels or the save fails.
    bool mayLeave(const QString& doing);

  protected:
    // The form's close waits for mayLeave.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void watchInputs();
    void watchAnalysis(analysis_window::AnalysisWindow* window);
    void changed(calc_core::Tab tab);
    void showTitles();

    QWidget* m_form;
    analysis_window::AnalysisWindow* m_window = nullptr; // once the menu has made it
    Saver m_save;
    SaveQuestion m_ask;                  // none: the message box
    std::optional<calc_core::Tab> m_tab; // none until a file is opened or saved
    QString m_path;
    std::string m_note;
    bool m_modified = false;
};

} // namespace main_window
