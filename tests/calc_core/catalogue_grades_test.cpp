// Tests of a parts catalogue standing in for the grades: its lines grouped into grades, and the
// synthesis choosing among its parts, R2 as designed only where the catalogue has it.
#include "calc_core/analysis_settings.h"
#include "calc_core/catalogue_grades.h"
#include "calc_core/synthesis.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace calc_core {
namespace {

AnalysisSettings WithCatalogue(const char* text) {
    AnalysisSettings settings;
    const PartsRead read = ReadPartsList(text);
    EXPECT_EQ(read.error, "");
    settings.parts = read.list;
    return settings;
}

// Lines of the same figures make one grade whatever their order; a figure left out is the
// settings' (1 %, 100 ppm/°C); a value repeated within a grade keeps its first line; an unpriced
// grade comes after the priced ones, cheapest first.
TEST(CatalogueGrades, GroupsLinesByTheirFigures) {
    const AnalysisSettings settings =
        WithCatalogue("value, tolerance, tcr, price, mpn, manufacturer\n"
                      "68k, , , , U, A\n"           // 0: unpriced
                      "10k, 1, 50, 0.016, P1, B\n"  // 1
                      "10k, 1, 100, 0.013, Y1, A\n" // 2
                      "4k7, 1, 50, 0.016, P2, C\n"  // 3
                      "4k7, , , 0.013, Y2, A\n"     // 4: as line 2
                      "4k7, 1, 100, 0.013, Y3, A\n" // 5: repeats 4
        );
    const std::vector<PartGrade> grades = CatalogueGrades(settings);
    ASSERT_EQ(grades.size(), 3u);
    const struct {
        double tolerance;
        double tcr;
        std::optional<double> price;
        std::string name;
        std::vector<double> values;
        std::vector<std::size_t> lines;
    } expected[] = {
        {1, 100, 0.013, "A", {4700, 10000}, {4, 2}},
        {1, 50, 0.016, "", {4700, 10000}, {3, 1}}, // makers B and C: no name
        {1, 100, std::nullopt, "A", {68000}, {0}},
    };
    for (std::size_t i = 0; i < grades.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(IsCatalogueGrade(grades[i]));
        EXPECT_EQ(grades[i].tolerancePct, expected[i].tolerance);
        EXPECT_EQ(grades[i].tcrPpm, expected[i].tcr);
        EXPECT_EQ(grades[i].price, expected[i].price);
        EXPECT_EQ(grades[i].name, expected[i].name);
        EXPECT_EQ(grades[i].values, expected[i].values);
        EXPECT_EQ(grades[i].lines, expected[i].lines);
        EXPECT_EQ(GradeSeriesName(grades[i]), "catalogue");
    }
    EXPECT_EQ(CatalogueLine(settings.parts, grades[1], 4700)->mpn, "P2");
    EXPECT_EQ(CatalogueLine(settings.parts, grades[1], 6800), nullptr);
    // Without a catalogue the settings' grades are searched.
    EXPECT_EQ(SynthesisGrades(AnalysisSettings{}).size(), DefaultPartGrades().size());
    EXPECT_EQ(SynthesisGrades(WithCatalogue("4k7\n10k")).size(), DefaultPartGrades().size());
}

const Circuit CalcDesign{64955, 10000, 7210, 2.5, std::nullopt};
const std::vector<double> CalcTargets{40, 34.95497746185853, 30};

// The worked example's parts in two grades of E96 1 %, 100 and 50 ppm/°C: R1 needs the better
// one, as with the default grades (64.9 kΩ with 75 mV to spare). R2 as designed must be a part of
// the catalogue; with R2's range it is chosen too.
TEST(CatalogueGrades, TheSynthesisChoosesAmongItsParts) {
    const char* const parts = "value, tcr, price\n"
                              "64.9k, 100, 0.013\n7.15k, 100, 0.013\n10k, 100, 0.013\n"
                              "64.9k, 50, 0.016\n7.15k, 50, 0.016\n10k, 50, 0.016\n"
                              "10.2k, 100, 0.013\n";
    const struct {
        const char* name;
        double r2;
        std::optional<R2Range> r2Free;
        std::vector<GradeStatus> statuses;
        std::optional<std::size_t> chosen;
        std::optional<std::array<std::size_t, 3>> mixed; // the grades of R1, R2 and R3
        double price;
    } rows[] = {
        {"R2 as designed",
         10000,
         std::nullopt,
         {GradeStatus::Searched, GradeStatus::Searched},
         1,
         std::array<std::size_t, 3>{1, 0, 0},
         0.042},
        {"R2 not in the catalogue",
         10100,
         std::nullopt,
         {GradeStatus::NoR2Value, GradeStatus::NoR2Value},
         std::nullopt,
         std::nullopt,
         0},
        // No grade throughout meets, but the mix is still looked for: R2 of the one grade that
        // has it.
        {"R2 in one grade only",
         10200,
         std::nullopt,
         {GradeStatus::Searched, GradeStatus::NoR2Value},
         std::nullopt,
         std::array<std::size_t, 3>{1, 0, 1},
         0.045},
        {"R2 free",
         10100,
         R2Range{9000, 11000},
         {GradeStatus::Searched, GradeStatus::Searched},
         1,
         std::array<std::size_t, 3>{1, 0, 0},
         0.042},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const AnalysisSettings settings = WithCatalogue(parts);
        Circuit design = CalcDesign;
        design.r2 = row.r2;
        const std::vector<PartGrade> grades = SynthesisGrades(settings);
        const Synthesis synthesis =
            Synthesise(design, CalcTargets, settings, grades, settings.parts.values, row.r2Free);
        ASSERT_EQ(synthesis.grades.size(), row.statuses.size());
        for (std::size_t i = 0; i < row.statuses.size(); ++i) {
            EXPECT_EQ(synthesis.grades[i].status, row.statuses[i]) << i;
        }
        EXPECT_EQ(synthesis.chosen, row.chosen);
        if (row.chosen) {
            EXPECT_EQ(synthesis.grades[1].best.r1, 64900);
            EXPECT_EQ(synthesis.grades[1].best.r3, 7150);
        }
        ASSERT_EQ(synthesis.mixed.has_value(), row.mixed.has_value());
        if (row.mixed) {
            EXPECT_EQ(synthesis.mixed->grades, *row.mixed);
            EXPECT_NEAR(synthesis.mixed->price, row.price, 1e-12);
            EXPECT_EQ(synthesis.mixed->r2, row.r2Free ? 10000 : row.r2);
        }
    }
}

// A catalogue whose every line has a price of its own makes a grade of each line: 51 of them
// with R2 free make 51³ assignments, past the most the mix tries, and none is tried; 50 are.
TEST(CatalogueGrades, TooManyAssignmentsAreNotTried) {
    for (const std::size_t lines : {50u, 51u}) {
        std::string text = "value, price\n";
        double ohms = 1000;
        for (std::size_t i = 0; i < lines; ++i, ohms *= 1.1) {
            text += std::to_string(std::round(ohms)) + ", " + std::to_string(1 + i) + "\n";
        }
        AnalysisSettings settings = WithCatalogue(text.c_str());
        settings.specPct = 50;
        const std::vector<PartGrade> grades = SynthesisGrades(settings);
        const Synthesis synthesis = Synthesise(CalcDesign, CalcTargets, settings, grades,
                                               settings.parts.values, R2Range{1, 1e7});
        EXPECT_EQ(synthesis.mixAssignments, lines * lines * lines);
        EXPECT_EQ(synthesis.mixed.has_value(), lines * lines * lines <= MaxMixAssignments) << lines;
    }
}

} // namespace
} // namespace calc_core
