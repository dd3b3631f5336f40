// A sunken box that draws a picture at its own size from the inner top-left corner, clipped.
#pragma once

#include <QFrame>
#include <QImage>
#include <QString>

namespace main_window {

class PictureBox : public QFrame {
  public:
    PictureBox(const QString& picture, QWidget* parent = nullptr);

    // The picture as last rendered, at the box's device pixel ratio.
    const QImage& picture() const { return m_picture; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString m_file;
    QImage m_picture;
};

} // namespace main_window
