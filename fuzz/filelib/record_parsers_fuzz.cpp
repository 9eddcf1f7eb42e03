// Every record parser over one line: first byte picks the parser, the next
// four the base (offset parsers) and the starting bases, the rest is the line.

#include <cstddef>
#include <cstdint>

#include "filelib/intel_hex_records.h"
#include "filelib/srecord_records.h"
#include "fuzz/filelib/fuzz_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  uint8_t pick = *data++;
  --size;
  uint32_t base = rhbfuzz::Take32(data, size);
  rhbfuzz::ExactLine line(std::string_view(reinterpret_cast<const char*>(data), size));
  uint8_t* image = rhbfuzz::Image16M();
  rhb::HexRecordState hex;
  hex.linear = base & 0xFFFF0000;
  hex.segment = (base & 0xFFFF) * 16;
  rhb::SRecordState s;
  switch (pick % 6) {
    case 0: rhb::ParseHexRecord(line.view(), image, hex); break;
    case 1: rhb::ParseHexRecord18Fx(line.view(), image, hex); break;
    case 2: rhb::ParseHexRecord33Fx(line.view(), image, hex); break;
    case 3: rhb::ParseHexRecordOffset(line.view(), base, image, hex); break;
    case 4: rhb::ParseSRecord(line.view(), image, s); break;
    case 5: rhb::ParseSRecordOffset(line.view(), base, image, s); break;
  }
  return 0;
}
