// A sunken box that draws a picture at its own size from the inner top-left corner, clipped.
#pragma once

#include <QFrame>
#include <QImage>

namespace main_window {

class PictureBox : public QFrame {
public:
    PictureBox(const QString& picture, QWidget* parent = nullptr);

    const QImage& picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};

} // namespace main_window
