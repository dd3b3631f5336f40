// The system's UTF-8 texts as Qt strings.
#pragma once

#include <QString>

#include <string_view>

namespace main_window {

inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace main_window
