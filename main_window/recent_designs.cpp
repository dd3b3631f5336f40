// The recent design files in the user's settings.
#include "main_window/recent_designs.h"

#include <QSettings>

namespace main_window {
namespace {

const QString RecentKey = QStringLiteral("recentDesigns");

void Keep(QStringList paths) {
    if (paths.size() > MaxRecentDesigns) {
        paths.resize(MaxRecentDesigns);
    }
    QSettings().setValue(RecentKey, paths);
}

} // namespace

QStringList RecentDesigns() {
    return QSettings().value(RecentKey).toStringList().mid(0, MaxRecentDesigns);
}

void AddRecentDesign(const QString& path) {
    QStringList paths = RecentDesigns();
    paths.removeAll(path);
    paths.prepend(path);
    Keep(paths);
}

void RemoveRecentDesign(const QString& path) {
    QStringList paths = RecentDesigns();
    paths.removeAll(path);
    Keep(paths);
}

} // namespace main_window
