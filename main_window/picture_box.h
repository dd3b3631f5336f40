// A sunken box that draws a picture at its own size from the inner top-left corner, clipped.
#pragma once

#include <QFrame>
#include <QImage>
#include <QString>

namespace main_window {

class PictureBox : public QFrame {
  public:
    PictureBox(QString picture, QWidget* parent = nullptr);

    // The picture at the box's device pixel ratio, taken when first asked for: the rendering
    // the build stored for the usual ratios, else drawn from the SVG file. A picture on a tab
    // not yet opened costs nothing at start-up.
    const QImage& picture() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString m_file;
    mutable QImage m_picture;
};

} // namespace main_window
