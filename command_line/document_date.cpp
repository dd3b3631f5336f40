// The date of a document.
#include "command_line/document_date.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstdio>

namespace command_line {
namespace {

constexpr std::int64_t LastSecondOf9999 = 253402300799; // 9999-12-31T23:59:59Z
constexpr std::int64_t SecondsPerDay = 86400;

std::string IsoDate(int year, unsigned month, unsigned day) {
    char text[40]; // room for any int, which a day never needs
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", year, month, day);
    return text;
}

} // namespace

std::optional<std::string> DateOfEpoch(std::string_view seconds) {
    if (seconds.empty() || seconds.size() > 12 ||
        !std::all_of(seconds.begin(), seconds.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
        return std::nullopt;
    }
    std::int64_t count = 0;
    for (const char digit : seconds) {
        count = count * 10 + (digit - '0');
    }
    if (count > LastSecondOf9999) {
        return std::nullopt;
    }
    const std::chrono::year_month_day day{
        std::chrono::sys_days(std::chrono::days(count / SecondsPerDay))};
    return IsoDate(int(day.year()), unsigned(day.month()), unsigned(day.day()));
}

std::string LocalDate(std::time_t time) {
    const std::tm* local = std::localtime(&time);
    if (local == nullptr) {
        return {};
    }
    return IsoDate(local->tm_year + 1900, unsigned(local->tm_mon + 1), unsigned(local->tm_mday));
}

} // namespace command_line
