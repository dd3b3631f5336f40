// The manual page, as the build writes it, and the docs agree with the settings table: each flag's
// and key's default, and in the manual each number's limits, as the table gives them.
#include "calc_core/analysis_settings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace {

using calc_core::SettingKind;
using calc_core::SettingRow;

std::string FileText(const std::string& path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// troff writes a minus sign as "\-".
std::string Troff(std::string_view text) {
    std::string escaped;
    for (char c : text) {
        escaped += c == '-' ? std::string("\\-") : std::string(1, c);
    }
    return escaped;
}

// The default the docs give; none for an optional number or a list, which the docs describe.
std::optional<std::string> DefaultText(const SettingRow& row) {
    if (row.kind == SettingKind::OptionalNumber || row.kind == SettingKind::List) {
        return std::nullopt;
    }
    return calc_core::SettingText(row, calc_core::AnalysisSettings{});
}

// The manual's entry of a flag: from its ".BI" line to the next entry or section.
std::string ManualEntry(const std::string& manual, const SettingRow& row) {
    const std::string head = ".BI " + Troff(row.flag) + " ";
    const std::size_t start = manual.find(head);
    if (start == std::string::npos) {
        return {};
    }
    std::size_t end = manual.find("\n.TP", start);
    end = std::min(end, manual.find("\n.SS", start));
    return manual.substr(start, end - start);
}

TEST(SettingsDocs, ManualGivesEachFlagsDefaultAndLimits) {
    const std::string manual = FileText(ORVALEX_MANUAL);
    for (const SettingRow& row : calc_core::SettingRows()) {
        SCOPED_TRACE(std::string(row.flag));
        const std::string entry = ManualEntry(manual, row);
        ASSERT_FALSE(entry.empty());
        if (const auto value = DefaultText(row)) {
            EXPECT_NE(entry.find("Default " + Troff(*value)), std::string::npos) << entry;
        }
        if (row.kind == SettingKind::Number) {
            const std::string limits = "from " + Troff(calc_core::LimitText(row, row.lowest)) +
                                       " to " + Troff(calc_core::LimitText(row, row.highest));
            EXPECT_NE(entry.find(limits), std::string::npos) << entry;
        }
    }
}

TEST(SettingsDocs, DocsGiveEachFlagsAndKeysDefault) {
    const std::string commandLine = FileText(ORVALEX_SOURCE_DIR "/docs/command-line.md");
    const std::string page = FileText(ORVALEX_SOURCE_DIR "/web_page/README.md");
    for (const SettingRow& row : calc_core::SettingRows()) {
        SCOPED_TRACE(std::string(row.flag));
        if (row.kind == SettingKind::Flag) {
            // A flag takes no value: the docs name it, its "--no-" twin and the JSON's boolean.
            const bool on = calc_core::AnalysisSettings{}.*row.onOff;
            EXPECT_NE(commandLine.find("`" + std::string(row.flag) + "` (" + (on ? "on" : "off")),
                      std::string::npos);
            EXPECT_NE(commandLine.find("`" + calc_core::NegatedFlag(row) + "`"), std::string::npos);
            EXPECT_NE(page.find("`" + std::string(row.key) + "` (" + (on ? "true" : "false")),
                      std::string::npos);
            continue;
        }
        const auto value = DefaultText(row);
        const std::string flag = "`" + std::string(row.flag) + " " + calc_core::ValueName(row) +
                                 "`" + (value ? " (" + *value + ")" : "");
        EXPECT_NE(commandLine.find(flag), std::string::npos) << flag;
        const std::string quoted = row.kind == SettingKind::Choice ? "\"" : "";
        std::string key = "`" + std::string(row.key) + "`";
        if (value) {
            key.append(" (").append(quoted).append(*value).append(quoted);
        }
        EXPECT_NE(page.find(key), std::string::npos) << key;
    }
}

} // namespace
