// The lock files that LibreOffice and Excel leave beside a workbook they hold open, found beside
// the workbook's path and beside the target of a symbolic link; and the question the user is asked.
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

struct LockCase {
  const char* workbook;
  const char* lock;  // nullptr: nothing stands beside the workbook
  bool found;
};

class LockFiles : public ::testing::TestWithParam<LockCase> {};

TEST_P(LockFiles, FoundBesideTheWorkbook) {
  const LockCase& c = GetParam();
  ScratchDir dir;
  touch(dir / c.workbook);
  if (c.lock) touch(dir / c.lock);
  const auto lock = lockFileOfAnotherProgram(dir / c.workbook);
  if (c.found) {
    ASSERT_TRUE(lock.has_value());
    EXPECT_EQ(*lock, dir / c.lock);
  } else {
    EXPECT_FALSE(lock.has_value()) << *lock;
  }
}

INSTANTIATE_TEST_SUITE_P(
    LibreOfficeAndExcel, LockFiles,
    ::testing::Values(LockCase{"sample.xlsx", nullptr, false},
                      LockCase{"sample.xlsx", ".~lock.sample.xlsx#", true},  // LibreOffice
                      LockCase{"sample.xlsx", "~$sample.xlsx", true},        // Excel
                      LockCase{"Riegos del valle.xlsx", "~$egos del valle.xlsx", true},  // long
                      LockCase{"sample.xlsx", ".~lock.other.xlsx#", false},
                      LockCase{"sample.xlsx", "~$other.xlsx", false},
                      LockCase{"sample.xlsx", ".~lock.sample.xlsx", false},  // no trailing #
                      LockCase{"sample.xlsx", "~$Sample.xlsx", false}),      // case counts
    [](const auto& info) { return "case" + std::to_string(info.index); });

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

TEST(LockFilesQuestion, SaysWhatWouldBeOverwrittenAndAsksToGoOn) {
  EXPECT_EQ(lockFileQuestion("/home/ana/Riegos.xlsx", "/home/ana/.~lock.Riegos.xlsx#",
                             "the results of this batch"),
            "The workbook /home/ana/Riegos.xlsx seems to be open in another program: its lock "
            "file /home/ana/.~lock.Riegos.xlsx# stands beside it.\r\n\r\n"
            "The next save of the workbook in that program would overwrite what MEDRAVOLIX is "
            "about to write: the results of this batch.\r\n\r\n"
            "Close the workbook in that program first. If it is open nowhere, the lock file was "
            "left behind by a program that stopped, and you can go on.\r\n\r\n"
            "Go on?");
}

}  // namespace
}  // namespace medravolix::workbook
