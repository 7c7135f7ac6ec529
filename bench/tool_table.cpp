// Drives the tool windows' controllers on a real workbook, with scripted answers to their
// dialogs, and prints what a user would see as one JSON object per line:
//
//   tool_table eto WORKBOOK [EVENT...]
//   tool_table crops WORKBOOK EVENT...
//
// The event "wait" reads one line from standard input before the next event, so that a script
// can change the workbook between two events; each line is printed (and flushed) as soon as its
// event has run. Each mode lives in its own file (tool_table_<mode>.cpp). Exits 0 when every
// event ran, 1 with a message on standard error otherwise, 2 on a usage error.
#include <iostream>
#include <string>
#include <vector>

#include "tool_table_modes.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() < 2) {
    std::cerr << "usage: tool_table eto WORKBOOK [EVENT...]\n"
                 "       tool_table crops WORKBOOK EVENT...\n";
    return 2;
  }
  const std::vector<std::string> events(args.begin() + 2, args.end());
  if (args[0] == "eto") return medravolix::tooltable::runEto(args[1], events);
  if (args[0] == "crops") return medravolix::tooltable::runCrops(args[1], events);
  std::cerr << "tool_table: unknown mode '" << args[0] << "'\n";
  return 2;
}
