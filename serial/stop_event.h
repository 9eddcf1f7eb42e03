#pragma once
// A manual-reset event both workers of a port wait on: once set it stays
// set, so every later test in either thread sees it. An eventfd, so it
// sits in a poll() beside the port.

namespace zek {

class StopEvent {
 public:
  // Throws nothing; Valid() tells whether the eventfd could be made.
  StopEvent();
  ~StopEvent();
  StopEvent(const StopEvent&) = delete;
  StopEvent& operator=(const StopEvent&) = delete;

  bool Valid() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  void Set() const;
  // A zero-time wait: true once Set was called.
  bool IsSet() const;

 private:
  int fd_;
};

}  // namespace zek
