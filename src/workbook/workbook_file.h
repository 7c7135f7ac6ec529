// The workbook's file on disk: reading it whole, telling whether it changed, and replacing it
// atomically (a new file beside it, flushed, then renamed over it).
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace medravolix::workbook {

// What identifies one state of a file: a replaced or rewritten file differs in at least one.
struct FileSignature {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t size = 0;
  std::int64_t modified_ns = 0;
  friend bool operator==(const FileSignature&, const FileSignature&) = default;
};

class WorkbookFile {
 public:
  using Hook = std::function<void(std::string_view stage)>;

  // Throws WorkbookError when the file is missing, a folder or unreadable.
  static std::string read(const std::filesystem::path& path);
  // Follows symbolic links; nothing when the file is not there.
  static std::optional<FileSignature> signature(const std::filesystem::path& path);
  // Where a save to `path` must write: the final target of a symbolic link.
  static std::filesystem::path saveTarget(const std::filesystem::path& path);
  // Throws WorkbookError, naming the file and saying that nothing was written to it, when the
  // file at `path` (a link followed) is write-protected: its user may not write it, or its
  // permissions give no one the right to write it. The second rule holds for the administrator
  // too, who may write any file: a file made read-only was meant to stay as it is, and a save
  // that renames a new file over it would never ask. A path with no file is not refused. Every
  // save checks it first; the operations that write check it before they start.
  static void requireWritable(const std::filesystem::path& path);
  // Refuses a write-protected target (requireWritable), then writes `bytes` to a new file in the
  // target's folder (".NAME.saving-NNNNNN"), flushes it, gives it the permissions of the file it
  // replaces and renames it over `target`. The new file is locked (flock) from its creation until
  // after the rename. On any failure (a full disk, a file-size limit) the new file is removed,
  // the target is left as it was, and WorkbookError is thrown. `hook` (tests only) is called at
  // "flush" and "rename"; if it throws, the save fails there.
  static void replace(const std::filesystem::path& target, const std::string& bytes,
                      const Hook& hook);
  // Removes the new files that saves of `target` left behind when they were killed before their
  // rename: regular files named ".NAME.saving-" and up to six digits, and the save lock
  // ".NAME.saving-lock", beside the target that no process holds locked. A locked one is a save
  // still running (perhaps in another instance of the program) and stays, as does one that cannot
  // be opened to take its lock. Nothing else is touched, and a folder that cannot be read or
  // written is left as it is.
  static void removeLeftovers(const std::filesystem::path& target);
};

// Keeps the saves of one workbook apart, in this and in any other running instance of the
// program: an exclusive lock (flock) on the file ".NAME.saving-lock" beside the save target. A
// save holds it from its check that the file on disk is still the one it read until it has noted
// the file it wrote, so of two saves begun together the later one finds the file changed and is
// refused instead of overwriting the other. The lock file is removed when the lock ends; one left
// by a killed save is taken over (the lock died with its process) or removed by removeLeftovers.
// A folder that takes no new file (read-only) gets no lock: the save fails there anyway, with
// its own reason.
class SaveLock {
 public:
  static constexpr std::chrono::seconds kPatience{30};
  // Waits while another save holds the lock; after `patience` throws WorkbookError, naming the
  // file and saying that it was left as it was.
  explicit SaveLock(const std::filesystem::path& target,
                    std::chrono::milliseconds patience = kPatience);
  ~SaveLock();
  SaveLock(const SaveLock&) = delete;
  SaveLock& operator=(const SaveLock&) = delete;

 private:
  std::filesystem::path path_;
  int fd_ = -1;
};

}  // namespace medravolix::workbook
