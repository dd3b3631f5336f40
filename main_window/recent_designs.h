// The design files opened or saved last, newest first, kept with the user's settings (QSettings)
// so that the right-click menu offers them again after the program starts anew.
#pragma once

#include <QString>
#include <QStringList>

namespace main_window {

// How many the menu offers.
inline constexpr qsizetype MaxRecentDesigns = 8;

// The files, newest first, at most MaxRecentDesigns.
QStringList RecentDesigns();
// Puts the file first, once, and lets the oldest go beyond MaxRecentDesigns.
void AddRecentDesign(const QString& path);
// Takes the file off the list, as when it is no longer there.
void RemoveRecentDesign(const QString& path);

} // namespace main_window
