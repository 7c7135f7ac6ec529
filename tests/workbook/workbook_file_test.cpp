// Saving replaces the file atomically: any failure leaves the original byte for byte, links
// are followed, permissions kept; a file changed on disk is reloaded, never overwritten.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "xlsx_fixtures.h"

namespace medravolix::workbook {
namespace {

using namespace test;

class FailingHook : public ::testing::TestWithParam<const char*> {};

TEST_P(FailingHook, FailedSaveLeavesTheOriginalByteIdentical) {
  ScratchDir dir;
  const auto path = smallWorkbook(dir / "book.xlsx");
  const std::string original = ReadFile(path);
  Workbook book = Workbook::open(path);
  Workbook other = Workbook::open(path);  // the hook belongs to one workbook only
  book.setCell("S", 1, 1, CellValue::number(2));
  const std::string failing_stage = GetParam();
  book.setSaveHookForTests([&](std::string_view stage) {
    if (stage == failing_stage) throw std::runtime_error("injected failure at " + failing_stage);
  });
  const std::string message = errorOf([&] { book.save(); });
  EXPECT_CONTAINS(message, "injected failure at " + failing_stage);
  EXPECT_CONTAINS(message, "left as it was");
  EXPECT_EQ(ReadFile(path), original);
  EXPECT_EQ(folderListing(dir.path()), std::vector<std::string>{"book.xlsx"});
  EXPECT_TRUE(book.isModified());
  other.setCell("S", 2, 1, CellValue::number(7));
  other.saveAs(dir / "other.xlsx");
  EXPECT_EQ(Workbook::open(dir / "other.xlsx").cell("S", 2, 1), CellValue::number(7));
  fs::remove(dir / "other.xlsx");
  book.setSaveHookForTests(nullptr);
  book.save();  // the same changes save once nothing stands in the way
  EXPECT_EQ(Workbook::open(path).cell("S", 1, 1), CellValue::number(2));
  EXPECT_EQ(folderListing(dir.path()), std::vector<std::string>{"book.xlsx"});
}

INSTANTIATE_TEST_SUITE_P(Stages, FailingHook, ::testing::Values("flush", "rename"));

TEST(AtomicSave, UnwritableTargetsFailCleanlyAndSaveAsMovesTheWorkbook) {
  ScratchDir dir;
  const auto path = smallWorkbook(dir / "book.xlsx");
  const std::string original = ReadFile(path);
  Workbook book = Workbook::open(path);
  book.setCell("S", 2, 2, CellValue::text("x"));
  std::ofstream(dir / "plain.txt") << "a file, not a folder";
  EXPECT_THROW(book.saveAs(dir / "plain.txt" / "new.xlsx"), WorkbookError);
  fs::create_directory(dir / "folder.xlsx");
  std::ofstream(dir / "folder.xlsx" / "inside.txt") << "kept";
  EXPECT_THROW(book.saveAs(dir / "folder.xlsx"), WorkbookError);
  EXPECT_EQ(ReadFile(dir / "folder.xlsx" / "inside.txt"), "kept");
  EXPECT_EQ(folderListing(dir.path()),
            (std::vector<std::string>{"book.xlsx", "folder.xlsx", "plain.txt"}));
  EXPECT_EQ(book.path(), path);  // a failed saveAs does not move the workbook
  book.saveAs(dir / "b.xlsx");
  EXPECT_EQ(ReadFile(path), original);
  book.setCell("S", 3, 3, CellValue::text("c"));
  book.save();  // to the new file
  EXPECT_EQ(Workbook::open(dir / "b.xlsx").cell("S", 3, 3), CellValue::text("c"));
  EXPECT_EQ(ReadFile(path), original);
}

// A save that was killed leaves its new file, ".NAME.saving-NNNNNN", and its lock,
// ".NAME.saving-lock", beside the workbook; the next open or save of that workbook removes them,
// and nothing else.
TEST(AtomicSave, LeftoversOfKilledSavesGoWhenTheWorkbookIsOpenedOrSaved) {
  ScratchDir dir;
  const auto path = smallWorkbook(dir / "book.xlsx");
  const std::vector<std::string> others = {".book.xlsx.saving-",      ".book.xlsx.saving-1234567",
                                           ".book.xlsx.saving-12a",   ".other.xlsx.saving-123456",
                                           "book.xlsx.saving-123456", ".book.xlsx.saving-000001x"};
  for (const auto& name : others) std::ofstream(dir / name) << "not ours";
  const auto leave = [&](const std::string& name) { std::ofstream(dir / name) << "PK half"; };
  leave(".book.xlsx.saving-123456");
  leave(".book.xlsx.saving-7");
  leave(".book.xlsx.saving-lock");  // the lock of a killed save, free since it ended
  fs::create_directory(dir / ".book.xlsx.saving-000002");  // a folder is not a leftover file
  std::vector<std::string> expected = others;
  expected.insert(expected.end(), {".book.xlsx.saving-000002", "book.xlsx"});
  std::sort(expected.begin(), expected.end());
  Workbook book = Workbook::open(path);
  EXPECT_EQ(folderListing(dir.path()), expected);
  leave(".book.xlsx.saving-654321");
  leave(".book.xlsx.saving-lock");
  book.setCell("S", 1, 1, CellValue::number(2));
  book.save();
  EXPECT_EQ(folderListing(dir.path()), expected);
  EXPECT_EQ(ReadFile(dir / "book.xlsx.saving-123456"), "not ours");
}

// A save renames a new file over the old one, which the old file's own permissions would never
// stop: a file made read-only (no write bit, which binds the administrator too) or one that its
// user may not write is refused, named, and left byte for byte, whether saved, saved as, or
// reached through a link.
TEST(WriteProtection, AReadOnlyWorkbookIsNeverReplacedUntilMadeWritable) {
  ScratchDir dir;
  const auto path = smallWorkbook(dir / "book.xlsx");
  const auto other = smallWorkbook(dir / "other.xlsx");
  fs::create_symlink(path, dir / "link.xlsx");
  const std::string original = ReadFile(path);
  Workbook book = Workbook::open(path);
  Workbook through_link = Workbook::open(dir / "link.xlsx");
  book.setCell("S", 1, 1, CellValue::number(2));
  through_link.setCell("S", 1, 1, CellValue::number(3));
  for (const mode_t mode : {0444, 0400, 0500}) {
    ::chmod(path.c_str(), mode);
    ::chmod(other.c_str(), mode);
    EXPECT_EQ(errorOf([&] { book.save(); }),
              "The workbook '" + path.string() +
                  "' is write-protected (its permissions give no one the right to write it), so "
                  "nothing was written to it. Make the file writable (for example with chmod u+w) "
                  "and try again.");
    EXPECT_CONTAINS(errorOf([&] { through_link.save(); }), "'" + path.string() + "' is write-pro");
    EXPECT_CONTAINS(errorOf([&] { book.saveAs(other); }), "'" + other.string() + "' is write-pro");
    EXPECT_TRUE(ReadFile(path) == original);
    EXPECT_TRUE(ReadFile(other) == original);
    struct stat st {};
    ::stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, mode);
    EXPECT_EQ(folderListing(dir.path()),
              (std::vector<std::string>{"book.xlsx", "link.xlsx", "other.xlsx"}));
    EXPECT_TRUE(book.isModified());
  }
  ::chmod(path.c_str(), 0644);
  book.save();
  EXPECT_EQ(Workbook::open(path).cell("S", 1, 1), CellValue::number(2));
}

// A file that its user may not write (Permission denied) though it has a write bit: a file of
// mode 0644 that belongs to another user. Under root this runs as the user nobody in a child.
TEST(WriteProtection, AFileThatItsUserMayNotWriteIsRefusedWithTheSystemsReason) {
  ScratchDir dir;
  const auto path = smallWorkbook(dir / "book.xlsx");
  const std::string original = ReadFile(path);
  const bool root = ::geteuid() == 0;
  // Not root: the owner's own bits deny writing while the group's allow it.
  ::chmod(path.c_str(), root ? 0644 : 0464);
  ::chmod(dir.path().c_str(), 0777);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (root && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(4);
    Workbook book = Workbook::open(path);
    book.setCell("S", 1, 1, CellValue::number(2));
    const std::string message = errorOf([&] { book.save(); });
    ::_exit(message == "The workbook '" + path.string() +
                           "' is write-protected (Permission denied), so nothing was written to "
                           "it. Make the file writable (for example with chmod u+w) and try again."
                ? 0
                : 3);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
  EXPECT_TRUE(ReadFile(path) == original);
  EXPECT_EQ(folderListing(dir.path()), std::vector<std::string>{"book.xlsx"});
}

// Two instances of the program on one workbook: the one that opens it while the other is saving
// must not take the other's new file for a leftover of a killed save. The saving process holds
// its new file locked until the rename; the clean-up removes only files no process holds.
TEST(AtomicSave, ASaveInProgressElsewhereKeepsItsNewFileThroughAnOpen) {
  ScratchDir dir;
  const auto path = smallWorkbook(dir / "book.xlsx");
  int to_parent[2], to_child[2];
  ASSERT_EQ(::pipe(to_parent), 0);
  ASSERT_EQ(::pipe(to_child), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    Workbook book = Workbook::open(path);
    book.setCell("S", 1, 1, CellValue::number(42));
    book.setSaveHookForTests([&](std::string_view stage) {
      if (stage != "rename") return;
      char c = 'r';
      if (::write(to_parent[1], &c, 1) != 1 || ::read(to_child[0], &c, 1) != 1) ::_exit(5);
    });
    ::_exit(errorOf([&] { book.save(); }).empty() ? 0 : 3);
  }
  char c = 0;
  ASSERT_EQ(::read(to_parent[0], &c, 1), 1);  // the other save is about to rename
  const auto listing = folderListing(dir.path());
  EXPECT_EQ(listing.size(), 3u);
  EXPECT_TRUE(listing[0].starts_with(".book.xlsx.saving-")) << listing[0];
  // The lock that keeps other saves of the workbook waiting, held by the saving process.
  EXPECT_EQ(listing.size() > 1 ? listing[1] : "", ".book.xlsx.saving-lock");
  EXPECT_EQ(Workbook::open(path).cell("S", 1, 1), CellValue::number(1));
  EXPECT_EQ(folderListing(dir.path()), listing);
  ASSERT_EQ(::write(to_child[1], &c, 1), 1);
  int status = 0;
  ::waitpid(child, &status, 0);
  for (int fd : {to_parent[0], to_parent[1], to_child[0], to_child[1]}) ::close(fd);
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
  EXPECT_EQ(Workbook::open(path).cell("S", 1, 1), CellValue::number(42));
  EXPECT_EQ(folderListing(dir.path()), std::vector<std::string>{"book.xlsx"});

  // A leftover that a live descriptor holds locked stays; once released it goes.
  std::ofstream(dir / ".book.xlsx.saving-000123") << "PK half";
  const int held = ::open((dir / ".book.xlsx.saving-000123").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  Workbook book = Workbook::open(path);
  book.setCell("S", 1, 1, CellValue::number(7));
  book.save();
  EXPECT_EQ(folderListing(dir.path()).size(), 2u);
  ::close(held);
  (void)Workbook::open(path);
  EXPECT_EQ(folderListing(dir.path()), std::vector<std::string>{"book.xlsx"});
}

// Under "ulimit -f" a write past the limit raises SIGXFSZ, which would end the program without
// a word; the save fails with a message instead. Run in a child process, which alone gets the
// limit.
TEST(AtomicSave, AFileSizeLimitFailsTheSaveWithAMessage) {
  ScratchDir dir;
  const auto path = smallWorkbook(dir / "book.xlsx");
  const std::string original = ReadFile(path);
  Workbook book = Workbook::open(path);
  book.setCell("S", 1, 1, CellValue::text("a little more than before"));
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const rlimit limit{512, 512};  // the workbook needs about 1.9 kB
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const std::string message = errorOf([&] { book.save(); });
    const bool as_expected = message.find("writing failed (File too large") != std::string::npos &&
                             message.find("'ulimit -f'") != std::string::npos &&
                             message.find("left as it was") != std::string::npos;
    ::_exit(as_expected ? 0 : 3);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
  EXPECT_TRUE(ReadFile(path) == original);
  EXPECT_EQ(folderListing(dir.path()), std::vector<std::string>{"book.xlsx"});
}

TEST(AtomicSave, SymbolicLinkIsSavedAtItsTargetWithItsPermissions) {
  ScratchDir dir;
  fs::create_directory(dir / "real");
  fs::create_directory(dir / "links");
  const auto target = smallWorkbook(dir / "real" / "book.xlsx");
  ::chmod(target.c_str(), 0640);
  const auto link = dir / "links" / "book.xlsx";
  fs::create_symlink(target, link);
  Workbook book = Workbook::open(link);
  book.setCell("S", 1, 1, CellValue::number(3));
  book.save();
  EXPECT_EQ(fs::read_symlink(link), target);
  EXPECT_EQ(Workbook::open(target).cell("S", 1, 1), CellValue::number(3));
  struct stat st {};
  ::stat(target.c_str(), &st);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(folderListing(dir / "links"), std::vector<std::string>{"book.xlsx"});
  EXPECT_EQ(folderListing(dir / "real"), std::vector<std::string>{"book.xlsx"});
  EXPECT_FALSE(book.reloadIfChanged());
}

TEST(Reload, OnlyAChangeOnDiskReloads) {
  ScratchDir dir;
  const auto path = smallWorkbook(dir / "book.xlsx");
  Workbook book = Workbook::open(path);
  EXPECT_FALSE(book.reloadIfChanged());
  book.setCell("S", 1, 1, CellValue::number(5));
  book.save();
  EXPECT_FALSE(book.reloadIfChanged());  // our own save is not a change
  python(
      "import sys, openpyxl\nwb = openpyxl.load_workbook(sys.argv[1])\n"
      "wb['S']['A2'] = 'edited elsewhere'; wb.save(sys.argv[1])",
      {path.string()});
  book.setCell("S", 3, 3, CellValue::number(1));  // unsaved, and lost by the reload
  // Saving over a file that another program saved since would lose that program's edits.
  EXPECT_CONTAINS(errorOf([&] { book.save(); }), "changed on disk");
  EXPECT_EQ(Workbook::open(path).cell("S", 2, 1), CellValue::text("edited elsewhere"));
  EXPECT_TRUE(book.reloadIfChanged());
  EXPECT_EQ(book.cell("S", 2, 1), CellValue::text("edited elsewhere"));
  EXPECT_EQ(book.cell("S", 1, 1), CellValue::number(5));
  EXPECT_TRUE(book.cell("S", 3, 3).isEmpty());
  EXPECT_FALSE(book.isModified());
  EXPECT_FALSE(book.reloadIfChanged());
  fs::remove(path);
  EXPECT_THROW(book.reloadIfChanged(), WorkbookError);
  EXPECT_THROW(book.reload(), WorkbookError);
  EXPECT_EQ(book.cell("S", 2, 1), CellValue::text("edited elsewhere"));
}

}  // namespace
}  // namespace medravolix::workbook
