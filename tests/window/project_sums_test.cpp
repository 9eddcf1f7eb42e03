// A project the station saves passes its own read check whatever changed
// the images before the save: the sums it carries are those of its images.

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <functional>
#include <ostream>
#include <vector>

#include "station/data/image_sums.h"
#include "station/data/project_file.h"
#include "station/window/config_sn_form.h"
#include "station/window/radio_group.h"
#include "tests/window/chip_choice.h"
#include "tests/window/dialog_driving.h"
#include "tests/window/window_fixture.h"

namespace zek::testing {
namespace {

// The operator's steps, for the cases' lambdas.
class SavedSums : public WindowTest {
 public:
  using WindowTest::files;
  using WindowTest::form;

  void Choose(const std::string& part) {
    ScriptChipDialog(dialogs, {part}, Close::Ok);
    form().DevButton->click();
  }
  static std::vector<uint8_t> Bytes(size_t n, uint8_t seed) {
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(seed + i * 13 + (i >> 9));
    return bytes;
  }
  void Open(QToolButton* button, size_t n, uint8_t seed) {
    files.Answer(dir.Write("image" + std::to_string(seed) + ".bin", Bytes(n, seed)));
    button->click();
  }
  void Load(size_t n, uint8_t seed) { Open(form().SpdBtnOpen, n, seed); }
  void Patch(const char* address, const char* hex) {
    TConfigSNForm& patch = *program->Dialogs().ConfigSNForm;
    dialogs.script = [&patch, address, hex](QDialog&) {
      patch.AddrEditSN->setText(address);
      patch.RadioGrpDT->Button(1)->click();
      TypeText(patch.EditDataSN, hex);
      patch.BitBtnOK->click();
    };
    form().BitBtn2X->click();
  }
  void EditEepCell(int column, int row, const char* text) {
    form().EEPViewSelectCell(column, row);
    form().EditEEP->setText(text);
    form().BitBtn2->click();
  }
  void LoadEepFile(size_t n, uint8_t seed) {
    files.Answer(dir.Write("eep.bin", Bytes(n, seed)));
    form().LoadEepData1->trigger();
  }
  std::string Save(const std::string& name) {
    const std::string path = dir.File(name);
    files.Answer(path);
    form().SaveasProjectFile1->trigger();
    return path;
  }
};

struct SumsCase {
  const char* name;
  friend void PrintTo(const SumsCase& c, std::ostream* os) { *os << c.name; }
  std::function<void(SavedSums&)> change;
};

class SavedAfterAChange : public SavedSums, public ::testing::WithParamInterface<SumsCase> {};

TEST_P(SavedAfterAChange, ReadsBackWithTheSumsOfItsImages) {
  Start();
  GetParam().change(*this);
  const std::string path = Save("saved.RQT");
  const ImageSums main = SumsOfFirst(st().MainBuffer.span(), st().FlashSizeKB * 1024u);
  const ImageSums eep = SumsOfFirst(st().EepBuffer.span(), st().EepSize);
  EXPECT_EQ((ImageSums{st().MainCrc16, st().MainAcc16}), main);
  EXPECT_EQ((ImageSums{st().EepCrc16, st().EepAcc16}), eep);

  FakeStation fresh;
  ASSERT_EQ(ReadProjectFile(fresh.st, path), kProjectOk);
  UnpackChipConfig(fresh.st);
  EXPECT_EQ((ImageSums{fresh.st.MainCrc16, fresh.st.MainAcc16}), main);
  EXPECT_EQ((ImageSums{fresh.st.EepCrc16, fresh.st.EepAcc16}), eep);
}

using S = SavedSums;

INSTANTIATE_TEST_SUITE_P(
    Paths, SavedAfterAChange,
    ::testing::Values(
        SumsCase{"Load", [](S& t) {
                   t.Choose("BF7106AM28-TBBX");
                   t.Load(0x5000, 1);
                 }},
        // The EEP sums of the chip before must not stay with one that has
        // no EEP.
        SumsCase{"LoadOnAChipWithoutEepAfterOneWithEep",
                 [](S& t) {
                   t.Choose("BF7106AM28-TBBX");
                   t.Load(0x5000, 1);
                   t.Choose("BF7112A-JCST");
                   t.Load(0x3000, 2);
                 }},
        SumsCase{"LoadMore",
                 [](S& t) {
                   t.Choose("BF7612BM28-SJBX");
                   t.Load(0x2000, 1);
                   t.Open(t.form().SpdBtnOpenMor, 0x1000, 3);
                 }},
        SumsCase{"PatchOfTheMainImage",
                 [](S& t) {
                   t.Choose("BF7106AM28-TBBX");
                   t.Load(0x2000, 1);
                   t.Patch("0x1000", "12 34 56");
                 }},
        SumsCase{"PatchOfTheEepImage",
                 [](S& t) {
                   t.Choose("BF7106AM28-TBBX");
                   t.Load(0x2000, 1);
                   t.Patch("0x40000010", "AB CD");
                 }},
        // Class 0x80 keeps its EEP image apart from the main one.
        SumsCase{"EepCellEdit",
                 [](S& t) {
                   t.Choose("BF7612BM28-SJBX");
                   t.Load(0x2000, 1);
                   t.EditEepCell(3, 2, "5a");
                 }},
        // Class 0x00 copies the edited EEP into the main image at the save.
        SumsCase{"EepCellEditMergedIntoTheMainImage",
                 [](S& t) {
                   t.Choose("BF7106AM28-TBBX");
                   t.Load(0x2000, 1);
                   t.EditEepCell(1, 1, "0");
                 }},
        SumsCase{"EepDataFile",
                 [](S& t) {
                   t.Choose("BF7612BM28-SJBX");
                   t.Load(0x2000, 1);
                   t.LoadEepFile(600, 4);
                 }},
        SumsCase{"ProjectLoad", [](S& t) {
                   t.Choose("BF7612BM28-SJBX");
                   t.Load(0x2000, 1);
                   const std::string first = t.Save("first.RQT");
                   t.files.Answer(first);
                   t.form().LoadformProjectFile1->trigger();
                 }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zek::testing
