// The grades a parts catalogue offers the synthesis: its lines grouped by their figures, each
// group a grade of its own values, standing in for the settings' grades.
#pragma once

#include "calc_core/part_grades.h"
#include "calc_core/parts_list.h"

#include <string_view>
#include <vector>

namespace calc_core {

struct AnalysisSettings;

// The catalogue's lines grouped by their tolerance, TCR (a line without one takes the settings'),
// life drift, price and power rating: one grade a group, holding its lines' values (the first line
// of a value repeated within a group), named by the manufacturer its lines share. Cheapest first,
// a grade without a price after those with one, in the catalogue's order on a tie. Empty without
// a catalogue.
std::vector<PartGrade> CatalogueGrades(const AnalysisSettings& settings);

// The grades the synthesis searches: the catalogue's when the parts list is one, else the
// settings' grades.
std::vector<PartGrade> SynthesisGrades(const AnalysisSettings& settings);

// The catalogue's line that the grade's value came from; nullptr for a grade of a series or of
// the plain parts list.
const CataloguePart* CatalogueLine(const PartsList& parts, const PartGrade& grade, double ohms);

// The series a report names for the grade: "catalogue" for a catalogue's, else its series'.
std::string_view GradeSeriesName(const PartGrade& grade);

} // namespace calc_core
