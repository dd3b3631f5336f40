// The design file's reader: every refusal is one sentence naming the file and the place, and a
// good file gives back what was written.
#include "calc_core/parts_list.h"
#include "design_file/design_file_reader.h"
#include "design_file/design_file_writer.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

using Json = nlohmann::ordered_json;
using design_file::ReadDesign;

const std::string Refused = "rail.okep cannot be opened: ";

// The worked example of the Calc tab as the writer writes it.
Json GoodDocument() {
    design_file::Design design;
    design.inputs = {10000, 2.5, 40, 30, 0};
    return Json::parse(design_file::DesignText(design));
}

struct Change {
    const char* name;
    const char* pointer; // the member changed, as a JSON pointer
    const char* value;   // its new JSON text; nullptr removes it
    const char* error;   // after "rail.okep cannot be opened: "
};

void PrintTo(const Change& change, std::ostream* os) {
    *os << change.name;
}

class ChangedMember : public ::testing::TestWithParam<Change> {};

TEST_P(ChangedMember, IsRefusedWithOneSentence) {
    Json document = GoodDocument();
    const Json::json_pointer pointer(GetParam().pointer);
    if (GetParam().value) {
        document[pointer] = Json::parse(GetParam().value);
    } else {
        document[pointer.parent_pointer()].erase(pointer.back());
    }
    const design_file::DesignRead read = ReadDesign(document.dump(2), "rail.okep");
    EXPECT_FALSE(read.design);
    EXPECT_EQ(read.error, Refused + GetParam().error);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Members, ChangedMember,
    ::testing::Values(
        // Format and version first: a newer file is refused for being newer, whatever it holds.
        Change{"OtherFormat", "/format", R"("orvalex-kep-board")", R"(format must be "orvalex-kep-design".)"},
        Change{"NoFormat", "/format", nullptr, "format is missing."},
        Change{"NewerVersion", "/version", "3", "it was saved by a newer version (format 3); this one reads up to 2."},
        Change{"NewerVersionWithNewMembers", "/colour", R"("red")", "colour is not a member it can have."},
        Change{"VersionZero", "/version", "0", "version must be a whole number from 1."},
        Change{"VersionHalf", "/version", "1.5", "version must be a whole number from 1."},
        Change{"VersionText", "/version", R"("1")", "version must be a number."},
        Change{"TabCapital", "/tab", R"("Calc")", R"(tab must be one of "calc", "check".)"},
        Change{"DiodeText", "/diode", R"("no")", "diode must be true or false."},
        Change{"InputsArray", "/inputs", "[10000, 2.5, 40, 30]", "inputs must be an object."},
        Change{"InputText", "/inputs/r2", R"("10k")", "inputs.r2 must be a number."},
        Change{"InputMissing", "/inputs/vo_min", nullptr, "inputs.vo_min is missing."},
        Change{"CheckInputOnCalc", "/inputs/r1", "470", "inputs.r1 is not a member it can have."},
        Change{"VfWithoutDiode", "/inputs/vf", "0.6", "inputs.vf is for a design with the diode, and diode is false."},
        Change{"DiodeWithoutVf", "/diode", "true", "inputs.vf is missing."},
        Change{"SettingsMissing", "/settings", nullptr, "settings is missing."},
        Change{"SettingText", "/settings/spec_pct", R"("5")", "settings.spec_pct must be a number."},
        Change{"SeriesNumber", "/settings/series", "96", "settings.series must be a string."},
        Change{"SeriesUnknown", "/settings/series", R"("E97")", "settings.series must be one of E6, E12, E24, E48, E96, E192, parts."},
        Change{"SettingUnknown", "/settings/tolerance", "1", "settings.tolerance is not a member it can have."},
        Change{"SettingKeyQuoted", "/settings/spec pct", "1", R"(settings."spec pct" is not a member it can have.)"},
        // Values out of range: the core's own sentence, placed.
        Change{"SpecBelowItsLowest", "/settings/spec_pct", "0.00999", "at settings.spec_pct, the output spec must be from 0.01 % to 99.99 % to analyse the design."},
        Change{"TemperaturesUpsideDown", "/settings/temp_min_c", "90", "at settings.temp_max_c, the lowest operating temperature must not be above the highest to analyse the design."},
        Change{"FitNumber", "/fit", "2", "fit must be null or an object."},
        Change{"FitHalfPair", "/fit", R"({"pair": 1.5})", "fit.pair must be a whole number."},
        Change{"FitPairAndR1", "/fit", R"({"pair": 1, "r1": 100})", R"(fit must be {"pair": rank} or {"r1": ohms, "r3": ohms}.)"},
        Change{"FitR1Alone", "/fit", R"({"r1": 100})", R"(fit must be {"pair": rank} or {"r1": ohms, "r3": ohms}.)"},
        Change{"FitRankFour", "/fit", R"({"pair": 4})", "at fit, the pair to fit must be one of the preferred pairs, 1 to 3, to analyse the design."},
        Change{"FitR3Zero", "/fit", R"({"r1": 64900, "r3": 0})", "at fit, the fitted R3 must be above 0 \u03a9 to analyse the design."},
        Change{"YieldEstimatedText", "/yield_estimated", R"("yes")", "yield_estimated must be true or false."},
        Change{"NoteNull", "/note", "null", "note must be a string."},
        Change{"NoteMissing", "/note", nullptr, "note is missing."},
        // A parts catalogue's parts: every member of a part known, texts that stay on one line of
        // the catalogue's text, figures within their limits.
        Change{"PartsMixed", "/settings/parts", R"([1000, {"value_ohm": 2000}])", "settings.parts must be an array of resistances in ohms, or of catalogue parts."},
        Change{"PartUnknownMember", "/settings/parts", R"([{"value_ohm": 1000, "colour": "red"}])", "settings.parts.colour is not a member it can have."},
        Change{"PartWithoutValue", "/settings/parts", R"([{"mpn": "X"}])", "settings.parts.value_ohm is missing."},
        Change{"PartMpnWithComma", "/settings/parts", R"([{"value_ohm": 1000, "mpn": "A,B"}])", "settings.parts.mpn must not hold a comma or a line end."},
        Change{"PartMakerOnTwoLines", "/settings/parts", R"([{"value_ohm": 1000, "manufacturer": "A\nB"}])", "settings.parts.manufacturer must not hold a comma or a line end."},
        Change{"PartNegativePrice", "/settings/parts", R"([{"value_ohm": 1000}, {"value_ohm": 2000, "price": -1}])", "at settings.parts, part 2 of the parts catalogue: the price must be from 0 to 1000000000000 to analyse the design."},
        Change{"PartValueZero", "/settings/parts", R"([{"value_ohm": 0}])", "at settings.parts, the parts list's value 1 must be from 1 \u03a9 to 10 M\u03a9 to analyse the design."}));
// clang-format on

struct Text {
    const char* name;
    std::string text;
    const char* error; // after "rail.okep cannot be opened: "
};

void PrintTo(const Text& text, std::ostream* os) {
    *os << text.name;
}

class BrokenText : public ::testing::TestWithParam<Text> {};

TEST_P(BrokenText, IsRefusedAtItsLineAndColumn) {
    const design_file::DesignRead read = ReadDesign(GetParam().text, "rail.okep");
    EXPECT_FALSE(read.design);
    EXPECT_EQ(read.error, Refused + GetParam().error);
}

// Columns count characters ("Ω" is one); a number is placed at its last digit.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Syntax, BrokenText,
    ::testing::Values(
        Text{"Empty", "", "line 1, column 1 is not valid JSON (unexpected end of input; expected '[', '{', or a literal)."},
        Text{"MissingValue", R"({"format": })", "line 1, column 12 is not valid JSON (unexpected '}'; expected '[', '{', or a literal)."},
        Text{"NaN", "{\n  \"a\": 1,\n  \"b\": NaN\n}", "line 3, column 8 holds NaN or Infinity, which are not numbers in JSON."},
        Text{"LowerNan", "{\"a\": nan}", "line 1, column 8 holds NaN or Infinity, which are not numbers in JSON."},
        Text{"Infinity", "{\"a\":\n Infinity}", "line 2, column 2 holds NaN or Infinity, which are not numbers in JSON."},
        Text{"MinusInfinity", "[-Infinity]", "line 1, column 3 holds NaN or Infinity, which are not numbers in JSON."},
        Text{"BeyondDoubles", "{\"a\": 1e309}", "line 1, column 11 holds a number beyond the range of doubles."},
        Text{"RepeatedTop", "{\"tab\": \"calc\",\n\"tab\": \"check\"}", "line 2, column 5 repeats the member tab."},
        Text{"RepeatedSetting", "{\"settings\": {\"spec_pct\": 5, \"spec_pct\": 6}}", "line 1, column 39 repeats the member settings.spec_pct."},
        Text{"RepeatedInArray", "[{}, {\"\u03a9\": 1, \"\u03a9\": 2}]", "line 1, column 17 repeats the member [1].\"\u03a9\"."},
        Text{"Seventeen", std::string(17, '[') + std::string(17, ']'), "line 1, column 17 nests deeper than 16 levels."},
        Text{"HundredThousand", std::string(100000, '[') + std::string(100000, ']'), "line 1, column 17 nests deeper than 16 levels."},
        Text{"Trailing", "{} x", "line 1, column 4 is not valid JSON (invalid literal; last read: '{} x'; expected end of input)."},
        Text{"NotAnObject", "[1]", "the file does not hold a JSON object."},
        Text{"JustOverTheLimit", std::string(design_file::MaxFileBytes + 1, ' '), "it is larger than 1 MiB, which no design file is."}));
// clang-format on

// A parts catalogue, figures given and left out, with its part numbers, reads back as written.
TEST(DesignFileReader, PartsCatalogueComesBackAsWritten) {
    design_file::Design design;
    design.inputs = {10000, 2.5, 40, 30, 0};
    design.settings.parts =
        calc_core::ReadPartsList("value, tolerance, tcr, price, mpn, manufacturer\n"
                                 "10k, 1, 50, 0.016, ERJ-1002, Panasonic\n"
                                 "10k, , , 0.013, , \n4k7, 0.1, 25, , X, Y\n")
            .list;
    const design_file::DesignRead read = ReadDesign(design_file::DesignText(design), "rail.okep");
    ASSERT_TRUE(read.design) << read.error;
    EXPECT_EQ(read.design->settings.parts, design.settings.parts);
    EXPECT_EQ(read.design->settings.parts.catalogue.size(), 3u);
}

TEST(DesignFileReader, SixteenLevelsAreRead) {
    const std::string text = "{\"a\": " + std::string(15, '[') + std::string(15, ']') + "}";
    // Not a design, but not refused for its depth: the reader goes on to the format.
    EXPECT_EQ(ReadDesign(text, "rail.okep").error, Refused + "format is missing.");
}

TEST(DesignFileReader, FileNameWithControlCharactersStaysOnOneLine) {
    EXPECT_EQ(ReadDesign("[]", "a\nb.okep").error,
              "a?b.okep cannot be opened: the file does not hold a JSON object.");
}

TEST(DesignFileReader, AbsentSettingsAreTheirDefaults) {
    Json document = GoodDocument();
    document["settings"] = Json::object({{"spec_pct", 2}});
    const auto read = ReadDesign(document.dump(), "rail.okep");
    ASSERT_TRUE(read.design) << read.error;
    EXPECT_EQ(read.design->settings.specPct, 2);
    EXPECT_EQ(read.design->settings.resistorTolerancePct, 1);
    EXPECT_EQ(read.design->settings.series, calc_core::ESeries::E96);
}

// A file of version 1, as the program saved it before the resistors had a life drift: it opens
// with life drift 0 and every other value as it was saved.
TEST(DesignFileReader, VersionOneOpensWithTheSettingsItLacksAtTheirDefaults) {
    const std::string version1 = R"({
  "format": "orvalex-kep-design",
  "version": 1,
  "tab": "calc",
  "diode": false,
  "inputs": {"r2": 10000, "vref": 2.5, "vo_max": 40, "vo_min": 30},
  "settings": {
    "series": "E24", "resistor_pct": 0.5, "vref_pct": 1, "level_mv": 10, "vf_v": 0.05,
    "pin_v": 3.3, "temp_min_c": -20, "temp_max_c": 70, "tcr_ppm": 50, "vref_drift_ppm": 0,
    "vf_tempco_mv": -2, "fb_current_na": 0, "spec_pct": 2.5,
    "grades": [{"series": "E96", "tolerance_pct": 1, "tcr_ppm": 50, "name": "thick film"}],
    "r2_min": null, "r2_max": null, "parts": [], "boards": 20000, "seed": 7,
    "distribution": "normal"
  },
  "fit": {"pair": 2},
  "note": "5V rail"
}
)";
    const auto read = ReadDesign(version1, "old.okep");
    ASSERT_TRUE(read.design) << read.error;
    const calc_core::AnalysisSettings& s = read.design->settings;
    EXPECT_EQ(s.resistorLifeDriftPct, 0);
    EXPECT_EQ(s.series, calc_core::ESeries::E24);
    EXPECT_EQ(s.resistorTolerancePct, 0.5);
    EXPECT_EQ(s.tempMinC, -20);
    EXPECT_EQ(s.resistorTcrPpm, 50);
    EXPECT_EQ(s.specPct, 2.5);
    ASSERT_EQ(s.grades.size(), 1u);
    EXPECT_EQ(s.grades[0].name, "thick film");
    EXPECT_FALSE(s.grades[0].lifeDriftPct.has_value());
    EXPECT_EQ(s.yield.seed, 7u);
    EXPECT_EQ(s.yield.distribution, calc_core::YieldDistribution::Normal);
    EXPECT_EQ(read.design->fit->pairRank, 2);
    EXPECT_EQ(read.design->note, "5V rail");
}

// A file may lack whether the yield is estimated, as files written before it was kept do: then
// it is not.
TEST(DesignFileReader, YieldEstimatedIsFalseWhenAbsent) {
    for (const auto& [given, read] :
         {std::pair{"absent", false}, {"true", true}, {"false", false}}) {
        SCOPED_TRACE(given);
        Json document = GoodDocument();
        document.erase("yield_estimated");
        if (std::string_view(given) != "absent") {
            document["yield_estimated"] = Json::parse(given);
        }
        const auto opened = ReadDesign(document.dump(), "rail.okep");
        ASSERT_TRUE(opened.design) << opened.error;
        EXPECT_EQ(opened.design->yieldEstimated, read);
    }
}

TEST(DesignFileReader, SeriesIsReadWithoutRegardToCase) {
    Json document = GoodDocument();
    document["settings"]["series"] = "e24";
    const auto read = ReadDesign(document.dump(), "rail.okep");
    ASSERT_TRUE(read.design) << read.error;
    EXPECT_EQ(read.design->settings.series, calc_core::ESeries::E24);
}

// The size is judged before a byte is read: a 100 MB file is refused at once.
TEST(DesignFileReader, HundredMegabyteFileIsRefusedUnread) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("orvalex-kep-big-" + std::to_string(getpid()) + ".okep");
    { std::ofstream(path) << "{"; }
    std::filesystem::resize_file(path, 100'000'000);
    const auto read = design_file::ReadDesignFile(path, "big.okep");
    std::filesystem::remove(path);
    EXPECT_EQ(read.error, "big.okep cannot be opened: it is larger than 1 MiB, which no design "
                          "file is.");
}

TEST(DesignFileReader, FolderAndMissingFileAreRefused) {
    EXPECT_EQ(design_file::ReadDesignFile(std::filesystem::temp_directory_path(), "tmp").error,
              "tmp cannot be opened: it is a folder.");
    EXPECT_EQ(design_file::ReadDesignFile("/nonexistent/rail.okep", "rail.okep").error,
              Refused + "it cannot be read (No such file or directory).");
}

} // namespace
