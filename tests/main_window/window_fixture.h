// The shared fixture of the window tests: the form, its controls by name, a user's clicks and
// typing, the captured messages, and a guard that fails a test on any unexpected modal window.
#pragma once

#include "main_window/orvalen.h"

#include <QHash>
#include <QLineEdit>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

class QMenu;
class QTabWidget;

namespace window_test {

// Background colours as the window writes them, red in the low byte.
inline constexpr std::uint32_t White = 0xFFFFFF;
inline constexpr std::uint32_t Red = 0x0000FF;

// The four messages a press may show.
inline const QString SelectDiode = QStringLiteral("Please select Diode Yes or No");
inline const QString InputMissing = QStringLiteral("Please input Data");
inline const QString InputError = QStringLiteral("Input Data Error");
inline const QString CalError = QStringLiteral("Cal Error! Please check circuit!");

// The names of a control array's first count elements: "Text1(0)", "Text1(1)", ...
QStringList Range(const char* array, int count);

// How a text reaches its box.
enum class Entry { Typed, Pasted };

class ModalGuard;

// A test class derives from this beside QObject and calls OpenForm() and CloseForm() around
// each test; the guard watches the whole run, forms made outside OpenForm() included.
class WindowFixture {
  public:
    WindowFixture();
    ~WindowFixture();
    WindowFixture(const WindowFixture&) = delete;
    WindowFixture& operator=(const WindowFixture&) = delete;

  protected:
    // A new form, shown and active, whose messages go to prompts instead of a message box.
    [[nodiscard]] bool OpenForm();
    // Ends the form; fails the running test if a modal window opened unasked, or an expected one
    // never opened.
    void CloseForm();

    // The next modal window is expected: inspect sees it open, then the fixture closes it.
    void ExpectModal(std::function<void(QWidget* modal)> inspect);
    // The modal windows that opened unasked, each closed already; taking them clears them.
    QStringList TakeStrayModals();

    // A control of the form by its object name, or null.
    template <typename T = QWidget> T* Find(const QString& name) const {
        return dynamic_cast<T*>(m_controls.value(name));
    }
    // The same, where a missing control ends the run.
    template <typename T = QWidget> T* C(const QString& name) const {
        T* control = Find<T>(name);
        if (!control) {
            qFatal("no control %s", qPrintable(name));
        }
        return control;
    }
    QTabWidget* Tabs() const;
    // A text box's text or a label's caption.
    QString Text(const QString& name) const;
    std::uint32_t Colour(const QString& name) const;

    // A user reaches a control only on the tab in front, so its tab comes forward first.
    void Front(QWidget* control) const;
    // Brings a tab forward as a user does, by clicking its caption.
    void ClickTab(int tab) const;
    // Clicks a button in the middle, an option button on its indicator.
    void Click(const QString& name) const;
    // Replaces or extends a shown box's text by keyboard or clipboard.
    void Enter(QLineEdit* box, const QString& text, bool replace, Entry entry) const;
    // Replaces a box's text by typing.
    void Type(const QString& name, const QString& text) const;
    // Fills the inputs of TextN in index order as a user does; the Vf box only appears with
    // "Yes", so a vf text is typed after selecting "Yes" and before the option is clicked.
    void Fill(int array, const QString& option, const QStringList& texts,
              const QString& vf = {}) const;

    // Every indexed control's visibility, text or selection and colour, one line each, sorted:
    // showing a tab page reorders the page stack's children.
    QStringList ControlStates() const;
    // Right-clicks the control, as the user does anywhere on a page, and returns the menu; no
    // menu ends the run.
    QMenu* OpenMenu(const QString& name) const;
    // The menu's entry, taken and the menu closed, as a click on it does.
    void Choose(QMenu* menu, const QString& name) const;

    std::unique_ptr<main_window::Orvalen> form;
    QStringList prompts; // every message the form asked to show, in order

  private:
    QHash<QString, QWidget*> m_controls; // by object name, found once per form
    std::unique_ptr<ModalGuard> m_guard;
};

} // namespace window_test
