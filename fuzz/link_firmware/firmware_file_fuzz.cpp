// Firmware files of any content: loading never reads past the file nor
// writes past the image, and an accepted file can be sent block by block.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/link_firmware/bounded_memo.h"
#include "station/link/firmware_upgrade.h"

namespace {

// Random bytes rarely make a file long enough, with the right tag and sum,
// to get past the first checks. With bit 0 of the first byte set the input
// is instead a recipe: bytes 1-25 are the header (its tag made right), the
// rest is repeated to the length the header asks for; bits 1-3 add bytes
// after the sum, bit 4 cuts the file short, bit 5 leaves the sum wrong.
std::vector<uint8_t> FromRecipe(const uint8_t* data, size_t size) {
  uint8_t mode = data[0];
  std::vector<uint8_t> f(data + 1, data + std::min<size_t>(size, 26));
  f.resize(25, 0);
  const char tag[] = "DvkFmWr";
  for (int i = 0; i < 7; ++i) f[i] = static_cast<uint8_t>(tag[i] ^ 0x4B);
  uint16_t w = static_cast<uint16_t>(f[15] | (f[16] << 8));
  uint16_t length = static_cast<uint16_t>((f[23] | (f[24] << 8)) ^ w);
  size_t at = 3315 + ((static_cast<size_t>(length) + 15) & ~size_t{15}) + 876;
  const uint8_t* body = data + std::min<size_t>(size, 26);
  size_t body_size = size - std::min<size_t>(size, 26);
  for (size_t i = 25; i < at; ++i) f.push_back(body_size ? body[i % body_size] : 0);
  uint32_t sum = (mode & 0x20) ? 1 : 0;
  for (uint8_t b : f) sum += b;
  for (int i = 0; i < 4; ++i) f.push_back(static_cast<uint8_t>(sum >> (8 * i)));
  f.resize(f.size() + ((mode >> 1) & 7), 0xA5);
  if (mode & 0x10) f.resize(f.size() / 2);
  return f;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static zek::StationState st;
  static zek::fuzzing::BoundedMemo memo;
  static zek::fuzzing::PlainGauge gauge;
  st.SharedInfoMemo = &memo;
  st.PortGauge[0] = &gauge;
  std::vector<uint8_t> file =
      size > 0 && (data[0] & 1) ? FromRecipe(data, size) : std::vector<uint8_t>(data, data + size);
  zek::LoadFirmwareBytes(st, file, "fuzz.FWR");
  if (st.FirmwareOK) {
    zek::StartFirmwareUpgrade(st, 0);
    for (int i = 0; i < 40 && st.PortState[0] == zek::kStateUpgrading; ++i) zek::HandleUpgradeReply(st, 6, 0);
  }
  return 0;
}
