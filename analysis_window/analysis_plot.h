// The plot of the design analysis: Vo against the pin voltage, with the pin levels and their
// worst-case bands, drawn from the report's plot data.
#pragma once

#include "analysis_report/plot_data.h"

#include <QWidget>

#include <functional>

namespace analysis_window {

class AnalysisPlot : public QWidget {
  public:
    explicit AnalysisPlot(QWidget* parent = nullptr);

    void setPlot(analysis_report::PlotData plot);
    void clear();

    QSize sizeHint() const override { return {560, 320}; }
    QSize minimumSizeHint() const override { return {320, 200}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    using ToScreen = std::function<QPointF(double pinV, double vo)>;
    void paintGrid(QPainter& painter, const QRectF& area, const ToScreen& toScreen) const;
    void paintBands(QPainter& painter, const QRectF& area, const ToScreen& toScreen) const;
    void paintLevels(QPainter& painter, const QRectF& area, const ToScreen& toScreen) const;

    analysis_report::PlotData m_plot;
};

} // namespace analysis_window
