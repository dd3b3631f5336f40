// Starts the calculator: the application, its icon, and the form Orvalen.
#include "control_table.h"
#include "orvalen.h"
#include "qt_text.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace {

QIcon ApplicationIcon() {
    QSvgRenderer renderer(QStringLiteral(":/pictures/icon.svg"));
    QPixmap pixmap(renderer.defaultSize());
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return QIcon(pixmap);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(main_window::ToQString(main_window::ApplicationTitle));
    QApplication::setApplicationVersion(main_window::ToQString(main_window::ApplicationVersion));
    QApplication::setWindowIcon(ApplicationIcon());

    main_window::Orvalen form;
    form.show();
    return app.exec();
}
