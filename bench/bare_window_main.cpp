// The yardstick program: shows the bare window and waits, for comparing peak memory.
#include "bare_window.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const auto window = bench::MakeBareWindow();
    window->show();
    return QApplication::exec();
}
