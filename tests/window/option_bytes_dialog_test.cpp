// The option bytes dialog of the BS32 chips, run from "Chip Set".

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <vector>

#include "station/data/chip_memory_map.h"
#include "station/window/option_bytes_form.h"
#include "tests/window/window_fixture.h"

namespace zek::testing {
namespace {

using Bytes = std::vector<uint8_t>;

const Bytes kErased = {0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00,
                       0xFF, 0xFF, 0x00, 0x00, 0xA5, 0x07, 0x5A, 0xF8, 0xFF, 0xFF, 0x00, 0x00};

// A started station with a BS32 part applied; the write box ticked, so
// every run shows that the handler unticks it first.
class OptionDialogTest : public WindowTest {
 protected:
  void StartBs32(const EditionTexts* texts = nullptr) {
    Start({}, texts);
    boxes.shown.clear();  // the start-up's missing-firmware box
    st().ChipClassCode = 0x10;
    st().ChipFlashSizeKB = 64;
    st().ChipName = "BS32F003";
    SetMemoryMap(st());
    form().ChkBoxPrgInf->setChecked(true);
  }
  TBS32xOptBytFrm& dialog() { return *program->Dialogs().BS32xOptBytFrm; }
  Bytes Block() const {
    const StationState& s = program->State();
    return Bytes(s.OptionBuffer.begin() + 488, s.OptionBuffer.begin() + 512);
  }
  // Runs "Chip Set" with the script's changes, then OK, or else the close box.
  void RunChipSet(const std::function<void(TBS32xOptBytFrm&)>& change, bool press_ok = true) {
    dialogs.script = [&](QDialog&) {
      change(dialog());
      if (press_ok)
        dialog().BitBtnOK->click();
      else
        dialog().close();
      open_after_ok = dialog().isVisible();
    };
    form().ButtonCFG->click();
  }
  bool open_after_ok = false;
};

struct OptionCase {
  const char* name;
  void (*change)(TBS32xOptBytFrm&);
  bool press_ok;
  std::vector<std::pair<size_t, uint8_t>> changed;  // OptionBuffer offset, value
  bool ticked;
};

class OptionDialogCaseTest : public OptionDialogTest, public ::testing::WithParamInterface<OptionCase> {};

TEST_P(OptionDialogCaseTest, StoresTheBlockAndDecidesTheWrite) {
  const OptionCase& c = GetParam();
  StartBs32();
  RunChipSet(c.change, c.press_ok);
  Bytes expected = kErased;
  for (auto [offset, value] : c.changed) expected[offset - 488] = value;
  EXPECT_EQ(Block(), expected);
  EXPECT_EQ(form().ChkBoxPrgInf->isChecked(), c.ticked);
  EXPECT_FALSE(open_after_ok);
  EXPECT_TRUE(BoxTexts().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, OptionDialogCaseTest,
    ::testing::Values(
        OptionCase{"OkUnchanged", [](TBS32xOptBytFrm&) {}, true, {}, false},
        OptionCase{"CloseBoxStoresNothing", [](TBS32xOptBytFrm& d) { d.ComBoxROP->setCurrentIndex(1); }, false, {},
                   false},
        OptionCase{"ReadProtection", [](TBS32xOptBytFrm& d) { d.ComBoxROP->setCurrentIndex(1); }, true,
                   {{504, 0x5A}, {506, 0xA5}}, true},
        OptionCase{"Wrp0", [](TBS32xOptBytFrm& d) { d.EditWRP[0]->setText("0x0F"); }, true,
                   {{500, 0x0F}, {502, 0xF0}}, true},
        OptionCase{"Wrp7Decimal", [](TBS32xOptBytFrm& d) { d.EditWRP[7]->setText("254"); }, true,
                   {{489, 0xFE}, {491, 0x01}}, true},
        OptionCase{"AboveByteKeepsLowByte", [](TBS32xOptBytFrm& d) { d.EditWRP[5]->setText("999"); }, true,
                   {{493, 0xE7}, {495, 0x18}}, true},
        OptionCase{"WatchdogOff", [](TBS32xOptBytFrm& d) { d.ComBoxIWDG->setCurrentIndex(0); }, true,
                   {{505, 0x06}, {507, 0xF9}}, true}),
    [](const ::testing::TestParamInfo<OptionCase>& info) { return std::string(info.param.name); });

// A bad WRP text leaves the whole block alone (nothing half-stored) and
// keeps the dialog open on it; closing it then re-decides on the old block.
TEST_F(OptionDialogTest, TextThatIsNoIntegerStoresNothing) {
  StartBs32();
  RunChipSet([](TBS32xOptBytFrm& d) {
    d.ComBoxROP->setCurrentIndex(1);
    d.EditWRP[6]->setText("0x01");
    d.EditWRP[3]->setText("zz");
  });
  EXPECT_TRUE(open_after_ok);
  EXPECT_EQ(dialog().focusWidget(), dialog().EditWRP[3]);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"'zz' is not a valid integer value"});
  EXPECT_EQ(Block(), kErased);
  EXPECT_FALSE(form().ChkBoxPrgInf->isChecked());
}

TEST_F(OptionDialogTest, ShowLoadsTheBlockAndTheDumpFollows) {
  StartBs32(&ChineseEdition());
  st().OptionBuffer[504] = 0x33;  // any RDP but 0xA5 reads as level 1
  st().OptionBuffer[505] = 0x06;
  st().OptionBuffer[496] = 0x3C;  // WRP2
  st().OptionBuffer[489] = 0x07;  // WRP7
  QStringList iwdg_items;
  RunChipSet(
      [&](TBS32xOptBytFrm& d) {
        EXPECT_EQ(d.windowTitle().toStdString(), "BS32F003-- Option Byte Setting");
        EXPECT_EQ(d.ComBoxROP->currentIndex(), 1);
        EXPECT_EQ(d.ComBoxIWDG->currentIndex(), 0);
        EXPECT_EQ(d.EditWRP[2]->text().toStdString(), "0x3C");
        EXPECT_EQ(d.EditWRP[7]->text().toStdString(), "0x07");
        EXPECT_EQ(d.EditWRP[0]->text().toStdString(), "0xFF");
        EXPECT_TRUE(d.ComBoxInfWRP->isHidden());
        for (int i = 0; i < d.ComBoxIWDG->count(); ++i) iwdg_items << d.ComBoxIWDG->itemText(i);
      },
      false);
  EXPECT_EQ(iwdg_items, (QStringList{"0 : SW调式时禁止IWDG ", "1 : SW调式时使能IWDG"}));
  EXPECT_TRUE(form().ChkBoxPrgInf->isChecked());
  const std::vector<std::string> lines = MemoLines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(lines.end() - 4, lines.end()),
            (std::vector<std::string>{"", "> Chip Option Byte data as below : ",
                                      "   0201E0: FF FF FF FF FF FF FF FF FF 07 00 00 FF FF 00 00 ",
                                      "   0201F0: 3C FF 00 00 FF FF 00 00 33 06 5A F8 FF FF 00 00 "}));
}

TEST_F(OptionDialogTest, EnglishWatchdogItems) {
  StartBs32();
  QStringList items;
  RunChipSet([&](TBS32xOptBytFrm& d) {
    for (int i = 0; i < d.ComBoxIWDG->count(); ++i) items << d.ComBoxIWDG->itemText(i);
  });
  EXPECT_EQ(items, (QStringList{"0 : SW Debug Dn IWDG ", "1 : SW Debug EN IWDG"}));
}

}  // namespace
}  // namespace zek::testing
