#pragma once
// A thread created suspended that runs Execute once resumed. The owner
// waits for it with a limit, may set its termination request, and
// releases it, which waits until it has ended.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace zek {

// Scheduling niceness asked for a worker; best effort, never a failure.
inline constexpr int kPriorityHighest = -2;
inline constexpr int kPriorityAboveNormal = -1;

class WorkerThread {
 public:
  WorkerThread() = default;
  virtual ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Starts the thread held before Execute; false when it cannot be made.
  bool CreateSuspended();
  void SetPriority(int niceness) { niceness_ = niceness; }
  void Resume();
  // True once Execute has returned; resumes a thread still held first.
  bool WaitFor(std::chrono::milliseconds limit);
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }
  // Waits until the thread has ended. Must come before the derived part
  // is destroyed.
  void Release();

 protected:
  virtual void Execute() = 0;

 private:
  void Run();

  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool resumed_ = false;
  bool finished_ = false;
  std::atomic<bool> terminated_{false};
  int niceness_ = 0;
};

}  // namespace zek
