// The shortcut of each control, as the part of its caption that holds the '&'.
#include "analysis_window/control_shortcuts.h"

#include "analysis_window/qt_text.h"

namespace analysis_window {
namespace {

struct Shortcut {
    std::string_view id;
    const char* part; // a part of the caption, '&' before its letter
};

// Each letter once in the window, the page tabs' and the buttons' included.
constexpr Shortcut Shortcuts[] = {
    {"Series", "&Series"},
    {"ResistorTolerance", "R&esistor"},
    {"VrefTolerance", "&Vref"},
    {"LevelAccuracy", "&accuracy"},
    {"VfSpread", "V&f"},
    {"PinVoltage", "&Pin"},
    {"TempMin", "&temperature"},
    {"TempMax", "&Highest"},
    {"ResistorTcr", "TC&R"},
    {"VrefDrift", "&drift"},
    {"VfTempco", "te&mpco"},
    {"FbCurrent", "Feed&back"},
    {"Spec", "O&utput"},
    {"R2Min", "Lo&west"},
    {"R2Max", "H&ighest"},
    {"Parts", "&list"},
    {"FitPair", "&pair"},
    {"FitR1", "R&1"},
    {"FitR3", "R&3"},
    {"FitR2", "R&2"},
};

} // namespace

QString CaptionWithShortcut(std::string_view id, std::string_view label) {
    QString caption = ToQString(label);
    for (const Shortcut& shortcut : Shortcuts) {
        if (shortcut.id != id) {
            continue;
        }
        QString part = QString::fromUtf8(shortcut.part);
        const qsizetype amp = part.indexOf(u'&');
        const qsizetype at = caption.indexOf(part.remove(amp, 1));
        if (at >= 0) {
            caption.insert(at + amp, u'&');
        }
    }
    return caption;
}

} // namespace analysis_window
