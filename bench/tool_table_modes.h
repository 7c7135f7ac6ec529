// The modes of tool_table, each defined in its own file (tool_table_eto.cpp, tool_table_crops.cpp).
#pragma once

#include <iostream>
#include <string>
#include <vector>

namespace medravolix::tooltable {

// Runs one mode on WORKBOOK with its events; prints the JSON lines to standard output and
// returns the exit status (0 every event ran, 1 otherwise with a message on standard error).
int runEto(const std::string& workbook, const std::vector<std::string>& events);
int runCrops(const std::string& workbook, const std::vector<std::string>& events);

// The event "wait" of every mode: reads one line from standard input (or finds its end) before
// the next event runs, so that a script can change the workbook on disk between two events.
inline constexpr const char* kEventoEspera = "wait";
inline void esperarLinea() {
  std::string linea;
  std::getline(std::cin, linea);
}

}  // namespace medravolix::tooltable
