// The window's design files: QFileDialog to choose, the design file library to read, QSaveFile to
// write, and an event filter for dropped files.
#include "main_window/design_files.h"

#include "analysis_window/analysis_window.h"
#include "analysis_window/qt_text.h"
#include "design_file/design_file_reader.h"
#include "design_file/design_file_writer.h"
#include "main_window/design_document.h"
#include "main_window/design_menu.h"
#include "main_window/orvalen.h"
#include "main_window/recent_designs.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QSaveFile>
#include <QShortcut>

namespace main_window {
namespace {

using analysis_window::ToQString;

// The first local file of a drag, when it is a design file.
QString DroppedDesign(const QMimeData* mime) {
    if (!mime || !mime->hasUrls()) {
        return {};
    }
    for (const QUrl& url : mime->urls()) {
        QString path = url.toLocalFile();
        if (path.endsWith(ToQString(design_file::Extension), Qt::CaseInsensitive)) {
            return path;
        }
    }
    return {};
}

} // namespace

DesignFiles::DesignFiles(Orvalen* form, DesignMenu* menu)
    : QObject(form), m_form(form), m_menu(menu),
      m_document(new DesignDocument(
          form, menu, [this](calc_core::Tab tab, const QString& path) { return save(tab, path); })),
      m_choose(
          [this](bool save, const QString& suggested) { return defaultChoice(save, suggested); }) {
    setObjectName(QStringLiteral("DesignFiles"));
    addShortcuts();
    // What the window changes is the tab's to save, even after it shows the other tab.
    connect(menu, &DesignMenu::analysisWindowMade, this,
            [this](analysis_window::AnalysisWindow* window) {
                connect(window, &analysis_window::AnalysisWindow::edited, this, [this, window] {
                    m_analyses[std::size_t(window->tab())] = {window->settings(), window->fit(),
                                                              window->estimatesYield()};
                });
            });
    // A box takes dropped text itself; a dropped design file is the form's.
    form->setAcceptDrops(true);
    form->installEventFilter(this);
    for (QLineEdit* box : form->findChildren<QLineEdit*>()) {
        box->installEventFilter(this);
    }
}

void DesignFiles::addShortcuts() {
    auto* open = new QShortcut(OpenKey(), m_form);
    open->setObjectName(QStringLiteral("OpenShortcut"));
    connect(open, &QShortcut::activated, this, &DesignFiles::chooseAndOpen);
    // Only the Calc and Check tabs have a design to save.
    const std::pair<QKeySequence, void (DesignFiles::*)(calc_core::Tab)> saves[] = {
        {SaveKey(), &DesignFiles::saveDesign}, {SaveAsKey(), &DesignFiles::chooseAndSave}};
    for (const auto& save : saves) {
        auto* shortcut = new QShortcut(save.first, m_form);
        connect(shortcut, &QShortcut::activated, this, [this, action = save.second] {
            if (const auto tab = m_form->frontDesignTab()) {
                (this->*action)(*tab);
            }
        });
    }
}

QString DesignFiles::NameFilter() {
    return QStringLiteral("Orvalex KEP designs (*%1)").arg(ToQString(design_file::Extension));
}

QString DesignFiles::defaultChoice(bool save, const QString& suggested) {
    QFileDialog dialog(m_form, save ? QStringLiteral("Save design") : QStringLiteral("Open design"),
                       suggested, NameFilter());
    dialog.setObjectName(save ? QStringLiteral("SaveDesignDialog")
                              : QStringLiteral("OpenDesignDialog"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(ToQString(design_file::Extension).mid(1));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

// Where the save dialog starts: the tab's last file, else a new file in the home folder.
QString DesignFiles::suggestion(calc_core::Tab tab) const {
    const QString& last = m_paths[std::size_t(tab)];
    return last.isEmpty()
               ? QDir::home().filePath(QStringLiteral("design") + ToQString(design_file::Extension))
               : last;
}

void DesignFiles::chooseAndOpen() {
    const auto tab = m_form->frontDesignTab();
    const QString path = m_choose(false, tab ? QFileInfo(suggestion(*tab)).path() : QString());
    if (!path.isEmpty()) {
        open(path);
    }
}

void DesignFiles::chooseAndSave(calc_core::Tab tab) {
    const QString path = m_choose(true, suggestion(tab));
    if (!path.isEmpty()) {
        save(tab, path);
    }
}

void DesignFiles::saveDesign(calc_core::Tab tab) {
    if (m_document->tab() == tab) {
        save(tab, m_document->path());
    } else {
        chooseAndSave(tab);
    }
}

bool DesignFiles::openRecent(const QString& path) {
    if (!QFileInfo::exists(path)) {
        RemoveRecentDesign(path);
        m_form->ShowMessage(QStringLiteral("%1 is no longer there; it is taken off the recent "
                                           "designs.")
                                .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    return open(path);
}

bool DesignFiles::open(const QString& path) {
    const QFileInfo file(path);
    const design_file::DesignRead read = design_file::ReadDesignFile(
        file.filesystemAbsoluteFilePath(), file.fileName().toStdString());
    if (!read.design) {
        m_form->ShowMessage(ToQString(read.error));
        return false;
    }
    if (!m_document->mayLeave(QStringLiteral("opening %1").arg(file.fileName()))) {
        return false;
    }
    const design_file::Design& design = *read.design;
    const auto tab = std::size_t(design.tab);
    m_notes[tab] = design.note;
    m_paths[tab] = file.absoluteFilePath();
    m_analyses[tab] = {design.settings, design.fit, design.yieldEstimated};
    if (m_form->enterDesign(design)) {
        m_menu->openAnalysis(design.tab, design.settings, design.fit, design.yieldEstimated);
    }
    AddRecentDesign(file.absoluteFilePath());
    m_document->setFile(design.tab, file.absoluteFilePath(), design.note);
    return true;
}

// The window's when it shows the tab; else the tab's file's, or as last changed there.
DesignFiles::KeptAnalysis DesignFiles::analysisOf(calc_core::Tab tab) const {
    const analysis_window::AnalysisWindow* window = m_menu->analysisWindow();
    if (window && window->isVisible() && window->tab() == tab) {
        return {window->settings(), window->fit(), window->estimatesYield()};
    }
    return m_analyses[std::size_t(tab)].value_or(KeptAnalysis{});
}

bool DesignFiles::save(calc_core::Tab tab, const QString& path) {
    QString why;
    std::optional<design_file::Design> design = m_form->tabDesign(tab, why);
    if (!design) {
        m_form->ShowMessage(why);
        return false;
    }
    const KeptAnalysis analysis = analysisOf(tab);
    design->settings = analysis.settings;
    design->fit = analysis.fit;
    design->yieldEstimated = analysis.yieldEstimated;
    design->note = m_notes[std::size_t(tab)];
    const std::string text = design_file::DesignText(*design);
    if (const std::string reason = design_file::OversizeRefusal(text); !reason.empty()) {
        m_form->ShowMessage(QStringLiteral("%1 cannot be saved: %2.")
                                .arg(QFileInfo(path).fileName(), QString::fromStdString(reason)));
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), qint64(text.size())) != qint64(text.size()) || !file.commit()) {
        m_form->ShowMessage(QStringLiteral("%1 cannot be saved: %2.")
                                .arg(QFileInfo(path).fileName(), file.errorString()));
        return false;
    }
    const QString saved = QFileInfo(path).absoluteFilePath();
    m_paths[std::size_t(tab)] = saved;
    AddRecentDesign(saved);
    m_document->setFile(tab, saved, design->note);
    return true;
}

bool DesignFiles::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (DroppedDesign(drag->mimeData()).isEmpty()) {
            return false;
        }
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString path = DroppedDesign(drop->mimeData());
        if (path.isEmpty()) {
            return false;
        }
        drop->acceptProposedAction();
        open(path);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace main_window
