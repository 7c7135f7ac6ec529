// The modes of tool_table, each defined in its own file (tool_table_eto.cpp, tool_table_crops.cpp).
#pragma once

#include <string>
#include <vector>

namespace medravolix::tooltable {

// Runs one mode on WORKBOOK with its events; prints the JSON lines to standard output and
// returns the exit status (0 every event ran, 1 otherwise with a message on standard error).
int runEto(const std::string& workbook, const std::vector<std::string>& events);
int runCrops(const std::string& workbook, const std::vector<std::string>& events);

}  // namespace medravolix::tooltable
