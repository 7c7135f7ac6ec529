// The sample workbook: its text source (fifteen CSV tables, named and ordered as the workbook's
// sheets, and derived blocks that match the rules that make them from the libraries) and the
// sample.xlsx the build assembles from it. The built file is a template: every test works on a
// copy of it in a scratch folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/test_support.h"
#include "workbook/csv_table.h"
#include "workbook/workbook.h"

namespace medravolix {
namespace {

namespace fs = std::filesystem;
using testing::CopyOfSample;
using testing::ReadFile;
using testing::RunPython;
using testing::ScratchDir;
using testing::SourceDir;
using workbook::CellValue;
using workbook::CsvTable;
using workbook::Workbook;

const std::vector<std::string> kSheets = {
    "Sim_batch",           "Soil_batch",           "Clim_batch", "Crop_batch", "Irrigat_batch",
    "Wat_batch",           "SSol_batch",           "WBal_batch", "Clim_WS",    "Clim_data",
    "Annual_crops_growth", "Annual_crops_irrigat", "Tree_crops", "Constants",  "Parameters"};

fs::path sampleDir() {
  return SourceDir() / "data" / "sample";
}

std::vector<fs::path> csvFiles() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(sampleDir()))
    if (entry.path().extension() == ".csv") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

TEST(SampleData, DerivedBlocksAreWhatTheirRulesMake) {
  ScratchDir out;
  const std::string script =
      "import sys\n"
      "sys.dont_write_bytecode = True\n"
      "sys.path.insert(0, sys.argv[1])\n"
      "import derive_blocks\n"
      "derive_blocks.main(sys.argv[2])\n";
  std::string printed;
  ASSERT_EQ(RunPython(script, sampleDir().string() + " " + out.path().string(), printed), 0)
      << printed;
  for (const char* name : {"03_Clim_batch.csv", "04_Crop_batch.csv", "05_Irrigat_batch.csv"}) {
    EXPECT_EQ(ReadFile(out / name), ReadFile(sampleDir() / name))
        << name << " differs from what data/sample/derive_blocks.py makes: run it again";
  }
}

class SampleWorkbook : public ::testing::Test {
 protected:
  ScratchDir dir_;
  const fs::path copy_ = CopyOfSample(dir_);
};

TEST_F(SampleWorkbook, AnIndependentReaderFindsEveryInputByTheBatchLookUpRules) {
  // openpyxl: fifteen sheets in order; every simulation's inputs found (row searches from row 1,
  // blocks on rows 2, 14, 26, ...) but the one climate left out on purpose; every water within 5 %
  // of ionic balance; numbers in every chemistry cell.
  const std::string script =
      ReadFile(SourceDir() / "tests" / "sample" / "check_sample_workbook.py");
  std::string printed;
  EXPECT_EQ(RunPython(script, copy_.string(), printed), 0) << printed;
  EXPECT_EQ(printed, "OK\n");
}

TEST_F(SampleWorkbook, TheProjectReaderSeesEveryTableCellForCell) {
  const auto book = Workbook::open(copy_);
  ASSERT_EQ(book.sheetNames(), kSheets);
  const auto files = csvFiles();
  ASSERT_EQ(files.size(), kSheets.size());
  for (size_t i = 0; i < files.size(); ++i) {
    const auto table = CsvTable::read(files[i]);
    const std::string& sheet = kSheets[i];
    EXPECT_EQ(book.lastRow(sheet), table.rowCount()) << sheet;
    for (int row = 1; row <= table.rowCount(); ++row) {
      for (int column = 1; column <= table.columnCount() + 1; ++column) {
        EXPECT_EQ(book.cell(sheet, row, column), table.cell(row, column))
            << workbook::cellReference(sheet, row, column);
      }
    }
  }
}

}  // namespace
}  // namespace medravolix
