// Build tool: draws a picture or the emblem from its SVG file and stores the renderings.
//
// Usage: prerender_pictures picture <svg> <output-dir> <ratio>...
//        prerender_pictures icon <svg> <output-dir> <side>...
// Each rendering is written to <output-dir> under the name the program looks it up by. It
// draws offscreen with the fonts installed for the program, so the stored pictures are what
// the program would draw from the SVG files itself.
#include "main_window/picture_rendering.h"
#include "main_window/stored_image.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>

#include <cstdio>

using main_window::RenderIcon;
using main_window::RenderPicture;
using main_window::StoredIconFile;
using main_window::StoredPictureFile;
using main_window::ToStoredImage;

namespace {

int Fail(const QString& message) {
    std::fprintf(stderr, "prerender_pictures: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 5 || (args[1] != "picture" && args[1] != "icon")) {
        return Fail("usage: prerender_pictures picture|icon <svg> <output-dir> <ratio or side>...");
    }
    const bool icon = args[1] == "icon";
    const QString& svg = args[2];
    if (!QFileInfo(svg).isReadable()) {
        return Fail(QStringLiteral("cannot read %1").arg(svg));
    }
    const QDir outputDir(args[3]);
    if (!outputDir.mkpath(QStringLiteral("."))) {
        return Fail(QStringLiteral("cannot create %1").arg(outputDir.path()));
    }
    const QString outputBase = outputDir.filePath(QFileInfo(svg).fileName());

    for (const QString& arg : args.mid(4)) {
        bool ok = false;
        const int n = arg.toInt(&ok);
        if (!ok || n < 1 || n > 1024) {
            return Fail(QStringLiteral("not a pixel ratio or size: %1").arg(arg));
        }
        const QImage image = icon ? RenderIcon(svg, n) : RenderPicture(svg, n);
        if (image.isNull()) {
            return Fail(QStringLiteral("cannot draw %1 (are the toolkit's SVG plugins installed?)")
                            .arg(svg));
        }
        const QString output =
            icon ? StoredIconFile(outputBase, n) : StoredPictureFile(outputBase, n);
        QSaveFile file(output);
        if (!file.open(QIODevice::WriteOnly) || file.write(ToStoredImage(image)) < 0 ||
            !file.commit()) {
            return Fail(QStringLiteral("cannot write %1: %2").arg(output, file.errorString()));
        }
    }
    return 0;
}
