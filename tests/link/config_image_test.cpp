#include "station/link/config_image.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "station/data/byte_sums.h"
#include "station/link/scramble_key.h"
#include "tests/support/fake_views.h"
#include "tests/support/reply_builder.h"

namespace zek {
namespace {

using testing::Bytes;

struct ConfigImageFixture : ::testing::Test {
  ConfigImageFixture() {
    StationState& st = fs.st;
    st.ChipClassCode = 0x10;
    st.ChipIndex = 5;
    st.FlashSizeKB = 96;
    st.ChipName = "BS32G030";
    st.ObjectFileName = "firmware.hex";
    st.Settings.NumberLimit = -1;
    st.Settings.SNGain = 0x0102;
    st.Settings.SNAddress = 0x00007FF0;
    st.Settings.SNValue = 0x0A0B0C0D;
    for (uint32_t i = 0; i < st.OptionBuffer.size(); ++i) st.OptionBuffer[i] = static_cast<uint8_t>(i ^ 0x5A);
    fs.ports[0].open = true;
  }
  Bytes Build(int port = 0) {
    BuildConfigImage(fs.st, 8, port);
    const uint8_t* p = fs.st.PortPacketBuf[port].data() + 8;
    return Bytes(p, p + kConfigImageSize);
  }
  static uint16_t Sum16(const Bytes& b, size_t end) {
    return static_cast<uint16_t>(std::accumulate(b.begin(), b.begin() + end + 1, 0u));
  }
  testing::FakeStation fs;
};

TEST_F(ConfigImageFixture, LaysOutTheImage) {
  RandomGenerator draws;
  Bytes image = Build();
  EXPECT_EQ(Bytes(image.begin(), image.begin() + 4), (Bytes{'P', 'X', 'Z', 'W'}));
  // The settings block, built in place, draws first.
  EXPECT_EQ(image[4 + 2], 0x10);
  EXPECT_EQ(image[4 + 3], 5);
  EXPECT_EQ(image[4 + 4], draws.Below(255));
  uint32_t word = draws.Below(65535);
  EXPECT_EQ(image[4 + 6] | (image[4 + 7] << 8), static_cast<int>(word));
  EXPECT_EQ(Bytes(image.begin() + 68, image.begin() + 84),
            (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x01, 0xF0, 0x7F, 0x00, 0x00, 0x0D, 0x0C, 0x0B, 0x0A, 0, 0}));
  for (int i = 84; i <= 251; ++i) ASSERT_EQ(image[i], draws.Below(255)) << i;
  EXPECT_EQ(fs.st.Random.Seed(), draws.Seed());

  uint16_t check = Check16(image, 0, 251);
  EXPECT_EQ(image[252] | (image[253] << 8), check);
  EXPECT_EQ(image[254] | (image[255] << 8), Sum16(image, 253));  // the check included

  EXPECT_EQ(Bytes(image.begin() + 256, image.begin() + 272),
            (Bytes{'B', 'S', '3', '2', 'G', '0', '3', '0', 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(std::string(image.begin() + 272, image.begin() + 284), "firmware.hex");
  EXPECT_TRUE(std::all_of(image.begin() + 284, image.begin() + 320, [](uint8_t b) { return b == 0; }));

  for (int i = 0; i < 188; ++i) ASSERT_EQ(image[320 + i], fs.st.OptionBuffer[i]) << i;
  EXPECT_EQ(image[508] | (image[509] << 8), Check16(image, 0, 507));
  EXPECT_EQ(image[510] | (image[511] << 8), Sum16(image, 509));
  for (int i = 0; i < 1024; ++i) ASSERT_EQ(image[512 + i], fs.st.OptionBuffer[i]) << i;
}

TEST_F(ConfigImageFixture, FixedTextsAreQuestionMarkWhenEmptyAndCutWhenLong) {
  fs.st.ChipName = "";
  fs.st.ObjectFileName = std::string(40, 'a') + "0123456789";
  Bytes image = Build();
  EXPECT_EQ(image[256], 0x3F);
  EXPECT_TRUE(std::all_of(image.begin() + 257, image.begin() + 272, [](uint8_t b) { return b == 0; }));
  EXPECT_EQ(std::string(image.begin() + 272, image.begin() + 320), std::string(40, 'a') + "01234567");
  EXPECT_EQ(image[320], fs.st.OptionBuffer[0]);
}

TEST_F(ConfigImageFixture, ObjectFileNameGoesInAsGbk) {
  fs.st.ObjectFileName = "\xE8\x8A\xAF\xE7\x89\x87.hex";  // two Chinese characters
  Bytes image = Build();
  EXPECT_EQ(Bytes(image.begin() + 272, image.begin() + 281),
            (Bytes{0xD0, 0xBE, 0xC6, 0xAC, '.', 'h', 'e', 'x', 0}));
}

TEST_F(ConfigImageFixture, TheDownloadScramblesTheImageWithTheWordAndTheKey) {
  RandomGenerator before = fs.st.Random;
  const uint16_t w = 0x1234;
  ASSERT_TRUE(SendConfigImage(fs.st, 0x53, w, 0));
  std::optional<Bytes> p = testing::DecodeSent(fs.ports[0].sent.at(0));
  ASSERT_TRUE(p);
  ASSERT_EQ(p->size(), 1544u + 2);
  EXPECT_EQ(Bytes(p->begin(), p->begin() + 8), (Bytes{0x53, 0x34, 0x12, 0x45, 0x10, 0x05, 0x00, 0x06}));

  // The unit's side: k from the word in the header and the shared key.
  const uint16_t k = static_cast<uint16_t>(((*p)[1] | ((*p)[2] << 8)) ^ kConfigScrambleKey);
  Bytes plain(p->begin() + 8, p->end() - 2);
  for (size_t i = 0; i < plain.size(); i += 2) {
    plain[i] ^= static_cast<uint8_t>(k);
    plain[i + 1] ^= static_cast<uint8_t>(k >> 8);
  }
  fs.st.Random = before;  // the same draws again
  EXPECT_EQ(plain, Build(1));
}

}  // namespace
}  // namespace zek
