// A tab's boxes into a design file's text, and a design file's text into the page's boxes.
#include "web_page/api/design_file_response.h"

#include "analysis_report/fit_json.h"
#include "analysis_report/settings_json.h"
#include "calc_core/decimal_text.h"
#include "calc_core/number_text.h"
#include "design_file/design_file_reader.h"
#include "design_file/design_file_writer.h"
#include "web_page/api/protocol_keys.h"

namespace web_page {
namespace {

using namespace calc_core;
using Json = nlohmann::ordered_json;

Json Problem(std::string sentence) {
    return {{keys::Problem, std::move(sentence)}};
}

// A number as the user writes it: its shortest exact digits with the user's decimal separator.
std::string LocaleText(double value, std::string_view decimalSeparator) {
    std::string text = ShortestText(value);
    if (const std::size_t point = text.find('.'); point != std::string::npos) {
        text.replace(point, 1, decimalSeparator);
    }
    return text;
}

// The settings as a request gives them: whole numbers as decimal text, which JavaScript keeps.
Json RequestSettings(const AnalysisSettings& settings) {
    Json json = analysis_report::SettingsJson(settings);
    for (const SettingRow& row : SettingRows()) {
        if (row.kind == SettingKind::Whole) {
            json[std::string(row.key)] = std::to_string(row.wholeOf(settings));
        }
    }
    return json;
}

} // namespace

Json SaveDesignResponse(const SavedTab& saved) {
    if (!saved.yes && !saved.no) {
        return Problem("Select Diode Yes or No on the " + std::string(TabName(saved.tab)) +
                       " tab before saving its design.");
    }
    design_file::Design design;
    design.tab = saved.tab;
    design.diode = saved.yes;
    const auto inputs = TabInputs(saved.tab);
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        if (i == VfInput && !design.diode) {
            continue;
        }
        const auto value = StrictNumber(saved.texts[i], saved.locale);
        if (!value) {
            return Problem(std::string(inputs[i].name) + " holds \u201c" + saved.texts[i] +
                           "\u201d, which is not a number; the design is not saved.");
        }
        design.inputs[i] = *value;
    }
    for (const std::string& reason : {SettingsRefusal(saved.settings), FitRefusal(saved.fit)}) {
        if (!reason.empty()) {
            return Problem("The design is not saved: " + reason);
        }
    }
    design.settings = saved.settings;
    design.fit = saved.fit;
    design.yieldEstimated = saved.yieldEstimated;
    design.note = saved.note;
    std::string text = design_file::DesignText(design);
    if (const std::string reason = design_file::OversizeRefusal(text); !reason.empty()) {
        return Problem("The design cannot be saved: " + reason + ".");
    }
    return {{keys::File, std::move(text)}};
}

Json OpenDesignResponse(std::string_view text, std::string_view fileName,
                        std::string_view decimalSeparator) {
    const design_file::DesignRead read = design_file::ReadDesign(text, fileName);
    if (!read.design) {
        return Problem(read.error);
    }
    const design_file::Design& design = *read.design;
    Json texts = Json::array();
    for (std::size_t i = 0; i < design.inputs.size(); ++i) {
        texts.push_back(i == VfInput && !design.diode
                            ? std::string()
                            : LocaleText(design.inputs[i], decimalSeparator));
    }
    Json settingTexts = Json::object();
    for (const SettingRow& row : SettingRows()) {
        settingTexts[std::string(row.key)] = SettingText(row, design.settings);
    }
    return {{keys::Tab, TabKey(design.tab)},
            {keys::Diode, design.diode},
            {keys::Texts, std::move(texts)},
            {keys::Settings, RequestSettings(design.settings)},
            {keys::SettingTexts, std::move(settingTexts)},
            {keys::Fit, analysis_report::FitJson(design.fit)},
            {keys::Yield, design.yieldEstimated},
            {keys::Note, design.note}};
}

} // namespace web_page
