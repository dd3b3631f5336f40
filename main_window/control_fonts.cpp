// The four fonts of the window.
#include "main_window/control_fonts.h"

#include <QStringList>

namespace main_window {
namespace {

// Liberation Sans has Arial's metrics; it also stands in for Arial Black, whose bold italic
// headings it keeps, a little narrower.
QFont MakeFont(const QString& face, qreal points, bool heading) {
    QFont font(face);
    QStringList families;
    families << face << QStringLiteral("Liberation Sans") << QStringLiteral("Arial");
    font.setFamilies(families);
    font.setPointSizeF(points);
    font.setWeight(heading ? QFont::Bold : QFont::Normal);
    font.setItalic(heading);
    return font;
}

} // namespace

QFont FontFor(FontRole role) {
    switch (role) {
    case FontRole::Window:
        return MakeFont(QStringLiteral("Arial Black"), 11.25, true);
    case FontRole::InputFrame:
        return MakeFont(QStringLiteral("Arial Black"), 12, true);
    case FontRole::Caption:
        return MakeFont(QStringLiteral("Arial"), 9.75, false);
    case FontRole::Value:
        return MakeFont(QStringLiteral("Arial"), 11.25, false);
    }
    return {};
}

} // namespace main_window
