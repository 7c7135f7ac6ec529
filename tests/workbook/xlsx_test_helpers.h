// Helpers of the workbook tests: running openpyxl (the independent reader and writer) and
// editing a workbook's zip with Python's zipfile, as other spreadsheet programs write parts.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace medravolix::workbook::test {

inline std::string quoted(const std::string& arg) {
  return "'" + arg + "'";
}

// Runs a Python script; a failing script fails the test and returns "".
inline std::string python(const std::string& script, const std::vector<std::string>& args = {}) {
  std::string joined;
  for (const auto& arg : args) joined += quoted(arg) + " ";
  std::string out;
  const int code = medravolix::testing::RunPython(script, joined, out);
  EXPECT_EQ(code, 0) << "python failed:\n" << script << "\noutput:\n" << out;
  return code == 0 ? out : std::string();
}

// Replaces, adds (content) or removes (nullopt) parts of the zip at `xlsx`, keeping the order of
// the other entries, with Python's zipfile.
inline void editZip(const std::filesystem::path& xlsx,
                    const std::map<std::string, std::optional<std::string>>& parts) {
  medravolix::testing::ScratchDir dir;
  std::ostringstream list;
  int n = 0;
  for (const auto& [name, content] : parts) {
    const auto file = dir / ("part" + std::to_string(n++));
    if (content) std::ofstream(file, std::ios::binary) << *content;
    list << name << '\t' << (content ? file.string() : std::string("-")) << '\n';
  }
  std::ofstream(dir / "list.txt") << list.str();
  python(R"(
import sys, zipfile, shutil
path, listing = sys.argv[1], sys.argv[2]
edits = dict(line.rstrip('\n').split('\t') for line in open(listing, encoding='utf-8') if line.strip())
src = zipfile.ZipFile(path)
out = zipfile.ZipFile(path + '.new', 'w', zipfile.ZIP_DEFLATED)
for info in src.infolist():
    if info.filename in edits:
        f = edits.pop(info.filename)
        if f != '-':
            out.writestr(info.filename, open(f, 'rb').read())
    else:
        out.writestr(info, src.read(info.filename))
for name, f in edits.items():
    if f != '-':
        out.writestr(name, open(f, 'rb').read())
out.close(); src.close()
shutil.move(path + '.new', path)
)",
         {xlsx.string(), (dir / "list.txt").string()});
}

// The text of one part of the zip.
inline std::string readPart(const std::filesystem::path& xlsx, const std::string& name) {
  return python(
      "import sys, "
      "zipfile\nsys.stdout.write(zipfile.ZipFile(sys.argv[1]).read(sys.argv[2]).decode('utf-8'))",
      {xlsx.string(), name});
}

inline std::string fileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace medravolix::workbook::test
