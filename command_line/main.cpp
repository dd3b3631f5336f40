// orvalex-kep: the Calc and Check presses and the design analysis on the command line.
#include "command_line/run.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return command_line::Run(args, std::cout, std::cerr);
}
