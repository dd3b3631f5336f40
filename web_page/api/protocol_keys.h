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
inline constexpr std::string_view OpYieldStep = "yield_step";
inline constexpr std::string_view OpReadSetting = "read_setting";
inline constexpr std::string_view OpSaveDesign = "save_design";
inline constexpr std::string_view OpOpenDesign = "open_design";

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
// What an analysis computes besides: the synthesis of the part grades, and the yield estimate.
inline constexpr std::string_view Synthesis = "synthesis";
inline constexpr std::string_view Yield = "yield";

// An analysis's document: an analysis request with the date it names and the user's note; its
// response holds the HTML after Recorded.
inline constexpr std::string_view Date = "date";
inline constexpr std::string_view Note = "note";
inline constexpr std::string_view Html = "html";

// A yield estimate under way: the job that goes on, and the chunks of boards one step runs.
inline constexpr std::string_view Job = "job";
inline constexpr std::string_view Chunks = "chunks";

// A setting read from the text of its box (Key, Text): its value as the settings take it, or the
// sentence that says why the text is refused.
inline constexpr std::string_view Value = "value";
inline constexpr std::string_view Problem = "problem";

// A design file: saved from a press's members with the settings, fit and note (the response's
// File, or a Problem); opened from its text and name (File, FileName), answered with the tab,
// Diode, Texts, Settings with their SettingTexts, Fit and Note, or a Problem.
inline constexpr std::string_view File = "file";
inline constexpr std::string_view FileName = "file_name";
inline constexpr std::string_view Diode = "diode";
inline constexpr std::string_view SettingTexts = "setting_texts";

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
// The bill of materials of the build to buy, as CSV; null when there is nothing to buy.
inline constexpr std::string_view BomCsv = "bom_csv";
// What stands beside a setting given but not used, by the setting's key.
inline constexpr std::string_view Notices = "notices";
// The yield's histograms, one a level: title, bins from BinLow by BinWidth with their Counts and
// whether each lies Inside the spec, the spec band, the axes and ticks as the plot has them.
inline constexpr std::string_view Histograms = "histograms";
inline constexpr std::string_view Title = "title";
inline constexpr std::string_view BinLow = "bin_low";
inline constexpr std::string_view BinWidth = "bin_width";
inline constexpr std::string_view Counts = "counts";
inline constexpr std::string_view Inside = "inside";

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
// What selecting each row fits: null, or the Fit with the Settings it takes (a grade's figures,
// by the settings' keys) and whether it is Fitted, the pair or build the request analysed.
inline constexpr std::string_view Fits = "fits";
inline constexpr std::string_view Fitted = "fitted";
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
inline constexpr std::string_view KindOptionalNumber = "optional_number"; // a number, or none
inline constexpr std::string_view KindWhole = "whole"; // limits and default as decimal text
inline constexpr std::string_view KindList = "list";   // default as the list's text
inline constexpr std::string_view KindFlag = "flag";   // default true or false
inline constexpr std::string_view Id = "id";
inline constexpr std::string_view Key = "key";
inline constexpr std::string_view Label = "label"; // as the window's caption, without its shortcut
inline constexpr std::string_view Unit = "unit";
inline constexpr std::string_view PlusMinus = "plus_minus";
inline constexpr std::string_view Help = "help"; // with its details, as a tooltip shows it
inline constexpr std::string_view DiodeOnly = "diode_only";
inline constexpr std::string_view Lowest = "lowest";
inline constexpr std::string_view Highest = "highest";
inline constexpr std::string_view Decimals = "decimals";
inline constexpr std::string_view Default = "default"; // a number, a choice's name, or null
inline constexpr std::string_view Choices = "choices";
inline constexpr std::string_view Resistance = "resistance"; // typed as one: 4k7, 2M2
// The design file's extension, after the fit's fields: ".okep".
inline constexpr std::string_view Extension = "extension";
// The tabs' diode layouts by tab key, each row [control, with the diode, without], and what a
// Calc press shows by its layout key, each row [control, shown].
inline constexpr std::string_view Layouts = "layouts";
inline constexpr std::string_view PressLayouts = "press_layouts";
// The largest design file the core reads, in bytes.
inline constexpr std::string_view DesignFileBytes = "design_file_bytes";

// A long request's response while it is under way: how far it is, and the request that goes on
// from there. The page's worker sends that request next, after letting newer messages in.
inline constexpr std::string_view Progress = "progress";
inline constexpr std::string_view Next = "next";
// A yield estimate's progress: the boards simulated of all its estimates'.
inline constexpr std::string_view BoardsDone = "boards_done";
inline constexpr std::string_view Boards = "boards";

} // namespace web_page::keys
