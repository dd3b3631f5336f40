// The shared fixture of the window tests.
#include "window_fixture.h"

#include "main_window/colour_value.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <utility>

namespace window_test {

// Sees every modal window as it opens and closes it from that window's own event loop: when
// exec() shows it, the loop that ends it has not started yet.
class ModalGuard : public QObject {
  public:
    std::function<void(QWidget*)> expected;
    QStringList stray;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* window = static_cast<QWidget*>(watched);
            if (window->isWindow() && window->isModal()) {
                Take(window);
            }
        }
        return false;
    }

  private:
    void Take(QWidget* window) {
        auto inspect = std::exchange(expected, {});
        if (!inspect) {
            auto* box = qobject_cast<QMessageBox*>(window);
            const QString what = QString("%1 '%2'%3")
                                     .arg(window->metaObject()->className(), window->windowTitle(),
                                          box ? QString(": '%1'").arg(box->text()) : QString());
            qWarning("unexpected modal window %s", qPrintable(what));
            stray << what;
        }
        QMetaObject::invokeMethod(
            window,
            [window, inspect] {
                if (inspect) {
                    inspect(window);
                }
                if (auto* dialog = qobject_cast<QDialog*>(window)) {
                    dialog->reject();
                } else {
                    window->close();
                }
            },
            Qt::QueuedConnection);
    }
};

QStringList Range(const char* array, int count) {
    QStringList names;
    for (int i = 0; i < count; ++i) {
        names << QString("%1(%2)").arg(array).arg(i);
    }
    return names;
}

WindowFixture::WindowFixture() : m_guard(std::make_unique<ModalGuard>()) {
    qApp->installEventFilter(m_guard.get());
    // The user's settings (the recent designs) go to a folder of the tests', never the user's.
    QStandardPaths::setTestModeEnabled(true);
}

WindowFixture::~WindowFixture() {
    qApp->removeEventFilter(m_guard.get());
}

bool WindowFixture::OpenForm() {
    prompts.clear();
    form = std::make_unique<main_window::Orvalen>();
    form->setMessageSink([this](const QString& prompt) { prompts << prompt; });
    m_controls.clear();
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (!w->objectName().isEmpty()) {
            m_controls.insert(w->objectName(), w);
        }
    }
    form->show();
    return QTest::qWaitForWindowActive(form.get());
}

void WindowFixture::CloseForm() {
    form.reset();
    m_controls.clear();
    const QStringList stray = TakeStrayModals();
    const bool unmet = bool(std::exchange(m_guard->expected, {}));
    QVERIFY2(stray.isEmpty(), qPrintable("unexpected modal window: " + stray.join("; ")));
    QVERIFY2(!unmet, "the expected modal window never opened");
}

void WindowFixture::ExpectModal(std::function<void(QWidget*)> inspect) {
    m_guard->expected = std::move(inspect);
}

QStringList WindowFixture::TakeStrayModals() {
    return std::exchange(m_guard->stray, {});
}

QTabWidget* WindowFixture::Tabs() const {
    return C<QTabWidget>("SSTab1");
}

QString WindowFixture::Text(const QString& name) const {
    auto* box = Find<QLineEdit>(name);
    return box ? box->text() : C<QLabel>(name)->text();
}

std::uint32_t WindowFixture::Colour(const QString& name) const {
    return main_window::BackColor(C(name));
}

void WindowFixture::Front(QWidget* control) const {
    QTabWidget* tabs = Tabs();
    for (QWidget* w = control; w; w = w->parentWidget()) {
        if (tabs->indexOf(w) >= 0) {
            tabs->setCurrentIndex(tabs->indexOf(w));
        }
    }
}

void WindowFixture::ClickTab(int tab) const {
    QTabBar* bar = Tabs()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
}

void WindowFixture::Click(const QString& name) const {
    auto* button = C<QAbstractButton>(name);
    Front(button);
    const bool radio = qobject_cast<QRadioButton*>(button);
    QTest::mouseClick(button, Qt::LeftButton, {},
                      radio ? QPoint(8, button->height() / 2) : button->rect().center());
}

void WindowFixture::Enter(QLineEdit* box, const QString& text, bool replace, Entry entry) const {
    QTest::mouseClick(box, Qt::LeftButton);
    if (replace) {
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Delete);
    } else {
        QTest::keyClick(box, Qt::Key_End);
    }
    if (entry == Entry::Typed) {
        for (QChar c : text) {
            if (c.unicode() < 0x7F) {
                QTest::keyClick(box, c.toLatin1());
            } else {
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
            }
        }
    } else {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    }
}

void WindowFixture::Type(const QString& name, const QString& text) const {
    auto* box = C<QLineEdit>(name);
    Front(box);
    Enter(box, text, true, Entry::Typed);
}

void WindowFixture::Fill(int array, const QString& option, const QStringList& texts,
                         const QString& vf) const {
    const QString box = QString("Text%1(%2)").arg(array);
    if (!vf.isEmpty()) {
        Click(QString("Option%1(0)").arg(array));
        Type(box.arg(4), vf);
    }
    Click(option);
    for (int i = 0; i < texts.size(); ++i) {
        Type(box.arg(i), texts[i]);
    }
}

QStringList WindowFixture::ControlStates() const {
    QStringList state;
    for (QWidget* w : form->findChildren<QWidget*>(QRegularExpression(R"(\(\d\)$)"))) {
        QString s = w->objectName() + (w->isHidden() ? " hidden" : " shown");
        if (auto* box = qobject_cast<QLineEdit*>(w)) {
            s += " '" + box->text() + "'";
        } else if (auto* label = qobject_cast<QLabel*>(w)) {
            s += " '" + label->text() + "'";
        } else if (auto* option = qobject_cast<QRadioButton*>(w)) {
            s += option->isChecked() ? " selected" : "";
        }
        state << s + QString(" %1").arg(main_window::BackColor(w), 6, 16, QChar('0'));
    }
    state.sort();
    return state;
}

QMenu* WindowFixture::OpenMenu(const QString& name) const {
    QWidget* target = C(name);
    Front(target);
    const QPoint at = target->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
    QApplication::sendEvent(target, &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) {
        qFatal("no menu on %s", qPrintable(name));
    }
    return menu;
}

void WindowFixture::Choose(QMenu* menu, const QString& name) const {
    auto* action = menu->findChild<QAction*>(name);
    menu->close();
    action->trigger();
}

} // namespace window_test
