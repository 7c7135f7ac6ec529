#include "support/test_support.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

namespace medravolix::testing {

::testing::AssertionResult Near(double expected, double actual, double abs_tol, double rel_tol) {
  const double diff = actual - expected;
  if (std::isfinite(actual) && std::fabs(diff) <= abs_tol + rel_tol * std::fabs(expected)) {
    return ::testing::AssertionSuccess();
  }
  std::ostringstream msg;
  msg.precision(17);
  msg << "expected " << expected << ", actual " << actual << ", difference " << diff << " (allowed "
      << abs_tol << " + " << rel_tol << " x |expected|)";
  return ::testing::AssertionFailure() << msg.str();
}

ScratchDir::ScratchDir() {
  std::random_device rd;
  std::mt19937_64 gen(rd());
  for (int attempt = 0; attempt < 100; ++attempt) {
    auto candidate = std::filesystem::temp_directory_path() /
                     ("medravolix-test-" + std::to_string(gen() % 1000000000ULL));
    if (std::filesystem::create_directory(candidate)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot create a scratch folder");
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::filesystem::path SourceDir() {
  return MEDRAVOLIX_SOURCE_DIR;
}
std::filesystem::path BinaryDir() {
  return MEDRAVOLIX_BINARY_DIR;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream contents;
  contents << in.rdbuf();
  return contents.str();
}

std::filesystem::path CopyOfSample(const ScratchDir& dir, const std::string& name) {
  const auto copy = dir / name;
  std::filesystem::copy_file(BinaryDir() / "share" / "medravolix" / "sample.xlsx", copy);
  return copy;
}

int RunPython(const std::string& script, const std::string& args, std::string& out) {
  ScratchDir dir;
  std::ofstream(dir / "script.py") << script;
  return RunCommand("/usr/bin/python3 " + (dir / "script.py").string() + " " + args, out);
}

int RunCommand(const std::string& command, std::string& out) {
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return -1;
  std::array<char, 4096> buffer{};
  out.clear();
  size_t n = 0;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
  const int status = pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace medravolix::testing
