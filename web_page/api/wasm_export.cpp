// The module's one export: the page's requests answered by one handler that lives with the page.
#include "web_page/api/request_handler.h"

#include <emscripten/emscripten.h>

#include <string>

namespace {

web_page::RequestHandler handler;
std::string lastResponse; // read by the caller before its next request

} // namespace

// Takes a request as UTF-8 JSON text; the response stays valid until the next call.
extern "C" EMSCRIPTEN_KEEPALIVE const char* orvalex_request(const char* json) {
    lastResponse = handler.HandleRequest(json);
    return lastResponse.c_str();
}
