// tool_table crops: see tool_table.cpp.
#include <iostream>

#include "tool_table_modes.h"

namespace medravolix::tooltable {

int runCrops(const std::string&, const std::vector<std::string>&) {
  std::cerr << "tool_table: the crops mode is not built yet\n";
  return 1;
}

}  // namespace medravolix::tooltable
