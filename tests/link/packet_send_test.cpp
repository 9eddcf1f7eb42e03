#include "station/link/packet_send.h"

#include <gtest/gtest.h>

#include "station/link/packet_framing.h"
#include "tests/support/fake_views.h"

namespace zek {
namespace {

TEST(SendPacket, ChecksFramesAndSendsThePacket) {
  testing::FakeStation fs;
  fs.ports[2].open = true;
  auto& packet = fs.st.PortPacketBuf[2];
  const uint8_t header[] = {0x93, 0x05, 0x00, 0x45, 0x10, 0x01, 0x01, 0x00, 0xC0};
  std::copy(std::begin(header), std::end(header), packet.begin());
  ASSERT_TRUE(SendPacket(fs.st, 9, 2));
  uint16_t c = Check16Packet(packet.span(), 0, 8);
  EXPECT_EQ(packet[9], c & 0xFF);
  EXPECT_EQ(packet[10], c >> 8);
  ASSERT_EQ(fs.ports[2].sent.size(), 1u);
  // Decoding what went out gives the packet and a good check.
  std::vector<uint8_t> frame = fs.ports[2].sent[0];
  std::vector<uint8_t> decoded(64);
  uint16_t count = static_cast<uint16_t>(frame.size()), length = 0;
  ASSERT_EQ(SlipDecode(frame, decoded, length, count), 0);
  ASSERT_EQ(length, 11);
  EXPECT_TRUE(std::equal(decoded.begin(), decoded.begin() + 11, packet.begin()));
  EXPECT_EQ(CheckPacket(decoded, length), 0xC0);  // the status byte as sent
  EXPECT_EQ(std::vector<uint8_t>(frame.end() - 5, frame.end()), std::vector<uint8_t>(5, 0xFF));
}

TEST(SendPacket, AClosedPortSendsNothing) {
  testing::FakeStation fs;
  fs.st.PortPacketBuf[0][0] = 0x93;
  EXPECT_FALSE(SendPacket(fs.st, 8, 0));
  EXPECT_TRUE(fs.ports[0].sent.empty());
  fs.st.PortComm[0] = nullptr;
  EXPECT_FALSE(SendPacket(fs.st, 8, 0));
}

}  // namespace
}  // namespace zek
