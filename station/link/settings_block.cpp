#include "station/link/settings_block.h"

#include <algorithm>

#include "station/data/byte_order.h"

namespace zek {

void WriteSettingsBlock(StationState& st, std::span<uint8_t, kSettingsBlockSize> block) {
  uint8_t* b = block.data();
  const ProgrammerSettings& s = st.Settings;
  std::fill(block.begin(), block.end(), 0);
  b[1] = st.FamilyCode;
  b[2] = st.ChipClassCode;
  b[3] = st.ChipIndex;
  b[4] = static_cast<uint8_t>(st.Random.Below(255));
  b[5] = s.AutoDetectFlags;
  Put16(b + 6, st.Random.Below(65535));
  Put16(b + 8, st.FlashSizeKB);
  Put16(b + 10, st.EepSize);
  Put16(b + 12, st.PageSize);
  Put16(b + 14, st.InfoSize);
  const uint8_t ctrl[8] = {s.CtrlFlags,  s.CtrlFlags2, s.CtrlFlags3, s.CtrlFlags4,
                           s.CtrlFlags5, s.CtrlFlags6, s.CtrlFlags7, s.CtrlFlags8};
  std::copy(std::begin(ctrl), std::end(ctrl), b + 16);
  Put32(b + 24, st.ChipStartAddress);
  Put32(b + 28, st.OptionStartAddress);
  Put16(b + 32, st.MainCrc16);
  Put16(b + 34, st.MainAcc16);
  Put16(b + 36, st.EepCrc16);
  Put16(b + 38, st.EepAcc16);
  Put16(b + 44, st.OptionCrc16);
  Put16(b + 46, st.OptionAcc16);
  b[48] = s.ChipInTime;
  b[49] = s.ChipOutTime;
  b[50] = s.PowerOnTime;
  b[51] = s.SettingByte51;
  b[52] = s.SclkSetting;
  b[53] = s.OkNgDelay;
  b[54] = s.SNFlags;
  b[55] = s.SNLength;
  Put32(b + 56, st.EepStartAddress);
  Put32(b + 60, st.InfoStartAddress);
}

void BuildSettingsBlock(StationState& st, size_t offset, int port) {
  auto packet = st.PortPacketBuf[port].span();
  if (offset > packet.size() || packet.size() - offset < kSettingsBlockSize) return;
  WriteSettingsBlock(st, packet.subspan(offset).first<kSettingsBlockSize>());
}

}  // namespace zek
