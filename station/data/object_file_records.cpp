#include "station/data/object_file_records.h"

#include <algorithm>
#include <span>

#include "station/data/chip_memory_map.h"
#include "station/data/format.h"

namespace zek {
namespace {

void ShowAddressBox(StationState& st, uint32_t address) {
  st.Views.Boxes->Plain(Format("地址 0x%0.8x 超出芯片范围，请确认！", {address}));
}

}  // namespace

void WidenDataRange(uint32_t address, uint32_t count, uint32_t& lowest, uint32_t& highest) {
  lowest = std::min(lowest, address);
  uint64_t last = static_cast<uint64_t>(address) + count - 1;
  highest = std::max<uint32_t>(highest, static_cast<uint32_t>(std::min<uint64_t>(last, kNoAddress)));
}

Placement PlaceRecordData(StationState& st, uint32_t address, const char* digits, uint32_t count,
                          uint32_t& sum, EepIndexing eep_indexing) {
  std::span<uint8_t> image;
  uint64_t index = 0;
  bool eeprom = false;
  if (RangeHolds(st.ChipStartAddress, st.ChipEndAddress, address)) {
    image = st.MainBuffer.span();
    index = address - st.ChipStartAddress;
  } else if (RangeHolds(st.EepStartAddress, st.EepEndAddress, address)) {
    image = st.EepBuffer.span();
    uint32_t offset = address - st.EepStartAddress;
    index = eep_indexing == EepIndexing::Wrap16 ? (offset & 0xFFFF) : offset;
    eeprom = true;
  } else {
    ShowAddressBox(st, address);
    return {kRecordOutOfRange, 0};
  }

  uint64_t room = index < image.size() ? image.size() - index : 0;
  uint32_t fits = static_cast<uint32_t>(std::min<uint64_t>(count, room));
  uint8_t* out = image.data() + (fits ? index : 0);
  uint32_t added = 0;
  for (uint32_t i = 0; i < fits; ++i) {
    uint8_t b = HexPairToByte(digits[2 * i], digits[2 * i + 1]);
    out[i] = b;
    added += b;
  }
  sum += added;
  if (eeprom) st.ParsedByteSum = static_cast<int32_t>(static_cast<uint32_t>(st.ParsedByteSum) + added);

  if (fits < count) {
    ShowAddressBox(st, address + fits);
    return {kRecordOutOfRange, 0};
  }
  return {kRecordOk, static_cast<uint8_t>(added)};
}

}  // namespace zek
