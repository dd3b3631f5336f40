// The plot of the design analysis.
#include "analysis_window/analysis_plot.h"

#include "analysis_window/qt_text.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace analysis_window {
namespace {

QColor WithAlpha(QColor colour, int alpha) {
    colour.setAlpha(alpha);
    return colour;
}

} // namespace

AnalysisPlot::AnalysisPlot(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Plot"));
    setAccessibleName(QStringLiteral("Plot of Vo against the pin voltage"));
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void AnalysisPlot::clear() {
    m_plot = {};
    setAccessibleDescription({});
    update();
}

void AnalysisPlot::setPlot(analysis_report::PlotData plot) {
    m_plot = std::move(plot);
    setAccessibleDescription(ToQString(m_plot.description));
    update();
}

void AnalysisPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    if (!m_plot.drawable) {
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("Nothing to plot"));
        return;
    }
    const QFontMetrics metrics = fontMetrics();
    int labelWidth = 0;
    for (const auto& tick : m_plot.yTicks) {
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(ToQString(tick.second)));
    }
    const int line = metrics.height();
    const QRectF area(QPointF(labelWidth + 12, line * 1.5),
                      QPointF(width() - 16, height() - line * 2.5 - 6));
    if (area.width() < 10 || area.height() < 10) {
        return;
    }
    // Named one by one: a lambda cannot capture structured bindings before clang 16.
    const double x0 = m_plot.x.first;
    const double x1 = m_plot.x.second;
    const double y0 = m_plot.y.first;
    const double y1 = m_plot.y.second;
    const ToScreen toScreen = [&](double pinV, double vo) {
        return QPointF(area.left() + (pinV - x0) / (x1 - x0) * area.width(),
                       area.bottom() - (vo - y0) / (y1 - y0) * area.height());
    };
    paintGrid(painter, area, toScreen);
    paintBands(painter, area, toScreen);
    paintLevels(painter, area, toScreen);
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
}

// The grid, the tick labels, the axis names and the frame.
void AnalysisPlot::paintGrid(QPainter& painter, const QRectF& area,
                             const ToScreen& toScreen) const {
    const QColor text = palette().color(QPalette::Text);
    const int line = fontMetrics().height();
    painter.setPen(QPen(WithAlpha(text, 40), 1));
    for (const auto& [x, label] : m_plot.xTicks) {
        const double at = toScreen(x, m_plot.y.first).x();
        painter.drawLine(QPointF(at, area.top()), QPointF(at, area.bottom()));
    }
    for (const auto& [y, label] : m_plot.yTicks) {
        const double at = toScreen(m_plot.x.first, y).y();
        painter.drawLine(QPointF(area.left(), at), QPointF(area.right(), at));
    }
    painter.setPen(text);
    for (const auto& [x, label] : m_plot.xTicks) {
        const double at = toScreen(x, m_plot.y.first).x();
        painter.drawText(QRectF(at - 40, area.bottom() + 4, 80, line), Qt::AlignHCenter,
                         ToQString(label));
    }
    for (const auto& [y, label] : m_plot.yTicks) {
        const double at = toScreen(m_plot.x.first, y).y();
        painter.drawText(QRectF(0, at - line / 2.0, area.left() - 6, line),
                         Qt::AlignRight | Qt::AlignVCenter, ToQString(label));
    }
    painter.drawText(QRectF(area.left(), height() - line - 4, area.width(), line), Qt::AlignHCenter,
                     QStringLiteral("Pin voltage [V]"));
    painter.drawText(QRectF(4, 2, area.width(), line), Qt::AlignLeft, QStringLiteral("Vo [V]"));
    painter.drawRect(area);
}

// Each level's worst-case band across the plot, so that overlapping bands show as one, and the
// curve over them.
void AnalysisPlot::paintBands(QPainter& painter, const QRectF& area,
                              const ToScreen& toScreen) const {
    const QColor accent = palette().color(QPalette::Highlight);
    painter.save();
    painter.setClipRect(area);
    for (const analysis_report::PlotMark& mark : m_plot.marks) {
        const double top = toScreen(m_plot.x.first, mark.max).y();
        const double bottom = toScreen(m_plot.x.first, mark.min).y();
        painter.fillRect(QRectF(QPointF(area.left(), top), QPointF(area.right(), bottom)),
                         WithAlpha(accent, 45));
    }
    QPainterPath curve;
    curve.moveTo(toScreen(m_plot.curve.front().first, m_plot.curve.front().second));
    for (const auto& [pinV, vo] : m_plot.curve) {
        curve.lineTo(toScreen(pinV, vo));
    }
    painter.setPen(QPen(accent, 2));
    painter.drawPath(curve);
    painter.restore();
}

// The levels: a dashed line, the error bar of the band, the output as a dot and the spec's band.
void AnalysisPlot::paintLevels(QPainter& painter, const QRectF& area,
                               const ToScreen& toScreen) const {
    const QColor text = palette().color(QPalette::Text);
    for (const analysis_report::PlotMark& mark : m_plot.marks) {
        const QPointF at = toScreen(mark.pinV, mark.vo);
        const QPointF top = toScreen(mark.pinV, mark.max);
        const QPointF bottom = toScreen(mark.pinV, mark.min);
        painter.setPen(QPen(WithAlpha(text, 110), 1, Qt::DashLine));
        painter.drawLine(QPointF(at.x(), area.top()), QPointF(at.x(), area.bottom()));
        painter.setPen(QPen(text, 1.5));
        painter.drawLine(top, bottom);
        painter.drawLine(top - QPointF(5, 0), top + QPointF(5, 0));
        painter.drawLine(bottom - QPointF(5, 0), bottom + QPointF(5, 0));
        painter.setBrush(text);
        painter.drawEllipse(at, 3.5, 3.5);
        painter.setBrush(Qt::NoBrush);
        // The spec's band beside it: hollow while the worst case stays inside, hatched when not.
        const QColor specColour = mark.meetsSpec ? QColor(0, 128, 0) : QColor(200, 0, 0);
        const QRectF spec(toScreen(mark.pinV, mark.specHigh) + QPointF(9, 0),
                          toScreen(mark.pinV, mark.specLow) + QPointF(15, 0));
        painter.setPen(QPen(specColour, 1.5));
        painter.setBrush(mark.meetsSpec ? QBrush(Qt::NoBrush)
                                        : QBrush(specColour, Qt::BDiagPattern));
        painter.drawRect(spec);
        painter.setBrush(Qt::NoBrush);
    }
}

} // namespace analysis_window
