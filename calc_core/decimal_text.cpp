// Decimal text of doubles.
#include "calc_core/decimal_text.h"

#include <charconv>
#include <system_error>

namespace calc_core {

std::string FixedText(double value, int decimals) {
    char buffer[400]; // fixed notation of the largest double needs 309 digits
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return error == std::errc{} ? std::string(buffer, end) : std::string();
}

std::string SignificantText(double value, int digits) {
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
    return error == std::errc{} ? std::string(buffer, end) : std::string();
}

std::string ShortestText(double value) {
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return error == std::errc{} ? std::string(buffer, end) : std::string();
}

DecimalRead ReadDecimal(std::string_view text) {
    DecimalRead read;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), read.value);
    if (error == std::errc{} || error == std::errc::result_out_of_range) {
        read.length = static_cast<std::size_t>(end - text.data());
        read.outOfRange = error == std::errc::result_out_of_range;
    }
    return read;
}

} // namespace calc_core
