// The plot of the design analysis: Vo against the pin voltage, with the pin levels and their
// worst-case bands.
#pragma once

#include "calc_core/design_analysis.h"

#include <QLocale>
#include <QPointF>
#include <QWidget>

#include <vector>

namespace main_window {

class AnalysisPlot : public QWidget {
  public:
    explicit AnalysisPlot(QWidget* parent = nullptr);

    // Samples the circuit's output from 0 V to the pin voltage of the settings (widened to
    // take in every level) and marks the levels; the axes are written in the locale's notation.
    void setAnalysis(const calc_core::DesignAnalysis& analysis, const QLocale& locale);
    void clear();

    QSize sizeHint() const override { return {560, 320}; }
    QSize minimumSizeHint() const override { return {320, 200}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    struct Mark {
        double pinV;
        double vo;
        double min; // worst-case band
        double max;
    };

    std::vector<QPointF> m_curve; // (pin voltage, Vo)
    std::vector<Mark> m_marks;
    QRectF m_range; // x: pin voltage, y: Vo; empty when nothing can be drawn
    QLocale m_locale;
};

// Tick values of an axis from lo to hi: multiples of 1, 2 or 5 times a power of ten, at most
// `most` of them; with the number of decimals they need.
struct AxisTicks {
    std::vector<double> values;
    int decimals = 0;
};
AxisTicks NiceTicks(double lo, double hi, int most);

} // namespace main_window
