// The plot of the design analysis.
#include "main_window/analysis_plot.h"

#include "main_window/analysis_text.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace main_window {
namespace {

constexpr int Samples = 400;

QColor WithAlpha(QColor colour, int alpha) {
    colour.setAlpha(alpha);
    return colour;
}

} // namespace

AxisTicks NiceTicks(double lo, double hi, int most) {
    AxisTicks ticks;
    const double rough = (hi - lo) / std::max(most - 1, 1);
    if (!(rough > 0) || !std::isfinite(rough)) {
        return ticks;
    }
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power * 10;
    for (double factor : {1.0, 2.0, 5.0}) {
        if (power * factor >= rough) {
            step = power * factor;
            break;
        }
    }
    ticks.decimals = std::max(0, -int(std::floor(std::log10(step) + 1e-9)));
    // Counted, since far from 0 adding 1 to a huge multiple may leave it unchanged.
    const double first = std::ceil(lo / step);
    for (int i = 0; i <= most && (first + i) * step <= hi + step * 1e-9; ++i) {
        // Whole multiples of the step, so that a tick never reads "-0" or 0.30000000000000004.
        const double k = first + i;
        ticks.values.push_back(k == 0 ? 0.0 : k * step);
    }
    return ticks;
}

AnalysisPlot::AnalysisPlot(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Plot"));
    setAccessibleName(QStringLiteral("Plot of Vo against the pin voltage"));
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void AnalysisPlot::clear() {
    m_curve.clear();
    m_marks.clear();
    m_range = {};
    update();
}

void AnalysisPlot::setAnalysis(const calc_core::DesignAnalysis& analysis, const QLocale& locale) {
    m_locale = locale;
    m_locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    m_curve.clear();
    m_marks.clear();
    double x0 = std::min(0.0, analysis.settings.pinVoltage);
    double x1 = std::max(0.0, analysis.settings.pinVoltage);
    for (const calc_core::LevelAnalysis& level : analysis.levels) {
        x0 = std::min(x0, level.pinV);
        x1 = std::max(x1, level.pinV);
    }
    for (int i = 0; i <= Samples; ++i) {
        const double pinV = x0 + (x1 - x0) * i / Samples;
        m_curve.emplace_back(pinV, calc_core::CircuitOutput(analysis.design.circuit, pinV));
    }
    double y0 = m_curve.front().y();
    double y1 = y0;
    for (const QPointF& point : m_curve) {
        y0 = std::min(y0, point.y());
        y1 = std::max(y1, point.y());
    }
    for (std::size_t i = 0; i < analysis.levels.size() && i < analysis.tolerance.size(); ++i) {
        const auto& band = analysis.tolerance[i];
        m_marks.push_back({analysis.levels[i].pinV, analysis.levels[i].vo, band.min, band.max});
        y0 = std::min(y0, band.min);
        y1 = std::max(y1, band.max);
    }
    const double pad = y1 > y0 ? (y1 - y0) * 0.05 : 1.0;
    m_range = QRectF(QPointF(x0, y0 - pad), QPointF(x1, y1 + pad));
    // Outputs near the double range's end cannot be placed on a screen.
    if (!std::isfinite(m_range.width()) || !std::isfinite(m_range.height()) ||
        !(m_range.width() > 0)) {
        m_range = {};
    }
    const auto volts = [&](double v) { return FormatVolts(v, locale); };
    QString description =
        QStringLiteral("Vo from %1 at %2 to %3 at %4.")
            .arg(volts(m_curve.front().y()), volts(x0), volts(m_curve.back().y()), volts(x1));
    for (const Mark& mark : m_marks) {
        description += QStringLiteral(" At %1: %2, worst case %3 to %4.")
                           .arg(volts(mark.pinV), volts(mark.vo), volts(mark.min), volts(mark.max));
    }
    setAccessibleDescription(description);
    update();
}

void AnalysisPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    painter.fillRect(rect(), pal.color(QPalette::Base));
    const QColor text = pal.color(QPalette::Text);
    const QColor grid = WithAlpha(text, 40);
    const QColor accent = pal.color(QPalette::Highlight);
    if (m_range.isEmpty()) {
        painter.setPen(text);
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("Nothing to plot"));
        return;
    }

    const QFontMetrics metrics = fontMetrics();
    const AxisTicks xTicks = NiceTicks(m_range.left(), m_range.right(), 8);
    const AxisTicks yTicks = NiceTicks(m_range.top(), m_range.bottom(), 7);
    int labelWidth = 0;
    for (double y : yTicks.values) {
        labelWidth = std::max(
            labelWidth, metrics.horizontalAdvance(m_locale.toString(y, 'f', yTicks.decimals)));
    }
    const int line = metrics.height();
    const QRectF plot(QPointF(labelWidth + 12, line * 1.5),
                      QPointF(width() - 16, height() - line * 2.5 - 6));
    if (plot.width() < 10 || plot.height() < 10) {
        return;
    }
    const auto toScreen = [&](double pinV, double vo) {
        return QPointF(plot.left() + (pinV - m_range.left()) / m_range.width() * plot.width(),
                       plot.bottom() - (vo - m_range.top()) / m_range.height() * plot.height());
    };

    // Grid and tick labels.
    painter.setPen(QPen(grid, 1));
    for (double x : xTicks.values) {
        const QPointF p = toScreen(x, m_range.top());
        painter.drawLine(QPointF(p.x(), plot.top()), QPointF(p.x(), plot.bottom()));
    }
    for (double y : yTicks.values) {
        const QPointF p = toScreen(m_range.left(), y);
        painter.drawLine(QPointF(plot.left(), p.y()), QPointF(plot.right(), p.y()));
    }
    painter.setPen(text);
    for (double x : xTicks.values) {
        const QPointF p = toScreen(x, m_range.top());
        painter.drawText(QRectF(p.x() - 40, plot.bottom() + 4, 80, line), Qt::AlignHCenter,
                         m_locale.toString(x, 'f', xTicks.decimals));
    }
    for (double y : yTicks.values) {
        const QPointF p = toScreen(m_range.left(), y);
        painter.drawText(QRectF(0, p.y() - line / 2.0, plot.left() - 6, line),
                         Qt::AlignRight | Qt::AlignVCenter,
                         m_locale.toString(y, 'f', yTicks.decimals));
    }
    painter.drawText(QRectF(plot.left(), height() - line - 4, plot.width(), line), Qt::AlignHCenter,
                     QStringLiteral("Pin voltage [V]"));
    painter.drawText(QRectF(4, 2, plot.width(), line), Qt::AlignLeft, QStringLiteral("Vo [V]"));
    painter.drawRect(plot);

    // Each level's worst-case band across the plot, so that overlapping bands show as one.
    painter.save();
    painter.setClipRect(plot);
    for (const Mark& mark : m_marks) {
        const QPointF top = toScreen(m_range.left(), mark.max);
        const QPointF bottom = toScreen(m_range.left(), mark.min);
        painter.fillRect(QRectF(QPointF(plot.left(), top.y()), QPointF(plot.right(), bottom.y())),
                         WithAlpha(accent, 45));
    }
    QPainterPath curve;
    curve.moveTo(toScreen(m_curve.front().x(), m_curve.front().y()));
    for (const QPointF& point : m_curve) {
        curve.lineTo(toScreen(point.x(), point.y()));
    }
    painter.setPen(QPen(accent, 2));
    painter.drawPath(curve);
    painter.restore();

    // The levels: a dashed line, the error bar of the band and the output as a dot.
    for (const Mark& mark : m_marks) {
        const QPointF at = toScreen(mark.pinV, mark.vo);
        const QPointF top = toScreen(mark.pinV, mark.max);
        const QPointF bottom = toScreen(mark.pinV, mark.min);
        painter.setPen(QPen(WithAlpha(text, 110), 1, Qt::DashLine));
        painter.drawLine(QPointF(at.x(), plot.top()), QPointF(at.x(), plot.bottom()));
        painter.setPen(QPen(text, 1.5));
        painter.drawLine(top, bottom);
        painter.drawLine(top - QPointF(5, 0), top + QPointF(5, 0));
        painter.drawLine(bottom - QPointF(5, 0), bottom + QPointF(5, 0));
        painter.setBrush(text);
        painter.drawEllipse(at, 3.5, 3.5);
        painter.setBrush(Qt::NoBrush);
    }
    if (hasFocus()) {
        painter.setPen(QPen(accent, 1, Qt::DotLine));
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
}

} // namespace main_window
