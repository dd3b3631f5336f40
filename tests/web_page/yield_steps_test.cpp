// The page's yield, step by step: the same bytes as the estimates run all at once, its progress
// in boards, one job at a time, and the last yield kept for the analysis's document.
#include "web_page/api/request_handler.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace web_page {
namespace {

using Json = nlohmann::ordered_json;
using Steps = RequestHandler::YieldSteps;

const std::string CalcPress =
    R"J({"op":"press","tab":"calc","yes":false,"no":true,"texts":["10000","2.5","40","30",""]})J";
const std::string CheckDiodePress =
    R"J({"op":"press","tab":"check","yes":true,"no":false,"texts":["470","10","100","1.2","0.6"]})J";

// The final answer to a request, following its steps of `chunks` chunks each; the boards done at
// each step's progress go to `progress`.
std::string Stepped(RequestHandler& handler, const std::string& request, int chunks,
                    std::vector<std::uint64_t>* progress = nullptr) {
    std::string answer = handler.HandleRequest(request);
    for (Json step = Json::parse(answer); step.contains("next"); step = Json::parse(answer)) {
        if (progress) {
            progress->push_back(step["progress"]["boards_done"]);
        }
        Json next = step["next"];
        next["chunks"] = chunks;
        answer = handler.HandleRequest(next.dump());
    }
    return answer;
}

// Whatever the steps, the answer is the one of the estimates run all at once on every core.
TEST(YieldSteps, GiveTheBytesOfTheYieldAllAtOnce) {
    const struct {
        const char* name;
        std::string press;
        std::string request;
        int chunks;
    } rows[] = {
        {"SynthesisAndEveryGrade", CalcPress,
         R"J({"op":"analyse","tab":"calc","synthesis":true,"yield":true,"settings":{"boards":1000}})J",
         1},
        {"TwoChunksAStepOfThree", CalcPress,
         R"J({"op":"analyse","tab":"calc","yield":true,"settings":{"boards":40000}})J", 2},
        {"NormalWithTheLargestSeed", CheckDiodePress,
         R"J({"op":"analyse","tab":"check","decimal":",","yield":true,"settings":{"boards":"20000","seed":"18446744073709551615","distribution":"normal"}})J",
         1},
        {"BuildWithItsOwnR2", CalcPress,
         R"J({"op":"analyse","tab":"calc","synthesis":true,"yield":true,"settings":{"boards":2000,"r2_min":4700,"r2_max":22000},"fit":{"r1":64900,"r3":7150,"r2":10000}})J",
         1000},
        {"Document", CalcPress,
         R"J({"op":"report_html","tab":"calc","synthesis":true,"yield":true,"date":"2025-12-31","note":"5V","settings":{"boards":1000}})J",
         3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        RequestHandler stepped;
        RequestHandler allAtOnce(Steps::AllAtOnce);
        stepped.HandleRequest(row.press);
        allAtOnce.HandleRequest(row.press);
        const std::string expected = allAtOnce.HandleRequest(row.request);
        ASSERT_FALSE(Json::parse(expected).contains("next"));
        EXPECT_EQ(Stepped(stepped, row.request, row.chunks), expected);
    }
}

// The boards done at each step: every estimate has its own chunks of 16384 boards, run in turn.
TEST(YieldSteps, ReportTheBoardsDone) {
    const struct {
        const char* settings;
        bool synthesis;
        int chunks;
        std::uint64_t boards; // of every estimate
        std::uint64_t shown;  // of the shown set's
        std::vector<std::uint64_t> done;
    } rows[] = {
        // 20000 boards: a chunk of 16384 and one of 3616.
        {R"J({"boards":20000})J", false, 1, 20000, 20000, {0, 16384}},
        {R"J({"boards":20000})J", false, 2, 20000, 20000, {0}},
        // With the synthesis, the shown set and the best builds of the 7 default grades: 8 x 1000.
        {R"J({"boards":1000})J", true, 3, 8000, 1000, {0, 3000, 6000}},
        // A step runs on into the next estimate: 2 x 20000 boards, 3 chunks a step.
        {R"J({"boards":20000,"grades":[{"series":"E96","tolerance_pct":1,"tcr_ppm":50,"name":""}]})J",
         true,
         3,
         40000,
         20000,
         {0, 36384}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.settings);
        RequestHandler handler;
        handler.HandleRequest(CalcPress);
        const std::string request = std::string(R"({"op":"analyse","tab":"calc","yield":true,)") +
                                    R"("synthesis":)" + (row.synthesis ? "true" : "false") +
                                    R"(,"settings":)" + row.settings + "}";
        const Json first = Json::parse(handler.HandleRequest(request));
        EXPECT_EQ(first["progress"]["boards"], row.boards);
        RequestHandler again;
        again.HandleRequest(CalcPress);
        std::vector<std::uint64_t> done;
        const Json last = Json::parse(Stepped(again, request, row.chunks, &done));
        EXPECT_EQ(done, row.done);
        EXPECT_EQ(last["json"]["yield"]["boards"], row.shown);
    }
}

Json Answer(RequestHandler& handler, const std::string& request) {
    return Json::parse(handler.HandleRequest(request));
}

const std::string YieldAsk =
    R"J({"op":"analyse","tab":"calc","yield":true,"settings":{"boards":40000}})J";

// A newer job takes the place of one under way; a step of the older is refused, and neither a
// step nor a press changes what the newer analyses.
TEST(YieldSteps, NewerJobTakesThePlaceAndKeepsItsDesign) {
    RequestHandler handler;
    handler.HandleRequest(CalcPress);
    const Json first = Answer(handler, YieldAsk);
    EXPECT_EQ(first["next"], Json({{"op", "yield_step"}, {"job", 1}}));
    const Json second = Answer(handler, YieldAsk);
    EXPECT_EQ(second["next"]["job"], 2);
    EXPECT_EQ(Answer(handler, R"({"op":"yield_step","job":1})"),
              Json({{"error", "the yield estimate 1 is no longer under way"}}));
    // The tab's next design comes in while job 2 runs: the job goes on with the design it found.
    handler.HandleRequest(
        R"J({"op":"press","tab":"calc","yes":false,"no":true,"texts":["10000","2.5","45","30",""]})J");
    std::string answer = handler.HandleRequest(R"({"op":"yield_step","job":2,"chunks":100})");
    RequestHandler alone(Steps::AllAtOnce);
    alone.HandleRequest(CalcPress);
    EXPECT_EQ(answer, alone.HandleRequest(YieldAsk));
    // Finished, the job is gone.
    EXPECT_TRUE(Answer(handler, R"({"op":"yield_step","job":2})").contains("error"));
}

// The document's job runs beside the analysis's: each takes the place of its own kind only.
TEST(YieldSteps, DocumentJobRunsBesideTheAnalysis) {
    const std::string document =
        R"J({"op":"report_html","tab":"calc","yield":true,"date":"","settings":{"boards":40000,"seed":3}})J";
    RequestHandler handler;
    handler.HandleRequest(CalcPress);
    EXPECT_EQ(Answer(handler, YieldAsk)["next"]["job"], 1);
    EXPECT_EQ(Answer(handler, document)["next"]["job"], 2);
    RequestHandler alone;
    alone.HandleRequest(CalcPress);
    EXPECT_EQ(Stepped(handler, R"({"op":"yield_step","job":1})", 4), Stepped(alone, YieldAsk, 4));
    EXPECT_EQ(Stepped(handler, R"({"op":"yield_step","job":2})", 4), Stepped(alone, document, 4));
    // Finished, its yield is kept; another seed starts a job, and a newer one takes its place.
    EXPECT_TRUE(Answer(handler, document).contains("html"));
    for (const int job : {3, 4}) {
        Json other = Json::parse(document);
        other["settings"]["seed"] = job + 10;
        EXPECT_EQ(Answer(handler, other.dump())["next"]["job"], job);
    }
    EXPECT_TRUE(Answer(handler, R"({"op":"yield_step","job":3})").contains("error"));
}

TEST(YieldSteps, RefusedStepsChangeNothing) {
    const struct {
        const char* request;
        const char* error;
    } rows[] = {
        {R"({"op":"yield_step","job":1,"chunks":0})",
         R"J({"error":"\"chunks\" must be a whole number from 1 to 1000000"})J"},
        {R"({"op":"yield_step","job":1,"chunks":1.5})",
         R"J({"error":"\"chunks\" must be a whole number from 1 to 1000000"})J"},
        {R"({"op":"yield_step","job":"1"})", R"J({"error":"\"job\" must be a number"})J"},
        {R"({"op":"yield_step"})", R"J({"error":"the request has no member \"job\""})J"},
        {R"({"op":"yield_step","job":1,"tab":"calc"})",
         R"J({"error":"the request has an unknown member \"tab\""})J"},
        {R"({"op":"analyse","tab":"calc","yield":1})",
         R"J({"error":"\"yield\" must be true or false"})J"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.request);
        RequestHandler handler;
        handler.HandleRequest(CalcPress);
        handler.HandleRequest(YieldAsk);
        EXPECT_EQ(handler.HandleRequest(row.request), row.error);
        // Job 1 goes on as it would have.
        RequestHandler untouched;
        untouched.HandleRequest(CalcPress);
        EXPECT_EQ(Stepped(handler, R"({"op":"yield_step","job":1})", 4),
                  Stepped(untouched, YieldAsk, 4));
    }
}

// No job without a design or with settings the core refuses: the answer comes at once.
TEST(YieldSteps, NoJobWithoutAnAnalysis) {
    RequestHandler handler;
    EXPECT_EQ(handler.HandleRequest(YieldAsk), R"({"recorded":false})");
    handler.HandleRequest(CalcPress);
    const Json refused = Answer(
        handler, R"J({"op":"analyse","tab":"calc","yield":true,"settings":{"boards":999}})J");
    EXPECT_EQ(refused["report"]["reason"],
              "The number of boards must be from 1000 to 10000000 to analyse the design.");
    EXPECT_FALSE(refused.contains("next"));
}

// The document of the analysis just shown takes its yield without a second run, histograms and
// all; after the tab's next design, or with other settings, the yield runs again.
TEST(YieldSteps, DocumentTakesTheYieldJustFinished) {
    const std::string document =
        R"J({"op":"report_html","tab":"calc","yield":true,"date":"2025-12-31","settings":{"boards":40000}})J";
    RequestHandler handler;
    handler.HandleRequest(CalcPress);
    Stepped(handler, YieldAsk, 4);
    const Json html = Answer(handler, document);
    ASSERT_TRUE(html.contains("html"));
    const std::string text = html["html"];
    for (const char* title : {"Vo at 0.140 V", "Vo at 0.700 V", "Vo at 1.250 V"}) {
        EXPECT_NE(text.find(title), std::string::npos) << title;
    }
    RequestHandler allAtOnce(Steps::AllAtOnce);
    allAtOnce.HandleRequest(CalcPress);
    EXPECT_EQ(html, Answer(allAtOnce, document));
    EXPECT_TRUE(Answer(handler, R"J({"op":"report_html","tab":"calc","yield":true,"date":"",)J"
                                R"J("settings":{"boards":40000,"seed":2}})J")
                    .contains("next"));
    handler.HandleRequest(CalcPress);
    EXPECT_TRUE(Answer(handler, document).contains("next"));
}

} // namespace
} // namespace web_page
