// Writing the report's figures as SVG: coordinates, elements with escaped attributes, hatching
// drawn as lines, and the colours of the screen and of print.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace analysis_report {

// The figures' colours: on screen the page's, in print black on white.
struct SvgPalette {
    std::string_view text;
    std::string_view grid;
    std::string_view curve;
    std::string_view band; // drawn with bandOpacity
    double bandOpacity = 1;
    std::string_view mark; // the levels' bars and dots, and the histograms' bars
    std::string_view meets;
    std::string_view fails;
};
inline constexpr SvgPalette ScreenColours{"#1a1a1a", "#767676", "#0b57a4", "#0b57a4",
                                          0.14,      "#8a3c00", "#1b7a1b", "#c00000"};
inline constexpr SvgPalette PrintColours{"#000000", "#808080", "#000000", "#000000",
                                         0.12,      "#000000", "#000000", "#000000"};

// A coordinate to two decimals without trailing zeros: "64", "313.5"; 0 for what is not finite.
std::string SvgNumber(double value);

// The path ("M x y L x y ...") of lines at 45 degrees across the rectangle, `spacing` apart:
// hatching that every SVG renderer draws, also those without patterns.
std::string HatchPath(double left, double top, double right, double bottom, double spacing);

using SvgAttributes = std::initializer_list<std::pair<std::string_view, std::string>>;

// An SVG picture written element by element.
class SvgWriter {
  public:
    // The title names the picture; the description says what it shows, for screen readers.
    SvgWriter(int width, int height, std::string_view title, std::string_view description);

    // An element, with its text escaped; so is every attribute's value.
    void Add(std::string_view tag, SvgAttributes attributes, std::string_view text = {});
    void Open(std::string_view tag, SvgAttributes attributes);
    void Close(std::string_view tag);
    // The picture, closed.
    std::string Finish();

  private:
    void Start(std::string_view tag, SvgAttributes attributes);

    std::string m_text;
};

} // namespace analysis_report
