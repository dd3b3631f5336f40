// Drawing the yield's histograms with QPainter, as the report's SVG draws them for the documents.
#include "analysis_window/histogram_plot.h"

#include "analysis_report/histogram_plot.h"
#include "analysis_report/number_format.h"
#include "analysis_report/plot_data.h"
#include "analysis_window/qt_text.h"

#include <QPainter>

#include <algorithm>
#include <string>
#include <tuple>

namespace analysis_window {
namespace {

// The most ticks tried across a chart, and up it.
constexpr int MostXTicks = 8;
constexpr int MostYTicks = 4;
// Room between two tick labels, in widths of the label's digit.
constexpr double LabelGapDigits = 1.5;
constexpr int ChartWidthHint = 280;
constexpr int ChartWidthLeast = 170;
// Outside the spec as the plot of the output marks a band that fails, and hatched besides.
const QColor FailsColour(200, 0, 0);

// Where the values go in a chart: volts across, counts up.
struct ChartBox {
    QRectF area;
    double x0 = 0;
    double x1 = 1;
    double y1 = 1;

    double X(double volts) const { return area.left() + (volts - x0) / (x1 - x0) * area.width(); }
    double Y(double count) const { return area.bottom() - count / y1 * area.height(); }
};

QColor WithAlpha(QColor colour, int alpha) {
    colour.setAlpha(alpha);
    return colour;
}

QString TickLabel(double value, int decimals, const std::string& separator) {
    return ToQString(analysis_report::FormatFixed(value, decimals, separator));
}

// A chart's ticks, with their labels in the user's notation.
struct Ticks {
    analysis_report::AxisTicks x;
    analysis_report::AxisTicks y;
    std::string separator;

    QString xLabel(double v) const { return TickLabel(v, x.decimals, separator); }
    QString yLabel(double v) const { return TickLabel(v, y.decimals, separator); }
};

// The faint grid at the ticks, and their labels below and left of the area.
void PaintGrid(QPainter& painter, const ChartBox& box, const Ticks& ticks, const QColor& text,
               int line) {
    const QRectF& area = box.area;
    painter.setPen(QPen(WithAlpha(text, 40), 1));
    for (double x : ticks.x.values) {
        painter.drawLine(QPointF(box.X(x), area.top()), QPointF(box.X(x), area.bottom()));
    }
    for (double y : ticks.y.values) {
        painter.drawLine(QPointF(area.left(), box.Y(y)), QPointF(area.right(), box.Y(y)));
    }
    painter.setPen(text);
    for (double x : ticks.x.values) {
        painter.drawText(QRectF(box.X(x) - 40, area.bottom() + 2, 80, line), Qt::AlignHCenter,
                         ticks.xLabel(x));
    }
    for (double y : ticks.y.values) {
        painter.drawText(QRectF(area.left() - 204, box.Y(y) - line / 2.0, 200, line),
                         Qt::AlignRight | Qt::AlignVCenter, ticks.yLabel(y));
    }
}

// The bars: filled inside the spec, hatched in another colour outside it.
void PaintBins(QPainter& painter, const ChartBox& box, const analysis_report::Histogram& h,
               const std::vector<bool>& insideSpec, const QColor& accent) {
    for (std::size_t i = 0; i < h.counts.size(); ++i) {
        if (!(h.counts[i] > 0)) {
            continue;
        }
        const QRectF bar(QPointF(box.X(h.binLow + h.binWidth * double(i)), box.Y(h.counts[i])),
                         QPointF(box.X(h.binLow + h.binWidth * double(i + 1)), box.area.bottom()));
        const bool inside = insideSpec[i];
        painter.setPen(QPen(inside ? accent : FailsColour, 1));
        painter.setBrush(inside ? QBrush(WithAlpha(accent, 110))
                                : QBrush(FailsColour, Qt::BDiagPattern));
        painter.drawRect(bar);
    }
    painter.setBrush(Qt::NoBrush);
}

} // namespace

// Fewer ticks until their labels fit, and while fewer than two stand within the span, more.
analysis_report::AxisTicks ReadableTicks(double lo, double hi, double width,
                                         const QFontMetrics& metrics,
                                         const std::string& separator) {
    const double gap = metrics.horizontalAdvance(u'0') * LabelGapDigits;
    analysis_report::AxisTicks fallback;
    for (int most = MostXTicks; most >= 2; --most) {
        analysis_report::AxisTicks ticks = analysis_report::NiceTicks(lo, hi, most);
        double widest = 0;
        for (double value : ticks.values) {
            widest = std::max<double>(
                widest, metrics.horizontalAdvance(TickLabel(value, ticks.decimals, separator)));
        }
        const double room = width / double(std::max<std::size_t>(ticks.values.size(), 1));
        if (ticks.values.size() >= 2) {
            if (widest + gap <= room) {
                return ticks;
            }
            fallback = ticks; // the fewest of two or more found yet
        }
    }
    // Two labels never fit: the fewest of two or more, or one.
    return fallback.values.empty() ? analysis_report::NiceTicks(lo, hi, 2) : fallback;
}

HistogramPlot::HistogramPlot(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Histograms"));
    setAccessibleName(QStringLiteral("Histograms of the yield's output at each pin level"));
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void HistogramPlot::setHistograms(std::vector<analysis_report::Histogram> histograms,
                                  const std::string& separator) {
    m_histograms = std::move(histograms);
    m_separator = separator;
    QStringList description;
    for (const analysis_report::Histogram& histogram : m_histograms) {
        description << ToQString(
            analysis_report::MakeHistogramPlot(histogram, separator).description);
    }
    setAccessibleDescription(description.join(u' '));
    updateGeometry();
    update();
}

QSize HistogramPlot::sizeHint() const {
    return {int(std::max<std::size_t>(m_histograms.size(), 1)) * ChartWidthHint, 220};
}

QSize HistogramPlot::minimumSizeHint() const {
    return {int(std::max<std::size_t>(m_histograms.size(), 1)) * ChartWidthLeast, 160};
}

void HistogramPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    const double width =
        double(this->width()) / double(std::max<std::size_t>(m_histograms.size(), 1));
    for (std::size_t i = 0; i < m_histograms.size(); ++i) {
        const QRectF frame(width * double(i), 0, width, height());
        paintChart(painter, frame.adjusted(4, 4, -4, -4), m_histograms[i]);
    }
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
}

// One level's chart: its title, the grid with the ticks' labels, the bars and the spec's edges.
void HistogramPlot::paintChart(QPainter& painter, const QRectF& frame,
                               const analysis_report::Histogram& h) const {
    const analysis_report::HistogramPlot plot = analysis_report::MakeHistogramPlot(h, m_separator);
    if (!plot.drawable) {
        return;
    }
    ChartBox box;
    std::tie(box.x0, box.x1) = plot.x;
    box.y1 = plot.y.second;
    Ticks ticks{{}, analysis_report::NiceTicks(0, box.y1, MostYTicks), m_separator};
    const QFontMetrics metrics = fontMetrics();
    int labelWidth = 0;
    for (double y : ticks.y.values) {
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(ticks.yLabel(y)));
    }
    const int line = metrics.height();
    box.area = QRectF(QPointF(frame.left() + labelWidth + 8, frame.top() + line * 1.5),
                      QPointF(frame.right() - 8, frame.bottom() - line * 1.4));
    if (box.area.width() < 20 || box.area.height() < 20) {
        return;
    }
    ticks.x = ReadableTicks(box.x0, box.x1, box.area.width(), metrics, m_separator);
    const QColor text = palette().color(QPalette::Text);
    painter.setPen(text);
    painter.drawText(QRectF(frame.left(), frame.top(), frame.width(), line), Qt::AlignHCenter,
                     ToQString(h.title) + QStringLiteral(" [V]"));
    PaintGrid(painter, box, ticks, text, line);
    PaintBins(painter, box, h, plot.inside, palette().color(QPalette::Highlight));
    painter.setPen(QPen(text, 1.5, Qt::DashLine));
    for (double edge : {h.specLow, h.specHigh}) {
        painter.drawLine(QPointF(box.X(edge), box.area.top()),
                         QPointF(box.X(edge), box.area.bottom()));
    }
    painter.setPen(text);
    painter.drawRect(box.area);
}

} // namespace analysis_window
