// Proof against outside tools: files that srec_cat and objcopy make from
// random images load byte-exact, and the files our writers make read back
// byte-exact through both tools.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "filelib/DorvikRHB.h"
#include "tests/filelib/filelib_test_support.h"
#include "tests/filelib/image_buffer.h"

namespace {

using namespace rhbtest;

std::string Hex(uint32_t v) {
  char t[16];
  std::snprintf(t, sizeof t, "0x%X", v);
  return t;
}

enum class Loader { Hex, Hex18Fx, Hex32, S19, SXx };

struct ToolCase {
  const char* name;
  // Makes "out" from "img.bin" loaded at address OFF; placeholders IN, OUT, OFF.
  std::string command;
  uint32_t size;
  uint32_t offset;
  Loader loader;
  uint32_t base;  // offset loaders
};

// One pass over the command, so a path that holds a placeholder's letters
// (a temporary folder named ...OUT...) is never expanded again.
std::string Expand(const std::string& cmd, const std::string& in, const std::string& out, uint32_t off) {
  const std::pair<std::string, std::string> keys[] = {{"IN", in}, {"OUT", out}, {"OFF", Hex(off)}};
  std::string result;
  for (size_t i = 0; i < cmd.size();) {
    bool replaced = false;
    for (const auto& [key, value] : keys) {
      if (cmd.compare(i, key.size(), key) == 0) {
        result += value;
        i += key.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) result += cmd[i++];
  }
  return result;
}

int32_t Load(Loader l, const std::string& path, uint32_t base, uint8_t* buf, uint32_t* start, uint32_t* end) {
  switch (l) {
    case Loader::Hex: return ExeOpenFile_HEX_RoutAndRT(path.c_str(), buf, start, end);
    case Loader::Hex18Fx: return ExeOpenFile18Fx_HEX_RoutAndRT(path.c_str(), buf, start, end);
    case Loader::Hex32: return ExeOpenFile_HEX32_RoutAndRT(path.c_str(), base, buf, start, end);
    case Loader::S19: return ExeOpenFile_S19_RoutAndRT(path.c_str(), buf, start, end);
    case Loader::SXx: return ExeOpenFile_SXx_RoutAndRT(path.c_str(), base, buf, start, end);
  }
  return -1;
}

const std::string kSrecIntel = "srec_cat IN -binary -offset OFF -o OUT -intel";
const std::string kSrecMot = "srec_cat IN -binary -offset OFF -o OUT -motorola";
const std::string kObjIhex = "objcopy -I binary -O ihex --change-addresses OFF IN OUT";
const std::string kObjSrec = "objcopy -I binary -O srec --change-addresses OFF IN OUT";

std::vector<ToolCase> ToolCases() {
  return {
      {"SrecIntel16", kSrecIntel + " -obs=16", 0x3000, 0x1000, Loader::Hex, 0},
      {"SrecIntel32Crossing64K", kSrecIntel + " -obs=32", 0x30000, 0x2F010, Loader::Hex, 0},
      {"SrecIntelNoExtendedRecords", kSrecIntel + " -address-length=2 -obs=16", 0x8000, 0x100, Loader::Hex, 0},
      {"SrecIntel18Fx", kSrecIntel + " -obs=16", 0x4000, 0x8000, Loader::Hex18Fx, 0},
      {"SrecIntelOffset", kSrecIntel + " -obs=32", 0x100000, 0x200000, Loader::Hex32, 0x200000},
      {"SrecS1", kSrecMot + " -address-length=2 -obs=16", 0x4000, 0x1000, Loader::S19, 0},
      {"SrecS2", kSrecMot + " -address-length=3 -obs=32", 0x30000, 0x12345, Loader::S19, 0},
      {"SrecS3", kSrecMot + " -address-length=4 -obs=16", 0x10000, 0x300000, Loader::S19, 0},
      {"SrecS3Offset", kSrecMot + " -address-length=4 -obs=32", 0x100000, 0x800000, Loader::SXx, 0x7F0000},
      {"ObjcopyIhexNoExtendedRecords", kObjIhex, 0x8000, 0x100, Loader::Hex, 0},
      {"ObjcopyIhexSegmented", kObjIhex, 0x30000, 0x21000, Loader::Hex, 0},
      {"ObjcopyIhexLinear", kObjIhex, 0x20000, 0x180000, Loader::Hex, 0},
      {"ObjcopyIhexOffset", kObjIhex, 0x10000, 0x180000, Loader::Hex32, 0x100000},
      {"ObjcopySrec", kObjSrec, 0x30000, 0x21000, Loader::S19, 0},
      {"ObjcopySrecS3", kObjSrec + " --srec-forceS3 --srec-len=32", 0x8000, 0x4000, Loader::S19, 0},
      {"ObjcopySrecOffset", kObjSrec + " --srec-forceS3", 0x8000, 0x30000, Loader::SXx, 0x20000},
  };
}

class ToolFileLoadTest : public ::testing::TestWithParam<ToolCase> {};

TEST_P(ToolFileLoadTest, LoadsByteExact) {
  const ToolCase& c = GetParam();
  TempDir dir;
  std::vector<uint8_t> img = RandomBytes(c.size, c.size ^ c.offset);
  std::string in = dir.Write("img.bin", std::string(img.begin(), img.end()));
  std::string out = dir.Path("made");
  std::string log;
  ASSERT_TRUE(RunTool(Expand(c.command, in, out, c.offset), &log)) << log;

  ImageBuffer image;
  uint32_t start = 0, end = 0;
  ASSERT_EQ(Load(c.loader, out, c.base, image.data(), &start, &end), 0);
  EXPECT_EQ(start, c.offset);
  EXPECT_EQ(end, c.offset + c.size - 1);
  uint32_t index = c.offset - c.base;
  EXPECT_EQ(std::memcmp(image.data() + index, img.data(), img.size()), 0);
  // Nothing else was touched (random data may hold the marker byte too).
  size_t marker_in_img = 0;
  for (uint8_t b : img) marker_in_img += b == kUntouched;
  EXPECT_EQ(image.Changed(), img.size() - marker_in_img);
}

INSTANTIATE_TEST_SUITE_P(Tools, ToolFileLoadTest, ::testing::ValuesIn(ToolCases()),
                         [](const auto& info) { return std::string(info.param.name); });

enum class Writer { SRecord, SRecordOffset, IntelHex, IntelHexOffset };

struct WriteCase {
  const char* name;
  Writer writer;
  uint32_t base;
  uint32_t start;
  uint32_t end;
  uint32_t load_base;  // for reading it back with our offset loaders
};

class WriterReadBackTest : public ::testing::TestWithParam<WriteCase> {};

TEST_P(WriterReadBackTest, BothToolsReadItBack) {
  const WriteCase& c = GetParam();
  TempDir dir;
  ImageBuffer image;
  std::vector<uint8_t> img = RandomBytes(c.end - c.start + 1, c.start);
  std::memcpy(image.data() + (c.start - c.base), img.data(), img.size());
  std::string path = dir.Path("written");
  const char* name = path.c_str();
  bool srec = c.writer == Writer::SRecord || c.writer == Writer::SRecordOffset;
  switch (c.writer) {
    case Writer::SRecord: SaveBinaryToMotFileRT(name, image.data(), c.start, c.end); break;
    case Writer::SRecordOffset: SaveInOffstBinaryToMotFileRT(name, image.data(), c.base, c.start, c.end); break;
    case Writer::IntelHex: SavBinaryToHexFileRT(name, image.data(), c.start, c.end); break;
    case Writer::IntelHexOffset: SavInOffstBinaryToHexFileRT(name, image.data(), c.base, c.start, c.end); break;
  }
  std::string want(img.begin(), img.end());
  std::string log;
  std::string srec_back = dir.Path("srec.bin");
  ASSERT_TRUE(RunTool("srec_cat " + path + (srec ? " -motorola" : " -intel") + " -offset -" + Hex(c.start) +
                          " -o " + srec_back + " -binary",
                      &log))
      << log;
  EXPECT_EQ(ReadFile(srec_back), want);
  std::string obj_back = dir.Path("obj.bin");
  ASSERT_TRUE(RunTool(std::string("objcopy -I ") + (srec ? "srec" : "ihex") + " -O binary " + path + " " + obj_back,
                      &log))
      << log;
  EXPECT_EQ(ReadFile(obj_back), want);
  // And our own loaders take it back to the same place.
  ImageBuffer again;
  uint32_t start = 0, end = 0;
  int32_t code = srec ? ExeOpenFile_SXx_RoutAndRT(name, c.load_base, again.data(), &start, &end)
                      : ExeOpenFile_HEX32_RoutAndRT(name, c.load_base, again.data(), &start, &end);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(start, c.start);
  EXPECT_EQ(end, c.end);
  EXPECT_EQ(std::memcmp(again.data() + (c.start - c.load_base), img.data(), img.size()), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Writers, WriterReadBackTest,
    ::testing::Values(WriteCase{"S1", Writer::SRecord, 0, 0x0, 0x3F, 0},
                      WriteCase{"S1Odd", Writer::SRecord, 0, 0x11, 0xFFFF, 0},
                      WriteCase{"S2", Writer::SRecord, 0, 0xFF00, 0x2345F, 0},
                      WriteCase{"S3", Writer::SRecord, 0, 0xFFFF00, 0x1000100, 0xFF0000},
                      WriteCase{"S3Offset", Writer::SRecordOffset, 0x1000000, 0x1000000, 0x1003FFF, 0x1000000},
                      WriteCase{"IntelSmall", Writer::IntelHex, 0, 0x5, 0xFFFF, 0},
                      WriteCase{"IntelCrossing64K", Writer::IntelHex, 0, 0xFFF0, 0x3000F, 0},
                      WriteCase{"IntelEndsAtBoundary", Writer::IntelHex, 0, 0x10000, 0x1FFFF, 0},
                      WriteCase{"IntelOffset", Writer::IntelHexOffset, 0x200000, 0x2FFFE1, 0x310020, 0x200000}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
