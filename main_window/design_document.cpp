// The open design file: its changes watched through the controls' signals, its titles, and Qt's
// standard Save, Discard and Cancel before changes are lost.
#include "main_window/design_document.h"

#include "analysis_window/analysis_window.h"
#include "analysis_window/qt_text.h"
#include "main_window/control_table.h"
#include "main_window/design_menu.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

namespace main_window {
namespace {

using analysis_window::ToQString;

DesignDocument::Answer AskWithMessageBox(QWidget* form, const QString& fileName,
                                         const QString& doing) {
    QMessageBox box(QMessageBox::Warning, ToQString(ApplicationTitle),
                    QStringLiteral("Save the changes to %1 before %2?").arg(fileName, doing),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, form);
    box.setObjectName(QStringLiteral("SaveChanges"));
    box.setInformativeText(QStringLiteral("Changes that are not saved are lost."));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Save:
        return DesignDocument::Answer::Save;
    case QMessageBox::Discard:
        return DesignDocument::Answer::Discard;
    default:
        return DesignDocument::Answer::Cancel;
    }
}

// The controls whose change is a change of the tab's design: its boxes and its diode choice.
QString InputName(calc_core::Tab tab, bool box, int index) {
    const bool calc = tab == calc_core::Tab::Calc;
    return QStringLiteral("%1%2(%3)")
        .arg(box ? QStringLiteral("Text") : QStringLiteral("Option"))
        .arg(calc ? 1 : 2)
        .arg(index);
}

} // namespace

DesignDocument::DesignDocument(QWidget* form, DesignMenu* menu, Saver save)
    : QObject(form), m_form(form), m_save(std::move(save)) {
    setObjectName(QStringLiteral("DesignDocument"));
    watchInputs();
    connect(menu, &DesignMenu::analysisWindowMade, this, &DesignDocument::watchAnalysis);
    form->installEventFilter(this);
}

void DesignDocument::watchInputs() {
    for (const calc_core::Tab tab : {calc_core::Tab::Calc, calc_core::Tab::Check}) {
        for (int i = 0; i < 5; ++i) {
            if (auto* box = m_form->findChild<QLineEdit*>(InputName(tab, true, i))) {
                connect(box, &QLineEdit::textChanged, this, [this, tab] { changed(tab); });
            }
        }
        for (int i = 0; i < 2; ++i) {
            if (auto* option = m_form->findChild<QRadioButton*>(InputName(tab, false, i))) {
                connect(option, &QRadioButton::toggled, this, [this, tab] { changed(tab); });
            }
        }
    }
}

// The analysis's settings and fit belong to the design of the tab it shows.
void DesignDocument::watchAnalysis(analysis_window::AnalysisWindow* window) {
    m_window = window;
    connect(window, &analysis_window::AnalysisWindow::edited, this,
            [this, window] { changed(window->tab()); });
    showTitles();
}

void DesignDocument::setFile(calc_core::Tab tab, const QString& path, const std::string& note) {
    m_tab = tab;
    m_path = path;
    m_note = note;
    m_modified = false;
    showTitles();
}

void DesignDocument::changed(calc_core::Tab tab) {
    if (m_tab == tab && !m_modified) {
        m_modified = true;
        showTitles();
    }
}

// "worked.okep[*] — Orvalex KEP CAL", the mark shown after a change; the caption alone before a
// design is opened or saved.
void DesignDocument::showTitles() {
    const QString name = QFileInfo(m_path).fileName();
    const QString caption = ToQString(FormCaption);
    m_form->setWindowTitle(m_tab ? name + QStringLiteral("[*] \u2014 ") + caption : caption);
    m_form->setWindowModified(m_tab && m_modified);
    if (m_window) {
        m_window->setDocument(m_tab, name, m_note, m_modified);
    }
}

bool DesignDocument::mayLeave(const QString& doing) {
    if (!m_tab || !m_modified) {
        return true;
    }
    const QString name = QFileInfo(m_path).fileName();
    switch (m_ask ? m_ask(name, doing) : AskWithMessageBox(m_form, name, doing)) {
    case Answer::Save:
        return m_save(*m_tab, m_path);
    case Answer::Discard:
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

bool DesignDocument::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_form && event->type() == QEvent::Close &&
        !mayLeave(QStringLiteral("closing"))) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace main_window
