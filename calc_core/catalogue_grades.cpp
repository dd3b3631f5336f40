// Grouping a parts catalogue's lines into grades.
#include "calc_core/catalogue_grades.h"

#include "calc_core/analysis_settings.h"

#include <algorithm>
#include <limits>
#include <map>
#include <tuple>

namespace calc_core {
namespace {

// The figures that make a grade: the line's own, the tolerance and TCR the settings' when left out.
auto FiguresOf(const CataloguePart& part, const AnalysisSettings& settings) {
    return std::tuple(part.tolerancePct.value_or(settings.resistorTolerancePct),
                      part.tcrPpm.value_or(settings.resistorTcrPpm), part.lifeDriftPct, part.price,
                      part.powerW);
}

PartGrade GradeOf(const CataloguePart& part, const AnalysisSettings& settings) {
    return {.series = ESeries::Parts,
            .tolerancePct = part.tolerancePct.value_or(settings.resistorTolerancePct),
            .tcrPpm = part.tcrPpm.value_or(settings.resistorTcrPpm),
            .lifeDriftPct = part.lifeDriftPct,
            .name = part.manufacturer,
            .price = part.price,
            .powerW = part.powerW};
}

} // namespace

std::vector<PartGrade> CatalogueGrades(const AnalysisSettings& settings) {
    const std::vector<CataloguePart>& lines = settings.parts.catalogue;
    std::vector<PartGrade> grades;
    // Each set of figures' grade, so that a catalogue of a grade a line groups in n log n.
    std::map<decltype(FiguresOf(CataloguePart{}, settings)), std::size_t> gradeOf;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto [at, added] = gradeOf.try_emplace(FiguresOf(lines[i], settings), grades.size());
        if (added) {
            grades.push_back(GradeOf(lines[i], settings));
        } else if (grades[at->second].name != lines[i].manufacturer) {
            grades[at->second].name.clear();
        }
        grades[at->second].lines.push_back(i);
    }
    for (PartGrade& grade : grades) {
        // Ascending by value, the first line of a repeated value kept.
        std::stable_sort(grade.lines.begin(), grade.lines.end(), [&](std::size_t a, std::size_t b) {
            return lines[a].ohms < lines[b].ohms;
        });
        grade.lines.erase(std::unique(grade.lines.begin(), grade.lines.end(),
                                      [&](std::size_t a, std::size_t b) {
                                          return lines[a].ohms == lines[b].ohms;
                                      }),
                          grade.lines.end());
        for (const std::size_t line : grade.lines) {
            grade.values.push_back(lines[line].ohms);
        }
    }
    std::stable_sort(grades.begin(), grades.end(), [](const PartGrade& a, const PartGrade& b) {
        constexpr double Unpriced = std::numeric_limits<double>::infinity();
        return a.price.value_or(Unpriced) < b.price.value_or(Unpriced);
    });
    return grades;
}

std::vector<PartGrade> SynthesisGrades(const AnalysisSettings& settings) {
    return settings.parts.catalogue.empty() ? settings.grades : CatalogueGrades(settings);
}

const CataloguePart* CatalogueLine(const PartsList& parts, const PartGrade& grade, double ohms) {
    const auto at = std::lower_bound(grade.values.begin(), grade.values.end(), ohms);
    if (at == grade.values.end() || *at != ohms) {
        return nullptr;
    }
    const std::size_t line = grade.lines[std::size_t(at - grade.values.begin())];
    return line < parts.catalogue.size() ? &parts.catalogue[line] : nullptr;
}

std::string_view GradeSeriesName(const PartGrade& grade) {
    return IsCatalogueGrade(grade) ? "catalogue" : SeriesName(grade.series);
}

} // namespace calc_core
