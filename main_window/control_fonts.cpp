// The four fonts of the window.
#include "main_window/control_fonts.h"

#include <QStringList>

namespace main_window {
namespace {

// Where Arial is missing, fontconfig's metric aliases put Liberation Sans, which has Arial's
// metrics, in its place; naming Arial alone also leaves the toolkit's search for fonts of other
// scripts until a character needs one. Arial Black has no such alias (fontconfig would take a
// wider face), so the headings name Liberation Sans themselves and keep their bold italic, a
// little narrower. Headings show only their fixed Latin captions and need no fonts of other
// scripts at all. Each search spared saves start-up about a third of a millisecond.
QFont MakeFont(const QString& face, qreal points, bool heading) {
    QFont font(face);
    if (heading) {
        font.setFamilies({face, QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
        font.setStyleStrategy(QFont::NoFontMerging);
    }
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
