#include "tools/unit-sim/pty_link.h"

#include <fcntl.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace zek::sim {
namespace {

[[noreturn]] void Fail(const std::string& what) {
  throw std::runtime_error(what + ": " + std::strerror(errno));
}

}  // namespace

PtyLink::PtyLink(const std::string& dir, const std::string& name) : link_path_(dir + "/" + name) {
  char path[256] = {};
  struct termios raw {};
  cfmakeraw(&raw);
  if (openpty(&master_, &slave_, path, &raw, nullptr) != 0) Fail("openpty");
  slave_path_ = path;
  fcntl(master_, F_SETFD, FD_CLOEXEC);
  fcntl(slave_, F_SETFD, FD_CLOEXEC);
  if (fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK) != 0) Fail("fcntl");
  struct stat st {};
  if (lstat(link_path_.c_str(), &st) == 0) {
    if (!S_ISLNK(st.st_mode)) {
      std::string p = link_path_;
      link_path_.clear();  // not ours: Close must leave it
      Close();
      errno = EEXIST;
      Fail(p);
    }
    unlink(link_path_.c_str());
  }
  if (symlink(slave_path_.c_str(), link_path_.c_str()) != 0) {
    std::string p = link_path_;
    link_path_.clear();
    Close();
    Fail("symlink " + p);
  }
}

PtyLink::~PtyLink() { Close(); }

void PtyLink::Close() {
  if (!link_path_.empty()) {
    unlink(link_path_.c_str());
    link_path_.clear();
  }
  if (master_ >= 0) close(master_);
  if (slave_ >= 0) close(slave_);
  master_ = slave_ = -1;
}

}  // namespace zek::sim
