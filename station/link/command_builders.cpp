#include "station/link/command_builders.h"

#include <algorithm>

#include "station/data/byte_order.h"
#include "station/link/packet_framing.h"
#include "station/link/packet_send.h"
#include "station/link/settings_block.h"

namespace zek {
namespace {

constexpr uint16_t kSettingsEnd = kPacketHeaderSize + kSettingsBlockSize;  // 72

uint8_t* Packet(StationState& st, int port) { return st.PortPacketBuf[port].data(); }

}  // namespace

void PutCommandHeader(StationState& st, uint8_t code, uint16_t parameter, uint16_t data_length, int port) {
  uint8_t* p = Packet(st, port);
  p[0] = code;
  Put16(p + 1, parameter);
  p[3] = st.FamilyCode;
  p[4] = st.ChipClassCode;
  p[5] = st.ChipIndex;
  Put16(p + 6, data_length);
}

void CopyMainBlock(const StationState& st, uint32_t base, uint16_t index, uint8_t* dest) {
  const uint64_t from = static_cast<uint64_t>(base) + static_cast<uint64_t>(index) * 1024u;
  const uint64_t size = st.MainBuffer.size();
  const size_t n = from >= size ? 0 : static_cast<size_t>(std::min<uint64_t>(kBlockBytes, size - from));
  std::copy_n(st.MainBuffer.data() + (n ? from : 0), n, dest);
  std::fill(dest + n, dest + kBlockBytes, 0xFF);
}

bool SendFlashBlock(StationState& st, uint8_t code, uint16_t index, uint32_t base, int port) {
  PutCommandHeader(st, code, index, kBlockBytes, port);
  CopyMainBlock(st, base, index, Packet(st, port) + kPacketHeaderSize);
  return SendPacket(st, kPacketHeaderSize + kBlockBytes, port);
}

bool SendEEPBlock(StationState& st, int port) {
  PutCommandHeader(st, 0x5A, 0, kBlockBytes, port);
  std::copy_n(st.EepBuffer.data(), kBlockBytes, Packet(st, port) + kPacketHeaderSize);
  return SendPacket(st, kPacketHeaderSize + kBlockBytes, port);
}

bool SendProgramBlock(StationState& st, uint8_t code, uint32_t base, int port) {
  const uint16_t index = st.PortBlockIndex[port];
  PutCommandHeader(st, code, index, kSettingsBlockSize + kBlockBytes, port);
  BuildSettingsBlock(st, kPacketHeaderSize, port);
  CopyMainBlock(st, base, index, Packet(st, port) + kSettingsEnd);
  return SendPacket(st, kSettingsEnd + kBlockBytes, port);
}

bool SendEEPProgram(StationState& st, int port) {
  PutCommandHeader(st, 0x96, 0, kSettingsBlockSize + kBlockBytes, port);
  BuildSettingsBlock(st, kPacketHeaderSize, port);
  std::copy_n(st.EepBuffer.data(), kBlockBytes, Packet(st, port) + kSettingsEnd);
  return SendPacket(st, kSettingsEnd + kBlockBytes, port);
}

bool SendSettingsOnly(StationState& st, uint8_t code, uint16_t parameter, int port) {
  PutCommandHeader(st, code, parameter, kSettingsBlockSize, port);
  BuildSettingsBlock(st, kPacketHeaderSize, port);
  return SendPacket(st, kSettingsEnd, port);
}

bool SendOptionBlock(StationState& st, uint8_t code, uint16_t parameter, int port) {
  PutCommandHeader(st, code, parameter, kSettingsBlockSize + 1024, port);
  BuildSettingsBlock(st, kPacketHeaderSize, port);
  std::copy_n(st.OptionBuffer.data(), 1024, Packet(st, port) + kSettingsEnd);
  return SendPacket(st, kSettingsEnd + 1024, port);
}

bool SendResetCommand(StationState& st, uint8_t code, int port) {
  uint8_t* p = Packet(st, port);
  const uint8_t header[10] = {code, 'R', 'E', 'S', 'T', 0xA8, 0x02, 0x00, 0x00, 0x00};
  std::copy(std::begin(header), std::end(header), p);
  return SendPacket(st, sizeof header, port);
}

}  // namespace zek
