// The sample workbook's text source: fifteen CSV tables, named and ordered as the workbook's
// sheets, and derived blocks that match the rules that make them from the libraries.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_support.h"
#include "workbook/csv_table.h"

namespace medravolix {
namespace {

namespace fs = std::filesystem;
using testing::RunPython;
using testing::ScratchDir;
using testing::SourceDir;

const std::vector<std::string> kSheets = {
    "Sim_batch",           "Soil_batch",           "Clim_batch", "Crop_batch", "Irrigat_batch",
    "Wat_batch",           "SSol_batch",           "WBal_batch", "Clim_WS",    "Clim_data",
    "Annual_crops_growth", "Annual_crops_irrigat", "Tree_crops", "Constants",  "Parameters"};

fs::path SampleDir() {
  return SourceDir() / "data" / "sample";
}

std::vector<fs::path> CsvFiles() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(SampleDir()))
    if (entry.path().extension() == ".csv") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream contents;
  contents << in.rdbuf();
  return contents.str();
}

TEST(SampleData, OneTablePerSheetInWorkbookOrder) {
  const auto files = CsvFiles();
  ASSERT_EQ(files.size(), kSheets.size());
  for (size_t i = 0; i < files.size(); ++i) {
    const std::string prefix = (i + 1 < 10 ? "0" : "") + std::to_string(i + 1) + "_";
    EXPECT_EQ(files[i].stem().string(), prefix + kSheets[i]);
    const auto table = workbook::CsvTable::read(files[i]);  // throws on malformed text
    EXPECT_GE(table.rowCount(), 1) << files[i];
  }
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
  ASSERT_EQ(RunPython(script, SampleDir().string() + " " + out.path().string(), printed), 0)
      << printed;
  for (const char* name : {"03_Clim_batch.csv", "04_Crop_batch.csv", "05_Irrigat_batch.csv"}) {
    EXPECT_EQ(ReadFile(out / name), ReadFile(SampleDir() / name))
        << name << " differs from what data/sample/derive_blocks.py makes: run it again";
  }
}

}  // namespace
}  // namespace medravolix
