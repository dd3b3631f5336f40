// The page's interface: presses with the window's control names, the recorded designs the
// analysis reads, and requests that are refused without changing anything.
#include "web_page/api/request_handler.h"

#include "analysis_report/analysis_json.h"
#include "analysis_report/analysis_report.h"
#include "calc_core/design_analysis.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

namespace web_page {
namespace {

using Json = nlohmann::ordered_json;

// A request and the whole response, byte for byte.
struct Exchange {
    const char* name;
    const char* request;
    const char* response;
};

void PrintTo(const Exchange& e, std::ostream* os) {
    *os << e.name;
}

class PressTest : public ::testing::TestWithParam<Exchange> {};

TEST_P(PressTest, AnswersAsTheWindowShows) {
    RequestHandler handler;
    EXPECT_EQ(handler.HandleRequest(GetParam().request), GetParam().response);
}

std::string Calc(bool yes, bool no, const char* texts, const char* locale = "") {
    return std::string(R"({"op":"press","tab":"calc","yes":)") + (yes ? "true" : "false") +
           R"(,"no":)" + (no ? "true" : "false") + R"(,"texts":)" + texts + locale + "}";
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Presses, PressTest,
    ::testing::Values(
        Exchange{"CalcNoDiode40To30",
                 R"J({"op":"press","tab":"calc","yes":false,"no":true,"texts":["10000","2.5","40","30",""]})J",
                 R"J({"message":null,"layout":"no","texts":{"Label2(0)":"64955","Label2(1)":"7210","Label2(2)":"35"},"red":null,"recorded":true})J"},
        // With the diode Vo_mid is neither computed nor written.
        Exchange{"CalcDiode40To30",
                 R"J({"op":"press","tab":"calc","yes":true,"no":false,"texts":["10000","2.5","40","30","0.6"]})J",
                 R"J({"message":null,"layout":"yes","texts":{"Label2(0)":"24286","Label2(1)":"1360"},"red":null,"recorded":true})J"},
        Exchange{"CalcFlagsVoMaxBox",
                 R"J({"op":"press","tab":"calc","yes":false,"no":true,"texts":["10000","2.5","40","2",""]})J",
                 R"J({"message":"Cal Error! Please check circuit!","layout":"no","texts":{"Label2(0)":"173171","Label2(1)":"-4943","Label2(2)":"-17"},"red":"Text1(2)","recorded":true})J"},
        Exchange{"CalcFlagsVoMidResult",
                 R"J({"op":"press","tab":"calc","yes":false,"no":true,"texts":["100","2.0","101.2","40.2",""]})J",
                 R"J({"message":"Cal Error! Please check circuit!","layout":"no","texts":{"Label2(0)":"151","Label2(1)":"3","Label2(2)":"66"},"red":"Label2(2)","recorded":true})J"},
        Exchange{"CalcFlagsVoMinBox",
                 R"J({"op":"press","tab":"calc","yes":false,"no":true,"texts":["2","0.5","240.6","90.8",""]})J",
                 R"J({"message":"Cal Error! Please check circuit!","layout":"no","texts":{"Label2(0)":"766","Label2(1)":"6","Label2(2)":"165"},"red":"Text1(3)","recorded":true})J"},
        // The arithmetic gives no R1 and R3: nothing written, nothing recorded.
        Exchange{"CalcWithoutResultRecordsNothing",
                 R"J({"op":"press","tab":"calc","yes":false,"no":true,"texts":["1000","1.25","35","10",""]})J",
                 R"J({"message":"Cal Error! Please check circuit!","layout":"no","texts":{},"red":null,"recorded":false})J"},
        Exchange{"CalcGermanSeparators",
                 R"J({"op":"press","tab":"calc","yes":false,"no":true,"texts":["10.000","2,5","40","30",""],"decimal":",","group":"."})J",
                 R"J({"message":null,"layout":"no","texts":{"Label2(0)":"64955","Label2(1)":"7210","Label2(2)":"35"},"red":null,"recorded":true})J"},
        // The French group separator is U+202F, three bytes of UTF-8.
        Exchange{"CheckFrenchGroupedR1",
                 "{\"op\":\"press\",\"tab\":\"check\",\"yes\":false,\"no\":true,\"texts\":[\"1\u202f000\",\"10\",\"100\",\"1,2\",\"\"],\"decimal\":\",\",\"group\":\"\u202f\"}",
                 R"J({"message":null,"layout":null,"texts":{"Label3(0)":"132","Label3(1)":"126","Label3(2)":"121","Label3(3)":"6,0"},"red":null,"recorded":true})J"},
        Exchange{"CheckDiodeLeavesMidAndDelta",
                 R"J({"op":"press","tab":"check","yes":true,"no":false,"texts":["470","10","100","1.2","0.6"]})J",
                 R"J({"message":null,"layout":null,"texts":{"Label3(0)":"60","Label3(2)":"57"},"red":null,"recorded":true})J"},
        // The layout follows the choice before the fields are judged.
        Exchange{"SelectDiodeMessage",
                 R"J({"op":"press","tab":"calc","yes":false,"no":false,"texts":["10000","2.5","40","30","0.6"]})J",
                 R"J({"message":"Please select Diode Yes or No","layout":null,"texts":{},"red":null,"recorded":false})J"},
        Exchange{"InputMissingMessage",
                 R"J({"op":"press","tab":"calc","yes":true,"no":false,"texts":["","","","",""]})J",
                 R"J({"message":"Please input Data","layout":"yes","texts":{},"red":null,"recorded":false})J"},
        Exchange{"InputErrorMessage",
                 R"J({"op":"press","tab":"check","yes":false,"no":true,"texts":["470","10","x","1.2",""]})J",
                 R"J({"message":"Input Data Error","layout":null,"texts":{},"red":null,"recorded":false})J"}),
    [](const auto& info) { return std::string(info.param.name); });

// Each refused request names its first fault and is answered with nothing else.
INSTANTIATE_TEST_SUITE_P(
    BadRequests, PressTest,
    ::testing::Values(
        Exchange{"NotJson", R"J({"op":"press",)J", R"J({"error":"the request is not valid JSON"})J"},
        Exchange{"Empty", "", R"J({"error":"the request is not valid JSON"})J"},
        Exchange{"NotAnObject", R"J(["press"])J", R"J({"error":"the request is not a JSON object"})J"},
        Exchange{"NoOp", R"J({"tab":"calc"})J", R"J({"error":"the request has no member \"op\""})J"},
        Exchange{"UnknownOp", R"J({"op":"clear"})J", R"J({"error":"\"op\" must be one of \"press\", \"analyse\", \"describe\", \"report_html\", \"yield_step\", \"read_setting\", \"save_design\", \"open_design\""})J"},
        Exchange{"DescribeTakesNothingElse", R"J({"op":"describe","tab":"calc"})J",
                 R"J({"error":"the request has an unknown member \"tab\""})J"},
        Exchange{"UnknownTab",
                 R"J({"op":"press","tab":"resister","yes":true,"no":false,"texts":["","","","",""]})J",
                 R"J({"error":"\"tab\" must be one of \"calc\", \"check\""})J"},
        Exchange{"ChoiceNotBool",
                 R"J({"op":"press","tab":"calc","yes":"true","no":false,"texts":["","","","",""]})J",
                 R"J({"error":"\"yes\" must be true or false"})J"},
        Exchange{"FourTexts",
                 R"J({"op":"press","tab":"calc","yes":true,"no":false,"texts":["","","",""]})J",
                 R"J({"error":"\"texts\" must be an array of 5 strings"})J"},
        Exchange{"NumberAmongTexts",
                 R"J({"op":"press","tab":"calc","yes":true,"no":false,"texts":["1",2,"3","4","5"]})J",
                 R"J({"error":"\"texts\" must be an array of 5 strings"})J"},
        Exchange{"SeparatorNotString",
                 R"J({"op":"press","tab":"calc","yes":true,"no":false,"texts":["","","","",""],"decimal":44})J",
                 R"J({"error":"\"decimal\" must be a string"})J"},
        Exchange{"UnknownMember",
                 R"J({"op":"press","tab":"calc","yes":true,"no":false,"texts":["","","","",""],"Text1(0)":"1"})J",
                 R"J({"error":"the request has an unknown member \"Text1(0)\""})J"},
        Exchange{"UnknownSeries", R"J({"op":"analyse","tab":"calc","settings":{"series":"E7"}})J",
                 R"J({"error":"\"series\" must be one of E6, E12, E24, E48, E96, E192, parts"})J"},
        Exchange{"SettingNotNumber", R"J({"op":"analyse","tab":"calc","settings":{"pin_v":"3.3"}})J",
                 R"J({"error":"\"pin_v\" must be a number"})J"},
        Exchange{"SettingsNotObject", R"J({"op":"analyse","tab":"check","settings":[]})J",
                 R"J({"error":"\"settings\" must be an object"})J"},
        Exchange{"UnknownSetting", R"J({"op":"analyse","tab":"check","settings":{"tolerance":1}})J",
                 R"J({"error":"the settings has an unknown member \"tolerance\""})J"},
        Exchange{"FitBothWays", R"J({"op":"analyse","tab":"calc","fit":{"pair":1,"r1":1000}})J",
                 R"J({"error":"the fit must be {\"pair\": rank} or {\"r1\": ohms, \"r3\": ohms}"})J"},
        Exchange{"FitR1Alone", R"J({"op":"analyse","tab":"calc","fit":{"r1":1000}})J",
                 R"J({"error":"the fit must be {\"pair\": rank} or {\"r1\": ohms, \"r3\": ohms}"})J"},
        Exchange{"FitRankNotWhole", R"J({"op":"analyse","tab":"calc","fit":{"pair":1.5}})J",
                 R"J({"error":"\"pair\" must be a whole number"})J"},
        // The document's date is the caller's: it must be given, as text.
        Exchange{"DocumentWithoutDate", R"J({"op":"report_html","tab":"calc"})J",
                 R"J({"error":"the request has no member \"date\""})J"},
        Exchange{"DocumentDateNotText", R"J({"op":"report_html","tab":"calc","date":20251231})J",
                 R"J({"error":"\"date\" must be a string"})J"},
        Exchange{"DocumentNoteNotText",
                 R"J({"op":"report_html","tab":"calc","date":"2025-12-31","note":["a"]})J",
                 R"J({"error":"\"note\" must be a string"})J"},
        Exchange{"DocumentUnknownMember",
                 R"J({"op":"report_html","tab":"calc","date":"2025-12-31","title":"x"})J",
                 R"J({"error":"the request has an unknown member \"title\""})J"},
        Exchange{"DateOnlyForDocuments", R"J({"op":"analyse","tab":"calc","date":"2025-12-31"})J",
                 R"J({"error":"the request has an unknown member \"date\""})J"},
        // A tab with no design yet has nothing else to say.
        Exchange{"NothingRecorded", R"J({"op":"analyse","tab":"check"})J", R"J({"recorded":false})J"},
        Exchange{"NoDocumentUnrecorded", R"J({"op":"report_html","tab":"check","date":"2025-12-31"})J",
                 R"J({"recorded":false})J"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

Json Answer(RequestHandler& handler, const std::string& request) {
    return Json::parse(handler.HandleRequest(request));
}

Json Analyse(RequestHandler& handler, const char* tab) {
    return Answer(handler, std::string(R"({"op":"analyse","tab":")") + tab + "\"}");
}

const char* const kNoDiode = R"J(["10000","2.5","40","30",""])J";
const char* const kOtherNoDiode = R"J(["1000","1.0","35","10",""])J";

// What the analysis reads after a sequence of presses, as the window's record keeps it.
TEST(RecordedDesign, FollowsThePressesThatComputed) {
    struct Row {
        const char* name;
        const char* laterTexts; // pressed after the first design, with "No"
        bool laterRecorded;
        const char* analysedTexts; // the press whose design the analysis must read
    };
    const Row rows[] = {
        {"ComputingPressReplacesDesign", kOtherNoDiode, true, kOtherNoDiode},
        {"GateMessageKeepsDesign", R"J(["10000","","40","30",""])J", false, kNoDiode},
        {"PressWithoutResultKeepsDesign", R"J(["1000","1.25","35","10",""])J", false, kNoDiode},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RequestHandler handler;
        Answer(handler, Calc(false, true, kNoDiode));
        EXPECT_EQ(Answer(handler, Calc(false, true, row.laterTexts))["recorded"],
                  row.laterRecorded);
        RequestHandler alone;
        Answer(alone, Calc(false, true, row.analysedTexts));
        const Json analysis = Analyse(handler, "calc");
        EXPECT_EQ(analysis["recorded"], true);
        EXPECT_EQ(analysis, Analyse(alone, "calc"));
        // The other tab has computed nothing.
        EXPECT_EQ(Analyse(handler, "check"), Json({{"recorded", false}}));
    }
}

TEST(RecordedDesign, BadRequestChangesNothing) {
    RequestHandler handler;
    Answer(handler, Calc(false, true, kNoDiode));
    const Json before = Analyse(handler, "calc");
    EXPECT_TRUE(
        Answer(handler, Calc(false, true, kOtherNoDiode, R"(,"decimal":1)")).contains("error"));
    EXPECT_EQ(Analyse(handler, "calc"), before);
}

// Every setting reaches its own member, and the report writes the decimal separator asked for.
TEST(Analysis, SettingsAndDecimalReachTheReport) {
    RequestHandler handler;
    Answer(handler, Calc(false, true, kNoDiode));
    const Json answer = Answer(
        handler, R"({"op":"analyse","tab":"calc","decimal":",","settings":{"series":"E24",)"
                 R"J("resistor_pct":0.5,"vref_pct":2,"level_mv":20,"vf_v":0.1,"pin_v":5,)J"
                 R"J("temp_min_c":-20,"temp_max_c":105,"tcr_ppm":50,"vref_drift_ppm":20,)J"
                 R"J("vf_tempco_mv":-1.5,"fb_current_na":200,"spec_pct":2},"fit":{"pair":2}})J");

    calc_core::AnalysisSettings settings;
    settings.series = calc_core::ESeries::E24;
    settings.resistorTolerancePct = 0.5;
    settings.vrefTolerancePct = 2;
    settings.levelAccuracyMv = 20;
    settings.vfSpreadV = 0.1;
    settings.pinVoltage = 5;
    settings.tempMinC = -20;
    settings.tempMaxC = 105;
    settings.resistorTcrPpm = 50;
    settings.vrefDriftPpm = 20;
    settings.vfTempcoMv = -1.5;
    settings.fbCurrentNa = 200;
    settings.specPct = 2;
    calc_core::DesignInputs inputs{calc_core::DiodeChoice::No, 10000, 2.5, 40, 30};
    const auto design = calc_core::DesignOfCalc(inputs, 64955, 7210);
    const auto outcome = calc_core::AnalyseDesign(design, settings, calc_core::FitChoice::Pair(2));
    ASSERT_TRUE(outcome.analysis);
    ASSERT_TRUE(outcome.analysis->fitted);
    const auto report =
        analysis_report::MakeReport(calc_core::Tab::Calc, design, settings, outcome, ",");
    EXPECT_EQ(answer["json"], analysis_report::AnalysisJson(*outcome.analysis));
    EXPECT_EQ(answer["text"], analysis_report::ReportText(report));
    EXPECT_EQ(answer["report"]["sections"].size(), report.sections.size());
    EXPECT_EQ(answer["report"]["sections"][0]["subject"], report.sections[0].subject);
    // The plot's marks carry the fitted pair's spec bands.
    const Json& mark = answer["plot"]["marks"][0];
    EXPECT_EQ(mark["spec_low"], outcome.analysis->fitted->set.spec[0].low);
    EXPECT_EQ(mark["spec_high"], outcome.analysis->fitted->set.spec[0].high);
    EXPECT_EQ(mark["meets_spec"], outcome.analysis->fitted->set.spec[0].meets);
}

// A fit the core cannot take is a design it cannot analyse, as typed values out of range are:
// the report says why, and the next request without the fit analyses the design again.
TEST(Analysis, RefusedFitIsTheReportsReason) {
    const struct {
        const char* fit;
        std::optional<calc_core::FitChoice> choice;
    } rows[] = {
        {R"J({"pair":4})J", calc_core::FitChoice::Pair(4)},
        {R"J({"r1":64955,"r3":0})J", calc_core::FitChoice::Typed(64955, 0)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fit);
        RequestHandler handler;
        Answer(handler, Calc(false, true, kNoDiode));
        const Json answer =
            Answer(handler, std::string(R"({"op":"analyse","tab":"calc","fit":)") + row.fit + "}");
        EXPECT_EQ(answer["report"]["reason"], calc_core::FitRefusal(row.choice));
        EXPECT_TRUE(answer["json"].is_null());
        const Json again = Analyse(handler, "calc")["json"];
        EXPECT_TRUE(again.is_object() && again["fitted"].is_null());
    }
}

// A setting the core refuses gives the report with its reason, and no numbers to draw.
TEST(Analysis, RefusedAnalysisHasReasonAndNoNumbers) {
    RequestHandler handler;
    Answer(handler, Calc(false, true, kNoDiode));
    const Json answer =
        Answer(handler, R"J({"op":"analyse","tab":"calc","settings":{"resistor_pct":100}})J");
    EXPECT_EQ(answer["recorded"], true);
    EXPECT_FALSE(answer["report"]["reason"].get<std::string>().empty());
    EXPECT_TRUE(answer["plot"].is_null());
    EXPECT_TRUE(answer["json"].is_null());
}

// The pair analysed, under the fit's keys: the design's own, the fitted one, or none when the
// fit is refused; and the one section whose rows may be fitted. The pairs are the page's worked
// examples of the E96 series for R2 10 kΩ, Vref 2.5 V, 40 V to 30 V.
TEST(Analysis, NamesThePairAnalysedAndTheFittableSection) {
    const struct {
        const char* fit;
        Json analysed;
    } rows[] = {
        {"", {{"r1", 64955}, {"r3", 7210}}},
        {R"J(,"fit":{"pair":2})J", {{"r1", 66500}, {"r3", 7500}}},
        {R"J(,"fit":{"pair":3})J", {{"r1", 63400}, {"r3", 6980}}},
        {R"J(,"fit":{"r1":65000,"r3":7150})J", {{"r1", 65000}, {"r3", 7150}}},
        {R"J(,"fit":{"pair":4})J", nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fit);
        RequestHandler handler;
        Answer(handler, Calc(false, true, kNoDiode));
        const Json answer =
            Answer(handler, std::string(R"({"op":"analyse","tab":"calc")") + row.fit + "}");
        EXPECT_EQ(answer["analysed"], row.analysed);
        std::vector<std::string> fittable;
        for (const Json& section : answer["report"]["sections"]) {
            if (section["fittable"] == true) {
                fittable.push_back(section["name"]);
            }
        }
        const bool analysed = !row.analysed.is_null();
        EXPECT_EQ(fittable, analysed ? std::vector<std::string>{"Preferred values"}
                                     : std::vector<std::string>{});
    }
}

// What stands beside a setting given but not used, by its key, with a refused analysis too; and
// the design file a document names.
TEST(Analysis, NoticesAndTheDocumentsDesignFile) {
    const struct {
        const char* settings;
        bool notice;
    } rows[] = {
        {R"J({"parts":[4700,10000],"spec_pct":200})J", true},
        {R"J({"parts":[4700,10000],"series":"parts"})J", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.settings);
        RequestHandler handler;
        Answer(handler, Calc(false, true, kNoDiode));
        const Json answer =
            Answer(handler,
                   std::string(R"({"op":"analyse","tab":"calc","settings":)") + row.settings + "}");
        ASSERT_TRUE(answer["notices"].is_object());
        EXPECT_EQ(answer["notices"].contains("parts"), row.notice);
    }
    RequestHandler handler;
    Answer(handler, Calc(false, true, kNoDiode));
    const std::string html =
        Answer(handler, R"({"op":"report_html","tab":"calc","date":"2026-01-02",)"
                        R"("file_name":"rail <5V>.okep"})")["html"];
    EXPECT_NE(html.find("Design file: rail &lt;5V&gt;.okep"), std::string::npos);
}

// The settings' table as describe gives it, in the table's order, checked against the limits,
// decimals and defaults the window's boxes show.
TEST(Describe, GivesEachSettingAsTheWindowShowsIt) {
    const struct {
        std::size_t index;
        const char* id;
        const char* key;
        const char* label;
        const char* unit;
        bool plusMinus;
        bool diodeOnly;
        double lowest;
        double highest;
        int decimals;
        double fallback;
    } rows[] = {
        {1, "ResistorTolerance", "resistor_pct", "Resistor tolerance", "%", true, false, 0, 99.99,
         2, 1},
        {3, "LevelAccuracy", "level_mv", "Pin level accuracy", "mV", true, false, 0, 1000, 1, 10},
        {4, "VfSpread", "vf_v", "Vf spread", "V", true, true, 0, 10, 3, 0.05},
        {5, "PinVoltage", "pin_v", "Pin voltage", "V", false, false, -1000, 1000, 3, 3.3},
        {6, "TempMin", "temp_min_c", "Lowest temperature", "\u00b0C", false, false, -273.15, 500, 2,
         -40},
        {9, "LifeDrift", "life_drift_pct", "Life drift", "%", true, false, 0, 99.99, 2, 0},
        {11, "VfTempco", "vf_tempco_mv", "Vf tempco", "mV/\u00b0C", false, true, -100, 100, 2, -2},
        {12, "FbCurrent", "fb_current_na", "Feedback pin current", "nA", true, false, 0, 1e6, 1, 0},
        {13, "Spec", "spec_pct", "Output spec", "%", true, false, 0.01, 99.99, 2, 5},
    };
    RequestHandler handler;
    const Json table = Answer(handler, R"({"op":"describe"})");
    ASSERT_EQ(table["settings"].size(), 25u);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.id);
        const Json& field = table["settings"][row.index];
        EXPECT_EQ(field["kind"], "number");
        EXPECT_EQ(field["id"], row.id);
        EXPECT_EQ(field["key"], row.key);
        EXPECT_EQ(field["label"], row.label);
        EXPECT_EQ(field["unit"], row.unit);
        EXPECT_EQ(field["plus_minus"], row.plusMinus);
        EXPECT_EQ(field["diode_only"], row.diodeOnly);
        EXPECT_EQ(field["lowest"], row.lowest);
        EXPECT_EQ(field["highest"], row.highest);
        EXPECT_EQ(field["decimals"], row.decimals);
        EXPECT_EQ(field["default"], row.fallback);
    }
    const Json& series = table["settings"][0];
    EXPECT_EQ(series["kind"], "choice");
    EXPECT_EQ(series["default"], "E96");
    EXPECT_EQ(series["choices"], Json({"E6", "E12", "E24", "E48", "E96", "E192", "parts"}));
    // The help is the tooltip's: the line, then its details.
    EXPECT_EQ(table["settings"][8]["help"],
              "Each resistor's temperature coefficient, plus or minus. Every value is nominal at "
              "25 \u00b0C; each part drifts with its own sign over the larger distance of the "
              "operating range from 25 \u00b0C.");
    // The fit's typed pair: ohms from 1 mΩ to 1 GΩ in thousandths, empty until an analysis.
    const Json fitR1 = {{"kind", "number"},     {"id", "FitR1"},       {"key", "r1"},
                        {"label", "Fitted R1"}, {"unit", "\u03a9"},    {"plus_minus", false},
                        {"help", ""},           {"diode_only", false}, {"default", nullptr},
                        {"lowest", 0.001},      {"highest", 1e9},      {"decimals", 3}};
    EXPECT_EQ(table["fit"]["typed"][0], fitR1);
    EXPECT_EQ(table["fit"]["typed"][1]["id"], "FitR3");
    EXPECT_EQ(table["fit"]["typed"].size(), 3u);
    // R2 may stay empty, the design's own.
    EXPECT_EQ(table["fit"]["typed"][2]["id"], "FitR2");
    EXPECT_EQ(table["fit"]["typed"][2]["kind"], "optional_number");
    EXPECT_EQ(table["fit"]["typed"][2]["resistance"], false);
    // The rank of a preferred pair, 1 to 3.
    const Json& rank = table["fit"]["rank"];
    EXPECT_EQ(rank["key"], "pair");
    EXPECT_EQ(rank["lowest"], 1);
    EXPECT_EQ(rank["highest"], 3);
    EXPECT_EQ(rank["decimals"], 0);
}

// The kinds beyond numbers and choices: each with what its input needs, the limits of a whole
// number as decimal text, since the seed's reach beyond JavaScript's exact numbers.
TEST(Describe, GivesTheListsOptionalAndWholeNumbers) {
    const struct {
        std::size_t index;
        Json field; // the members beyond the label, unit, help and diode_only
    } rows[] = {
        {14,
         {{"kind", "list"},
          {"id", "Grades"},
          {"key", "grades"},
          {"default", "series, tolerance, tcr, price, power_w, name\nE24, 5, 200, 1, 0.1\n"
                      "E24, 1, 100, 1.1, 0.1\nE96, 1, 100, 1.3, 0.1\nE96, 1, 50, 1.6, 0.1\n"
                      "E192, 0.5, 25, 4, 0.1\nE192, 0.1, 25, 9, 0.1\nE192, 0.1, 10, 20, 0.1\n"}}},
        {15,
         {{"kind", "optional_number"},
          {"id", "R2Min"},
          {"key", "r2_min"},
          {"default", nullptr},
          {"resistance", true},
          {"lowest", 1},
          {"highest", 1e7},
          {"decimals", 3}}},
        {16, {{"kind", "optional_number"}, {"id", "R2Max"}, {"key", "r2_max"}}},
        {17, {{"kind", "list"}, {"id", "Parts"}, {"key", "parts"}, {"default", ""}}},
        {22,
         {{"kind", "whole"},
          {"id", "Boards"},
          {"key", "boards"},
          {"default", "100000"},
          {"lowest", "1000"},
          {"highest", "10000000"}}},
        {23,
         {{"kind", "whole"},
          {"id", "Seed"},
          {"key", "seed"},
          {"default", "1"},
          {"lowest", "0"},
          {"highest", "18446744073709551615"}}},
        {24,
         {{"kind", "choice"},
          {"id", "Distribution"},
          {"key", "distribution"},
          {"default", "uniform"},
          {"choices", {"uniform", "normal"}}}},
    };
    RequestHandler handler;
    const Json table = Answer(handler, R"({"op":"describe"})");
    for (const auto& row : rows) {
        const Json& field = table["settings"][row.index];
        for (const auto& [member, value] : row.field.items()) {
            SCOPED_TRACE(std::string(row.field["id"]) + "." + member);
            EXPECT_EQ(field[member], value);
        }
    }
}

} // namespace
} // namespace web_page
