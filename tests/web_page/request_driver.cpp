// The page's interface run natively: one request a line on stdin, one response a line on stdout,
// all through one handler, so that a sequence of requests can be compared with the module's.
#include "web_page/api/request_handler.h"

#include <iostream>
#include <string>

int main() {
    std::ios::sync_with_stdio(false);
    web_page::RequestHandler handler;
    std::string line;
    while (std::getline(std::cin, line)) {
        std::cout << handler.HandleRequest(line) << '\n';
        // The other side waits for each batch's answers before it writes the next.
        if (std::cin.rdbuf()->in_avail() == 0) {
            std::cout.flush();
        }
    }
}
