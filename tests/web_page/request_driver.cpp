// The page's interface run natively: one request a line on stdin, one response a line on stdout,
// all through one handler, so that a sequence of requests can be compared with the module's.
// With --all-at-once an analysis's yield runs within its request on every core, as the command
// line runs it, rather than a few chunks a yield_step as the page asks for it.
#include "web_page/api/request_handler.h"

#include <iostream>
#include <string>
#include <string_view>

int main(int argc, char** argv) {
    using Steps = web_page::RequestHandler::YieldSteps;
    const bool allAtOnce = argc > 1 && std::string_view(argv[1]) == "--all-at-once";
    std::ios::sync_with_stdio(false);
    web_page::RequestHandler handler(allAtOnce ? Steps::AllAtOnce : Steps::Stepped);
    std::string line;
    while (std::getline(std::cin, line)) {
        std::cout << handler.HandleRequest(line) << '\n';
        // The other side waits for each batch's answers before it writes the next.
        if (std::cin.rdbuf()->in_avail() == 0) {
            std::cout.flush();
        }
    }
}
