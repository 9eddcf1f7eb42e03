#include "serial/write_thread.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

#include "tests/serial/pty_support.h"

namespace zek {
namespace {

using namespace std::chrono_literals;
using testing::Pattern;

// Records what a worker posts, for tests that drive a thread without a
// component.
class RecordingPoster : public MessagePoster {
 public:
  bool Post(ThreadMessage message) override {
    std::lock_guard lock(mutex_);
    messages_.push_back(message.message);
    changed_.notify_all();
    return true;
  }
  int Count(uint32_t message) {
    std::lock_guard lock(mutex_);
    return static_cast<int>(std::count(messages_.begin(), messages_.end(), message));
  }
  bool WaitFor(uint32_t message, int count, std::chrono::milliseconds limit = 5s) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] {
      return std::count(messages_.begin(), messages_.end(), message) >= count;
    });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<uint32_t> messages_;
};

class WriteThreadOnPty : public ::testing::Test {
 protected:
  void SetUp() override {
    int error = 0;
    port = SerialDevice::Open(pty.slave_path(), error);
    ASSERT_NE(port, nullptr) << error;
    port->SetCommState(BuildDeviceControlBlock(StationCommProperties(), port->GetCommState()));
    thread = std::make_unique<TWriteThread>(*port, stop, poster);
    ASSERT_TRUE(thread->CreateSuspended());
  }
  void TearDown() override {
    stop.Set();
    thread->Release();
  }
  void Queue(size_t count, uint8_t seed) {
    ASSERT_TRUE(thread->Queue().Post(CopyOf(Pattern(count, seed)), static_cast<uint16_t>(count)));
  }
  static MessageBlock CopyOf(const std::vector<uint8_t>& bytes) {
    MessageBlock block = AllocateBlock(bytes.size());
    std::copy(bytes.begin(), bytes.end(), block.get());
    return block;
  }

  testing::PtyPair pty;
  std::unique_ptr<SerialDevice> port;
  StopEvent stop;
  RecordingPoster poster;
  std::unique_ptr<TWriteThread> thread;
};

TEST_F(WriteThreadOnPty, TellsOnceAtStartAndOnceAfterEachBlockThatEmptiesTheQueue) {
  thread->Resume();
  ASSERT_TRUE(poster.WaitFor(kMsgSendDataEmpty, 1));
  Queue(10, 1);
  EXPECT_EQ(pty.Read(10).size(), 10u);
  ASSERT_TRUE(poster.WaitFor(kMsgSendDataEmpty, 2));
  Queue(20, 2);
  EXPECT_EQ(pty.Read(20).size(), 20u);
  ASSERT_TRUE(poster.WaitFor(kMsgSendDataEmpty, 3));
  EXPECT_FALSE(poster.WaitFor(kMsgSendDataEmpty, 4, 100ms));
}

TEST_F(WriteThreadOnPty, BlocksQueuedBackToBackGiveOneNoticeAfterTheLast) {
  Queue(100, 1);
  Queue(65535, 2);
  Queue(5000, 3);
  thread->Resume();
  std::vector<uint8_t> want = Pattern(100, 1);
  for (uint8_t seed : {2, 3}) {
    std::vector<uint8_t> more = Pattern(seed == 2 ? 65535 : 5000, seed);
    want.insert(want.end(), more.begin(), more.end());
  }
  std::vector<uint8_t> got = pty.Read(want.size(), 20s);
  EXPECT_TRUE(got == want);
  ASSERT_TRUE(poster.WaitFor(kMsgSendDataEmpty, 1));
  EXPECT_FALSE(poster.WaitFor(kMsgSendDataEmpty, 2, 100ms));
  EXPECT_EQ(poster.Count(kMsgRequestHangup), 0);
}

TEST_F(WriteThreadOnPty, AStopSetDuringAPendingWriteEndsItSilently) {
  for (uint8_t seed = 1; seed <= 4; ++seed) Queue(65535, seed);
  thread->Resume();
  ASSERT_EQ(pty.Read(100).size(), 100u);  // under way, and soon stuck on a full line
  stop.Set();
  EXPECT_TRUE(thread->WaitFor(5s));
  EXPECT_EQ(poster.Count(kMsgRequestHangup), 0);
  EXPECT_EQ(poster.Count(kMsgSendDataEmpty), 0);
  // The queue is closed behind the ended thread.
  EXPECT_FALSE(thread->Queue().Post(AllocateBlock(1), 1));
}

TEST_F(WriteThreadOnPty, AWriteToAVanishedFarEndIsAHangup) {
  thread->Resume();
  ASSERT_TRUE(poster.WaitFor(kMsgSendDataEmpty, 1));
  pty.CloseMaster();
  Queue(10, 1);
  ASSERT_TRUE(poster.WaitFor(kMsgRequestHangup, 1));
  EXPECT_TRUE(thread->WaitFor(5s));
  EXPECT_EQ(poster.Count(kMsgRequestHangup), 1);
}

}  // namespace
}  // namespace zek
