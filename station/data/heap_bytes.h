#pragma once
// A fixed-size byte array on the heap, zero-filled unless told otherwise. Big images and the
// per-port buffers use it so a StationState stays small and cannot be
// copied by accident.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace zek {

template <size_t N>
class HeapBytes {
 public:
  static constexpr size_t kSize = N;
  HeapBytes() : bytes_(new uint8_t[N]()) {}
  explicit HeapBytes(uint8_t fill) : HeapBytes() { std::fill_n(bytes_.get(), N, fill); }

  uint8_t* data() { return bytes_.get(); }
  const uint8_t* data() const { return bytes_.get(); }
  static constexpr size_t size() { return N; }
  uint8_t& operator[](size_t i) { return bytes_[i]; }
  const uint8_t& operator[](size_t i) const { return bytes_[i]; }
  std::span<uint8_t, N> span() { return std::span<uint8_t, N>(bytes_.get(), N); }
  std::span<const uint8_t, N> span() const { return std::span<const uint8_t, N>(bytes_.get(), N); }
  uint8_t* begin() { return data(); }
  uint8_t* end() { return data() + N; }
  const uint8_t* begin() const { return data(); }
  const uint8_t* end() const { return data() + N; }

 private:
  std::unique_ptr<uint8_t[]> bytes_;
};

}  // namespace zek
