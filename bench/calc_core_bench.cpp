// Prints how long a CAL press and the conversion of very long texts take in the core.
#include "check_calculation.h"
#include "design_calculation.h"
#include "number_text.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace {

template <typename Work> double MicrosecondsPerRun(int runs, Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < runs; ++i) {
        work();
    }
    const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / runs;
}

} // namespace

int main() {
    using namespace calc_core;
    const NumberLocale locale;
    volatile std::size_t sink = 0;

    const TabInputTexts design = {"10000", "2.5", "40", "30", ""};
    std::printf("Calc press:                    %8.3f us\n", MicrosecondsPerRun(100000, [&] {
                    sink = sink + CalcPress(false, true, design, locale).result.r1Text->size();
                }));

    const TabInputTexts check = {"470", "10", "100", "1.2", ""};
    CheckResults results;
    std::printf("Check press:                   %8.3f us\n", MicrosecondsPerRun(100000, [&] {
                    sink = sink + CheckPress(false, true, check, locale, results).labelTexts.size();
                }));

    for (std::size_t length : {1'000u, 100'000u, 10'000'000u}) {
        const std::string digits(length, '7');
        const std::string letters(length, 'x');
        const int runs = length > 1'000'000 ? 3 : 100;
        std::printf("StrictNumber, %9zu digits: %10.1f us\n", length,
                    MicrosecondsPerRun(runs, [&] { sink = sink + IsNumericText(digits, locale); }));
        std::printf("StrictNumber, %9zu letters:%10.1f us\n", length,
                    MicrosecondsPerRun(runs, [&] { sink = sink + IsNumericText(letters, locale); }));
        std::printf("LeadingNumber, %8zu digits: %10.1f us\n", length,
                    MicrosecondsPerRun(runs, [&] { sink = sink + (LeadingNumber(digits) > 0); }));
    }
    return 0;
}
