// The chip dialog through the chip button: what OK commits, what Cancel
// keeps, and what the dialog shows while it is open.

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QPixmap>
#include <cstdlib>
#include <QLineEdit>
#include <QListWidget>

#include "station/window/chip_select_form.h"
#include "station/window/main_form.h"
#include "tests/window/chip_choice.h"

namespace zek::testing {
namespace {

constexpr uint32_t kNone = 0xFFFFFFFF;

class ChipSelectTest : public WindowTest {
 protected:
  void SetUp() override {
    Start();
    boxes.shown.clear();
  }
  TChipSelectForm& dialog() { return *program->Dialogs().ChipSelectForm; }
  void Choose(std::vector<std::string> names, Close close = Close::Ok) {
    ScriptChipDialog(dialogs, std::move(names), close);
    form().DevButton->click();
  }
};

struct CommitCase {
  const char* label;
  std::vector<std::string> clicks;  // none: OK at once
  const char* name;
  uint8_t class_code, index;
  uint16_t flash_kb, eep, info, page;
  const char* rom_text;
};

void PrintTo(const CommitCase& c, std::ostream* os) { *os << c.label; }

class ChipCommitTest : public ChipSelectTest, public ::testing::WithParamInterface<CommitCase> {};

TEST_P(ChipCommitTest, OkCommitsThePendingChoiceAndAppliesTheMap) {
  const CommitCase& c = GetParam();
  Choose(c.clicks);
  EXPECT_EQ(dialogs.shown, std::vector<std::string>{"ChipSelectForm"});
  EXPECT_EQ(dialog().EditSelChip->text().toStdString(), c.name);
  EXPECT_EQ(dialog().EditROM->text().toStdString(), c.rom_text);
  EXPECT_EQ(st().ChipName, c.name);
  EXPECT_EQ(st().ChipClassCode, c.class_code);
  EXPECT_EQ(st().ChipIndex, c.index);
  EXPECT_EQ(st().ChipFlashSizeKB, c.flash_kb);
  EXPECT_EQ(st().EepSize, c.eep);
  EXPECT_EQ(st().InfoSize, c.info);
  EXPECT_EQ(st().PageSize, c.page);
  EXPECT_EQ(st().ChipSelected, 1);
  EXPECT_EQ(st().FamilyCode, 0x45);
  // The map follows the commit, replacing the EEP range OK left at -1.
  EXPECT_EQ(st().FlashSizeKB, c.flash_kb);
  EXPECT_EQ(st().FlashEndAddress, c.flash_kb * 1024u - 1);
  EXPECT_FALSE(st().EepStartAddress == kNone && st().EepEndAddress == kNone && c.eep > 0);
  EXPECT_EQ(form().MCUNameEdit->text().toStdString(), c.name);
}

INSTANTIATE_TEST_SUITE_P(
    Parts, ChipCommitTest,
    ::testing::Values(
        CommitCase{"OkAtOnce", {}, "BF7106AM28-TBBX", 0x00, 0, 96, 2048, 256, 256, "96 KB"},
        CommitCase{"BF7112", {"BF7112A-JCST"}, "BF7112A-JCST", 0x40, 0, 32, 0, 512, 64, "32 KB"},
        // A BF7112 looked at before does not leave its class on the next part.
        CommitCase{"AfterBF7112", {"BF7112A-JCST", "BF7006AM48-LBBX"}, "BF7006AM48-LBBX", 0x00, 5, 96, 2048, 256,
                   256, "96 KB"},
        CommitCase{"Series1", {"BF7612BM44-LJTX"}, "BF7612BM44-LJTX", 0x80, 8, 16, 1024, 0, 64, "16 KB"},
        CommitCase{"Series3", {"BS9100AM28"}, "BS9100AM28", 0x90, 5, 32, 0, 512, 64, "32 KB"},
        CommitCase{"Series4", {"BS32G030KBU6"}, "BS32G030KBU6", 0x10, 2, 128, 0, 512, 512, "128 KB"},
        CommitCase{"Series5", {"BS9000AM20", "BS32F030CBT6"}, "BS32F030CBT6", 0x12, 2, 128, 0, 512, 512, "128 KB"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ChipSelectTest, OpensOnTheFirstPartWhateverIsSelected) {
  Choose({"BS32F103RBT6"});
  ScriptChipDialog(dialogs, {}, Close::Cancel);
  dialogs.script = [this](QDialog&) {
    EXPECT_EQ(dialog().ListBoxSeries->count(), 6);
    EXPECT_EQ(dialog().ListBoxSeries->currentRow(), 0);
    EXPECT_EQ(dialog().ListBoxChips->count(), 7);
    EXPECT_EQ(dialog().ListBoxChips->currentRow(), 0);
    EXPECT_EQ(dialog().EditSelChip->text().toStdString(), "BF7106AM28-TBBX");
    EXPECT_EQ(dialog().EditEEP->text().toStdString(), "2048 Bytes");
    EXPECT_EQ(dialog().Pending().EepStart, kNone);
    dialog().ListBoxSeries->setCurrentRow(2);
    EXPECT_EQ(dialog().ListBoxChips->count(), 12);
    EXPECT_EQ(dialog().ListBoxChips->item(11)->text().toStdString(), "BF7615BM64");
    EXPECT_EQ(dialog().EditSelChip->text().toStdString(), "BF7613BM20");
    dialog().BitBtnCancel->click();
  };
  form().DevButton->click();
  EXPECT_EQ(st().ChipName, "BS32F103RBT6");
}

TEST_F(ChipSelectTest, CancelKeepsTheChipAndReappliesIt) {
  Choose({"BS32F103CBT6"});
  const size_t lines = MemoLines().size();
  // The operator's option bytes and a map that drifted since.
  st().OptionBuffer[504] = 0x00;
  st().FlashEndAddress = 0;
  st().FileLoaded = 1;
  st().MainBuffer[0] = 0x12;

  Choose({"BS9000AM48", "BF7615BM20"}, Close::Cancel);

  EXPECT_EQ(st().ChipName, "BS32F103CBT6");
  EXPECT_EQ(st().ChipClassCode, 0x12);
  EXPECT_EQ(st().ChipIndex, 0);
  EXPECT_EQ(st().ChipFlashSizeKB, 128);
  EXPECT_EQ(st().EepSize, 0);
  EXPECT_EQ(st().InfoSize, 512);
  EXPECT_EQ(st().PageSize, 512);
  EXPECT_EQ(st().FlashEndAddress, 0x1FFFFu);  // the map is applied again
  EXPECT_EQ(st().OptionBuffer[504], 0x00);    // but Cancel loses no option byte
  EXPECT_EQ(st().FileLoaded, 1);
  EXPECT_EQ(st().MainBuffer[0], 0x12);
  EXPECT_EQ(MemoLines().size(), lines);  // same name: no set-up
}

TEST_F(ChipSelectTest, CancelWithNoChipChosenDoesNothing) {
  Choose({"BS9000AM48"}, Close::Cancel);
  EXPECT_EQ(st().ChipSelected, 0);
  EXPECT_TRUE(st().ChipName.empty());
  EXPECT_TRUE(form().MCUNameEdit->text().isEmpty());
}

TEST_F(ChipSelectTest, OkClearsTheImageEvenForTheSamePart) {
  Choose({"BF7615BM28"});
  form().ChkBoxPrgEE->setChecked(true);
  const size_t lines = MemoLines().size();
  st().MainBuffer[0x100] = 0x55;
  st().EepBuffer[0x10] = 0x66;
  st().FileLoaded = st().File1Loaded = 1;

  Choose({"BF7615BM28"});

  EXPECT_EQ(st().MainBuffer[0x100], 0xFF);
  EXPECT_EQ(st().EepBuffer[0x10], 0xFF);
  EXPECT_EQ(st().FileLoaded + st().File1Loaded, 0);
  EXPECT_EQ(st().ChipSelected, 1);
  EXPECT_EQ(st().ChipClassCode, 0x82);
  // The set-up runs again for the fresh images, though the name is the
  // same; the EEP box it leaves alone on a chip with EEP.
  const std::vector<std::string> all = MemoLines();
  EXPECT_EQ(std::vector<std::string>(all.begin() + static_cast<long>(lines), all.end()),
            (std::vector<std::string>{"> 10:15:02 Chip \"BF7615BM28\" is selectd",
                                      "> 10:15:02 Flash Size=64KB, EEP Byte=1024B "}));
  EXPECT_TRUE(form().ChkBoxPrgEE->isChecked());
  EXPECT_TRUE(boxes.shown.empty());
}

// Every list text and the longest name fit their boxes in both editions.
// With ZEK_SCREENSHOT_DIR set the dialog is also saved there as a PNG.
TEST_F(ChipSelectTest, TextsFitTheirBoxesInBothEditions) {
  for (const EditionTexts* texts : {&EnglishEdition(), &ChineseEdition()}) {
    SCOPED_TRACE(texts->Edition);
    program.reset();
    Start({}, texts);
    dialogs.script = [&](QDialog&) {
      TChipSelectForm& d = dialog();
      auto fits = [](const QListWidget* list) {
        const QFontMetrics metrics(list->font());
        for (int i = 0; i < list->count(); ++i) {
          const QString text = list->item(i)->text();
          EXPECT_LE(metrics.horizontalAdvance(text) + 8, list->viewport()->width()) << text.toStdString();
        }
      };
      fits(d.ListBoxSeries);
      for (int series = 0; series < kChipSeriesCount; ++series) {
        d.ListBoxSeries->setCurrentRow(series);
        fits(d.ListBoxChips);
      }
      EXPECT_LE(QFontMetrics(d.EditSelChip->font()).horizontalAdvance("BF7612BM44-LJTX") + 8, d.EditSelChip->width());
      EXPECT_TRUE(d.EditROM->isVisible());
      EXPECT_FALSE(d.EditEEP->isVisible());
      if (const char* out = std::getenv("ZEK_SCREENSHOT_DIR")) {
        d.ListBoxSeries->setCurrentRow(1);
        d.ListBoxChips->setCurrentRow(7);
        d.grab().save(QString("%1/chip_select_%2.png").arg(out, texts->Edition));
      }
    };
    form().DevButton->click();
  }
}

}  // namespace
}  // namespace zek::testing
