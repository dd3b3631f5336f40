// The window's pictures and emblem drawn from their SVG files, and where the build stores them.
#pragma once

#include <QImage>
#include <QString>

#include <array>

namespace main_window {

// The pixel ratios at which the build stores the pictures, and the emblem's stored sizes.
inline constexpr std::array StoredPictureRatios{1, 2};
inline constexpr std::array StoredIconSides{16, 22, 24, 32, 48, 64, 128};

// A picture on white at its own size times the pixel ratio, drawn by the toolkit's SVG
// image plugin; null when the file cannot be drawn.
QImage RenderPicture(const QString& svgFile, qreal devicePixelRatio);

// The emblem drawn square at a side of pixels by the toolkit's SVG icon engine.
QImage RenderIcon(const QString& svgFile, int side);

// Where the build stores a rendering beside its SVG file: "schematic.svg" at ratio 2 is
// "schematic@2x.pixels", the emblem "icon.svg" at 32 pixels "icon-32.pixels".
QString StoredPictureFile(const QString& svgFile, int ratio);
QString StoredIconFile(const QString& svgFile, int side);

} // namespace main_window
