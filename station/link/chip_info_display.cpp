#include "station/link/chip_info_display.h"

#include <string>

#include "station/data/format.h"
#include "station/data/info_lines.h"
#include "station/link/operation_steps.h"
#include "station/link/packet_framing.h"
#include "station/link/progress.h"

namespace zek {
namespace {

constexpr int kRowBytes = 16;
// Data bytes each fixed display reads: up to the UID block's SECLEVEL
// byte, the two register rows and 32 info rows, the two option rows.
constexpr size_t kUidReplyBytes = 0x842;
constexpr size_t kInfoReplyBytes = 544;
constexpr size_t kOptionReplyBytes = 32;

// The common frame: a failure ends the slot red with the result's text and
// shows nothing; a success ends it blue before the rows are written.
// A success that carries fewer data bytes than the rows print is a data
// error: the rest of the packet area holds the request or older replies,
// which must not be shown as the chip's data.
bool Conclude(StationState& st, uint8_t status, int port, size_t data_bytes) {
  if (Succeeded(status) && ReplyData(st, port, data_bytes) == nullptr) status = kResultDataError;
  if (!Succeeded(status)) {
    FailStep(st, status, port);
    return false;
  }
  EndProgress(st, false, port);
  return true;
}

// `label` then `count` byte items of data bytes from `first` on. Data bytes
// past the area print nothing, so a row never reads outside it.
std::string ByteRow(std::string label, std::span<const uint8_t> packet, size_t first, size_t count) {
  for (size_t k = 0; k < count; ++k) {
    size_t at = kPacketHeaderSize + first + k;
    if (at >= packet.size()) break;
    label += Format("%0.2x ", {packet[at]});
  }
  return label;
}

bool ValidPort(int port) { return port >= 0 && port < kPortSlots; }

}  // namespace

void ShowChipUID(StationState& st, uint8_t status, int port) {
  if (!ValidPort(port) || !Conclude(st, status, port, kUidReplyBytes)) return;
  std::span<const uint8_t> data = st.PortPacketBuf[port].span();
  AddPlainLine(st, ByteRow("  Read Chip 1 UID : ", data, 0, 12));
  for (uint32_t r = 0; r < 8; ++r) {
    uint32_t offset = 0x400 + kRowBytes * r;
    AddPlainLine(st, ByteRow("  0x0010" + Format("%0.4x: ", {offset}), data, offset, kRowBytes));
  }
  AddPlainLine(st, ByteRow("  RMASK Is : ", data, 0x800, kRowBytes));
  AddPlainLine(st, ByteRow("  WMASK Is : ", data, 0x820, kRowBytes));
  AddPlainLine(st, Format("  IMAKS=0x%0.2x, SECLEVEL=0x%0.2x.",
                          {data[kPacketHeaderSize + 0x840], data[kPacketHeaderSize + 0x841]}));
  AddPlainLine(st, "");
}

void ShowChipInfo(StationState& st, uint8_t status, int port) {
  if (!ValidPort(port) || !Conclude(st, status, port, kInfoReplyBytes)) return;
  std::span<const uint8_t> data = st.PortPacketBuf[port].span();
  for (uint32_t r = 0; r < 2; ++r)
    AddPlainLine(st, ByteRow(Format("  %0.8x: ", {0x40022000u + kRowBytes * r}), data, kRowBytes * r, kRowBytes));
  AddPlainLine(st, "");
  for (uint32_t r = 0; r < 32; ++r) {
    uint32_t offset = 32 + kRowBytes * r;
    AddPlainLine(st, ByteRow(Format("  %0.8x: ", {st.InfoStartAddress + offset}), data, offset, kRowBytes));
  }
}

void ShowChipInfoData(StationState& st, std::span<const uint8_t> packet, uint8_t status, int port) {
  if (!ValidPort(port)) return;
  // Only whole rows, and only as many as the packet area holds.
  size_t rows = st.InfoSize / kRowBytes;
  size_t room = packet.size() > kPacketHeaderSize ? (packet.size() - kPacketHeaderSize) / kRowBytes : 0;
  if (rows > room) rows = room;
  if (!Conclude(st, status, port, rows * kRowBytes)) return;
  AddPlainLine(st, Format("> Read Chip %d Infomation Data : ", {port + 1}));
  for (size_t r = 0; r < rows; ++r)
    AddPlainLine(st, ByteRow(Format("  0x%0.2x0:", {r}), packet, kRowBytes * r, kRowBytes));
}

void ShowOptionBytes(StationState& st, uint8_t status, int port) {
  if (!ValidPort(port) || !Conclude(st, status, port, kOptionReplyBytes)) return;
  std::span<const uint8_t> data = st.PortPacketBuf[port].span();
  st.SharedInfoMemo->AppendLine("");
  st.SharedInfoMemo->AppendLine(Format("> Read Chip %d Option Byte data as below : ", {port + 1}));
  for (uint32_t r = 0; r < 2; ++r) {
    uint32_t label = st.OptionStartAddress + kRowBytes * r;
    AddPlainLine(st, ByteRow(Format("   %0.6x: ", {label}), data, kRowBytes * r, kRowBytes));
  }
}

}  // namespace zek
