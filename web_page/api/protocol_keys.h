// The members and words of the page's requests and responses, each written once; the page's
// JavaScript has the same names in web_page/page/protocol.js, and a test holds the two alike.
#pragma once

#include <string_view>

// Each constant's name is the name protocol.js gives it. The settings' keys are not here: they
// come from the table of settings (calc_core::SettingRows), the fit's from calc_core::FitField.
namespace web_page::keys {

// Requests: {"op": ..., ...}.
inline constexpr std::string_view Op = "op";
inline constexpr std::string_view OpPress = "press";
inline constexpr std::string_view OpAnalyse = "analyse";
inline constexpr std::string_view OpDescribe = "describe";
inline constexpr std::string_view OpReportHtml = "report_html";

// A press: the tab, the diode's two buttons, the five box texts and the number separators.
inline constexpr std::string_view Tab = "tab";
inline constexpr std::string_view Yes = "yes";
inline constexpr std::string_view No = "no";
inline constexpr std::string_view Texts = "texts";
inline constexpr std::string_view Decimal = "decimal";
inline constexpr std::string_view Group = "group";

// An analysis: the tab and the decimal separator as above, the settings and the pair to fit.
inline constexpr std::string_view Settings = "settings";
inline constexpr std::string_view Fit = "fit";

// An analysis's document: an analysis request with the date it names and the user's note; its
// response holds the HTML after Recorded.
inline constexpr std::string_view Date = "date";
inline constexpr std::string_view Note = "note";
inline constexpr std::string_view Html = "html";

// Any response to a request that cannot be read.
inline constexpr std::string_view Error = "error";

// A press's response; its texts go by the window's label names under Texts.
inline constexpr std::string_view Message = "message";
inline constexpr std::string_view Layout = "layout";
inline constexpr std::string_view LayoutYes = "yes";
inline constexpr std::string_view LayoutNo = "no";
inline constexpr std::string_view Red = "red";
inline constexpr std::string_view Recorded = "recorded";

// An analysis's response, after Recorded.
inline constexpr std::string_view Report = "report";
inline constexpr std::string_view Text = "text";
inline constexpr std::string_view Plot = "plot";
inline constexpr std::string_view Json = "json";
// The R1 and R3 analysed, the fitted pair's or the design's, under the fit's keys.
inline constexpr std::string_view Analysed = "analysed";

// The report: its heading, the design's and the settings' sections (Settings), its reason.
inline constexpr std::string_view Heading = "heading";
inline constexpr std::string_view Design = "design";
inline constexpr std::string_view Reason = "reason";
inline constexpr std::string_view Sections = "sections";

// A section of the report, and its notes (Text and Warning).
inline constexpr std::string_view Name = "name";
inline constexpr std::string_view Subject = "subject";
inline constexpr std::string_view Header = "header";
inline constexpr std::string_view Rows = "rows";
inline constexpr std::string_view Flagged = "flagged";
inline constexpr std::string_view Notes = "notes";
// True for the section whose rows are the preferred pairs, which may be fitted by rank.
inline constexpr std::string_view Fittable = "fittable";
inline constexpr std::string_view Warning = "warning";

// The plot, and each level's mark on it.
inline constexpr std::string_view Curve = "curve";
inline constexpr std::string_view Marks = "marks";
inline constexpr std::string_view X = "x";
inline constexpr std::string_view Y = "y";
inline constexpr std::string_view XTicks = "x_ticks";
inline constexpr std::string_view YTicks = "y_ticks";
inline constexpr std::string_view Description = "description";
inline constexpr std::string_view PinV = "pin_v";
inline constexpr std::string_view Vo = "vo";
inline constexpr std::string_view Min = "min";
inline constexpr std::string_view Max = "max";
inline constexpr std::string_view SpecLow = "spec_low";
inline constexpr std::string_view SpecHigh = "spec_high";
inline constexpr std::string_view MeetsSpec = "meets_spec";

// Describe's response: the settings' rows (Settings) and the fit's fields (Fit: its Rank and its
// Typed pair), each a field of one kind, from which a front end makes its inputs.
inline constexpr std::string_view Rank = "rank";
inline constexpr std::string_view Typed = "typed";
inline constexpr std::string_view Kind = "kind";
inline constexpr std::string_view KindNumber = "number";
inline constexpr std::string_view KindChoice = "choice";
inline constexpr std::string_view Id = "id";
inline constexpr std::string_view Key = "key";
inline constexpr std::string_view Label = "label"; // '&' before the window's shortcut letter
inline constexpr std::string_view Unit = "unit";
inline constexpr std::string_view PlusMinus = "plus_minus";
inline constexpr std::string_view Help = "help"; // with its details, as a tooltip shows it
inline constexpr std::string_view DiodeOnly = "diode_only";
inline constexpr std::string_view Lowest = "lowest";
inline constexpr std::string_view Highest = "highest";
inline constexpr std::string_view Decimals = "decimals";
inline constexpr std::string_view Default = "default"; // a number, a choice's name, or null
inline constexpr std::string_view Choices = "choices";

// A long request's response while it is under way: how far it is, and the request that goes on
// from there. The page's worker sends that request next, after letting newer messages in.
inline constexpr std::string_view Progress = "progress";
inline constexpr std::string_view Next = "next";

} // namespace web_page::keys
