#include "workbook/workbook_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <thread>

#include "workbook/workbook_error.h"

namespace medravolix::workbook {

namespace fs = std::filesystem;

namespace {

std::string systemReason(int error) {
  return std::strerror(error);
}

[[noreturn]] void saveFailed(const fs::path& target, std::string_view reason) {
  throw WorkbookError("The workbook could not be saved to '" + target.string() +
                      "': " + std::string(reason) + ". The file on disk was left as it was.");
}

constexpr std::string_view kSavingMark = ".saving-";
constexpr std::size_t kSavingDigits = 6;

std::string savingName(const fs::path& target, unsigned number) {
  char digits[kSavingDigits + 1];
  std::snprintf(digits, sizeof digits, "%06u", number % 1000000);
  return "." + target.filename().string() + std::string(kSavingMark) + digits;
}

constexpr std::string_view kLockMark = "lock";

fs::path lockPath(const fs::path& target) {
  return target.parent_path() /
         ("." + target.filename().string() + std::string(kSavingMark) + std::string(kLockMark));
}

// ".NAME.saving-" and one to six digits (a new file of a save of NAME), or ".NAME.saving-lock"
// (the lock of NAME's saves).
bool isSavingName(const std::string& name, const std::string& target_name) {
  const std::string prefix = "." + target_name + std::string(kSavingMark);
  if (!name.starts_with(prefix)) return false;
  const std::string_view digits = std::string_view(name).substr(prefix.size());
  if (digits == kLockMark) return true;
  return !digits.empty() && digits.size() <= kSavingDigits &&
         digits.find_first_not_of("0123456789") == std::string_view::npos;
}

// Same file: the same device and inode.
bool sameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A file that is removed when the save does not complete. From its creation until after the
// rename it is held under an exclusive lock (flock), which tells the clean-up of another process
// that this save is still alive; the lock goes with the process, so a killed save's file is free.
class TemporaryFile {
 public:
  explicit TemporaryFile(const fs::path& target) {
    std::random_device random;
    int error = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
      path_ = target.parent_path() / savingName(target, random());
      fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      error = errno;
      if (fd_ >= 0 && lock()) return;
      if (fd_ >= 0) {
        // A clean-up took the new file for a leftover before it was locked: start again.
        ::close(fd_);
        fd_ = -1;
      } else if (error != EEXIST) {
        break;
      }
    }
    saveFailed(target, "no new file can be made in its folder (" + systemReason(error) + ")");
  }
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!kept_) ::unlink(path_.c_str());
    if (lock_fd_ >= 0) ::close(lock_fd_);  // the lock ends after the file is gone
  }
  int fd() const { return fd_; }
  const fs::path& path() const { return path_; }
  // Closes the descriptor that wrote the file; the lock stays until the object ends.
  bool close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0;
  }
  void keep() { kept_ = true; }

 private:
  // Locks the new file through a second descriptor of the same open file, which outlives close().
  // False when a clean-up holds the file or removed it before the lock was taken.
  bool lock() {
    lock_fd_ = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
    if (lock_fd_ < 0) return true;  // saved without the lock rather than not at all
    // Held already: a clean-up is about to remove it.
    const bool taken = ::flock(lock_fd_, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    struct stat held {};
    struct stat named {};
    if (taken || (::fstat(lock_fd_, &held) == 0 &&
                  (::stat(path_.c_str(), &named) != 0 || !sameFile(held, named)))) {
      ::close(lock_fd_);
      lock_fd_ = -1;
      return false;
    }
    return true;
  }

  fs::path path_;
  int fd_ = -1;
  int lock_fd_ = -1;
  bool kept_ = false;
};

// Under a file-size limit ("ulimit -f") a write past it would raise SIGXFSZ, which ends the
// program without a word; a file that would not fit fails the save like a full disk instead.
void checkFileSizeLimit(const fs::path& target, std::size_t size) {
  struct rlimit limit {};
  if (::getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return;
  if (size <= limit.rlim_cur) return;
  saveFailed(target, "writing failed (" + systemReason(EFBIG) + ": the workbook needs " +
                         std::to_string(size) + " bytes and files may hold at most " +
                         std::to_string(limit.rlim_cur) + " bytes here, the limit of 'ulimit -f')");
}

void writeAll(const TemporaryFile& file, const fs::path& target, const std::string& bytes) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(file.fd(), bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) saveFailed(target, "writing failed (" + systemReason(errno) + ")");
    written += static_cast<std::size_t>(n);
  }
}

// The new file gets the permissions (and, where allowed, the owner) of the file it replaces.
void copyPermissions(const TemporaryFile& file, const fs::path& target) {
  struct stat old_stat {};
  if (::stat(target.c_str(), &old_stat) != 0 || !S_ISREG(old_stat.st_mode)) return;
  if (::fchmod(file.fd(), old_stat.st_mode & 07777) != 0) {
    saveFailed(target, "its permissions cannot be kept (" + systemReason(errno) + ")");
  }
  [[maybe_unused]] const int ignored = ::fchown(file.fd(), old_stat.st_uid, old_stat.st_gid);
}

void syncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

bool readAll(int fd, std::string& bytes) {
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
}

void callHook(const WorkbookFile::Hook& hook, std::string_view stage, const fs::path& target) {
  if (!hook) return;
  try {
    hook(stage);
  } catch (const std::exception& e) {
    saveFailed(target, e.what());
  }
}

// The open file still has the name it was opened by (another process may have removed or replaced
// it meanwhile: a save ending removes its lock file while holding it).
bool stillNamed(int fd, const fs::path& path) {
  struct stat held {};
  struct stat named {};
  return ::fstat(fd, &held) == 0 && ::lstat(path.c_str(), &named) == 0 && sameFile(held, named);
}

// Removes the new file of a save that no live process holds: one that is locked belongs to a save
// still running (in this or another process), which would fail at its rename without it. The file
// is removed while locked, and only if the name still leads to the file that was locked.
void removeIfFree(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  struct stat held {};
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) &&
      stillNamed(fd, path)) {
    ::unlink(path.c_str());
  }
  ::close(fd);
}

// The lock file, made when missing. Opened for writing where allowed, as network file systems
// lock only such files; a lock file that another user made is opened for reading.
int openLockFile(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd >= 0 || errno != EACCES) return fd;
  return ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
}

}  // namespace

SaveLock::SaveLock(const fs::path& target, std::chrono::milliseconds patience)
    : path_(lockPath(target)) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  for (;;) {
    fd_ = openLockFile(path_);
    if (fd_ < 0) return;  // no lock file can be made here: the save itself says why
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
      if (stillNamed(fd_, path_)) return;
      ::close(fd_);  // the save that held it removed it: take the new one at once
      fd_ = -1;
      continue;
    }
    const bool held_elsewhere = errno == EWOULDBLOCK;
    ::close(fd_);
    fd_ = -1;
    if (!held_elsewhere) return;  // a file system without locks: saved as before, unlocked
    if (std::chrono::steady_clock::now() >= deadline) {
      const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(patience).count();
      saveFailed(target,
                 "another save of it, by this or another running MEDRAVOLIX, did not end "
                 "within " +
                     std::to_string(seconds) + " seconds");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

SaveLock::~SaveLock() {
  if (fd_ < 0) return;
  // Removed while still locked, so a save waiting on this file finds it gone and makes a new one.
  if (stillNamed(fd_, path_)) ::unlink(path_.c_str());
  ::close(fd_);
}

std::string WorkbookFile::read(const fs::path& path) {
  const std::string name = path.string();
  std::error_code ec;
  const auto status = fs::status(path, ec);
  if (!fs::exists(status)) {
    throw WorkbookError("The workbook '" + name +
                        "' does not exist. Check the file name and folder.");
  }
  if (fs::is_directory(status)) {
    throw WorkbookError("'" + name + "' is a folder, not a workbook file. Choose an .xlsx file.");
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  std::string bytes;
  const bool complete = fd >= 0 && readAll(fd, bytes);
  const int error = errno;
  if (fd >= 0) ::close(fd);
  if (!complete) {
    throw WorkbookError("The workbook '" + name + "' cannot be read (" + systemReason(error) +
                        "). Check that you may read it.");
  }
  return bytes;
}

std::optional<FileSignature> WorkbookFile::signature(const fs::path& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  const auto ns = [](const timespec& t) { return std::int64_t{t.tv_sec} * 1000000000 + t.tv_nsec; };
  return FileSignature{st.st_dev, st.st_ino, st.st_size, ns(st.st_mtim)};
}

fs::path WorkbookFile::saveTarget(const fs::path& path) {
  std::error_code ec;
  const fs::path absolute = fs::absolute(path, ec);
  const fs::path target = fs::weakly_canonical(ec ? path : absolute, ec);
  return ec ? path : target;
}

void WorkbookFile::requireWritable(const fs::path& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return;
  std::string reason;
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    reason = "its permissions give no one the right to write it";
  } else if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
    reason = systemReason(errno);
  } else {
    return;
  }
  throw WorkbookError("The workbook '" + path.string() + "' is write-protected (" + reason +
                      "), so nothing was written to it. Make the file writable (for example "
                      "with chmod u+w) and try again.");
}

void WorkbookFile::replace(const fs::path& target, const std::string& bytes, const Hook& hook) {
  requireWritable(target);
  checkFileSizeLimit(target, bytes.size());
  TemporaryFile file(target);
  writeAll(file, target, bytes);
  copyPermissions(file, target);
  callHook(hook, "flush", target);
  if (::fsync(file.fd()) != 0) saveFailed(target, "flushing failed (" + systemReason(errno) + ")");
  if (!file.close())
    saveFailed(target, "closing the new file failed (" + systemReason(errno) + ")");
  callHook(hook, "rename", target);
  if (::rename(file.path().c_str(), target.c_str()) != 0) {
    saveFailed(target, "the new file could not replace it (" + systemReason(errno) + ")");
  }
  file.keep();
  syncFolder(target.parent_path());
}

void WorkbookFile::removeLeftovers(const fs::path& target) {
  const std::string target_name = target.filename().string();
  std::error_code ec;
  fs::directory_iterator entries(target.parent_path().empty() ? "." : target.parent_path(), ec);
  for (; !ec && entries != fs::directory_iterator(); entries.increment(ec)) {
    const fs::path& path = entries->path();
    if (isSavingName(path.filename().string(), target_name)) removeIfFree(path);
  }
}

}  // namespace medravolix::workbook
