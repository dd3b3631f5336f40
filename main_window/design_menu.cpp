// The right-click menu of the Calc and Check pages and the shortcut of the design analysis.
#include "main_window/design_menu.h"

#include "analysis_window/analysis_window.h"
#include "analysis_window/qt_text.h"
#include "main_window/about_box.h"
#include "main_window/control_table.h"
#include "main_window/design_files.h"
#include "main_window/recent_designs.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>
#include <QTabWidget>

namespace main_window {

using analysis_window::ToQString;

DesignMenu::DesignMenu(QWidget* form, QTabWidget* tabs, const DesignRecord* record,
                       std::span<QWidget* const> ownMenus, std::span<QWidget* const> hinted)
    : QObject(form), m_form(form), m_tabs(tabs), m_record(record) {
    setObjectName(QStringLiteral("DesignMenu"));
    m_pages = {tabs->widget(PageIndex(calc_core::Tab::Calc)),
               tabs->widget(PageIndex(calc_core::Tab::Check))};
    // A right click anywhere else on a page reaches the page: labels, frames and buttons
    // leave it to their parent.
    for (QWidget* page : m_pages) {
        page->installEventFilter(this);
    }
    // Their own menus: the edit menu of a box gets the entries added, a result label's is
    // replaced.
    for (QWidget* control : ownMenus) {
        control->installEventFilter(this);
    }
    for (QWidget* control : hinted) {
        control->setToolTip(Hint());
    }
    auto* shortcut = new QShortcut(AnalyseKey(), form);
    shortcut->setObjectName(QStringLiteral("AnalyseShortcut"));
    connect(shortcut, &QShortcut::activated, this, [this] {
        if (const auto tab = tabOf(m_tabs->currentWidget())) {
            openAnalysis(*tab);
        }
    });
}

QString DesignMenu::Hint() {
    return QStringLiteral("Right-click, or press %1, for the design analysis of this tab's last "
                          "CAL: levels, pin faults, preferred values and tolerances.")
        .arg(AnalyseKey().toString(QKeySequence::NativeText));
}

analysis_window::AnalysisWindow* DesignMenu::window() {
    if (!m_window) {
        m_window = new analysis_window::AnalysisWindow(m_record, m_form);
        emit analysisWindowMade(m_window);
    }
    return m_window;
}

bool DesignMenu::openAnalysis(calc_core::Tab tab) {
    if (!m_record->design(tab)) {
        return false;
    }
    window()->showDesign(tab);
    return true;
}

bool DesignMenu::openAnalysis(calc_core::Tab tab, const calc_core::AnalysisSettings& settings,
                              const std::optional<calc_core::FitChoice>& fit, bool estimateYield) {
    if (!m_record->design(tab)) {
        return false;
    }
    window()->showDesign(tab, settings, fit, estimateYield);
    return true;
}

// Open, the recent designs, Save and Save as, with the keys the form's shortcuts answer.
void DesignMenu::addFileActions(QMenu* menu, calc_core::Tab tab) {
    if (!m_files) {
        return;
    }
    QAction* open = menu->addAction(QStringLiteral("Open design\u2026"));
    open->setObjectName(QStringLiteral("OpenDesign"));
    open->setShortcut(DesignFiles::OpenKey());
    open->setShortcutVisibleInContextMenu(true);
    connect(open, &QAction::triggered, m_files, &DesignFiles::chooseAndOpen);
    addRecentDesigns(menu);
    QAction* save = menu->addAction(QStringLiteral("Save design"));
    save->setObjectName(QStringLiteral("SaveDesign"));
    save->setShortcut(DesignFiles::SaveKey());
    save->setShortcutVisibleInContextMenu(true);
    connect(save, &QAction::triggered, m_files, [this, tab] { m_files->saveDesign(tab); });
    QAction* saveAs = menu->addAction(QStringLiteral("Save design as\u2026"));
    saveAs->setObjectName(QStringLiteral("SaveDesignAs"));
    saveAs->setShortcut(DesignFiles::SaveAsKey());
    saveAs->setShortcutVisibleInContextMenu(true);
    connect(saveAs, &QAction::triggered, m_files, [this, tab] { m_files->chooseAndSave(tab); });
    menu->addSeparator();
}

// A submenu of the files opened or saved last, newest first; disabled while there are none.
void DesignMenu::addRecentDesigns(QMenu* menu) {
    QMenu* recent = menu->addMenu(QStringLiteral("Recent designs"));
    recent->setObjectName(QStringLiteral("RecentDesigns"));
    recent->setToolTipsVisible(true);
    const QStringList paths = RecentDesigns();
    recent->setEnabled(!paths.isEmpty());
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString& path = paths[i];
        QAction* entry =
            recent->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        entry->setObjectName(QStringLiteral("RecentDesign%1").arg(i + 1));
        entry->setToolTip(QDir::toNativeSeparators(path));
        connect(entry, &QAction::triggered, m_files, [this, path] { m_files->openRecent(path); });
    }
}

bool DesignMenu::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ContextMenu) {
        return false;
    }
    auto* widget = static_cast<QWidget*>(watched); // only widgets are watched
    const auto tab = tabOf(widget);
    if (!tab) {
        return false;
    }
    showMenu(widget, *tab, static_cast<QContextMenuEvent*>(event)->globalPos());
    return true;
}

std::optional<calc_core::Tab> DesignMenu::tabOf(const QWidget* widget) const {
    for (std::size_t i = 0; i < m_pages.size(); ++i) {
        if (widget && (widget == m_pages[i] || m_pages[i]->isAncestorOf(widget))) {
            return calc_core::Tab(i);
        }
    }
    return std::nullopt;
}

void DesignMenu::showMenu(QWidget* target, calc_core::Tab tab, const QPoint& globalPos) {
    QMenu* menu = nullptr;
    if (auto* box = qobject_cast<QLineEdit*>(target)) {
        menu = box->createStandardContextMenu();
        menu->addSeparator();
    } else {
        menu = new QMenu(target);
        if (auto* label = qobject_cast<QLabel*>(target)) {
            QAction* copy = menu->addAction(QStringLiteral("Copy"));
            copy->setObjectName(QStringLiteral("CopyResult"));
            copy->setEnabled(!label->text().isEmpty());
            connect(copy, &QAction::triggered, label,
                    [label] { QGuiApplication::clipboard()->setText(label->text()); });
            menu->addSeparator();
        }
    }
    menu->setObjectName(QStringLiteral("DesignMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setToolTipsVisible(true);

    const bool ready = m_record->design(tab).has_value();
    QAction* analyse = menu->addAction(ready ? QStringLiteral("Analyse design\u2026")
                                             : QStringLiteral("Analyse design\u2026 (press CAL "
                                                              "first)"));
    analyse->setObjectName(QStringLiteral("AnalyseDesign"));
    analyse->setShortcut(AnalyseKey());
    analyse->setShortcutVisibleInContextMenu(true);
    analyse->setEnabled(ready);
    if (!ready) {
        const QString why = QStringLiteral("Press CAL first: the analysis takes the design of "
                                           "this tab's last CAL.");
        analyse->setToolTip(why);
        analyse->setStatusTip(why);
    }
    connect(analyse, &QAction::triggered, this, [this, tab] { openAnalysis(tab); });
    menu->addSeparator();
    addFileActions(menu, tab);
    QAction* about = menu->addAction(QStringLiteral("About ") + ToQString(FormCaption));
    about->setObjectName(QStringLiteral("About"));
    connect(about, &QAction::triggered, this, [this] { ShowAbout(m_form); });
    menu->popup(globalPos);
}

} // namespace main_window
