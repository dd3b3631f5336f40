// orvalex-kep: the Calc and Check presses and the design analysis on the command line.
#include "command_line/run.h"
#include "command_line/system_text.h"

#include <iostream>

int main(int argc, char** argv) {
    const command_line::Utf8Output output;
    return command_line::Run(command_line::ProgramArguments(argc, argv), std::cout, std::cerr);
}
