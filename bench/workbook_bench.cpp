// The workbook file on a sheet of 250,000 cells (10,000 rows of 25 columns: an id text and 24
// numbers): load and index it, read every cell, write 10 cells and save.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "workbook/workbook.h"

namespace {

namespace fs = std::filesystem;
using medravolix::workbook::CellValue;
using medravolix::workbook::Workbook;

constexpr int kRows = 10000;
constexpr int kColumns = 25;

// The workbook is made once, with the project's own writer, in a folder removed at exit.
class BigWorkbook {
 public:
  BigWorkbook() {
    std::random_device random;
    folder_ = fs::temp_directory_path() / ("medravolix-bench-" + std::to_string(random()));
    fs::create_directories(folder_);
    path_ = folder_ / "big.xlsx";
    Workbook book = Workbook::create({"Big", "Other"});
    std::mt19937 numbers(42);
    std::uniform_real_distribution<double> value(-1000.0, 1000.0);
    for (int row = 1; row <= kRows; ++row) {
      book.setCell("Big", row, 1, CellValue::text("Sim " + std::to_string(row)));
      for (int column = 2; column <= kColumns; ++column) {
        book.setCell("Big", row, column, CellValue::number(value(numbers)));
      }
    }
    book.setCell("Other", 1, 1, CellValue::text("small"));
    book.saveAs(path_);
  }
  ~BigWorkbook() {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path folder_;
  fs::path path_;
};

const fs::path& bigWorkbook() {
  static const BigWorkbook book;
  return book.path();
}

void BM_LoadAndIndex(benchmark::State& state) {
  const fs::path& path = bigWorkbook();
  for (auto _ : state) {
    const Workbook book = Workbook::open(path);
    benchmark::DoNotOptimize(book.lastRow("Big"));  // the sheet is parsed on first use
  }
  state.counters["file_MB"] = static_cast<double>(fs::file_size(path)) / 1e6;
}
BENCHMARK(BM_LoadAndIndex)->Unit(benchmark::kMillisecond);

void BM_ReadEveryCell(benchmark::State& state) {
  const Workbook book = Workbook::open(bigWorkbook());
  book.lastRow("Big");
  for (auto _ : state) {
    double sum = 0.0;
    std::size_t text_length = 0;
    for (int row = 1; row <= kRows; ++row) {
      text_length += book.cell("Big", row, 1).asText().size();
      for (int column = 2; column <= kColumns; ++column) sum += book.number("Big", row, column);
    }
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(text_length);
  }
  state.SetItemsProcessed(state.iterations() * kRows * kColumns);
}
BENCHMARK(BM_ReadEveryCell)->Unit(benchmark::kMillisecond);

void BM_Write10CellsAndSave(benchmark::State& state) {
  const fs::path copy = bigWorkbook().parent_path() / "copy.xlsx";
  fs::copy_file(bigWorkbook(), copy, fs::copy_options::overwrite_existing);
  int pass = 0;
  for (auto _ : state) {
    state.PauseTiming();
    Workbook book = Workbook::open(copy);
    book.lastRow("Big");
    state.ResumeTiming();
    for (int i = 0; i < 10; ++i) {
      book.setCell("Big", 1 + i * 997, 3 + i, CellValue::number(++pass));
    }
    book.save();
  }
}
BENCHMARK(BM_Write10CellsAndSave)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
