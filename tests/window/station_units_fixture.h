#pragma once
// A started window with recording ports in place of the serial
// components, and a chip and object file taken as chosen and loaded.

#include <initializer_list>
#include <string>
#include <vector>

#include "station/data/chip_memory_map.h"
#include "tests/support/reply_builder.h"
#include "tests/support/sent_commands.h"
#include "tests/window/window_fixture.h"

namespace zek::testing {

class StationUnitsTest : public WindowTest {
 protected:
  // Starts the window; `units` answered as units, PortSlotCount slots in use.
  void StartWithUnits(std::initializer_list<int> units, int slot_count) {
    Start();
    BindUnits(units, slot_count);
  }
  // Puts the recording ports in the slots (again after a first show).
  void BindUnits(std::initializer_list<int> units, int slot_count) {
    for (int slot = 0; slot < kPortSlots; ++slot) {
      ports[slot].open = true;
      st().PortComm[slot] = &ports[slot];
    }
    st().PortSlotCount = static_cast<uint8_t>(slot_count);
    for (int slot : units) st().PortConnected[slot] = 1;
    MarkMemo();
  }
  // As the chip dialog leaves the state, without its window set-up.
  void TakeChip(uint8_t class_code, uint16_t flash_kb, uint16_t eep_size, const std::string& name) {
    st().ChipClassCode = class_code;
    st().ChipFlashSizeKB = flash_kb;
    st().EepSize = eep_size;
    st().InfoSize = 256;
    st().PageSize = 512;
    st().ChipName = name;
    SetMemoryMap(st());
    st().ChipSelected = 1;
  }
  void TakeChipAndFile() {
    TakeChip(0x00, 96, 2048, "DLM8F96");
    st().FileLoaded = 1;
  }
  // Lines written since the last mark.
  void MarkMemo() { mark_ = MemoLines().size(); }
  std::vector<std::string> NewLines() {
    const std::vector<std::string> all = MemoLines();
    return std::vector<std::string>(all.begin() + static_cast<long>(std::min(mark_, all.size())), all.end());
  }
  // The packet framed as on the wire, arriving on the slot's port.
  void ReceiveOn(int slot, const Bytes& packet) {
    const Bytes frame = Frame(packet);
    form().LineCommReceiveData(slot, frame.data(), static_cast<uint16_t>(frame.size()));
  }
  std::vector<int> Codes(int slot) const { return SentCodes(ports[slot].sent); }
  bool NothingSent() const {
    for (const auto& port : ports)
      if (!port.sent.empty()) return false;
    return true;
  }

  std::array<FakeCommPort, kPortSlots> ports;

 private:
  size_t mark_ = 0;
};

}  // namespace zek::testing
