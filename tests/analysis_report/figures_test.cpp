// The plot and the histograms as SVG: where each mark lands, worked out by hand from the boxes the
// figures draw in, and hatching wherever a spec is missed.
#include "analysis_report/histogram_svg.h"
#include "analysis_report/plot_svg.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace analysis_report {
namespace {

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

// x from 0 to 4 V across 64..624, y from 0 to 10 V up 314..24: a level at 1 V with Vo 7.5 V,
// its band 7 to 8 V and its spec 7.1 to 7.9 V.
PlotData OneLevel(bool meetsSpec) {
    PlotData plot;
    plot.curve = {{0, 10}, {4, 0}};
    plot.marks = {{1, 7.5, 7, 8, 7.1, 7.9, meetsSpec}};
    plot.x = {0, 4};
    plot.y = {0, 10};
    plot.drawable = true;
    plot.xTicks = {{0, "0"}, {2, "2"}, {4, "4"}};
    plot.yTicks = {{5, "5"}};
    plot.description = "Vo <falls>";
    return plot;
}

TEST(PlotSvg, MarksWhereThePageDrawsThem) {
    for (const bool meets : {true, false}) {
        SCOPED_TRACE(meets);
        const std::string svg = PlotSvg(OneLevel(meets), ScreenColours);
        EXPECT_NE(svg.find("viewBox=\"0 0 640 358\""), std::string::npos);
        EXPECT_NE(svg.find("points=\"64,24 624,314\""), std::string::npos);
        // The dot at (204, 96.5), the band's bar from 82 to 111, the spec beside it.
        EXPECT_NE(svg.find("cx=\"204\" cy=\"96.5\""), std::string::npos);
        EXPECT_NE(svg.find("x1=\"204\" y1=\"82\" x2=\"204\" y2=\"111\""), std::string::npos);
        EXPECT_NE(svg.find("x=\"213\" y=\"84.9\" width=\"6\" height=\"23.2\""), std::string::npos);
        // The band across the whole plot, the tick "2" under x = 344 and "5" left of y = 169.
        EXPECT_NE(svg.find("class=\"band\" x=\"64\" y=\"82\" width=\"560\" height=\"29\""),
                  std::string::npos);
        EXPECT_NE(svg.find("x=\"344\" y=\"332\" text-anchor=\"middle\" fill=\"#1a1a1a\">2<"),
                  std::string::npos);
        EXPECT_NE(svg.find("x=\"58\" y=\"173\" text-anchor=\"end\" fill=\"#1a1a1a\">5<"),
                  std::string::npos);
        // Hatched, and in the colour of a failure, only when the spec is missed.
        EXPECT_EQ(Count(svg, "class=\"hatch\""), meets ? 0u : 1u);
        EXPECT_EQ(Count(svg, meets ? "spec meets" : "spec fails"), 1u);
        EXPECT_NE(svg.find("<desc>Vo &lt;falls&gt;</desc>"), std::string::npos);
    }
    EXPECT_NE(PlotSvg(OneLevel(true), PrintColours).find("stroke=\"#000000\" stroke-width=\"2\""),
              std::string::npos);
}

TEST(PlotSvg, NothingWhenNotDrawable) {
    PlotData plot = OneLevel(true);
    plot.drawable = false;
    EXPECT_EQ(PlotSvg(plot, ScreenColours), "");
}

// Four bins of 0.1 V from 9.8 V, counted 1, 0, 3, 2, against a spec of 9.82 to 10 V: x from
// 9.788 to 10.212 V across 64..624, counts from 0 to 3.24 up 196..24.
Histogram FourBins() {
    return {"Vo at 1.250 V", 9.8, 0.1, {1, 0, 3, 2}, 9.82, 10.0};
}

TEST(HistogramSvg, BarsAndSpecEdges) {
    const std::string svg = HistogramSvg(FourBins(), ".", ScreenColours);
    EXPECT_NE(svg.find("viewBox=\"0 0 640 240\""), std::string::npos);
    // The first bin's centre, 9.85 V, is inside the spec; the last two are outside and hatched;
    // the empty bin draws nothing.
    EXPECT_NE(svg.find("class=\"bin\" x=\"79.85\" y=\"142.91\" width=\"132.08\" "
                       "height=\"53.09\""),
              std::string::npos);
    EXPECT_NE(svg.find("class=\"bin outside\" x=\"344\" y=\"36.74\" width=\"132.08\" "
                       "height=\"159.26\""),
              std::string::npos);
    EXPECT_NE(svg.find("class=\"bin outside\" x=\"476.08\" y=\"89.83\""), std::string::npos);
    EXPECT_EQ(Count(svg, "class=\"bin"), 3u);
    EXPECT_EQ(Count(svg, "class=\"hatch\""), 2u);
    EXPECT_NE(svg.find("x1=\"106.26\" y1=\"24\" x2=\"106.26\" y2=\"196\""), std::string::npos);
    EXPECT_NE(svg.find("x1=\"344\" y1=\"24\" x2=\"344\" y2=\"196\""), std::string::npos);
    EXPECT_NE(svg.find("<title>Vo at 1.250 V</title>"), std::string::npos);
    // One count in six falls in a bin inside the spec.
    EXPECT_NE(svg.find("<desc>Vo at 1.250 V: 4 bins of 100 mV from 9.800 V to 10.200 V; spec "
                       "9.820 V to 10.000 V; 16.7 % of the count inside it.</desc>"),
              std::string::npos);
    // The axes' labels take the separator asked for.
    EXPECT_NE(HistogramSvg(FourBins(), ",", ScreenColours).find(">9,9<"), std::string::npos);
}

TEST(HistogramSvg, NothingForBinsThatCannotBeDrawn) {
    const struct {
        const char* name;
        Histogram histogram;
    } rows[] = {
        {"NoBins", {"Vo", 9.8, 0.1, {}, 9.8, 10}},
        {"ZeroWidth", {"Vo", 9.8, 0, {1, 2}, 9.8, 10}},
        {"NegativeWidth", {"Vo", 9.8, -0.1, {1, 2}, 9.8, 10}},
        {"NaNCount", {"Vo", 9.8, 0.1, {1, std::nan("")}, 9.8, 10}},
        {"InfiniteSpec", {"Vo", 9.8, 0.1, {1, 2}, 9.8, INFINITY}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(HistogramSvg(row.histogram, ".", ScreenColours), "") << row.name;
    }
}

} // namespace
} // namespace analysis_report
