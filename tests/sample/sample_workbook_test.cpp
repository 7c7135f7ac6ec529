// The sample workbook: its text source (fifteen CSV tables, named and ordered as the workbook's
// sheets, and derived blocks that match the rules that make them from the libraries) and the
// sample.xlsx the build assembles from it. The built file is a template: every test works on a
// copy of it in a scratch folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
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

// The annual crops follow the manual's advice: Annual_crops_growth holds the stage means of
// FAO-56's straight lines (from the Kcb ini, mid and end of README.md's table) divided by the
// crop's maximum cover, so that the model's Kcb x the year's largest cover gives back FAO-56's
// Kcb mid in a month wholly in mid-season: there ETc = Kcb mid x ETo plus the soil evaporation.
TEST(SampleData, AnnualCropsHoldFaoStageMeansDividedByTheirMaximumCover) {
  const CsvTable growth = CsvTable::read(sampleDir() / "11_Annual_crops_growth.csv");
  const CsvTable blocks = CsvTable::read(sampleDir() / "04_Crop_batch.csv");
  const std::string readme = ReadFile(sampleDir() / "README.md");
  const std::regex fila(R"(\n  \| ([^|]+?) \| ([0-9.]+) / ([0-9.]+) / ([0-9.]+) \|)");
  const std::map<std::string, std::string> block_of = {{"Maize (grain)", "Maize"},
                                                       {"Winter wheat", "Winter wheat"},
                                                       {"Cotton", "Cotton"},
                                                       {"Tomato", "Tomato"}};
  int crops = 0, crops_in_blocks = 0;
  for (auto m = std::sregex_iterator(readme.begin(), readme.end(), fila);
       m != std::sregex_iterator(); ++m, ++crops) {
    const std::string name = (*m)[1];
    const double ini = std::stod((*m)[2]), mid = std::stod((*m)[3]), end = std::stod((*m)[4]);
    int r = 2;
    while (r <= growth.rowCount() && growth.cell(r, 1) != CellValue::text(name)) ++r;
    ASSERT_LE(r, growth.rowCount()) << name;
    const double cover = growth.cell(r, 11).asNumber();
    const double means[] = {ini, (ini + mid) / 2, mid, (mid + end) / 2};
    for (int s = 0; s < 4; ++s) {
      EXPECT_NEAR(growth.cell(r, 3 + s).asNumber(), means[s] / cover, 0.0005 + 1e-12)
          << name << ", stage " << s + 1;
    }
    // The crop's block, where a month lies wholly in mid-season (the crop's full cover): Kcb x
    // the largest cover there.
    if (!block_of.count(name)) continue;
    double kcb = 0, largest = 0;
    for (int b = 2; b <= blocks.rowCount(); ++b) {
      if (blocks.cell(b, 1) != CellValue::text(block_of.at(name))) continue;
      if (blocks.cell(b, 4).asNumber() > largest) kcb = blocks.cell(b, 2).asNumber();
      largest = std::max(largest, blocks.cell(b, 4).asNumber());
    }
    if (largest != cover) continue;
    EXPECT_NEAR(kcb * largest, mid, 0.0005 + 1e-12) << name;
    ++crops_in_blocks;
  }
  EXPECT_EQ(crops, growth.rowCount() - 1);
  EXPECT_EQ(crops_in_blocks,
            2);  // maize and cotton; wheat's and tomato's mid-season span two months
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
