#pragma once
// The serial component's value types: its enumerations (in ordinal order),
// its error, and the time-out record.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace zek {

enum class TDtrControl : uint8_t { DtrEnable, DtrDisable, DtrHandshake };
enum class TRtsControl : uint8_t { RtsEnable, RtsDisable, RtsHandshake, RtsTransmissionAvailable };
enum class TByteSize : uint8_t { _5, _6, _7, _8 };
enum class TParity : uint8_t { None, Odd, Even, Mark, Space };
enum class TStopBits : uint8_t { _1, _1_5, _2 };

// Every failure of OpenPort raises this with its text.
class ECommsError : public std::runtime_error {
 public:
  explicit ECommsError(const std::string& message) : std::runtime_error(message) {}
};

// Read and write time-outs in ms, in the order the port takes them.
struct CommTimeouts {
  uint32_t ReadIntervalTimeout = 0;
  uint32_t ReadTotalTimeoutMultiplier = 0;
  uint32_t ReadTotalTimeoutConstant = 0;
  uint32_t WriteTotalTimeoutMultiplier = 0;
  uint32_t WriteTotalTimeoutConstant = 0;
  friend bool operator==(const CommTimeouts&, const CommTimeouts&) = default;
};

// An interval time-out of all ones: a read returns what has arrived
// without waiting for more.
inline constexpr uint32_t kReadWithoutInterval = 0xFFFFFFFFu;

}  // namespace zek
