// The data patch dialog, driven through its controls from the "Fill Data"
// button.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "station/window/config_sn_form.h"
#include "station/window/radio_group.h"
#include "tests/window/dialog_driving.h"
#include "tests/window/window_fixture.h"

namespace zek::testing {
namespace {

constexpr uint32_t kNone = 0xFFFFFFFF;
constexpr uint32_t kSeparateEep = 0x40000000;

struct PatchCase {
  const char* name;
  uint32_t eep_start;
  const char* address;
  int format;  // 0 ASCII, 1 HEX
  const char* typed;
  bool eep;        // the image written (or that would have been)
  size_t index;
  std::vector<uint8_t> bytes;  // empty: nothing may be written
  const char* box;             // the message shown, or nullptr
};

class DataPatchDialogTest : public WindowTest, public ::testing::WithParamInterface<PatchCase> {
 protected:
  TConfigSNForm& dialog() { return *program->Dialogs().ConfigSNForm; }
  // Runs "Fill Data" with the case's input and presses OK once.
  void RunPatch(const PatchCase& c) {
    dialogs.script = [&](QDialog&) {
      dialog().AddrEditSN->setText(c.address);
      dialog().RadioGrpDT->Button(c.format)->click();
      TypeText(dialog().EditDataSN, c.typed);
      dialog().BitBtnOK->click();
      open_after_ok = dialog().isVisible();
      focus_after_ok = dialog().focusWidget();
    };
    form().BitBtn2X->click();
  }
  bool open_after_ok = false;
  QWidget* focus_after_ok = nullptr;
};

bool Erased(std::span<const uint8_t> bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0xFF; });
}

TEST_P(DataPatchDialogTest, WritesTheTypedBytesOrNothing) {
  const PatchCase& c = GetParam();
  Start();
  boxes.shown.clear();  // the start-up's missing-firmware box
  st().EepStartAddress = c.eep_start;
  RunPatch(c);

  std::span<const uint8_t> target = c.eep ? std::span<const uint8_t>(st().EepBuffer.span())
                                          : std::span<const uint8_t>(st().MainBuffer.span());
  std::span<const uint8_t> other = c.eep ? std::span<const uint8_t>(st().MainBuffer.span())
                                         : std::span<const uint8_t>(st().EepBuffer.span());
  EXPECT_TRUE(Erased(other));
  if (c.bytes.empty()) {
    EXPECT_TRUE(Erased(target));
    EXPECT_TRUE(open_after_ok) << "a refused patch keeps the dialog open";
    QWidget* at_fault = std::string(c.typed).empty() ? static_cast<QWidget*>(dialog().EditDataSN)
                                                      : static_cast<QWidget*>(dialog().AddrEditSN);
    EXPECT_EQ(focus_after_ok, at_fault);
  } else {
    EXPECT_TRUE(std::equal(c.bytes.begin(), c.bytes.end(), target.begin() + c.index));
    EXPECT_TRUE(Erased(target.first(c.index)));
    EXPECT_TRUE(Erased(target.subspan(c.index + c.bytes.size())));
    EXPECT_FALSE(open_after_ok);
    EXPECT_EQ(dialog().result(), QDialog::Accepted);
  }
  if (c.box != nullptr)
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{c.box});
  else
    EXPECT_TRUE(BoxTexts().empty()) << BoxTexts().front();
}

INSTANTIATE_TEST_SUITE_P(
    Table, DataPatchDialogTest,
    ::testing::Values(
        PatchCase{"AsciiBelowEep", kSeparateEep, "0x100", 0, "ab", false, 0x100, {0x41, 0x42}, nullptr},
        PatchCase{"HexBlanksSeparate", kSeparateEep, "0x100", 1, "12 34 5", false, 0x100, {0x12, 0x34, 0x05}, nullptr},
        PatchCase{"HexTwoBlanksStoreZero", kSeparateEep, "x20", 1, "12  34", false, 0x20, {0x12, 0x00, 0x34}, nullptr},
        PatchCase{"HexLongRunKeepsLastTwo", kSeparateEep, "16", 1, "123", false, 0x10, {0x23}, nullptr},
        PatchCase{"HexNonDigitCountsZero", kSeparateEep, "$10", 1, "G1", false, 0x10, {0x01}, nullptr},
        PatchCase{"EepFromItsStart", kSeparateEep, "0x40000010", 1, "AA BB", true, 0x10, {0xAA, 0xBB}, nullptr},
        PatchCase{"AsciiInCodePage936", kSeparateEep, "0", 0, "序1", false, 0, {0xD0, 0xF2, 0x31}, nullptr},
        PatchCase{"EepAtZeroTakesEverything", 0, "0x100", 0, "SN", true, 0x100, {'S', 'N'}, nullptr},
        PatchCase{"NoEepTakesEveryAddressButTheLast", kNone, "0x1FFFFF", 1, "7E", false, 0x1FFFFF, {0x7E}, nullptr},
        PatchCase{"NoEepLastAddress", kNone, "-1", 1, "7E", true, 0, {0x7E}, nullptr},
        PatchCase{"PastMainEnd", kSeparateEep, "0x1FFFFF", 0, "AB", false, 0, {},
                  "Patch refused: 2 byte(s) at address 0x001FFFFF would pass the end of the main buffer (0x200000 bytes)."},
        PatchCase{"PastEepEnd", 0, "0x7FFF", 1, "1 2", true, 0, {},
                  "Patch refused: 2 byte(s) at address 0x00007FFF would pass the end of the EEP buffer (0x8000 bytes)."},
        PatchCase{"FarEepAddressIsNotWrapped", 0, "0x10000", 1, "1", true, 0, {},
                  "Patch refused: 1 byte(s) at address 0x00010000 would pass the end of the EEP buffer (0x8000 bytes)."},
        PatchCase{"AddressNotAnInteger", 0, "0x10G", 1, "1", true, 0, {}, "'0x10G' is not a valid integer value"},
        PatchCase{"AddressTooLarge", 0, "9999999999", 1, "1", true, 0, {},
                  "'9999999999' is not a valid integer value"},
        PatchCase{"EmptyData", 0, "0x100", 1, "", true, 0, {}, "请输入有效的序列号数据!"}),
    [](const ::testing::TestParamInfo<PatchCase>& info) { return std::string(info.param.name); });

using DataPatchDialogShowTest = WindowTest;

TEST_F(DataPatchDialogShowTest, TypedLettersBecomeCapitals) {
  Start();
  TConfigSNForm& d = *program->Dialogs().ConfigSNForm;
  dialogs.script = [&](QDialog&) { TypeText(d.EditDataSN, "ab1f"); };
  form().BitBtn2X->click();
  EXPECT_EQ(d.EditDataSN->text().toStdString(), "AB1F");
}

TEST_F(DataPatchDialogShowTest, EveryShowStartsWithAsciiAndCancelWritesNothing) {
  Start(std::vector<std::string>{}, &ChineseEdition());
  TConfigSNForm& d = *program->Dialogs().ConfigSNForm;
  std::vector<int> first_item;
  dialogs.script = [&](QDialog&) {
    first_item.push_back(d.RadioGrpDT->ItemIndex());
    d.RadioGrpDT->Button(1)->click();
    TypeText(d.EditDataSN, "12");
    d.BitBtnCancel->click();
  };
  form().BitBtn2X->click();
  form().BitBtn2X->click();
  EXPECT_EQ(first_item, (std::vector<int>{0, 0}));
  EXPECT_EQ(d.result(), QDialog::Rejected);
  EXPECT_TRUE(Erased(st().EepBuffer.span()));
  EXPECT_TRUE(Erased(st().MainBuffer.span()));
  EXPECT_EQ(d.windowTitle().toStdString(), "Config S/N Constant");
  EXPECT_EQ(d.LabelAdrSN->text().toStdString(), "数据存储首地址：   ");
  EXPECT_EQ(d.RadioGrpDT->title().toStdString(), "数据格式");
  EXPECT_EQ(d.RadioGrpDT->Items(), (QStringList{"ASCII字符串数据", "16进制数据（空格分隔）"}));
  EXPECT_EQ(d.LabelDAT->text().toStdString(), "数据内容(16进制格式以空格分隔）：   ");
}

}  // namespace
}  // namespace zek::testing
