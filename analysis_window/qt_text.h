// The system's UTF-8 texts as Qt strings.
#pragma once

#include <QString>

#include <string_view>

namespace analysis_window {

inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// The letter after '&' in a caption, lower case: the key that reaches its control; a null
// character when it has none.
inline QChar ShortcutLetter(const QString& caption) {
    const qsizetype amp = caption.indexOf(u'&');
    return amp >= 0 && amp + 1 < caption.size() ? caption[amp + 1].toLower() : QChar();
}

} // namespace analysis_window
