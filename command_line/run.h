// The whole program behind main(): arguments in, reports out, an exit status back.
#pragma once

#include <ostream>
#include <span>
#include <string>

namespace command_line {

// Parses the arguments that follow the program's name, saves the design when --save asks for it,
// runs the press and writes its report to out (text, JSON, or an HTML or CSV document dated by
// SOURCE_DATE_EPOCH or today); or runs a batch. A
// message of the press, a bad command line, or a design file that cannot be opened or saved, is
// one line on err. Returns the exit status: 0 passed, 1 "Cal Error! Please check circuit!" (a
// batch: a row with a message), 2 otherwise.
int Run(std::span<const std::string> args, std::ostream& out, std::ostream& err);

} // namespace command_line
