// Every input with which fuzzing ever broke the workbook layer (kept in data/fuzz/, named after
// what it broke), and the damaged workbooks of data/findings/, replayed through the fuzzing
// harness's own check: refused with a WorkbookError, or read, written, saved and read back alike.
#include <algorithm>

#include "../../fuzz/workbook_round_trip.h"
#include "xlsx_fixtures.h"

namespace medravolix::workbook {
namespace {

using namespace test;

TEST(FuzzRegressions, EveryKeptInputIsRefusedOrRoundTrips) {
  std::vector<fs::path> inputs;
  for (const char* folder : {"tests/workbook/data/fuzz", "tests/workbook/data/findings"}) {
    for (const auto& entry : fs::directory_iterator(medravolix::testing::SourceDir() / folder)) {
      if (entry.path().extension() != ".py") inputs.push_back(entry.path());
    }
  }
  std::sort(inputs.begin(), inputs.end());
  ScratchDir dir;
  for (const auto& input : inputs) {
    std::ofstream(dir / "input.xlsx", std::ios::binary) << fuzz::workbookOfInput(ReadFile(input));
    EXPECT_EQ(fuzz::checkRoundTrip(dir / "input.xlsx", dir / "saved.xlsx"), "") << input.filename();
  }
  EXPECT_GE(inputs.size(), 10u);
}

}  // namespace
}  // namespace medravolix::workbook
