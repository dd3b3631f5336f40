// A tab control whose four tabs share one row of equal width and a fixed strip height.
#pragma once

#include <QTabBar>
#include <QTabWidget>

namespace main_window {

class TabStrip : public QTabBar {
  public:
    TabStrip(int tabWidth, int stripHeight, QWidget* parent = nullptr);

  protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }

  private:
    int m_tabWidth;
    int m_stripHeight;
};

class TabControl : public QTabWidget {
  public:
    TabControl(int tabCount, int stripHeight, const QRect& geometry, QWidget* parent = nullptr);

    // Where a page's top-left corner sits inside the tab control once it is laid out; controls
    // on a tab are placed relative to the tab control's own corner, so they subtract this.
    QPoint pageOffset() const;
};

} // namespace main_window
