#include "station/data/settings_controls.h"

#include <gtest/gtest.h>

#include "station/data/errors.h"
#include "station/data/format.h"
#include "station/data/spin_edit_value.h"
#include "tests/support/case_names.h"

namespace zek {
namespace {

SetupSummaryTexts EnglishSummary() {
  SetupSummaryTexts t;
  t.Title = "Programmer Setup:";
  t.NoNumberControl = "  > No Number Control Enabled";
  t.NumberControl = "   > Enable Number Control : %d.";
  t.SNUsed = "  > S/N Function Used, SN=";
  t.SNAddress = ",Address=";
  t.SNGain = "SN Gain: ";
  t.SNString = "  > Use String S/N ";
  t.SNBinary = "  > Use Binary S/N ";
  t.SNBigEndian = ", Big Endian";
  t.SNLittleEndian = ",Little Endian";
  t.SNOnline = ", Enable PC On-Line SN";
  t.SNOffline = ", Disable PC On-Line SN";
  t.SNDisabled = "  > S/N Function Disabled";
  t.AutoDetectOn = "  > Enable Auto-Chip Detect";
  t.AutoDetectOff = "  > Disable Auto-Chip Detect";
  t.ShutPower = "  > Shut Power After Programmed";
  t.OutPower = "  > Out Power After programmed";
  t.LockReset = "  > Lock Reset Signal, ";
  t.ReleaseReset = "  > Release Reset Signal, ";
  t.RunChip = "Run Chip after programmed";
  t.NotRunChip = "Not Run after programmed";
  t.ShutBeeper = "  > Shut Beeper";
  t.EnableBeeper = "  > Enable Beeper";
  t.PowerOnTime = "  > Power On Time ";
  return t;
}

TEST(LoadSettingsControls, ShowsTheStartUpSettings) {
  const SettingsControls c = LoadSettingsControls(ProgrammerSettings{});
  EXPECT_EQ(c.SpinEditIn, 510);
  EXPECT_EQ(c.SpinEditOut, 510);
  EXPECT_EQ(c.SpinEditPwr, 100);
  EXPECT_EQ(c.SpinEditDS, 2100);
  EXPECT_TRUE(c.CheckBoxAut);
  EXPECT_FALSE(c.CheckBoxSN);
  EXPECT_FALSE(c.CheckBoxCtrl);
  EXPECT_TRUE(c.ChkBoxShutPow);
  EXPECT_FALSE(c.CheckBoxRst);
  EXPECT_EQ(c.SNEdit, "0x00000000");
  EXPECT_EQ(c.AddrEdit, "0x00000000");
  EXPECT_EQ(c.GainEdit, "0x00");
}

TEST(LoadSettingsControls, ReadsEveryBitAndTheDisplayBase) {
  ProgrammerSettings s;
  s.SNFlags = 0x97;  // limit, decimal, string, big-endian, on
  s.SNValue = -2;
  s.SNGain = 0x1234;
  s.SNAddress = -1;
  s.CtrlFlags3 = 0x07;
  s.CtrlFlags = 0x80;
  s.AutoDetectFlags = 0x02;  // any of bits 0-2
  const SettingsControls c = LoadSettingsControls(s);
  EXPECT_TRUE(c.CheckBoxCtrl && c.CheckBoxSN && c.ChkBoxStrSN && c.SNOrderChk && c.ChkBoxSNDP);
  EXPECT_FALSE(c.ChkBoxPCSN);
  EXPECT_EQ(c.SNEdit, "-2");
  EXPECT_EQ(c.GainEdit, "0x1234");
  EXPECT_EQ(c.AddrEdit, "0xFFFFFFFF");
  EXPECT_TRUE(c.ChkBoxStrChip && c.CheckBoxRst && c.ChkBoxMute && c.CheckBoxAut);
  EXPECT_FALSE(c.ChkBoxShutPow);
}

TEST(StoreControlSettings, DropsRemaindersAndKeepsForeignBits) {
  ProgrammerSettings s;
  s.CtrlFlags = 0x6F | 0x80;
  s.CtrlFlags3 = 0xFF;
  s.AutoDetectFlags = 0xF7;
  s.CtrlFlags2 = s.CtrlFlags4 = s.CtrlFlags5 = s.CtrlFlags6 = 0x55;
  SettingsControls c;
  c.SpinEditPwr = 105;
  c.SpinEditIn = 500;
  c.SpinEditOut = 2000;
  c.SpinEditDS = 1000;
  c.CheckBoxAut = false;
  c.ChkBoxMute = false;
  c.ChkBoxDLSI = false;
  c.ChkBoxShutPow = true;
  c.ChkBoxStrChip = true;
  c.CheckBoxRst = false;
  c.CheckBoxCtrl = true;
  c.SpinEditNum = 500;
  StoreControlSettings(s, c);
  EXPECT_EQ(s.PowerOnTime, 10);
  EXPECT_EQ(s.ChipInTime, 16);
  EXPECT_EQ(s.ChipOutTime, 66);
  EXPECT_EQ(s.OkNgDelay, 33);
  EXPECT_EQ(s.AutoDetectFlags, 0xF0);
  EXPECT_EQ(s.CtrlFlags, 0x6F);
  EXPECT_EQ(s.CtrlFlags3, 0xF2);
  EXPECT_EQ(s.CtrlFlags2 | s.CtrlFlags4 | s.CtrlFlags5 | s.CtrlFlags6, 0);
  EXPECT_EQ(s.NumberLimit, 500);
  EXPECT_EQ(s.SNFlags, 0x80);
  // 1000 ms stored as 33 comes back as 990, below the edit's minimum.
  EXPECT_EQ(LoadSettingsControls(s).SpinEditDS, 990);

  c.CheckBoxCtrl = false;
  c.CheckBoxAut = true;
  c.ChkBoxMute = c.ChkBoxDLSI = true;
  StoreControlSettings(s, c);
  EXPECT_EQ(s.NumberLimit, -1);
  EXPECT_EQ(s.SNFlags, 0x00);
  EXPECT_EQ(s.AutoDetectFlags, 0xF7);
  EXPECT_EQ(s.CtrlFlags, 0xFF);
}

struct SNCase {
  bool on, string, big, decimal;
  std::string address;
  uint32_t eep_start;
  uint8_t flags;  // with the number-limit bit set before
};

class StoreSNControlsTest : public ::testing::TestWithParam<SNCase> {};

TEST_P(StoreSNControlsTest, SetsTheFlagsOfTheFirstChoiceAndTheAddressBit) {
  const SNCase& k = GetParam();
  ProgrammerSettings s;
  s.SNFlags = 0xFF;
  SettingsControls c;
  c.CheckBoxSN = k.on;
  c.ChkBoxStrSN = k.string;
  c.SNOrderChk = k.big;
  c.ChkBoxSNDP = k.decimal;
  c.SNEdit = "$12345678";
  c.GainEdit = "0x10005";
  c.AddrEdit = k.address;
  const std::vector<std::string> lines = StoreSNControls(s, c, k.eep_start);
  EXPECT_EQ(s.SNFlags, k.flags);
  EXPECT_EQ(s.SNLength, 4);
  EXPECT_EQ(s.SNGain, 5);  // low 16 bits, also when the S/N is off
  if (k.on) {
    EXPECT_EQ(s.SNValue, 0x12345678);
    EXPECT_EQ(s.SNAddress, StrToInt(k.address));
    EXPECT_EQ(lines, (std::vector<std::string>{"> Serial No. function is used : ",
                                               Format("> SN Address is 0x%0.6x,Current SN is 0x12345678.",
                                                      {s.SNAddress})}));
  } else {
    EXPECT_EQ(s.SNValue, 0);
    EXPECT_EQ(s.SNAddress, -1);
    EXPECT_EQ(lines, std::vector<std::string>{"> Serial No function is not used!"});
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, StoreSNControlsTest,
    ::testing::Values(SNCase{false, true, true, true, "0x100", 0, 0x80},
                      SNCase{true, true, true, true, "0xFF", 0x100, 0x85},
                      SNCase{true, false, true, true, "0xFF", 0x100, 0x83},
                      SNCase{true, false, false, true, "0xFF", 0x100, 0x91},
                      SNCase{true, false, false, false, "0xFF", 0x100, 0x81},
                      SNCase{true, false, false, false, "0x100", 0x100, 0xC1},
                      SNCase{true, false, false, false, "-1", 0x100, 0xC1},  // unsigned compare
                      SNCase{true, false, false, false, "0xFFFFFFFE", 0xFFFFFFFF, 0x81},
                      SNCase{true, false, false, false, "0xFFFFFFFF", 0xFFFFFFFF, 0xC1}),
                         [](const auto& info) { return std::to_string(info.index) + "_At" + ::zek::testing::CaseName(info.param.address) + "_Eep" + ::zek::testing::Hex(info.param.eep_start); });

TEST(StoreSNControls, StopsAtTheFirstTextThatIsNoNumberKeepingWhatWasStored) {
  ProgrammerSettings s;
  s.SNFlags = 0xFF;
  s.SNValue = 7;
  s.SNAddress = 8;
  SettingsControls c;
  c.CheckBoxSN = true;
  c.ChkBoxSNDP = true;
  c.GainEdit = "3";
  c.SNEdit = "2415919104";
  c.AddrEdit = "0x100";
  try {
    StoreSNControls(s, c, 0);
    ADD_FAILURE() << "accepted";
  } catch (const ConvertError& e) {
    EXPECT_STREQ(e.what(), "'2415919104' is not a valid integer value");
  }
  EXPECT_EQ(s.SNLength, 4);
  EXPECT_EQ(s.SNGain, 3);
  EXPECT_EQ(s.SNFlags, 0x91);
  EXPECT_EQ(s.SNValue, 7);
  EXPECT_EQ(s.SNAddress, 8);

  c.SNEdit = "1";
  c.AddrEdit = "here";
  EXPECT_THROW(StoreSNControls(s, c, 0), ConvertError);
  EXPECT_EQ(s.SNValue, 1);
  EXPECT_EQ(s.SNAddress, 8);

  c.GainEdit = "";
  EXPECT_THROW(StoreSNControls(s, c, 0), ConvertError);
  EXPECT_EQ(s.SNFlags, 0x80);
  EXPECT_EQ(s.SNValue, 1);
}

TEST(SetupSummaryLines, ListsEveryChoiceWithTheControlTexts) {
  SettingsControls c;
  EXPECT_EQ(SetupSummaryLines(c, -1, EnglishSummary()),
            (std::vector<std::string>{"Programmer Setup:", "  > No Number Control Enabled", "  > S/N Function Disabled",
                                      "  > Enable Auto-Chip Detect", "  > Shut Power After Programmed",
                                      "  > Lock Reset Signal, Not Run after programmed", "  > Enable Beeper",
                                      "  > Power On Time 100ms"}));
  c.CheckBoxCtrl = true;
  c.CheckBoxSN = true;
  c.ChkBoxStrSN = true;
  c.SNOrderChk = true;
  c.ChkBoxPCSN = true;
  c.SNEdit = "12";
  c.AddrEdit = "x40";
  c.GainEdit = "2";
  c.CheckBoxAut = false;
  c.ChkBoxShutPow = false;
  c.CheckBoxRst = false;
  c.ChkBoxStrChip = true;
  c.ChkBoxMute = true;
  c.SpinEditPwr = 105;
  EXPECT_EQ(SetupSummaryLines(c, 500, EnglishSummary()),
            (std::vector<std::string>{"Programmer Setup:", "   > Enable Number Control : 500.",
                                      "  > S/N Function Used, SN=12,Address=x40SN Gain: 2",
                                      "  > Use String S/N , Big Endian, Enable PC On-Line SN",
                                      "  > Disable Auto-Chip Detect", "  > Out Power After programmed",
                                      "  > Release Reset Signal, Run Chip after programmed", "  > Shut Beeper",
                                      "  > Power On Time 105ms"}));
  c.ChkBoxStrSN = c.SNOrderChk = c.ChkBoxPCSN = false;
  EXPECT_EQ(SetupSummaryLines(c, 500, EnglishSummary())[3], "  > Use Binary S/N ,Little Endian, Disable PC On-Line SN");
}

TEST(SNTextForBase, KeepsTheLowThirtyTwoBits) {
  EXPECT_EQ(SNTextForBase("0x90000000", true), "2415919104");
  EXPECT_EQ(SNTextForBase("2415919104", false), "0x90000000");
  EXPECT_EQ(SNTextForBase("-1", true), "4294967295");
  EXPECT_EQ(SNTextForBase("$1FFFFFFFF", false), "0xFFFFFFFF");
  EXPECT_EQ(SNTextForBase("10", false), "0x0000000A");
  EXPECT_THROW(SNTextForBase("1O", true), ConvertError);
}

TEST(SpinEditValue, ReadsNumbersIntoRangeAndOtherTextsAsTheMinimum) {
  const std::tuple<const char*, int32_t> cases[] = {{"105", 105}, {"", 10},       {"abc", 10}, {"5", 10},
                                                    {"5000", 1000}, {"$20", 32}, {" 990", 990}};
  for (const auto& [text, value] : cases) EXPECT_EQ(SpinEditValue(text, 10, 1000), value) << text;
}

}  // namespace
}  // namespace zek
