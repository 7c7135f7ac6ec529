#include "workbook/lock_files.h"

#include <system_error>
#include <vector>

namespace medravolix::workbook {

namespace fs = std::filesystem;

namespace {

// The names the two programs give the lock file of a workbook named `name`.
std::vector<std::string> lockFileNames(const std::string& name) {
  std::vector<std::string> names = {".~lock." + name + "#", "~$" + name};
  if (name.size() > 2) names.push_back("~$" + name.substr(2));
  return names;
}

// Anything standing under that name counts, even a dangling link: it is only a hint.
bool standsThere(const fs::path& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error));
}

std::optional<fs::path> lockFileBeside(const fs::path& workbook) {
  const std::string name = workbook.filename().string();
  if (name.empty()) return std::nullopt;
  for (const std::string& lock_name : lockFileNames(name)) {
    const fs::path lock = workbook.parent_path() / lock_name;
    if (standsThere(lock)) return lock;
  }
  return std::nullopt;
}

}  // namespace

std::optional<fs::path> lockFileOfAnotherProgram(const fs::path& workbook) {
  if (auto lock = lockFileBeside(workbook)) return lock;
  std::error_code error;
  if (!fs::is_symlink(workbook, error)) return std::nullopt;
  const fs::path target = fs::weakly_canonical(workbook, error);
  if (error || target == workbook) return std::nullopt;
  return lockFileBeside(target);
}

std::string lockFileQuestion(const fs::path& workbook, const fs::path& lock_file,
                             std::string_view about_to_write) {
  return "The workbook " + workbook.string() +
         " seems to be open in another program: its lock file " + lock_file.string() +
         " stands beside it.\r\n\r\nThe next save of the workbook in that program would "
         "overwrite what MEDRAVOLIX is about to write: " +
         std::string(about_to_write) +
         ".\r\n\r\nClose the workbook in that program first. If it is open nowhere, the lock "
         "file was left behind by a program that stopped, and you can go on.\r\n\r\nGo on?";
}

}  // namespace medravolix::workbook
