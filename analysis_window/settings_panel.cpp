// The settings group, built in one loop over the settings table: a page for each of the table's
// groups, its compact rows up to three a line as the width allows (or one a line beside lists),
// each list a column with its Open… button and the label that says what is wrong with it.
#include "analysis_window/settings_panel.h"

#include "analysis_window/control_shortcuts.h"
#include "analysis_window/qt_text.h"
#include "analysis_window/setting_controls.h"
#include "analysis_window/text_setting.h"
#include "calc_core/list_text.h"
#include "calc_core/setting_notices.h"
#include "calc_core/setting_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace analysis_window {
namespace {

using calc_core::SettingGroup;
using calc_core::SettingKind;
using calc_core::SettingRow;

// Three settings a line at most, each a label and its control, where a page has no lists.
constexpr int SettingsPerLine = 3;
// A list shows this many lines and scrolls for more.
constexpr double ListLines = 6.5;

bool HasLists(SettingGroup group) {
    const auto rows = calc_core::SettingRows();
    return std::any_of(rows.begin(), rows.end(), [group](const SettingRow& row) {
        return row.group == group && row.kind == SettingKind::List;
    });
}

// Raises changed() of the panel when a control that holds its value changes.
void ConnectHeldValue(QWidget* control, SettingsPanel* panel) {
    if (auto* number = qobject_cast<QDoubleSpinBox*>(control)) {
        QObject::connect(number, &QDoubleSpinBox::valueChanged, panel, &SettingsPanel::changed);
    } else if (auto* whole = qobject_cast<QSpinBox*>(control)) {
        // A count of boards may start a long estimate: taken when typed in whole.
        whole->setKeyboardTracking(false);
        QObject::connect(whole, &QSpinBox::valueChanged, panel, &SettingsPanel::changed);
    } else if (auto* choice = qobject_cast<QComboBox*>(control)) {
        QObject::connect(choice, &QComboBox::currentIndexChanged, panel, &SettingsPanel::changed);
    } else if (auto* check = qobject_cast<QCheckBox*>(control)) {
        QObject::connect(check, &QCheckBox::toggled, panel, &SettingsPanel::changed);
    }
}

// A group's page that scrolls across when the window is narrower than its controls, and keeps
// the height of its controls as they are arranged, so that none is cut below.
class GroupScroll : public QScrollArea {
  public:
    explicit GroupScroll(std::function<int()> widest) : m_widest(std::move(widest)) {}

    // Room for the controls the most a line, which the window opens with when it can.
    QSize sizeHint() const override {
        return QSize(m_widest(), widget()->sizeHint().height()) +
               QSize(2 * frameWidth(), 2 * frameWidth());
    }
    QSize minimumSizeHint() const override {
        return {QScrollArea::minimumSizeHint().width(),
                widget()->minimumSizeHint().height() + 2 * frameWidth()};
    }

  private:
    std::function<int()> m_widest;
};

// "part grades", as a sentence names the list.
QString LowerLabel(const SettingRow& row) {
    return ToQString(row.label).toLower();
}

} // namespace

SettingsPanel::SettingsPanel(QWidget* parent) : QGroupBox(QStringLiteral("Settings"), parent) {
    m_groups = new QTabWidget;
    m_groups->setObjectName(QStringLiteral("SettingsGroups"));
    m_groups->setDocumentMode(true);
    m_groups->tabBar()->setAccessibleName(QStringLiteral("Settings groups"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_groups);
    buildGroupPages();
    for (const SettingRow& row : calc_core::SettingRows()) {
        QWidget* control = MakeSettingControl(row);
        Control entry{&row, control};
        QLabel* problem = nullptr;
        if (TypedAsText(row)) {
            problem = new QLabel;
            entry.text = new TextSetting(row, control, problem, &m_taken);
            connect(entry.text, &TextSetting::changed, this, &SettingsPanel::changed);
        } else {
            ConnectHeldValue(control, this);
        }
        if (row.kind == SettingKind::List) {
            entry.notice = placeList(row, control, problem);
        } else {
            place(row, control, problem);
        }
        m_controls.push_back(entry);
    }
    for (GroupPage& page : m_pages) {
        if (page.grid) {
            arrange(page, page.mostPerLine);
        }
    }
}

// Puts the grid's rows perLine a line, in the table's order, the controls' columns stretching.
void SettingsPanel::arrange(GroupPage& page, int perLine) {
    page.perLine = perLine;
    for (std::size_t k = 0; k < page.cells.size(); ++k) {
        const GridCell& cell = page.cells[k];
        const int line = int(k) / perLine * 2;
        const int column = int(k) % perLine * 2;
        for (QWidget* widget : {static_cast<QWidget*>(cell.label), cell.control,
                                static_cast<QWidget*>(cell.problem)}) {
            if (widget) {
                page.grid->removeWidget(widget);
            }
        }
        page.grid->addWidget(cell.label, line, column);
        page.grid->addWidget(cell.control, line, column + 1);
        if (cell.problem) {
            page.grid->addWidget(cell.problem, line + 1, column + 1);
        }
    }
    for (int column = 0; column < page.grid->columnCount(); ++column) {
        page.grid->setColumnStretch(column, column % 2 == 1 && column < perLine * 2 ? 1 : 0);
    }
    if (page.viewport) {
        page.viewport->parentWidget()->updateGeometry(); // the page's height changes
    }
}

// The width the grid's rows take, perLine a line: as many of the widest label and control.
int SettingsPanel::WidthFor(const GroupPage& page, int perLine) {
    int label = 0;
    int control = 0;
    for (const GridCell& cell : page.cells) {
        label = std::max(label, cell.label->sizeHint().width());
        control = std::max(control, cell.control->sizeHint().width());
    }
    const int spacing = std::max(page.grid->horizontalSpacing(), 6);
    const QMargins margins = page.page->layout()->contentsMargins();
    return perLine * (label + control) + (2 * perLine - 1) * spacing + margins.left() +
           margins.right();
}

// The most rows a line, up to the page's most, whose labels and controls fit the width.
int SettingsPanel::perLineFor(const GroupPage& page, int width) {
    for (int perLine = page.mostPerLine; perLine > 1; --perLine) {
        if (WidthFor(page, perLine) <= width) {
            return perLine;
        }
    }
    return 1;
}

bool SettingsPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) {
        for (GroupPage& page : m_pages) {
            if (page.viewport == watched && page.grid && page.mostPerLine > 1) {
                const int fits =
                    perLineFor(page, static_cast<QResizeEvent*>(event)->size().width());
                if (fits != page.perLine) {
                    arrange(page, fits);
                }
            }
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

void SettingsPanel::buildGroupPages() {
    for (SettingGroup group : calc_core::AllSettingGroups) {
        GroupPage page;
        page.page = new QWidget;
        page.page->setObjectName(ToQString(calc_core::SettingGroupName(group)));
        auto* outer = new QVBoxLayout(page.page);
        page.columns = new QHBoxLayout;
        outer->addLayout(page.columns);
        outer->addStretch(1);
        page.mostPerLine = HasLists(group) ? 1 : SettingsPerLine;
        const std::size_t index = m_pages.size();
        auto* scroll = new GroupScroll([this, index] {
            const GroupPage& shown = m_pages[index];
            return shown.grid ? std::max(WidthFor(shown, shown.mostPerLine),
                                         shown.page->sizeHint().width())
                              : shown.page->sizeHint().width();
        });
        scroll->setWidget(page.page);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setFocusPolicy(Qt::NoFocus); // Tab goes through the controls, and scrolls to each
        page.viewport = scroll->viewport();
        page.viewport->installEventFilter(this);
        m_groups->addTab(scroll, ToQString(calc_core::SettingGroupName(group)));
        m_pages.push_back(page);
    }
}

SettingsPanel::GroupPage& SettingsPanel::pageOf(SettingGroup group) {
    return m_pages[std::size_t(group)];
}

// A compact row: its label and control in the group's grid, a typed one's problem under it.
void SettingsPanel::place(const SettingRow& row, QWidget* control, QLabel* problem) {
    GroupPage& page = pageOf(row.group);
    if (!page.grid) {
        page.grid = new QGridLayout;
        page.columns->addLayout(page.grid, 2);
    }
    const QString caption = CaptionWithShortcut(row.id, row.label);
    auto* label = new QLabel(caption);
    label->setBuddy(control);
    if (const QChar letter = ShortcutLetter(caption); !letter.isNull()) {
        m_letters += letter;
    }
    page.cells.push_back({label, control, problem});
}

// A list: a column of its label with the Open… button, the text, the problem's label and the
// notice's, which it returns.
QLabel* SettingsPanel::placeList(const SettingRow& row, QWidget* control, QLabel* problem) {
    GroupPage& page = pageOf(row.group);
    const QString caption = CaptionWithShortcut(row.id, row.label);
    auto* label = new QLabel(caption);
    label->setBuddy(control);
    if (const QChar letter = ShortcutLetter(caption); !letter.isNull()) {
        m_letters += letter;
    }
    auto* open = new QPushButton(QStringLiteral("Open\u2026"));
    open->setObjectName(ToQString(row.id) + QStringLiteral("Open"));
    open->setAccessibleName(QStringLiteral("Open a file of ") + LowerLabel(row));
    open->setToolTip(
        QStringLiteral("Reads the %1 from a text file, one entry a line").arg(LowerLabel(row)));
    open->setAutoDefault(false);
    connect(open, &QPushButton::clicked, this, [this, &row] { chooseListFile(row); });
    auto* head = new QHBoxLayout;
    head->addWidget(label);
    head->addStretch(1);
    head->addWidget(open);
    auto* column = new QVBoxLayout;
    column->addLayout(head);
    column->addWidget(control);
    column->addWidget(problem);
    auto* notice = new QLabel;
    notice->setObjectName(ToQString(row.id) + QStringLiteral("Notice"));
    notice->setWordWrap(true);
    notice->hide();
    column->addWidget(notice);
    control->setFixedHeight(int(control->fontMetrics().lineSpacing() * ListLines) +
                            2 * static_cast<QFrame*>(control)->frameWidth() + 8);
    page.columns->addLayout(column, 3);
    return notice;
}

void SettingsPanel::chooseListFile(const SettingRow& row) {
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Open the ") + LowerLabel(row), QString(),
                                     QStringLiteral("Text files (*.txt *.csv);;All files (*)"));
    if (!path.isEmpty()) {
        openList(row, path);
    }
}

bool SettingsPanel::openList(const SettingRow& row, const QString& path) {
    const Control& control = controlOf(row);
    QFile file(path);
    const QString name = QFileInfo(path).fileName();
    if (!file.open(QIODevice::ReadOnly)) {
        control.text->showProblem(
            QStringLiteral("%1 cannot be read: %2.").arg(name, file.errorString()));
        return false;
    }
    // Read one byte past the cap, as a pipe or a growing file has no size to trust.
    const QByteArray bytes = file.read(qint64(calc_core::MaxListBytes) + 1);
    if (bytes.size() > qint64(calc_core::MaxListBytes)) {
        control.text->showProblem(QStringLiteral("%1 is larger than %2 MB, too large for a list.")
                                      .arg(name)
                                      .arg(qint64(calc_core::MaxListBytes) >> 20));
        return false;
    }
    // A file with no entry is refused, as the command line refuses it; an emptied box is none.
    calc_core::AnalysisSettings scratch;
    if (const std::string problem = calc_core::ReadSettingText(row, bytes.toStdString(), scratch);
        !problem.empty()) {
        control.text->showProblem(ToQString(problem));
        return false;
    }
    return control.text->setText(QString::fromUtf8(bytes));
}

const SettingsPanel::Control& SettingsPanel::controlOf(const SettingRow& row) const {
    return *std::find_if(m_controls.begin(), m_controls.end(),
                         [&row](const Control& control) { return control.row == &row; });
}

void SettingsPanel::addToGroup(SettingGroup group, QWidget* widget) {
    auto* outer = static_cast<QVBoxLayout*>(pageOf(group).page->layout());
    outer->insertWidget(outer->count() - 1, widget); // above the stretch
}

void SettingsPanel::markGroupTitles(const std::function<QString(const QString&)>& mark) {
    for (int i = 0; i < m_groups->count(); ++i) {
        m_groups->setTabText(i, mark(m_groups->tabText(i)));
    }
}

calc_core::AnalysisSettings SettingsPanel::settings() const {
    calc_core::AnalysisSettings settings = m_taken;
    for (const Control& control : m_controls) {
        if (!control.text) {
            ReadControl(*control.row, control.widget, settings);
        }
    }
    return settings;
}

void SettingsPanel::setSettings(const calc_core::AnalysisSettings& settings) {
    m_taken = settings;
    for (const Control& control : m_controls) {
        if (control.text) {
            control.text->show(settings);
        } else {
            ShowInControl(*control.row, control.widget, settings);
        }
    }
}

void SettingsPanel::showNotices(const calc_core::AnalysisSettings& settings) {
    const std::vector<calc_core::SettingNotice> notices = calc_core::SettingNotices(settings);
    for (const Control& control : m_controls) {
        if (!control.notice) {
            continue;
        }
        const auto notice =
            std::find_if(notices.begin(), notices.end(),
                         [&control](const auto& notice) { return notice.row == control.row; });
        control.notice->setText(notice == notices.end() ? QString() : ToQString(notice->text));
        control.notice->setVisible(notice != notices.end());
    }
}

void SettingsPanel::setDiode(bool diode) {
    for (const Control& control : m_controls) {
        if (control.row->diodeOnly) {
            control.widget->setEnabled(diode);
        }
    }
}

} // namespace analysis_window
