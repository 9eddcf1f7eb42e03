// HEX and S-record files made by srec_cat and objcopy from random images
// must load byte-exact, and the loaded ranges must write back equal (cmp)
// to the source images.

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "station/data/object_file_binary.h"
#include "station/data/object_file_hex.h"
#include "station/data/object_file_s19.h"
#include "tests/data/image_fixture.h"
#include "tests/data/temp_dir.h"

namespace zek {
namespace {

enum class Tool { SrecCat, Objcopy };
enum class Kind { Hex, S19 };

struct Region {
  uint32_t address;
  size_t size;
};

struct ToolCase {
  const char* name;
  Tool tool;
  Kind kind;
  const char* options;  // srec_cat output options; unused for objcopy
  std::vector<Region> regions;
};

constexpr uint32_t kEep = 0x40000000;  // EEPROM start of a class 0x00 part

const ToolCase kToolCases[] = {
    {"SrecCatHex16", Tool::SrecCat, Kind::Hex, "-intel -obs=16", {{0, 0x30000}}},
    {"SrecCatHexOffset", Tool::SrecCat, Kind::Hex, "-intel", {{0x1230, 5001}}},
    {"SrecCatHexSixteenBit", Tool::SrecCat, Kind::Hex, "-intel -address-length=2", {{0x10, 0xFF00}}},
    {"SrecCatHexFlashAndEeprom", Tool::SrecCat, Kind::Hex, "-intel -obs=16", {{0, 0x8000}, {kEep, 4096}}},
    {"SrecCatHexFullFlash", Tool::SrecCat, Kind::Hex, "-intel -obs=255", {{0, 0x40000}}},
    {"ObjcopyHex", Tool::Objcopy, Kind::Hex, "", {{0, 0x30000}}},
    {"ObjcopyHexEeprom", Tool::Objcopy, Kind::Hex, "", {{kEep + 0x10, 4000}}},
    {"SrecCatS19", Tool::SrecCat, Kind::S19, "-motorola", {{0, 0x30000}}},
    {"SrecCatS19SixteenBit", Tool::SrecCat, Kind::S19, "-motorola -address-length=2", {{0x100, 0x8000}}},
    {"SrecCatS19FlashAndEeprom", Tool::SrecCat, Kind::S19, "-motorola -obs=16", {{0x20, 0x7000}, {kEep, 4096}}},
    {"ObjcopyS19", Tool::Objcopy, Kind::S19, "", {{0, 0x30000}}},
    {"ObjcopyS19Eeprom", Tool::Objcopy, Kind::S19, "", {{kEep, 4096}}},
};

bool OnPath(const char* tool) {
  return std::system(("command -v " + std::string(tool) + " >/dev/null 2>&1").c_str()) == 0;
}

std::string Hex(uint32_t v) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", v);
  return text;
}

void RunTool(const std::string& command) { ASSERT_EQ(std::system(command.c_str()), 0) << command; }

class OutsideToolTest : public testing::ImageFixture, public ::testing::WithParamInterface<ToolCase> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(OnPath("srec_cat") && OnPath("objcopy") && OnPath("cmp"))
        << "srec_cat, objcopy and cmp must be on PATH (scripts/packages installs them)";
    Select(0x00, 256, 4096);  // flash 0-0x3FFFF, EEPROM 0x40000000-0x40000FFF
  }

  // Random source images, one file per region.
  std::vector<std::string> MakeSources(const std::vector<Region>& regions) {
    std::mt19937 random(std::hash<std::string>{}(GetParam().name));
    std::vector<std::string> paths;
    for (size_t i = 0; i < regions.size(); ++i) {
      std::vector<uint8_t> bytes(regions[i].size);
      for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
      paths.push_back(dir.Write("region" + std::to_string(i) + ".bin", bytes));
    }
    return paths;
  }

  std::string MakeObjectFile(const ToolCase& c, const std::vector<std::string>& sources) {
    std::string out = dir.File(c.kind == Kind::Hex ? "image.hex" : "image.s19");
    std::string command;
    if (c.tool == Tool::SrecCat) {
      command = "srec_cat";
      for (size_t i = 0; i < sources.size(); ++i)
        command += " '" + sources[i] + "' -binary -offset " + Hex(c.regions[i].address);
      command += " -o '" + out + "' " + c.options;
    } else {
      command = std::string("objcopy -I binary -O ") + (c.kind == Kind::Hex ? "ihex" : "srec") +
                " --change-addresses " + Hex(c.regions[0].address) + " '" + sources[0] + "' '" + out + "'";
    }
    RunTool(command);
    return out;
  }

  testing::TempDir dir;
};

TEST_P(OutsideToolTest, LoadsByteExactAndWritesBackEqual) {
  const ToolCase& c = GetParam();
  std::vector<std::string> sources = MakeSources(c.regions);
  std::string object_file = MakeObjectFile(c, sources);

  uint32_t lowest = 0, highest = 0, sum = 0;
  if (c.kind == Kind::Hex) {
    ReadHexFile(st, object_file, lowest, highest, sum);
  } else {
    ReadS19File(st, object_file, lowest, highest, sum);
  }
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
  EXPECT_EQ(lowest, c.regions.front().address);
  EXPECT_EQ(highest, c.regions.back().address + c.regions.back().size - 1);

  // The whole images as they must be: 0xFF but for the regions.
  std::vector<uint8_t> want_main(st.MainBuffer.size(), 0xFF), want_eep(st.EepBuffer.size(), 0xFF);
  uint32_t want_sum = 0, want_eeprom_sum = 0;
  for (size_t i = 0; i < c.regions.size(); ++i) {
    const Region& r = c.regions[i];
    std::vector<uint8_t> source = testing::TempDir::Read(sources[i]);
    ASSERT_EQ(source.size(), r.size);
    const bool eeprom = r.address >= kEep;
    const uint32_t index = eeprom ? r.address - kEep : r.address;
    std::copy(source.begin(), source.end(), (eeprom ? want_eep : want_main).begin() + index);
    for (uint8_t b : source) (eeprom ? want_eeprom_sum : want_sum) += b;

    std::string back = dir.File("back" + std::to_string(i) + ".bin");
    WriteBinaryFile(back, eeprom ? std::span<const uint8_t>(st.EepBuffer.span()) : st.MainBuffer.span(), index,
                    static_cast<uint32_t>(index + r.size - 1));
    RunTool("cmp -s '" + back + "' '" + sources[i] + "'");
  }
  EXPECT_TRUE(std::equal(want_main.begin(), want_main.end(), st.MainBuffer.begin()));
  EXPECT_TRUE(std::equal(want_eep.begin(), want_eep.end(), st.EepBuffer.begin()));
  EXPECT_EQ(sum, want_sum + want_eeprom_sum);
  EXPECT_EQ(static_cast<uint32_t>(st.ParsedByteSum), want_eeprom_sum);
}

INSTANTIATE_TEST_SUITE_P(Files, OutsideToolTest, ::testing::ValuesIn(kToolCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zek
