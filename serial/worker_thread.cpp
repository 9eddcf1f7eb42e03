#include "serial/worker_thread.h"

#include <sys/resource.h>
#include <unistd.h>

#include <system_error>

namespace zek {

WorkerThread::~WorkerThread() { Release(); }

bool WorkerThread::CreateSuspended() {
  try {
    thread_ = std::thread(&WorkerThread::Run, this);
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

void WorkerThread::Resume() {
  std::lock_guard lock(mutex_);
  resumed_ = true;
  changed_.notify_all();
}

bool WorkerThread::WaitFor(std::chrono::milliseconds limit) {
  Resume();
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, limit, [this] { return finished_; });
}

void WorkerThread::Release() {
  if (!thread_.joinable()) return;
  Resume();
  thread_.join();
}

void WorkerThread::Run() {
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return resumed_; });
  }
  if (niceness_ != 0) (void)::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), niceness_);
  Execute();
  std::lock_guard lock(mutex_);
  finished_ = true;
  changed_.notify_all();
}

}  // namespace zek
