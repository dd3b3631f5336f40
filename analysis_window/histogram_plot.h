// The yield's histograms: one small chart a pin level, side by side, its bins as bars (hatched
// outside the level's spec), the spec band's edges as dashed lines and round ticks on both axes.
#pragma once

#include "analysis_report/plot_data.h"
#include "analysis_report/report_document.h"

#include <QWidget>

#include <string>
#include <vector>

class QFontMetrics;

namespace analysis_window {

// The most round ticks across `width` pixels from lo to hi volts whose labels, in this font and
// with this separator, stand apart: at least two, the span being above 0.
analysis_report::AxisTicks ReadableTicks(double lo, double hi, double width,
                                         const QFontMetrics& metrics, const std::string& separator);

class HistogramPlot : public QWidget {
  public:
    explicit HistogramPlot(QWidget* parent = nullptr);

    // The histograms to draw, their tick labels with the separator; none clears the plot.
    void setHistograms(std::vector<analysis_report::Histogram> histograms,
                       const std::string& separator);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void paintChart(QPainter& painter, const QRectF& frame,
                    const analysis_report::Histogram& histogram) const;

    std::vector<analysis_report::Histogram> m_histograms;
    std::string m_separator;
};

} // namespace analysis_window
