// Helpers shared by the test programs: tolerance comparisons that print expected, actual and
// difference; scratch folders; running the independent workbook reader (python3-openpyxl).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace medravolix::testing {

// Passes when |actual - expected| <= abs_tol + rel_tol * |expected|; the failure message names
// the expected and actual values and their difference.
::testing::AssertionResult Near(double expected, double actual, double abs_tol,
                                double rel_tol = 0.0);

// A fresh folder under the system's temporary folder, removed when the object goes away.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// The project's source folder and build folder, as CMake configured them.
std::filesystem::path SourceDir();
std::filesystem::path BinaryDir();

// The whole content of a file ("" when it cannot be read).
std::string ReadFile(const std::filesystem::path& path);

// A copy of the sample workbook that the build assembles, as `name` in `dir` (tests never touch
// the built file).
std::filesystem::path CopyOfSample(const ScratchDir& dir, const std::string& name = "sample.xlsx");

// Runs a shell command; returns its exit code and puts what it printed on stdout into `out`.
int RunCommand(const std::string& command, std::string& out);

// Runs Debian's python3 (which has python3-openpyxl) on a script given as text, with the
// arguments appended; returns its exit code and puts what it printed on stdout into `out`.
int RunPython(const std::string& script, const std::string& args, std::string& out);

}  // namespace medravolix::testing
