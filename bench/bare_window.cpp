// The yardstick window: a top-level window of the calculator's size with an empty tab control.
#include "bare_window.h"

#include "analysis_window/qt_text.h"
#include "main_window/control_table.h"

#include <QTabWidget>

namespace bench {

std::unique_ptr<QWidget> MakeBareWindow() {
    using main_window::ToPixels;
    auto window = std::make_unique<QWidget>();
    window->setWindowTitle(QStringLiteral("Bare window"));
    window->resize(ToPixels(main_window::FormClientWidth), ToPixels(main_window::FormClientHeight));
    auto* tabs = new QTabWidget(window.get());
    tabs->setGeometry(window->rect());
    for (const auto caption : main_window::TabCaptions) {
        tabs->addTab(new QWidget, analysis_window::ToQString(caption));
    }
    return window;
}

} // namespace bench
