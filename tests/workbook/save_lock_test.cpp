// Two saves of one workbook at once, by two running instances of the program: the save lock
// keeps them apart, so each change is either in the file or refused with a message, never lost
// without a word; a save waits for another that holds the lock, but not for ever.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "workbook/workbook_file.h"
#include "xlsx_fixtures.h"

namespace medravolix::workbook {
namespace {

using namespace test;
using namespace std::chrono_literals;

// How a child's save ended, as its exit status.
constexpr int kSaved = 0;
constexpr int kRefusedAsChanged = 1;

int exitStatus(pid_t child) {
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

// In a child: reads the workbook, writes `round` in its own column, tells the parent it has read
// (also when it could not) and waits for its word, then saves.
[[noreturn]] void saveInChild(const fs::path& path, int column, int round, int ready, int go) {
  std::optional<Workbook> book;
  try {
    book.emplace(Workbook::open(path));
    book->setCell("S", 1, column, CellValue::number(round));
  } catch (...) {
    book.reset();
  }
  char c = 'r';
  if (::write(ready, &c, 1) != 1 || ::read(go, &c, 1) != 1 || !book) ::_exit(3);
  const std::string message = errorOf([&] { book->save(); });
  ::_exit(message.empty()                                        ? kSaved
          : message.find("changed on disk") != std::string::npos ? kRefusedAsChanged
                                                                 : 4);
}

TEST(SaveLock, TwoProcessesSavingOneWorkbookLoseNoChangeUnannounced) {
  ScratchDir dir;
  const auto path = smallWorkbook(dir / "book.xlsx", 0);
  int silently_lost = 0;
  for (int round = 1; round <= 50; ++round) {
    int ready[2], go[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(go), 0);
    pid_t children[2];
    for (int k = 0; k < 2; ++k) {
      children[k] = ::fork();
      if (children[k] == 0) saveInChild(path, k + 1, round, ready[1], go[0]);
    }
    // Both have read the same file before either saves.
    char c[2] = {'g', 'g'};
    const bool both_read = ::read(ready[0], c, 1) == 1 && ::read(ready[0], c, 1) == 1;
    const bool told = ::write(go[1], c, 2) == 2;
    for (int fd : {ready[0], ready[1], go[0], go[1]}) ::close(fd);
    const int status_of[2] = {exitStatus(children[0]), exitStatus(children[1])};
    int saved = 0;
    const Workbook book = Workbook::open(path);
    for (int k = 0; k < 2; ++k) {
      const int status = status_of[k];
      const bool in_file = book.cell("S", 1, k + 1) == CellValue::number(round);
      EXPECT_TRUE(status == kSaved || status == kRefusedAsChanged)
          << "round " << round << ", process " << k << ": exit " << status;
      if (status == kSaved && !in_file) ++silently_lost;
      saved += status == kSaved && in_file ? 1 : 0;
    }
    ASSERT_TRUE(both_read && told);
    EXPECT_GE(saved, 1) << "round " << round;
  }
  EXPECT_EQ(silently_lost, 0) << "changes reported as saved but not in the file, of 100";
  EXPECT_EQ(folderListing(dir.path()), std::vector<std::string>{"book.xlsx"});
}

// A lock held elsewhere (here by this test, as a save of another instance would) makes a save
// wait; it saves once the lock is free, taking over the lock file and removing it after. A lock
// that is never released fails the save after its patience, with a message. A folder where no
// lock file can be made gives the save's own reason, as before.
TEST(SaveLock, ASaveWaitsForAHeldLockButNotForEver) {
  ScratchDir dir;
  const auto path = smallWorkbook(dir / "book.xlsx");
  const std::string original = ReadFile(path);
  const fs::path lock = dir / ".book.xlsx.saving-lock";
  const int held = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);

  const auto start = std::chrono::steady_clock::now();
  const std::string message = errorOf([&] { const SaveLock waiting(path, 300ms); });
  EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);
  EXPECT_CONTAINS(message, "could not be saved to '" + path.string() +
                               "': another save of it, by this or another running MEDRAVOLIX, "
                               "did not end within");
  EXPECT_CONTAINS(message, "The file on disk was left as it was.");

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(held);  // a lock held through an inherited descriptor would be this child's too
    Workbook book = Workbook::open(path);
    book.setCell("S", 1, 1, CellValue::number(9));
    ::_exit(errorOf([&] { book.save(); }).empty() ? kSaved : 2);
  }
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(::waitpid(child, nullptr, WNOHANG), 0);  // still waiting
  EXPECT_TRUE(ReadFile(path) == original);
  ::close(held);
  EXPECT_EQ(exitStatus(child), kSaved);
  EXPECT_EQ(Workbook::open(path).cell("S", 1, 1), CellValue::number(9));
  EXPECT_EQ(folderListing(dir.path()), std::vector<std::string>{"book.xlsx"});

  // A folder that takes no new file, as a user who may not write it (root writes anywhere).
  ::chmod(path.c_str(), 0666);
  ::chmod(dir.path().c_str(), 0555);
  const pid_t reader = ::fork();
  ASSERT_GE(reader, 0);
  if (reader == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(4);
    Workbook book = Workbook::open(path);
    book.setCell("S", 1, 1, CellValue::number(10));
    const std::string refusal = errorOf([&] { book.save(); });
    ::_exit(refusal.find("no new file can be made in its folder (Permission denied)") !=
                    std::string::npos
                ? 0
                : 3);
  }
  EXPECT_EQ(exitStatus(reader), 0);
  ::chmod(dir.path().c_str(), 0755);
  EXPECT_EQ(Workbook::open(path).cell("S", 1, 1), CellValue::number(9));
  EXPECT_EQ(folderListing(dir.path()), std::vector<std::string>{"book.xlsx"});
}

}  // namespace
}  // namespace medravolix::workbook
