// libFuzzer harness of the workbook layer. An input is a whole .xlsx file or the XML of one sheet
// (workbookOfInput). The layer must refuse the file with a WorkbookError or read, write, save
// and read back the same cells (workbook_round_trip.h); a break aborts, and a crash or a
// sanitizer report ends the run.
// Every input that ever broke it is kept in tests/workbook/data/fuzz/, replayed by the tests.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "workbook_round_trip.h"

namespace {

namespace fs = std::filesystem;

const fs::path& scratchFolder() {
  static const fs::path folder = [] {
    const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    fs::path path = base / ("medravolix-fuzz-" + std::to_string(::getpid()));
    fs::create_directories(path);
    return path;
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes =
      medravolix::fuzz::workbookOfInput(std::string(reinterpret_cast<const char*>(data), size));
  const fs::path input = scratchFolder() / "input.xlsx";
  const fs::path saved = scratchFolder() / "saved.xlsx";
  std::ofstream(input, std::ios::binary | std::ios::trunc) << bytes;
  const std::string broken = medravolix::fuzz::checkRoundTrip(input, saved);
  if (!broken.empty()) {
    std::fprintf(stderr, "workbook round trip broken: %s\n", broken.c_str());
    std::abort();
  }
  return 0;
}
