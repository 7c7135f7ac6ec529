// The lock files that LibreOffice and Excel leave beside a workbook they hold open, found beside
// the workbook's path and beside the target of a symbolic link.
#include "workbook/lock_files.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/test_support.h"

namespace medravolix::workbook {
namespace {

namespace fs = std::filesystem;
using testing::ScratchDir;

void touch(const fs::path& path) {
  std::ofstream(path) << "lock";
}

TEST(LockFiles, FoundBesideTheWorkbook) {
  const struct {
    const char* workbook;
    const char* lock;  // nullptr: nothing stands beside the workbook
    bool found;
  } cases[] = {
      {"sample.xlsx", nullptr, false},
      {"sample.xlsx", ".~lock.sample.xlsx#", true},              // LibreOffice
      {"sample.xlsx", "~$sample.xlsx", true},                    // Excel
      {"Riegos del valle.xlsx", "~$egos del valle.xlsx", true},  // Excel, a long name
      {"sample.xlsx", ".~lock.other.xlsx#", false},
      {"sample.xlsx", "~$other.xlsx", false},
      {"sample.xlsx", ".~lock.sample.xlsx", false},        // no trailing #
      {"sample.xlsx", "~$Sample.xlsx", false},             // case counts
      {"sample.xlsx", ".sample.xlsx.saving-lock", false},  // MEDRAVOLIX's own, while it saves
  };
  for (const auto& c : cases) {
    ScratchDir dir;
    touch(dir / c.workbook);
    if (c.lock) touch(dir / c.lock);
    const auto lock = lockFileOfAnotherProgram(dir / c.workbook);
    EXPECT_EQ(lock, c.found ? std::optional(dir / c.lock) : std::nullopt) << c.lock;
  }
}

TEST(LockFilesLink, FoundBesideTheLinkAndBesideItsTarget) {
  ScratchDir dir;
  fs::create_directory(dir / "data");
  fs::create_directory(dir / "links");
  touch(dir / "data" / "real.xlsx");
  const fs::path link = dir / "links" / "mine.xlsx";
  fs::create_symlink("../data/real.xlsx", link);
  EXPECT_FALSE(lockFileOfAnotherProgram(link).has_value());
  // Opened through its target in LibreOffice: the lock stands beside the target.
  touch(dir / "data" / ".~lock.real.xlsx#");
  ASSERT_TRUE(lockFileOfAnotherProgram(link).has_value());
  EXPECT_EQ(fs::canonical(*lockFileOfAnotherProgram(link)),
            fs::canonical(dir / "data" / ".~lock.real.xlsx#"));
  // Opened through the link in Excel: the lock stands beside the link.
  fs::remove(dir / "data" / ".~lock.real.xlsx#");
  touch(dir / "links" / "~$mine.xlsx");
  EXPECT_EQ(lockFileOfAnotherProgram(link), dir / "links" / "~$mine.xlsx");
}

}  // namespace
}  // namespace medravolix::workbook
