// Writing SVG figures.
#include "analysis_report/svg_writer.h"

#include "analysis_report/markup_text.h"
#include "analysis_report/number_format.h"

#include <algorithm>
#include <cmath>

namespace analysis_report {

std::string SvgNumber(double value) {
    if (!std::isfinite(value)) {
        return "0";
    }
    std::string text = FormatFixed(value, 2, ".");
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') {
        text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

std::string HatchPath(double left, double top, double right, double bottom, double spacing) {
    std::string path;
    // Lines x + y = c, whose distance apart is their step in c over the square root of 2.
    const double step = spacing * std::sqrt(2.0);
    // Counted in whole steps: a sum of doubles would drift from the lines' true places.
    for (int k = 0; left + top + step * (k + 0.5) < right + bottom; ++k) {
        const double c = left + top + step * (k + 0.5);
        const double x0 = std::max(left, c - bottom);
        const double x1 = std::min(right, c - top);
        if (x1 > x0) {
            path += (path.empty() ? "M" : " M") + SvgNumber(x0) + ' ' + SvgNumber(c - x0) + " L" +
                    SvgNumber(x1) + ' ' + SvgNumber(c - x1);
        }
    }
    return path;
}

SvgWriter::SvgWriter(int width, int height, std::string_view title, std::string_view description) {
    const std::string w = std::to_string(width);
    const std::string h = std::to_string(height);
    m_text = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h +
             "\" viewBox=\"0 0 " + w + ' ' + h +
             "\" role=\"img\" font-family=\"Liberation Sans, Arial, Helvetica, sans-serif\" "
             "font-size=\"12\">\n";
    Add("title", {}, title);
    Add("desc", {}, description);
}

void SvgWriter::Start(std::string_view tag, SvgAttributes attributes) {
    m_text += '<';
    m_text += tag;
    for (const auto& [name, value] : attributes) {
        m_text += ' ';
        m_text += name;
        m_text += "=\"" + EscapeMarkup(value) + '"';
    }
}

void SvgWriter::Add(std::string_view tag, SvgAttributes attributes, std::string_view text) {
    Start(tag, attributes);
    if (text.empty()) {
        m_text += "/>\n";
        return;
    }
    m_text += '>' + EscapeMarkup(text) + "</" + std::string(tag) + ">\n";
}

void SvgWriter::Open(std::string_view tag, SvgAttributes attributes) {
    Start(tag, attributes);
    m_text += ">\n";
}

void SvgWriter::Close(std::string_view tag) {
    m_text += "</" + std::string(tag) + ">\n";
}

std::string SvgWriter::Finish() {
    return m_text + "</svg>";
}

} // namespace analysis_report
