// Starts the calculator: the application, its icon, and the form Orvalen, with the design file
// the command line names, if any.
#include "analysis_window/qt_text.h"
#include "main_window/application_icon.h"
#include "main_window/control_table.h"
#include "main_window/design_files.h"
#include "main_window/orvalen.h"
#include "orvalex/version.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(analysis_window::ToQString(main_window::ApplicationTitle));
    // The user's settings (the recent designs) are kept under this name.
    QApplication::setOrganizationName(QStringLiteral("Orvalex"));
    QApplication::setApplicationVersion(analysis_window::ToQString(orvalex::Version));
    QApplication::setWindowIcon(main_window::ApplicationIcon());
    // Lets the desktop match the window with its menu entry and installed icon.
    QApplication::setDesktopFileName(QStringLiteral(ORVALEX_APP_ID));

    main_window::Orvalen form;
    form.show();
    // A design file named on the command line (the desktop's "Open with") opens once the
    // window is up, so that a message about it has the window behind it.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        QMetaObject::invokeMethod(
            &form, [&form, path = arguments.at(1)] { form.designFiles()->open(path); },
            Qt::QueuedConnection);
    }
    return QApplication::exec();
}
