#include "station/link/unit_discovery.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "serial/comm_port.h"
#include "station/data/connection_config.h"
#include "station/data/format.h"
#include "station/data/info_lines.h"
#include "station/link/firmware_upgrade.h"
#include "station/link/info_packet.h"
#include "station/link/packet_framing.h"

namespace zek {
namespace {

constexpr int kReplyTextBytes = 73;

bool Printable(uint8_t b) { return b >= 0x20 && b <= 0x7F; }

// The n bytes from `from`, each unprintable byte as 0; bytes beyond the
// packet area count as 0 too.
std::string CleanText(std::span<const uint8_t> packet, size_t from, size_t n) {
  std::string text(n, '\0');
  for (size_t i = 0; i < n && from + i < packet.size(); ++i) {
    uint8_t b = packet[from + i];
    text[i] = Printable(b) ? static_cast<char>(b) : '\0';
  }
  return text;
}

std::string UpToFirstZero(const std::string& text) { return std::string(text.c_str()); }

// The first L characters of the reply text against the expected text of
// length L, as C texts.
int CompareHead(const std::string& reply_text, const std::string& expected) {
  return std::strncmp(reply_text.c_str(), expected.c_str(), expected.size());
}

// " V..." up to the next blank or comma, at most 8 characters.
std::string VersionToken(const std::string& text) {
  for (size_t p = 1; p < text.size(); ++p) {
    if (text[p - 1] != ' ' || text[p] != 'V') continue;
    std::string token;
    for (size_t i = p; i < text.size() && token.size() < 8; ++i) {
      char c = text[i];
      if (c == ' ' || c == ',' || c == '\0') break;
      token += c;
    }
    return token;
  }
  return {};
}

bool OlderThanLoaded(const StationState& st, const std::string& token) {
  std::string loaded(st.FirmwareVersion.data(), strnlen(st.FirmwareVersion.data(), st.FirmwareVersion.size()));
  if (loaded.empty()) return false;
  if (token.empty()) return true;
  return std::strncmp(token.c_str(), loaded.c_str(), token.size()) < 0;
}

}  // namespace

bool SendIdentityQuery(StationState& st, int port) {
  static constexpr uint8_t kQuery[] = {0xC0, 0xA3, 0xA5, 0x35, 0xC0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  std::copy(std::begin(kQuery), std::end(kQuery), st.PortTxBuf[port].begin());
  if (st.PortComm[port] == nullptr) return false;
  return st.PortComm[port]->SendBuffer(st.PortTxBuf[port].data(), sizeof kQuery);
}

int CheckIdentityReply(const StationState& st, std::span<const uint8_t> packet, std::string& expected,
                       int text_offset) {
  if (packet.size() < 3 || packet[0] != 0xA3 || packet[1] != 0xA5 || (packet[2] != 0x53 && packet[2] != 0x35))
    return kIdentityNotAReply;
  std::string chars = CleanText(packet, kPacketHeaderSize + text_offset, kReplyTextBytes);
  std::string reply_text = UpToFirstZero(chars);
  if (int diff = CompareHead(reply_text, expected); diff != 0) return diff;
  expected = reply_text;
  return OlderThanLoaded(st, VersionToken(chars)) ? kIdentityOlderFirmware : kIdentityAccepted;
}

int CheckTextReply(std::span<const uint8_t> packet, std::string& expected, int text_offset) {
  if (packet.size() < 8 || packet[0] != 0xA3 || packet[1] != 0xA5 || packet[2] != 0x35) return kIdentityNotAReply;
  size_t n = packet[6] | (packet[7] << 8);
  if (n == 0) return kIdentityNotAReply;
  std::string reply_text = UpToFirstZero(CleanText(packet, kPacketHeaderSize + text_offset, n + 1));
  if (CompareHead(reply_text, expected) != 0) return kIdentityTextMismatch;
  expected = reply_text;
  return kIdentityAccepted;
}

void HandleIdentityReply(StationState& st, uint16_t frame_count, int port) {
  uint16_t length = 0;
  const uint8_t decoded = SlipDecode(st.PortFrameBuf[port].span(), st.PortPacketBuf[port].span(), length, frame_count);
  st.PortPacketLen[port] = length;
  if (decoded != 0) return;
  // Only the decoded bytes: the rest of the area holds older packets.
  std::span<const uint8_t> packet = st.PortPacketBuf[port].span().first(length);
  if (packet[0] == 0xFD) {
    HandleInfoPacket(st, static_cast<uint8_t>(port));
    return;
  }
  std::string identity = kFullIdentity;
  if (CheckIdentityReply(st, packet, identity) == kIdentityAccepted) {
    st.DevicesFound += 1;
    st.PortConnected[port] = 1;
    st.PortState[port] = kStateIdle;
    st.PortTimeout[port] = 500;
    Gauge(st, port).SetEnabled(true);
    st.Views.InfoPanel->SetCaption(identity);
    AddPortInfoLine(st, Format("Found Device %d : %s!", {port + 1, identity}), port);
    return;
  }
  std::string generic = kGenericIdentity;
  if (CheckTextReply(packet, generic) == kIdentityAccepted) {
    StartFirmwareUpgrade(st, static_cast<uint8_t>(port));
    return;
  }
  AddPortInfoLine(st, "No device was found!", port);
}

void BitBtnFreshClick(StationState& st) {
  st.Views.ComboBoxCOM->ClearItems();
  // Every slot: an earlier search may have opened more than PortSlotCount.
  for (int slot = 0; slot < kPortSlots; ++slot) {
    if (st.PortComm[slot] != nullptr && st.PortComm[slot]->IsOpen()) st.PortComm[slot]->ClosePort();
    st.PortConnected[slot] = 0;
    st.PortBusy[slot] = 0;
  }
  LoadDeviceConfig(st, *st.Views.ComboBoxCOM);
}

void BitBtnFindCOMClick(StationState& st) {
  st.DevicesFound = 0;
  std::vector<std::string> items = st.Views.ComboBoxCOM->Items();
  int count = std::min<int>(static_cast<int>(items.size()), kPortSlots);
  // Every slot, not just those below PortSlotCount or the list's length:
  // an earlier search may have opened more (a saved list read back with a
  // smaller count, a list shortened by a hang-up), and a port still held
  // there would fail its open here, or its unit would pass for found.
  for (int slot = 0; slot < kPortSlots; ++slot) {
    st.PortRxLen[slot] = 0;
    st.PortBusy[slot] = 0;
    st.PortConnected[slot] = 0;
    GaugeView& gauge = Gauge(st, slot);
    gauge.SetEnabled(false);
    gauge.SetProgress(0);
    gauge.SetColor(kGaugeBlue);
    if (st.PortComm[slot] != nullptr && st.PortComm[slot]->IsOpen()) st.PortComm[slot]->ClosePort();
  }
  for (int i = 0; i < count; ++i) {
    st.PortTimeout[i] = 500;
    st.Views.InfoPanel->SetCaption("Searching Devices............");
    AddInfoLine(st, Format("Checking Device %d In %s............", {i + 1, items[i]}));
    if (st.PortComm[i] == nullptr) continue;
    st.PortComm[i]->SetCommName(items[i]);
    try {
      st.PortComm[i]->OpenPort();
    } catch (const std::runtime_error& e) {
      // Shown as the error handler shows it (a line in a run nobody
      // watches); one dead adapter must not hide the units listed after it.
      st.Views.Boxes->Plain(e.what());
    }
  }
  st.TimeSource->Sleep(50);
  for (int i = 0; i < count; ++i) {
    st.TimeSource->Sleep(10);
    if (st.PortComm[i] != nullptr && st.PortComm[i]->IsOpen()) SendIdentityQuery(st, i);
  }
}

}  // namespace zek
