#pragma once
// One unit's end of the line: a pseudo-terminal in raw mode whose master
// the simulator reads and writes, and a symlink DIR/NAME to its slave for
// the station. The simulator keeps the slave open too, so the master never
// sees a hang-up while the station closes and reopens the port.

#include <string>

namespace zek::sim {

class PtyLink {
 public:
  // Throws std::runtime_error when the terminal or the link cannot be made;
  // an existing symlink of that name is replaced, any other file is not.
  PtyLink(const std::string& dir, const std::string& name);
  ~PtyLink();
  PtyLink(const PtyLink&) = delete;
  PtyLink& operator=(const PtyLink&) = delete;

  int Fd() const { return master_; }
  bool IsOpen() const { return master_ >= 0; }
  const std::string& SlavePath() const { return slave_path_; }
  const std::string& LinkPath() const { return link_path_; }
  // Drops the line: both ends close (the station sees a hang-up) and the
  // link is removed. Harmless when already closed.
  void Close();

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string slave_path_;
  std::string link_path_;
};

}  // namespace zek::sim
