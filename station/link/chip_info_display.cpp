#include "station/link/chip_info_display.h"

#include <algorithm>
#include <string>

#include "station/data/format.h"
#include "station/data/info_lines.h"
#include "station/link/operation_steps.h"
#include "station/link/packet_framing.h"
#include "station/link/progress.h"

namespace zek {
namespace {

constexpr int kRowBytes = 16;
constexpr size_t kCheckBytes = 2;

// The common frame: a failure ends the slot red with the result's text and
// shows nothing; a success ends it blue before the rows are written.
bool Conclude(StationState& st, uint8_t status, int port) {
  if (!Succeeded(status)) {
    FailStep(st, status, port);
    return false;
  }
  EndProgress(st, false, port);
  return true;
}

// The bytes of the decoded reply that come before its check, as far as
// `area` reaches. A unit may send fewer data bytes than a display prints;
// the rest of the area holds the request or older replies, never chip data.
std::span<const uint8_t> Carried(const StationState& st, int port, std::span<const uint8_t> area) {
  size_t length = st.PortPacketLen[port];
  size_t end = length >= kPacketHeaderSize + kCheckBytes ? length - kCheckBytes : 0;
  return area.first(std::min(end, area.size()));
}

// Data byte k of the reply; a byte the reply does not carry reads 0.
uint8_t DataByte(std::span<const uint8_t> reply, size_t k) {
  size_t at = kPacketHeaderSize + k;
  return at < reply.size() ? reply[at] : 0;
}

// `label` then `count` byte items of data bytes from `first` on.
std::string ByteRow(std::string label, std::span<const uint8_t> reply, size_t first, size_t count) {
  for (size_t k = first; k < first + count; ++k) label += Format("%0.2x ", {DataByte(reply, k)});
  return label;
}

bool ValidPort(int port) { return port >= 0 && port < kPortSlots; }

}  // namespace

void ShowChipUID(StationState& st, uint8_t status, int port) {
  if (!ValidPort(port) || !Conclude(st, status, port)) return;
  std::span<const uint8_t> data = Carried(st, port, st.PortPacketBuf[port].span());
  AddPlainLine(st, ByteRow("  Read Chip 1 UID : ", data, 0, 12));
  for (uint32_t r = 0; r < 8; ++r) {
    uint32_t offset = 0x400 + kRowBytes * r;
    AddPlainLine(st, ByteRow("  0x0010" + Format("%0.4x: ", {offset}), data, offset, kRowBytes));
  }
  AddPlainLine(st, ByteRow("  RMASK Is : ", data, 0x800, kRowBytes));
  AddPlainLine(st, ByteRow("  WMASK Is : ", data, 0x820, kRowBytes));
  AddPlainLine(st, Format("  IMAKS=0x%0.2x, SECLEVEL=0x%0.2x.", {DataByte(data, 0x840), DataByte(data, 0x841)}));
  AddPlainLine(st, "");
}

void ShowChipInfo(StationState& st, uint8_t status, int port) {
  if (!ValidPort(port) || !Conclude(st, status, port)) return;
  std::span<const uint8_t> data = Carried(st, port, st.PortPacketBuf[port].span());
  for (uint32_t r = 0; r < 2; ++r)
    AddPlainLine(st, ByteRow(Format("  %0.8x: ", {0x40022000u + kRowBytes * r}), data, kRowBytes * r, kRowBytes));
  AddPlainLine(st, "");
  for (uint32_t r = 0; r < 32; ++r) {
    uint32_t offset = 32 + kRowBytes * r;
    AddPlainLine(st, ByteRow(Format("  %0.8x: ", {st.InfoStartAddress + offset}), data, offset, kRowBytes));
  }
}

void ShowChipInfoData(StationState& st, std::span<const uint8_t> packet, uint8_t status, int port) {
  if (!ValidPort(port) || !Conclude(st, status, port)) return;
  // Only whole rows, and only as many as the packet area holds.
  size_t rows = st.InfoSize / kRowBytes;
  size_t room = packet.size() > kPacketHeaderSize ? (packet.size() - kPacketHeaderSize) / kRowBytes : 0;
  if (rows > room) rows = room;
  std::span<const uint8_t> data = Carried(st, port, packet);
  AddPlainLine(st, Format("> Read Chip %d Infomation Data : ", {port + 1}));
  for (size_t r = 0; r < rows; ++r)
    AddPlainLine(st, ByteRow(Format("  0x%0.2x0:", {r}), data, kRowBytes * r, kRowBytes));
}

void ShowOptionBytes(StationState& st, uint8_t status, int port) {
  if (!ValidPort(port) || !Conclude(st, status, port)) return;
  std::span<const uint8_t> data = Carried(st, port, st.PortPacketBuf[port].span());
  st.SharedInfoMemo->AppendLine("");
  st.SharedInfoMemo->AppendLine(Format("> Read Chip %d Option Byte data as below : ", {port + 1}));
  for (uint32_t r = 0; r < 2; ++r) {
    uint32_t label = st.OptionStartAddress + kRowBytes * r;
    AddPlainLine(st, ByteRow(Format("   %0.6x: ", {label}), data, kRowBytes * r, kRowBytes));
  }
}

}  // namespace zek
