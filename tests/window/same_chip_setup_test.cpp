// The chip the window already shows, taken on again by a project load or
// by the chip dialog: the chip set-up still runs, so nothing it resets
// (a pending EEP edit, the option-data box) outlives the image or the
// option bytes it was made for.

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <random>

#include "station/data/project_file.h"
#include "station/window/option_bytes_form.h"
#include "tests/window/chip_choice.h"
#include "tests/window/station_units_fixture.h"

namespace zek::testing {
namespace {

constexpr uint32_t kFlashBytes = 96 * 1024;
constexpr size_t kBlockBytes = 4096;
constexpr size_t kBlockData = 8 + 64;  // header and settings block before the image bytes

std::vector<uint8_t> RandomBytes(size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::vector<uint8_t> bytes(n);
  for (auto& b : bytes) b = static_cast<uint8_t>(gen());
  return bytes;
}

class SameChip : public StationUnitsTest {
 protected:
  void Choose(const std::string& part) {
    ScriptChipDialog(dialogs, {part}, Close::Ok);
    form().DevButton->click();
  }
  void EditEepCell(int column, int row, const char* text) {
    form().EEPViewSelectCell(column, row);
    form().EditEEP->setText(text);
    form().BitBtn2->click();
  }
  void SaveProject(const std::string& path) {
    files.Answer(path);
    form().SaveasProjectFile1->trigger();
  }
  static std::vector<uint8_t> MainImageOf(const std::string& path) {
    FakeStation other;
    EXPECT_EQ(ReadProjectFile(other.st, path), kProjectOk) << path;
    return std::vector<uint8_t>(other.st.MainBuffer.begin(), other.st.MainBuffer.begin() + kFlashBytes);
  }
  // Programs unit 1 to the end; the image bytes of every 0x95 block sent.
  std::vector<uint8_t> ProgrammedImage() {
    form().SpdBtnProg->click();
    for (int reply = 0; reply < 100 && st().PortBusy[0] != 0; ++reply) ReceiveOn(0, StatusReply(0x95, 0));
    std::vector<uint8_t> image;
    for (const Bytes& p : SentPackets(ports[0].sent)) {
      if (p.empty() || p[0] != 0x95) continue;
      EXPECT_EQ(p.size(), kBlockData + kBlockBytes + 2);
      image.insert(image.end(), p.begin() + kBlockData, p.begin() + kBlockData + kBlockBytes);
    }
    return image;
  }
};

// BF7106AM28-TBBX keeps its EEP in the last flash page, 0x17000: an edit
// left pending would be merged there over the project's own bytes.
TEST_F(SameChip, AProjectLoadAfterAnEepEditSendsAndSavesTheProjectsImage) {
  StartWithUnits({0}, 1);
  Choose("BF7106AM28-TBBX");
  ASSERT_EQ(st().ChipEndAddress, kFlashBytes - 1);
  const std::vector<uint8_t> main = RandomBytes(kFlashBytes, 1);
  files.Answer(dir.Write("app.bin", main));
  form().SpdBtnOpen->click();
  files.Answer(dir.Write("data.eep", RandomBytes(2048, 2)));
  form().LoadEepData1->trigger();
  const std::string p = dir.File("p.RQT");
  SaveProject(p);
  ASSERT_EQ(MainImageOf(p), main);

  EditEepCell(3, 1, "A5");
  files.Answer(p);
  form().LoadformProjectFile1->trigger();
  const std::string q = dir.File("q.RQT");
  SaveProject(q);

  EXPECT_EQ(MainImageOf(q), main);
  EXPECT_EQ(ProgrammedImage(), main);
}

// The dialog's OK resets the option bytes even for the chip shown, so the
// option-data box the operator's bytes had ticked is reset with them.
TEST_F(SameChip, TheChipDialogsOkForTheShownChipResetsTheOptionDataBox) {
  StartWithUnits({}, 0);
  Choose("BS32G030CBT6");
  TBS32xOptBytFrm& options = *program->Dialogs().BS32xOptBytFrm;
  dialogs.script = [&options](QDialog&) {
    options.EditWRP[0]->setText("0x0F");
    options.BitBtnOK->click();
  };
  form().ButtonCFGClick();
  ASSERT_TRUE(form().ChkBoxPrgInf->isChecked());
  MarkMemo();

  Choose("BS32G030CBT6");
  EXPECT_FALSE(form().ChkBoxPrgInf->isChecked());
  const std::vector<std::string> lines = NewLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "> 10:15:02 Chip \"BS32G030CBT6\" is selectd");
}

}  // namespace
}  // namespace zek::testing
