// Coverage-guided fuzzer of the page's one interface to the core: a link's fragment or a dropped
// file becomes a request, and every request must be answered with one JSON object, an error alone
// or a response.
//
// Input format: requests separated by NUL bytes, at most 8, sent in turn to one handler, so that a
// press's state reaches the analyses after it; tests/web_page/fuzz_corpus/ holds examples.
#include "web_page/api/request_handler.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Require(bool holds, const char* what, std::string_view detail = {}) {
    if (!holds) {
        std::fprintf(stderr, "request_fuzzer: %s '%.*s'\n", what, static_cast<int>(detail.size()),
                     detail.data());
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    web_page::RequestHandler handler;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    for (int sent = 0; sent < 8 && (sent == 0 || !rest.empty()); ++sent) {
        const std::size_t cut = rest.find('\0');
        const std::string_view request = rest.substr(0, cut);
        rest = cut == std::string_view::npos ? std::string_view{} : rest.substr(cut + 1);

        const std::string answer = handler.HandleRequest(request);
        const auto response = nlohmann::json::parse(answer, nullptr, false);
        Require(response.is_object() && !response.empty(), "not one JSON object", answer);
        if (response.contains("error")) {
            Require(response.size() == 1 && response["error"].is_string() &&
                        !response["error"].get<std::string>().empty(),
                    "an error beside a response", answer);
        } else {
            Require(response.contains("recorded"), "a response that says nothing of the record",
                    answer);
        }
    }
    return 0;
}
