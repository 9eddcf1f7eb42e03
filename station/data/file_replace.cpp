#include "station/data/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "station/data/errors.h"

namespace zek {
namespace {

namespace fs = std::filesystem;

constexpr int kMostLinks = 40;  // as the kernel's own limit on a path

// The file a chain of links ends at; a dangling link's target too, so the
// save creates it there.
fs::path FinalTarget(fs::path path) {
  std::error_code ec;
  for (int hops = 0; hops < kMostLinks && fs::is_symlink(path, ec); ++hops) {
    fs::path target = fs::read_symlink(path, ec);
    if (ec) break;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return path;
}

bool WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

void ReplaceFileAtomically(const std::string& path, const std::string& text) {
  const std::string target = FinalTarget(path).string();
  const std::string temporary = target + ".new";
  struct stat old {};
  const bool replacing = ::stat(target.c_str(), &old) == 0;
  int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) throw FileError(errno, path);
  // On disk before the rename, so not even a crash leaves a cut file.
  bool done = WriteAll(fd, text) && ::fsync(fd) == 0;
  if (done && replacing) {
    // Another owner's file keeps its owner only where we may say so.
    (void)::fchown(fd, old.st_uid, old.st_gid);
    done = ::fchmod(fd, old.st_mode & 07777) == 0;
  }
  int error = errno;
  if (::close(fd) != 0 && done) {
    done = false;
    error = errno;
  }
  if (done && std::rename(temporary.c_str(), target.c_str()) == 0) return;
  if (done) error = errno;
  std::remove(temporary.c_str());
  throw FileError(error, path);
}

}  // namespace zek
