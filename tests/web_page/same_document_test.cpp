// The page's interface and the command line write the same HTML document, byte for byte, for the
// same press, settings, fit and date.
#include "command_line/run.h"
#include "web_page/api/request_handler.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct SameDocument {
    const char* name;
    std::vector<std::string> args; // the command line's, without --format
    const char* press;             // the interface's press, with "." and no groups
    const char* documentMembers;   // the interface's report_html members besides op and date
};

void PrintTo(const SameDocument& row, std::ostream* os) {
    *os << row.name;
}

class SameDocumentTest : public ::testing::TestWithParam<SameDocument> {};

TEST_P(SameDocumentTest, CommandLineAndInterfaceAgree) {
    const SameDocument& row = GetParam();
    // 2025-12-31T00:00:00Z
    ASSERT_EQ(setenv("SOURCE_DATE_EPOCH", "1767139200", 1), 0);
    std::vector<std::string> args = row.args;
    args.insert(args.end(), {"--format", "html"});
    std::ostringstream out;
    std::ostringstream err;
    command_line::Run(args, out, err);
    unsetenv("SOURCE_DATE_EPOCH");

    web_page::RequestHandler handler;
    handler.HandleRequest(row.press);
    const auto response = nlohmann::json::parse(handler.HandleRequest(
        std::string(R"({"op":"report_html","date":"2025-12-31",)") + row.documentMembers + "}"));
    ASSERT_EQ(response["recorded"], true);
    const std::string html = response["html"];
    EXPECT_NE(html.find("on 2025-12-31."), std::string::npos);
    EXPECT_EQ(out.str(), html);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Documents, SameDocumentTest,
    ::testing::Values(
        SameDocument{"CalcWorkedExample",
                     {"design", "--r2", "10k", "--vref", "2.5", "--vo-max", "40", "--vo-min", "30"},
                     R"J({"op":"press","tab":"calc","yes":false,"no":true,"texts":["10000","2.5","40","30",""],"decimal":".","group":""})J",
                     R"J("tab":"calc")J"},
        SameDocument{"CheckDiodeTypedFitTightSpec",
                     {"check", "--r1", "470", "--r2", "10", "--r3", "100", "--vref", "1.2", "--vf", "0.6",
                      "--fit-r1", "480", "--fit-r3", "100", "--spec", "1"},
                     R"J({"op":"press","tab":"check","yes":true,"no":false,"texts":["470","10","100","1.2","0.6"],"decimal":".","group":""})J",
                     R"J("tab":"check","settings":{"spec_pct":1},"fit":{"r1":480,"r3":100})J"},
        SameDocument{"CalcSecondPairE24Hot",
                     {"design", "--r2", "10k", "--vref", "2.5", "--vo-max", "40", "--vo-min", "30",
                      "--series", "E24", "--temp-max", "105", "--fit-pair", "2"},
                     R"J({"op":"press","tab":"calc","yes":false,"no":true,"texts":["10000","2.5","40","30",""],"decimal":".","group":""})J",
                     R"J("tab":"calc","decimal":".","settings":{"series":"E24","temp_max_c":105},"fit":{"pair":2})J"},
        // The press's Cal Error and red mark, and a design the analysis refuses (R3 below 0).
        SameDocument{"CalcErrorNegativeR3",
                     {"design", "--r2", "10000", "--vref", "2.5", "--vo-max", "40", "--vo-min", "2"},
                     R"J({"op":"press","tab":"calc","yes":false,"no":true,"texts":["10000","2.5","40","2",""],"decimal":".","group":""})J",
                     R"J("tab":"calc")J"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

} // namespace
