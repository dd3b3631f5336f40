// A tab control with one row of equal tabs.
#include "main_window/tab_control.h"

#include <QStyle>
#include <QStyleOptionTabWidgetFrame>

namespace main_window {

TabStrip::TabStrip(int tabWidth, int stripHeight, QWidget* parent)
    : QTabBar(parent), m_tabWidth(tabWidth), m_stripHeight(stripHeight) {
    setExpanding(false);
    setUsesScrollButtons(false);
    setElideMode(Qt::ElideNone);
}

QSize TabStrip::tabSizeHint(int) const {
    return {m_tabWidth, m_stripHeight};
}

TabControl::TabControl(int tabCount, int stripHeight, const QRect& geometry, QWidget* parent)
    : QTabWidget(parent) {
    setTabBar(new TabStrip(geometry.width() / tabCount, stripHeight, this));
    setGeometry(geometry);
}

QPoint TabControl::pageOffset() const {
    QStyleOptionTabWidgetFrame option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this).topLeft();
}

} // namespace main_window
