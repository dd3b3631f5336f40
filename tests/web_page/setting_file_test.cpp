// The page's settings read from their boxes' text, and its design files: saved from a tab's
// boxes, opened back into them, and refused with one sentence that changes nothing.
#include "web_page/api/request_handler.h"

#include "design_file/design_file_reader.h"
#include "design_file/design_file_writer.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>

namespace web_page {
namespace {

using Json = nlohmann::ordered_json;

struct Exchange {
    const char* request;
    const char* response;
};

// A box's text as the settings take it, or the sentence that says why not.
TEST(ReadSetting, GivesTheValueOrTheSentence) {
    const Exchange rows[] = {
        // Lists: ascending without repeats, comments passed over; the first bad line's sentence.
        {R"({"op":"read_setting","key":"parts","text":"4k7\n10k\n# spare\n470R\n4700"})",
         R"({"value":[470.0,4700.0,10000.0]})"},
        {R"({"op":"read_setting","key":"parts","text":"4k7\n4x7"})",
         R"({"problem":"Line 2: '4x7' is not a resistance (write it like 4700, 4.7k, 4k7, 470R or 2M2)."})"},
        {R"({"op":"read_setting","key":"parts","text":"  \n# none yet\n"})", R"({"value":[]})"},
        {R"({"op":"read_setting","key":"grades","text":"E96, 1, 50, thick film"})",
         R"({"value":[{"series":"E96","tolerance_pct":1.0,"tcr_ppm":50.0,"name":"thick film"}]})"},
        // The grades have a default of their own: an empty list is none.
        {R"({"op":"read_setting","key":"grades","text":""})",
         R"({"problem":"The grade list holds no grade."})"},
        {R"({"op":"read_setting","key":"grades","text":"E96, 100, 50"})",
         R"({"problem":"Line 1: the resistor tolerance must be from 0 % to 99.99 %, not '100'."})"},
        // R2's range: a resistance, or none; its limits are the row's, 1 Ω to 10 MΩ.
        {R"({"op":"read_setting","key":"r2_min","text":"4k7"})", R"({"value":4700.0})"},
        {R"({"op":"read_setting","key":"r2_min","text":" "})", R"({"value":null})"},
        {R"({"op":"read_setting","key":"r2_max","text":"10M"})", R"({"value":10000000.0})"},
        {R"({"op":"read_setting","key":"r2_min","text":"0.999"})",
         R"({"problem":"The lowest R2 must be from 1 Ω to 10000000 Ω to analyse the design."})"},
        {R"({"op":"read_setting","key":"r2_max","text":"4x7"})",
         R"({"problem":"'4x7' is not a resistance (write it like 4700, 4.7k, 4k7, 470R or 2M2)."})"},
        // Whole numbers as decimal text, which JavaScript keeps exact.
        {R"({"op":"read_setting","key":"boards","text":" 20000 "})", R"({"value":"20000"})"},
        {R"({"op":"read_setting","key":"boards","text":"999"})",
         R"({"problem":"The number of boards must be from 1000 to 10000000 to analyse the design."})"},
        {R"({"op":"read_setting","key":"boards","text":"10000001"})",
         R"({"problem":"The number of boards must be from 1000 to 10000000 to analyse the design."})"},
        {R"({"op":"read_setting","key":"boards","text":"99999999999999999999"})",
         R"({"problem":"'99999999999999999999' is not a whole number from 1000 to 10000000."})"},
        {R"({"op":"read_setting","key":"boards","text":"1e4"})",
         R"({"problem":"'1e4' is not a whole number from 1000 to 10000000."})"},
        {R"({"op":"read_setting","key":"seed","text":"18446744073709551615"})",
         R"({"value":"18446744073709551615"})"},
        {R"({"op":"read_setting","key":"seed","text":"18446744073709551616"})",
         R"({"problem":"'18446744073709551616' is not a whole number from 0 to 18446744073709551615."})"},
        {R"({"op":"read_setting","key":"seed","text":"-1"})",
         R"({"problem":"'-1' is not a whole number from 0 to 18446744073709551615."})"},
        // Choices and numbers, which the page's own boxes hold, read alike.
        {R"({"op":"read_setting","key":"distribution","text":"Normal"})", R"({"value":"normal"})"},
        {R"({"op":"read_setting","key":"spec_pct","text":"100"})",
         R"({"problem":"The output spec must be from 0.01 % to 99.99 % to analyse the design."})"},
        {R"({"op":"read_setting","key":"tolerance","text":"1"})",
         R"({"error":"\"key\" must be the key of a setting"})"},
        {R"({"op":"read_setting","key":"parts"})",
         R"({"error":"the request has no member \"text\""})"},
    };
    RequestHandler handler;
    for (const Exchange& row : rows) {
        EXPECT_EQ(handler.HandleRequest(row.request), row.response) << row.request;
    }
}

Json Answer(RequestHandler& handler, const std::string& request) {
    return Json::parse(handler.HandleRequest(request));
}

std::string Save(const char* tab, bool yes, bool no, const char* texts, const char* rest = "") {
    return std::string(R"({"op":"save_design","tab":")") + tab + R"(","yes":)" +
           (yes ? "true" : "false") + R"(,"no":)" + (no ? "true" : "false") + R"(,"texts":)" +
           texts + rest + "}";
}

// The boxes are read in the user's notation and written as numbers; what no reader would open is
// not saved.
TEST(SaveDesign, WritesTheBoxesAsNumbersOrSaysWhyNot) {
    const struct {
        std::string request;
        const char* problem; // empty: saved
    } rows[] = {
        {Save("calc", false, true, R"(["10.000","2,5","40","30","x"])",
              R"(,"decimal":",","group":".")"),
         ""},
        {Save("calc", false, false, R"(["10000","2.5","40","30",""])"),
         "Select Diode Yes or No on the Calc tab before saving its design."},
        {Save("check", true, false, R"(["470","10","100","1.2",""])"),
         "Vf holds \u201c\u201d, which is not a number; the design is not saved."},
        {Save("check", false, true, R"(["470","10","abc","1.2",""])"),
         "R3 holds \u201cabc\u201d, which is not a number; the design is not saved."},
        {Save("calc", false, true, R"(["10000","2.5","40","30",""])",
              R"(,"settings":{"series":"parts"})"),
         "The design is not saved: The series \"parts\" needs a parts list to analyse the design."},
        {Save("calc", false, true, R"(["10000","2.5","40","30",""])", R"(,"fit":{"pair":4})"),
         "The design is not saved: The pair to fit must be one of the preferred pairs, 1 to 3, to "
         "analyse the design."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.request);
        RequestHandler handler;
        const Json answer = Answer(handler, row.request);
        if (*row.problem) {
            EXPECT_EQ(answer, Json({{"problem", row.problem}}));
            continue;
        }
        const auto read = design_file::ReadDesign(answer["file"].get<std::string>(), "a.okep");
        ASSERT_TRUE(read.design) << read.error;
        EXPECT_EQ(read.design->inputs, (std::array<double, 5>{10000, 2.5, 40, 30, 0}));
        EXPECT_FALSE(read.design->diode);
    }
}

// What the page saves opens in it again as it was: the boxes in the user's notation, every
// setting, the fit with its own R2 and the note.
TEST(SaveDesign, OpensBackAsSaved) {
    RequestHandler handler;
    const Json saved = Answer(
        handler,
        Save("check", true, false, R"(["470","10","100","1,2","0,6"])",
             R"J(,"decimal":",","note":"Rail \"5V\"","settings":{"spec_pct":2,)J"
             R"J("parts":[4700,10000],"seed":"18446744073709551615","r2_min":4700,)J"
             R"J("r2_max":22000,"distribution":"normal"},"fit":{"r1":470,"r3":100,"r2":12000})J"));
    ASSERT_TRUE(saved.contains("file")) << saved.dump();
    Json open = {{"op", "open_design"},
                 {"file", saved["file"]},
                 {"file_name", "rail.okep"},
                 {"decimal", ","}};
    const Json opened = Answer(handler, open.dump());
    EXPECT_EQ(opened["tab"], "check");
    EXPECT_EQ(opened["diode"], true);
    EXPECT_EQ(opened["texts"], Json({"470", "10", "100", "1,2", "0,6"}));
    EXPECT_EQ(opened["settings"]["seed"], "18446744073709551615");
    EXPECT_EQ(opened["settings"]["parts"], Json({4700.0, 10000.0}));
    EXPECT_EQ(opened["settings"]["r2_min"], 4700.0);
    EXPECT_EQ(opened["setting_texts"]["parts"], "4700\n10000\n");
    EXPECT_EQ(opened["setting_texts"]["spec_pct"], "2");
    EXPECT_EQ(opened["setting_texts"]["r2_max"], "22000");
    EXPECT_EQ(opened["setting_texts"]["distribution"], "normal");
    EXPECT_EQ(opened["fit"], Json({{"r1", 470.0}, {"r3", 100.0}, {"r2", 12000.0}}));
    EXPECT_EQ(opened["note"], "Rail \"5V\"");
}

TEST(OpenDesign, GivesTheBoxesOrTheReadersSentence) {
    design_file::Design design;
    design.inputs = {10000, 2.5, 40, 30, 0.6};
    const std::string good = design_file::DesignText(design);
    const struct {
        const char* name;
        std::string file;
        const char* problem; // empty: opened
    } rows[] = {
        // Without the diode Vf's box is not the file's.
        {"calc.okep", good, ""},
        {"broken.okep", "{\"format\": NaN}",
         "broken.okep cannot be opened: line 1, column 12 holds NaN or Infinity, which are not "
         "numbers in JSON."},
        {"newer.okep", R"({"format": "orvalex-kep-design", "version": 3})",
         "newer.okep cannot be opened: it was saved by a newer version (format 3); this one reads "
         "up to 2."},
        {"spec.okep",
         std::string(good).replace(good.find("\"spec_pct\": 5"), 13, "\"spec_pct\": 0"),
         "spec.okep cannot be opened: at settings.spec_pct, the output spec must be from 0.01 % "
         "to 99.99 % to analyse the design."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        RequestHandler handler;
        const Json request = {{"op", "open_design"}, {"file", row.file}, {"file_name", row.name}};
        const Json answer = Answer(handler, request.dump());
        if (*row.problem) {
            EXPECT_EQ(answer, Json({{"problem", row.problem}}));
        } else {
            EXPECT_EQ(answer["texts"], Json({"10000", "2.5", "40", "30", ""}));
            EXPECT_EQ(answer["fit"], nullptr);
        }
    }
}

} // namespace
} // namespace web_page
