// Taking a typed setting: a single-shot timer restarted by each change, the control's focus out,
// and the problem's label.
#include "analysis_window/text_setting.h"

#include "analysis_window/qt_text.h"
#include "analysis_window/setting_controls.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>

namespace analysis_window {

TextSetting::TextSetting(const calc_core::SettingRow& row, QWidget* control, QLabel* problem,
                         calc_core::AnalysisSettings* taken)
    : QObject(control), m_row(row), m_control(control), m_problem(problem), m_taken(taken) {
    m_pause.setSingleShot(true);
    m_pause.setInterval(PauseMs);
    connect(&m_pause, &QTimer::timeout, this, [this] { take(); });
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        connect(edit, &QLineEdit::textEdited, &m_pause, qOverload<>(&QTimer::start));
        connect(edit, &QLineEdit::editingFinished, this, [this] { take(); });
    } else if (auto* list = qobject_cast<QPlainTextEdit*>(control)) {
        connect(list, &QPlainTextEdit::textChanged, &m_pause, qOverload<>(&QTimer::start));
        list->installEventFilter(this);
    }
    m_problem->setWordWrap(true);
    m_problem->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_problem->setObjectName(ToQString(row.id) + QStringLiteral("Problem"));
    m_problem->hide();
}

void TextSetting::show(const calc_core::AnalysisSettings& settings) {
    m_pause.stop();
    ShowInControl(m_row, m_control, settings);
    showProblem({});
}

bool TextSetting::take() {
    m_pause.stop();
    const std::string before = calc_core::SettingText(m_row, *m_taken);
    const std::string problem =
        ReadSettingText(m_row, TypedText(m_control).toStdString(), *m_taken);
    showProblem(ToQString(problem));
    if (calc_core::SettingText(m_row, *m_taken) != before) {
        emit changed();
    }
    return problem.empty();
}

bool TextSetting::setText(const QString& text) {
    {
        const QSignalBlocker blocker(m_control);
        if (auto* edit = qobject_cast<QLineEdit*>(m_control)) {
            edit->setText(text);
        } else if (auto* list = qobject_cast<QPlainTextEdit*>(m_control)) {
            list->setPlainText(text);
        }
    }
    return take();
}

void TextSetting::showProblem(const QString& sentence) {
    m_problem->setText(sentence);
    m_problem->setVisible(!sentence.isEmpty());
    // Read out with the control, for those who do not see the label.
    m_control->setAccessibleDescription(sentence);
}

bool TextSetting::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_control && event->type() == QEvent::FocusOut && m_pause.isActive()) {
        take();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace analysis_window
