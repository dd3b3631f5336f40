// The design file's writer: its text exactly, numbers that read back as the same doubles, and
// files that keep to the schema in docs/ as the reader keeps to it.
#include "calc_core/tab_inputs.h"
#include "design_file/design_file_reader.h"
#include "design_file/design_file_writer.h"
#include "schema_check.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <limits>
#include <set>
#include <string>

namespace {

using calc_core::FitChoice;
using calc_core::Tab;
using design_file::Design;
using nlohmann::json;

Design CheckWithDiode() {
    Design design;
    design.tab = Tab::Check;
    design.diode = true;
    design.inputs = {470, 10, 100, 1.2, 0.6};
    design.settings.series = calc_core::ESeries::E24;
    design.settings.specPct = 2.5;
    design.fit = FitChoice::Typed(0.1 + 0.2, 1e-7);
    design.yieldEstimated = true;
    design.note = "3V3 \"core\"\n";
    return design;
}

TEST(DesignFileWriter, WritesTheMembersInOrderWithShortestExactNumbers) {
    EXPECT_EQ(design_file::DesignText(CheckWithDiode()), R"({
  "format": "orvalex-kep-design",
  "version": 2,
  "tab": "check",
  "diode": true,
  "inputs": {
    "r1": 470,
    "r2": 10,
    "r3": 100,
    "vref": 1.2,
    "vf": 0.6
  },
  "settings": {
    "series": "E24",
    "resistor_pct": 1,
    "vref_pct": 1,
    "level_mv": 10,
    "vf_v": 0.05,
    "pin_v": 3.3,
    "temp_min_c": -40,
    "temp_max_c": 85,
    "tcr_ppm": 100,
    "life_drift_pct": 0,
    "vref_drift_ppm": 0,
    "vf_tempco_mv": -2,
    "fb_current_na": 0,
    "spec_pct": 2.5,
    "grades": [
      {"series": "E24", "tolerance_pct": 5, "tcr_ppm": 200, "price": 1, "power_w": 0.1, "name": ""},
      {"series": "E24", "tolerance_pct": 1, "tcr_ppm": 100, "price": 1.1, "power_w": 0.1, "name": ""},
      {"series": "E96", "tolerance_pct": 1, "tcr_ppm": 100, "price": 1.3, "power_w": 0.1, "name": ""},
      {"series": "E96", "tolerance_pct": 1, "tcr_ppm": 50, "price": 1.6, "power_w": 0.1, "name": ""},
      {"series": "E192", "tolerance_pct": 0.5, "tcr_ppm": 25, "price": 4, "power_w": 0.1, "name": ""},
      {"series": "E192", "tolerance_pct": 0.1, "tcr_ppm": 25, "price": 9, "power_w": 0.1, "name": ""},
      {"series": "E192", "tolerance_pct": 0.1, "tcr_ppm": 10, "price": 20, "power_w": 0.1, "name": ""}
    ],
    "r2_min": null,
    "r2_max": null,
    "parts": [],
    "criterion": "worst-case",
    "max_ppm": 100,
    "min_cpk": 1.33,
    "mix_grades": true,
    "boards": 100000,
    "seed": 1,
    "distribution": "uniform"
  },
  "fit": {
    "r1": 0.30000000000000004,
    "r3": 1e-07
  },
  "yield_estimated": true,
  "note": "3V3 \"core\"\n"
}
)");
}

json Schema() {
    std::ifstream file(std::string(ORVALEX_SOURCE_DIR) + "/docs/design-file.schema.json");
    return json::parse(file);
}

struct RoundTrip {
    const char* name;
    Design design;
};

void PrintTo(const RoundTrip& trip, std::ostream* os) {
    *os << trip.name;
}

Design WithInputs(Tab tab, bool diode, std::array<double, 5> inputs) {
    Design design;
    design.tab = tab;
    design.diode = diode;
    design.inputs = inputs;
    return design;
}

Design Fitted(Design design, FitChoice fit, std::string note) {
    design.fit = fit;
    design.note = std::move(note);
    return design;
}

class WrittenThenRead : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(WrittenThenRead, GivesTheSameDesign) {
    const Design& design = GetParam().design;
    const std::string text = design_file::DesignText(design);
    const auto read = design_file::ReadDesign(text, "trip.okep");
    ASSERT_TRUE(read.design) << read.error;
    EXPECT_EQ(read.design->tab, design.tab);
    EXPECT_EQ(read.design->diode, design.diode);
    for (std::size_t i = 0; i < calc_core::VfInput + (design.diode ? 1 : 0); ++i) {
        EXPECT_EQ(read.design->inputs[i], design.inputs[i]) << i;
        EXPECT_EQ(std::signbit(read.design->inputs[i]), std::signbit(design.inputs[i])) << i;
    }
    EXPECT_EQ(json(design_file::DesignText(*read.design)), json(text));
    ASSERT_EQ(read.design->fit.has_value(), design.fit.has_value());
    if (design.fit) {
        EXPECT_EQ(read.design->fit->pairRank, design.fit->pairRank);
        EXPECT_EQ(read.design->fit->r1, design.fit->r1);
        EXPECT_EQ(read.design->fit->r3, design.fit->r3);
    }
    EXPECT_EQ(read.design->note, design.note);
    EXPECT_EQ(schema_check::Violation(Schema(), json::parse(text)), "");
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Designs, WrittenThenRead,
    ::testing::Values(
        RoundTrip{"CalcExample", WithInputs(Tab::Calc, false, {10000, 2.5, 40, 30, 0})},
        RoundTrip{"CheckWithDiodeAndTypedPair", CheckWithDiode()},
        RoundTrip{"NearestDoublesAndExtremes", WithInputs(Tab::Calc, true, {0.1 + 0.2, 1e-300, 1.7976931348623157e308, 5e-324, 123456789.12345679})},
        RoundTrip{"NegativeZeroKeepsItsSign", WithInputs(Tab::Check, false, {-0.0, -1, 1e22, 9007199254740993.0, 0})},
        RoundTrip{"PairAndNote", Fitted(WithInputs(Tab::Calc, false, {10000, 2.5, 40, 30, 0}), FitChoice::Pair(3), "Rail \u03a9 \\ \t tab")}));
// clang-format on

// The schema names the table's keys: a setting added to the table must be added to the schema.
TEST(DesignFileSchema, NamesEveryKeyTheWriterWrites) {
    const json schema = Schema();
    std::set<std::string> settings;
    for (const auto& row : calc_core::SettingRows()) {
        settings.emplace(row.key);
    }
    std::set<std::string> inputs;
    for (const Tab tab : {Tab::Calc, Tab::Check}) {
        for (const auto& input : calc_core::TabInputs(tab)) {
            inputs.emplace(input.key);
        }
    }
    const auto keysOf = [](const json& object) {
        std::set<std::string> keys;
        for (const auto& member : object.items()) {
            keys.insert(member.key());
        }
        return keys;
    };
    EXPECT_EQ(keysOf(schema["properties"]["settings"]["properties"]), settings);
    EXPECT_EQ(keysOf(schema["properties"]["inputs"]["properties"]), inputs);
    std::vector<std::string> written;
    const auto document = nlohmann::ordered_json::parse(design_file::DesignText(CheckWithDiode()));
    for (const auto& member : document.items()) {
        written.push_back(member.key());
    }
    // Every member written is the schema's; all are required but what an older file may lack.
    std::vector<std::string> required;
    for (const std::string& key : written) {
        EXPECT_TRUE(schema["properties"].contains(key)) << key;
        if (key != design_file::keys::YieldEstimated) {
            required.push_back(key);
        }
    }
    EXPECT_EQ(schema["required"].get<std::vector<std::string>>(), required);
}

// The checker is no formality: what the reader refuses for its type or shape, the schema does.
TEST(DesignFileSchema, RefusesWhatTheReaderRefuses) {
    const std::pair<const char*, const char*> changes[] = {
        {"/version", "3"},         {"/inputs/r2", "\"10k\""},          {"/settings/tolerance", "1"},
        {"/fit", "{\"pair\": 4}"}, {"/fit", "{\"r1\": 0, \"r3\": 1}"}, {"/note", "null"},
    };
    for (const auto& [pointer, value] : changes) {
        SCOPED_TRACE(std::string(pointer) + " = " + value);
        json document = json::parse(design_file::DesignText(CheckWithDiode()));
        document[json::json_pointer(pointer)] = json::parse(value);
        EXPECT_NE(schema_check::Violation(Schema(), document), "");
        EXPECT_FALSE(design_file::ReadDesign(document.dump(), "x.okep").design);
    }
}

} // namespace
