// The About box.
#include "main_window/about_box.h"

#include "analysis_window/qt_text.h"
#include "main_window/control_table.h"
#include "orvalex/version.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>

namespace main_window {

using analysis_window::ToQString;

void ShowAbout(QWidget* parent) {
    const QString caption = ToQString(FormCaption);
    auto* box = new QMessageBox(parent);
    box->setObjectName(QStringLiteral("AboutBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowTitle(QStringLiteral("About ") + caption);
    box->setIconPixmap(QApplication::windowIcon().pixmap(48));
    box->setTextFormat(Qt::RichText);
    box->setText(
        QStringLiteral("<h3>%1</h3><p>Version %2</p>").arg(caption, ToQString(orvalex::Version)));
    box->setInformativeText(QStringLiteral(
        "<p>Designs and checks the three resistors that set the output voltage of a DC/DC "
        "converter: R1 from the output to the feedback node, R2 from the node to ground, and R3 "
        "from the node to the KEP pin, optionally through a diode. Its design analysis shows what "
        "a design gives with real parts: the pin's fault states, the best preferred values and "
        "the tolerance bands.</p>"
        "<p>Licence: GPL-3.0-or-later. This program is free software: you can redistribute it "
        "and/or modify it under the terms of the GNU General Public License as published by the "
        "Free Software Foundation, either version 3 of the License, or (at your option) any "
        "later version. It is distributed in the hope that it will be useful, but WITHOUT ANY "
        "WARRANTY; without even the implied warranty of MERCHANTABILITY or FITNESS FOR A "
        "PARTICULAR PURPOSE. The full text of the licence is under Show Details.</p>"));
    QFile licence(QStringLiteral(":/LICENSE"));
    if (licence.open(QIODevice::ReadOnly | QIODevice::Text)) {
        box->setDetailedText(QString::fromUtf8(licence.readAll()));
    }
    box->setStandardButtons(QMessageBox::Close);
    box->open();
}

} // namespace main_window
