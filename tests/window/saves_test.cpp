// Saving the images and the read-back data, and loading raw EEP data,
// through the menu handlers and scripted file dialogs.

#include <QAction>
#include <QCheckBox>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "station/data/format.h"
#include "tests/window/image_fixture.h"

namespace zek::testing {
namespace {

using SavesTest = ImageTest;

constexpr char kSaveFilter[] = "All Binary Files(*.BIN)|*.BIN|All Text Files(*.TXT)|*.TXT";

std::vector<std::string> TextLines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string DumpLine(std::span<const uint8_t> image, uint32_t row) {
  std::string line = Format("0x%0.6x:", {row * 16});
  for (uint32_t k = 0; k < 16; ++k) line += Format(" %0.2x", {image[row * 16 + k]});
  return line;
}

TEST_F(SavesTest, NothingLoadedRefusesTheMainSaveWithoutADialog) {
  StartShown();
  form().SaveFile1->trigger();
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"No data to be saved!"});
  EXPECT_TRUE(files.asked.empty());
}

// Without a chip there is no chip range: nothing is asked or written.
TEST_F(SavesTest, NoChipRefusesTheMainSaveWithTheChipGuard) {
  StartShown();
  OpenFirst(dir.Write("a.bin", std::vector<uint8_t>(64, 0x12)));
  boxes.shown.clear();
  files.asked.clear();
  files.Answer(dir.File("out.bin"));
  form().SaveFile1->trigger();
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Please select the chip type!"});
  EXPECT_EQ(boxes.shown[0].kind, "information");
  EXPECT_TRUE(files.asked.empty());
  EXPECT_FALSE(std::ifstream(dir.File("out.bin")).good());
}

struct NoChipSaveCase {
  const char* name;
  QAction* TProgramZEKFrm::*item;
};

class NoChipSaveTest : public ImageTest, public ::testing::WithParamInterface<NoChipSaveCase> {};

// Without a chip there is no chip range nor EEP area: every save is
// refused by the chip guard before its dialog, also with data loaded.
TEST_P(NoChipSaveTest, IsRefusedByTheChipGuardAndWritesNothing) {
  StartShown();
  OpenFirst(dir.Write("a.bin", std::vector<uint8_t>(64, 0x12)));
  boxes.shown.clear();
  files.asked.clear();
  const std::string path = dir.File("out.bin");
  files.Answer(path);
  (form().*GetParam().item)->trigger();
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Please select the chip type!"});
  EXPECT_EQ(boxes.shown[0].kind, "information");
  EXPECT_TRUE(files.asked.empty());
  EXPECT_FALSE(std::filesystem::exists(path));
}

INSTANTIATE_TEST_SUITE_P(Saves, NoChipSaveTest,
                         ::testing::Values(NoChipSaveCase{"Image", &TProgramZEKFrm::SaveFile1},
                                           NoChipSaveCase{"ReadOut", &TProgramZEKFrm::SaveReadOutData1},
                                           NoChipSaveCase{"Eep", &TProgramZEKFrm::SaveEepData1},
                                           NoChipSaveCase{"ReadOutEep", &TProgramZEKFrm::SaveReadOutEEP1},
                                           NoChipSaveCase{"Project", &TProgramZEKFrm::SaveasProjectFile1}),
                         [](const auto& info) { return std::string(info.param.name); });

struct MainSaveCase {
  const char* name;
  QAction* TProgramZEKFrm::*item;
  bool read_out;
  const char* message;
};

class MainSaveTest : public ImageTest, public ::testing::WithParamInterface<MainSaveCase> {
 protected:
  void SetUp() override {
    StartShown();
    SelectChip(0x80, 64, 0, 0);
    st().FileLoaded = 1;
    const std::vector<uint8_t> bytes = RandomBytes(0x10010, 9);
    std::copy(bytes.begin(), bytes.end(), Image().begin());
  }
  std::span<uint8_t> Image() {
    return GetParam().read_out ? std::span<uint8_t>(st().ReadMainBuffer.span())
                               : std::span<uint8_t>(st().MainBuffer.span());
  }
};

TEST_P(MainSaveTest, FilterOneWritesTheChipRangeAsRawBytes) {
  const std::string path = dir.File("main.bin");
  files.Answer(path, 1);
  (form().*GetParam().item)->trigger();
  ASSERT_EQ(files.asked.size(), 1u);
  EXPECT_EQ(files.asked[0].Filter, kSaveFilter);
  EXPECT_EQ(files.asked[0].DefaultExt, "*.bin");
  EXPECT_EQ(files.asked[0].FilterIndex, 1);
  const std::vector<uint8_t> written = TempDir::Read(path);
  ASSERT_EQ(written.size(), 65536u);
  EXPECT_TRUE(std::equal(written.begin(), written.end(), Image().begin()));
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{Format(GetParam().message, {path})});
}

TEST_P(MainSaveTest, OtherFilterWritesATextDumpOfSixteenBytesALine) {
  const std::string path = dir.File("main.txt");
  files.Answer(path, 2);
  (form().*GetParam().item)->trigger();
  const std::vector<std::string> lines = TextLines(path);
  ASSERT_EQ(lines.size(), 4096u);
  for (uint32_t row : {0u, 1u, 2047u, 4095u}) EXPECT_EQ(lines[row], DumpLine(Image(), row));
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{Format(GetParam().message, {path})});
}

TEST_P(MainSaveTest, CancelledDialogSavesNothing) {
  (form().*GetParam().item)->trigger();
  EXPECT_EQ(files.asked.size(), 1u);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"No data to be saved!"});
}

TEST_P(MainSaveTest, FileErrorIsReportedAndNotTakenForSuccess) {
  files.Answer(dir.File("no-folder/main.bin"), 1);
  (form().*GetParam().item)->trigger();
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"File not found"});
}

INSTANTIATE_TEST_SUITE_P(Handlers, MainSaveTest,
                         ::testing::Values(MainSaveCase{"Image", &TProgramZEKFrm::SaveFile1, false,
                                                        "Mian Buffer data has been saved to file of \"%s\"."},
                                           MainSaveCase{"ReadOut", &TProgramZEKFrm::SaveReadOutData1, true,
                                                        "Read out Main Data has been saved to file of \"%s\"."}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SavesTest, ReadOutSaveAsksEvenWithNothingLoaded) {
  StartShown();
  SelectChip(0x80, 64, 0, 0);
  form().SaveReadOutData1->trigger();
  EXPECT_EQ(files.asked.size(), 1u);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"No data to be saved!"});
}

struct EepSaveCase {
  const char* name;
  QAction* TProgramZEKFrm::*item;
  bool read_out;
  const char* message;
};

class EepSaveTest : public ImageTest, public ::testing::WithParamInterface<EepSaveCase> {
 protected:
  std::span<uint8_t> Eep() {
    return GetParam().read_out ? std::span<uint8_t>(st().ReadEepBuffer.span())
                               : std::span<uint8_t>(st().EepBuffer.span());
  }
};

TEST_P(EepSaveTest, WritesTheEepAreaOnlyWhateverTheFilter) {
  StartShown();
  SelectChip(0x00, 64, 2048, 256);
  const std::vector<uint8_t> bytes = RandomBytes(2048 + 256, 4);
  std::copy(bytes.begin(), bytes.end(), Eep().begin());
  for (int filter : {1, 2}) {
    boxes.shown.clear();
    const std::string path = dir.File("eep" + std::to_string(filter));
    files.Answer(path, filter);
    (form().*GetParam().item)->trigger();
    const std::vector<uint8_t> written = TempDir::Read(path);
    EXPECT_EQ(written, std::vector<uint8_t>(bytes.begin(), bytes.begin() + 2048)) << filter;
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{Format(GetParam().message, {path})});
  }
}

TEST_P(EepSaveTest, NoEepWritesAnEmptyFileAndCancelSaysNothing) {
  StartShown();
  SelectChip(0x80, 64, 0, 0);
  const std::string path = dir.File("eep.bin");
  files.Answer(path, 1);
  (form().*GetParam().item)->trigger();
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(std::filesystem::file_size(path), 0u);
  boxes.shown.clear();
  (form().*GetParam().item)->trigger();
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_P(EepSaveTest, FileErrorIsReportedAndNotTakenForSuccess) {
  StartShown();
  SelectChip(0x00, 64, 2048, 0);
  files.Answer(dir.File("no-folder/eep.bin"), 1);
  (form().*GetParam().item)->trigger();
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"File not found"});
}

INSTANTIATE_TEST_SUITE_P(Handlers, EepSaveTest,
                         ::testing::Values(EepSaveCase{"Image", &TProgramZEKFrm::SaveEepData1, false,
                                                       "EEP dtat has been saved to file of \"%s\"!"},
                                           EepSaveCase{"ReadOut", &TProgramZEKFrm::SaveReadOutEEP1, true,
                                                       "Read EEP dtat has been saved to file of \"%s\"!"}),
                         [](const auto& info) { return std::string(info.param.name); });

class EepLoadTest : public ImageTest {
 protected:
  void SetUp() override {
    StartShown();
    SelectChip(0x00, 64, 2048, 256);
  }
  void Load(const std::vector<uint8_t>& bytes) {
    files.Answer(dir.Write("eep.dat", bytes), 2);
    form().LoadEepData1->trigger();
  }
};

TEST_F(EepLoadTest, FileOfBothAreasLoadsWithoutMessageAndLogsWhen) {
  const std::vector<uint8_t> bytes = RandomBytes(2048 + 256, 3);
  Load(bytes);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), st().EepBuffer.begin()));
  EXPECT_EQ(st().EepBuffer[2048 + 256], 0xFF);
  EXPECT_EQ(LinesWith("Load EEP Data file").back(),
            "> 10:15:02 Load EEP Data file of \"" + dir.File("eep.dat") + "\" at 2026-12-08,10:15:02");
  ASSERT_EQ(files.asked.size(), 1u);
  EXPECT_EQ(files.asked[0].FilterIndex, 5);
  EXPECT_EQ(files.asked[0].DefaultExt, "*.Hex;*.S1*;*.Bin");
  // The grid shows what came in.
  EXPECT_EQ(Rows(form().EEPView), 144);
  EXPECT_EQ(Cell(form().EEPView, 143, 16), Format("%0.2x", {bytes[2048 + 255]}));
}

TEST_F(EepLoadTest, OneByteMoreIsRefusedAfterBothAreasAreStored) {
  std::fill(st().EepBuffer.begin() + 2304, st().EepBuffer.begin() + 2320, 0x77);
  std::vector<uint8_t> bytes = RandomBytes(2048 + 256 + 1, 3);
  Load(bytes);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"File is out of buffer!!!"});
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.end() - 1, st().EepBuffer.begin()));
  EXPECT_EQ(st().EepBuffer[2304], 0x77);
}

TEST_F(EepLoadTest, ShortFileKeepsTheBytesBehindIt) {
  st().EepBuffer[10] = 0x5A;
  Load({1, 2, 3});
  EXPECT_EQ(st().EepBuffer[2], 3);
  EXPECT_EQ(st().EepBuffer[10], 0x5A);
}

struct BoxCase {
  const char* name;
  bool eep_data, info_data;
};

class EepLoadBoxesTest : public EepLoadTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(EepLoadBoxesTest, EachAreaChecksItsOwnBoxes) {
  const BoxCase c = GetParam();
  std::vector<uint8_t> bytes(2048 + 256, 0xFF);
  if (c.eep_data) bytes[2047] = 0;
  if (c.info_data) bytes[2048] = 0;
  // Boxes left checked from before are cleared by the rule.
  for (QCheckBox* box : {form().ChkBoxErsEE, form().ChkBoxPrgEE, form().ChkBoxErsInf, form().ChkBoxPrgInf})
    box->setChecked(true);
  Load(bytes);
  EXPECT_EQ(form().ChkBoxErsEE->isChecked(), c.eep_data);
  EXPECT_EQ(form().ChkBoxPrgEE->isChecked(), c.eep_data);
  EXPECT_EQ(form().ChkBoxErsInf->isChecked(), c.info_data);
  EXPECT_EQ(form().ChkBoxPrgInf->isChecked(), c.info_data);
}

INSTANTIATE_TEST_SUITE_P(Table, EepLoadBoxesTest,
                         ::testing::Values(BoxCase{"Erased", false, false}, BoxCase{"EepOnly", true, false},
                                           BoxCase{"InfoOnly", false, true}, BoxCase{"Both", true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EepLoadTest, PopUpItemsRunTheSameHandlers) {
  const std::vector<uint8_t> bytes = RandomBytes(100, 8);
  files.Answer(dir.Write("eep.dat", bytes), 1);
  form().LoadEEPDataFmFile->trigger();
  EXPECT_EQ(st().EepBuffer[99], bytes[99]);
  files.Answer(dir.File("out.bin"), 1);
  form().SaveEEpDatatoFile1->trigger();
  EXPECT_EQ(TempDir::Read(dir.File("out.bin")).size(), 2048u);
}

TEST_F(EepLoadTest, MissingFileShowsTheRuntimesTextAndChangesNothing) {
  form().ChkBoxErsEE->setChecked(true);
  files.Answer(dir.File("missing.dat"), 1);
  form().LoadEepData1->trigger();
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"File not found"});
  EXPECT_TRUE(form().ChkBoxErsEE->isChecked());
  EXPECT_TRUE(LinesWith("Chip EEP Data ACC Sum").empty());
}

}  // namespace
}  // namespace zek::testing
