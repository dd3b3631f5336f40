// Rows of cells written as columns aligned by their width on a terminal.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace command_line {

class TextTable {
  public:
    // The first row is the header, if any. The first column is aligned left, the others right.
    void AddRow(std::vector<std::string> cells);

    // Each row indented by two spaces, columns two spaces apart, no trailing blanks.
    void Write(std::ostream& out) const;

  private:
    std::vector<std::vector<std::string>> rows_;
};

} // namespace command_line
