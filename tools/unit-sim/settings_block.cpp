#include "tools/unit-sim/settings_block.h"

#include <algorithm>

#include "tools/unit-sim/wire_bytes.h"

namespace zek::sim {

UnitSettings ParseSettings(std::span<const uint8_t> b) {
  UnitSettings s;
  if (b.size() < kSettingsBlockSize) return s;
  s.family = b[1];
  s.chip_class = b[2];
  s.chip_index = b[3];
  s.auto_detect = b[5];
  s.flash_kb = Get16(b, 8);
  s.eep_size = Get16(b, 10);
  s.page_size = Get16(b, 12);
  s.info_size = Get16(b, 14);
  std::copy_n(b.begin() + 16, 8, s.ctrl.begin());
  s.chip_start = Get32(b, 24);
  s.option_start = Get32(b, 28);
  s.main_crc = Get16(b, 32);
  s.main_acc = Get16(b, 34);
  s.eep_crc = Get16(b, 36);
  s.eep_acc = Get16(b, 38);
  s.option_crc = Get16(b, 44);
  s.option_acc = Get16(b, 46);
  s.chip_in_time = b[48];
  s.chip_out_time = b[49];
  s.power_on_time = b[50];
  s.sclk = b[52];
  s.ok_ng_delay = b[53];
  s.sn_flags = b[54];
  s.sn_length = b[55];
  s.eep_start = Get32(b, 56);
  s.info_start = Get32(b, 60);
  return s;
}

}  // namespace zek::sim
