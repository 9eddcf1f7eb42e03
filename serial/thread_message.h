#pragma once
// What the workers post to their component's message window, and the
// blocks that carry bytes between threads.

#include <cstdint>
#include <memory>

namespace zek {

// The platform's first user message number is 1024.
inline constexpr uint32_t kMsgReceiveData = 1025;  // also: bytes to send
inline constexpr uint32_t kMsgReceiveError = 1026;
inline constexpr uint32_t kMsgRequestHangup = 1027;
inline constexpr uint32_t kMsgModemState = 1028;
inline constexpr uint32_t kMsgSendDataEmpty = 1029;

inline constexpr uint32_t kModemCarrierChanged = 8;  // receive-line-signal detect
inline constexpr uint32_t kModemRing = 4;

// A block of count + 1 bytes, zero-filled: the bytes and a zero after them.
using MessageBlock = std::unique_ptr<uint8_t[]>;

// Null when the memory cannot be had.
inline MessageBlock AllocateBlock(size_t count) {
  return MessageBlock(new (std::nothrow) uint8_t[count + 1]());
}

struct ThreadMessage {
  uint32_t message = 0;
  uintptr_t wParam = 0;  // 1025: the byte count
  uintptr_t lParam = 0;  // 1026: line-error flags; 1028: modem code
  MessageBlock block;    // 1025: the bytes; owned by whoever holds the message
};

// Where a worker posts. Safe to call from any thread; never blocks for
// long. False when the message could not be posted (it is then dropped).
class MessagePoster {
 public:
  virtual ~MessagePoster() = default;
  virtual bool Post(ThreadMessage message) = 0;
};

}  // namespace zek
