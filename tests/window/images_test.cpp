// Loading object files through the open handlers, the sums and reports,
// the four hex grids and the EEP cell editor.

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include "station/data/byte_sums.h"
#include "station/data/format.h"
#include "tests/window/image_fixture.h"
#include "tests/support/case_names.h"

namespace zek::testing {
namespace {

using ImagesTest = ImageTest;

TEST_F(ImagesTest, FirstFileClearsImagesAndReportsABinaryByItsLength) {
  StartShown();
  SelectChip(0x80, 64, 1024, 0);
  st().MainBuffer[0x5000] = 0x12;
  st().EepBuffer[3] = 0x34;
  const std::vector<uint8_t> bytes = RandomBytes(100, 1);
  const std::string path = dir.Write("image.bin", bytes);
  OpenFirst(path);

  EXPECT_EQ(st().File1Loaded, 1);
  EXPECT_EQ(st().File2Loaded, 0);
  EXPECT_EQ(st().FileLoaded, 1);
  EXPECT_EQ(st().ObjectFileName, "image.bin");
  EXPECT_EQ(form().Status().PanelText(2), path);
  EXPECT_EQ(st().MainBuffer[0x5000], 0xFF);
  EXPECT_EQ(st().EepBuffer[3], 0xFF);
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), st().MainBuffer.begin()));
  EXPECT_EQ(st().File1Start, 0u);
  EXPECT_EQ(st().File1End, 100u);
  uint32_t sum = 0;
  for (uint8_t b : bytes) sum += b;
  EXPECT_EQ(static_cast<uint32_t>(st().FileAcc32), sum);

  const uint32_t image_sum = SumBytes(st().MainBuffer.span(), 0, 0xFFFF);
  const uint16_t check = Check16(st().MainBuffer.span(), 0, 0xFFFF);
  const std::vector<std::string> expected = {
      "",
      "> 10:15:02 Load object file of \"" + path + "\".",
      "> 10:15:02 Current File Adddress Range : 0x00000000~0x00000064.",
      Format("> 10:15:02 Current File ACC32 Sum : 0x%0.8x.", {sum}),
      "",
      "...........................................",
      "> 10:15:02 Chip Start Address = 0x000000.",
      "> 10:15:02 Chip End Address   = 0x00FFFF.",
      "...........................................",
      Format("> 10:15:02 Chip Main Flash Data ACC CheckSum = 0x%0.8x(0x%0.4x)", {image_sum, image_sum & 0xFFFF}),
      Format("> 10:15:02 Chip Main Flash Data CRC CheckSum = 0x%0.4x", {check}),
      "...........................................",
  };
  const std::vector<std::string> lines = MemoLines();
  ASSERT_GE(lines.size(), expected.size());
  EXPECT_EQ(std::vector<std::string>(lines.end() - static_cast<long>(expected.size()), lines.end()), expected);
  // The 16-bit sum in eight digits, the upper four 0.
  EXPECT_EQ(form().Status().PanelText(0), Format("Acc Sum:0x0000%0.4x", {image_sum & 0xFFFF}));
  EXPECT_EQ(form().Status().PanelText(1), Format("CRC Sum:0x%0.4x", {check}));
  EXPECT_EQ(st().MainAcc32, static_cast<int32_t>(image_sum));
  EXPECT_EQ(Rows(form().HexViewer), 4096);
}

// HEX and S-record files made by srec_cat land in the image, and every
// cell of the main grid shows what the image holds.
class ObjectFormTest : public ImageTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ObjectFormTest, GridCellsShowTheLoadedImage) {
  StartShown();
  SelectChip(0x80, 16, 0, 0);
  const std::vector<uint8_t> bytes = RandomBytes(0x1234, 7);
  const std::string name =
      std::string("image.") + (std::string(GetParam()).find("Intel") != std::string::npos ? "hex" : "s19");
  OpenFirst(Convert(bytes, 0x100, name, GetParam()));
  ASSERT_TRUE(BoxTexts().empty()) << BoxTexts().front();
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), st().MainBuffer.begin() + 0x100));
  EXPECT_EQ(LinesWith("Current File Adddress Range").back(),
            "> 10:15:02 Current File Adddress Range : 0x00000100~0x00001333.");

  QTableView* grid = form().HexViewer;
  ASSERT_EQ(Rows(grid), 1024);
  for (int row = 0; row < Rows(grid); ++row) {
    ASSERT_EQ(Cell(grid, row, 0), Format("0x%0.8x", {row * 16}));
    std::string text;
    for (int k = 0; k < 16; ++k) {
      const uint8_t b = st().MainBuffer[static_cast<size_t>(row * 16 + k)];
      ASSERT_EQ(Cell(grid, row, k + 1), Format("%0.2x", {b})) << row << "," << k;
      text += (b >= 0x20 && b <= 0x7F) ? static_cast<char>(b) : '.';
    }
    ASSERT_EQ(QString::fromStdString(Cell(grid, row, 17)), QString::fromLatin1(text.data(), 16));
  }
}

INSTANTIATE_TEST_SUITE_P(SrecCat, ObjectFormTest,
                         ::testing::Values("-Intel", "-Motorola", "-Motorola -address-length=3"),
                         ::zek::testing::PrintedName());

struct OverlapCase {
  const char* name;
  uint32_t first_start, first_size, second_start, second_size;
  const char* warning;  // empty: no warning
};

class OverlapTest : public ImageTest, public ::testing::WithParamInterface<OverlapCase> {};

TEST_P(OverlapTest, SecondFileWarnsOnceAndKeepsBothFilesData) {
  StartShown();
  SelectChip(0x80, 32, 0, 0);
  const OverlapCase c = GetParam();
  const std::vector<uint8_t> one = RandomBytes(c.first_size, 1);
  const std::vector<uint8_t> two = RandomBytes(c.second_size, 2);
  OpenFirst(Convert(one, c.first_start, "one.hex", "-Intel"));
  OpenMore(Convert(two, c.second_start, "two.hex", "-Intel"));
  EXPECT_EQ(st().File2Loaded, 1);
  EXPECT_EQ(st().File2Start, c.second_start);
  EXPECT_EQ(st().File2End, c.second_start + c.second_size - 1);
  EXPECT_EQ(st().ObjectFileName, "one.hex");
  if (std::string(c.warning).empty()) {
    EXPECT_TRUE(boxes.shown.empty());
  } else {
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, "warning");
    EXPECT_EQ(boxes.shown[0].text, c.warning);
  }
  // The second file's bytes win where the two meet.
  EXPECT_TRUE(std::equal(two.begin(), two.end(), st().MainBuffer.begin() + c.second_start));
}

INSTANTIATE_TEST_SUITE_P(
    Table, OverlapTest,
    ::testing::Values(OverlapCase{"Cross", 0x0000, 0x1000, 0x0800, 0x1000,
                                  "2 Files Address has conflicted,Address Cross eachother,Please Confirm!"},
                      OverlapCase{"CrossFromBelow", 0x0800, 0x1000, 0x0000, 0x1000,
                                  "2 Files Address has conflicted,Address Cross eachother,Please Confirm!"},
                      OverlapCase{"Apart", 0x0000, 0x1000, 0x1000, 0x1000, ""},
                      OverlapCase{"SecondInsideFirst", 0x0000, 0x2000, 0x0400, 0x0100,
                                  "2 Files Address has conflicted,File 1 includes File 2,Please Confirm!"},
                      OverlapCase{"FirstInsideSecond", 0x0400, 0x0100, 0x0000, 0x2000,
                                  "2 Files Address has conflicted,File 2 includes File 1,Please Confirm!"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ImagesTest, NoOverlapTestWhenTheFirstFileWasNeverLoaded) {
  StartShown();
  SelectChip(0x80, 32, 0, 0);
  OpenMore(Convert(RandomBytes(0x100, 3), 0, "two.hex", "-Intel"));
  EXPECT_EQ(st().File2Loaded, 1);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ImagesTest, ChineseEditionWarnsInItsOwnWords) {
  StartShown(&ChineseEdition());
  SelectChip(0x80, 32, 0, 0);
  OpenFirst(Convert(RandomBytes(0x1000, 1), 0, "one.hex", "-Intel"));
  OpenMore(Convert(RandomBytes(0x1000, 2), 0x800, "two.hex", "-Intel"));
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"2个数据文件的地址有冲突，地址有交叉，请确认！"});
}

TEST_F(ImagesTest, UnknownExtensionReadsNothingAndSaysSoInTheLabel) {
  StartShown();
  SelectChip(0x80, 64, 0, 0);
  for (const char* name : {"image.txt", "image.he", "image"}) {
    dir.Write(name, std::string(":0100000055AA\n"));
    OpenFirst(dir.File(name));
    EXPECT_EQ(form().FileLabel->text().toStdString(), "Invalid file format!") << name;
    EXPECT_EQ(st().FileLoaded, 1);
    EXPECT_EQ(st().MainBuffer[0], 0xFF) << name;
    EXPECT_EQ(LinesWith("Current File Adddress Range").back(),
              "> 10:15:02 Current File Adddress Range : 0x00000000~0x0000FFFF.");
  }
  // Only the first three letters of the extension count.
  OpenFirst(Convert(std::vector<uint8_t>{0x42}, 0, "image.hexa", "-Intel"));
  EXPECT_EQ(st().MainBuffer[0], 0x42);
}

TEST_F(ImagesTest, FileThatCannotBeOpenedEndsTheLoadWithTheRuntimesText) {
  StartShown();
  SelectChip(0x80, 64, 0, 0);
  OpenFirst(dir.File("missing.hex"));
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"File not found"});
  EXPECT_TRUE(LinesWith("Current File Adddress Range").empty());
}

TEST_F(ImagesTest, BinaryLargerThanTheImageWithNoChipStopsAtTheImagesEnd) {
  StartShown();
  std::vector<uint8_t> bytes = RandomBytes(0x200000 + 16, 5);
  OpenFirst(dir.Write("big.bin", bytes));
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"地址超出范围！"});
  EXPECT_EQ(st().File1End, 0x200000u);
  EXPECT_TRUE(std::equal(st().MainBuffer.begin(), st().MainBuffer.end(), bytes.begin()));
  // No chip: the chip range is 0..0, one row.
  EXPECT_EQ(Rows(form().HexViewer), 1);
}

struct RowCase {
  uint32_t chip_end;
  int rows;
};

class MainRowsTest : public ImageTest, public ::testing::WithParamInterface<RowCase> {};

TEST_P(MainRowsTest, MainGridRowsFollowTheChipRange) {
  StartShown();
  st().ChipStartAddress = 0;
  st().ChipEndAddress = GetParam().chip_end;
  form().ShowMainBuffer();
  EXPECT_EQ(Rows(form().HexViewer), GetParam().rows);
  // A partial last row still shows sixteen byte cells.
  EXPECT_EQ(Cell(form().HexViewer, GetParam().rows - 1, 16), "FF");
}

INSTANTIATE_TEST_SUITE_P(Table, MainRowsTest,
                         ::testing::Values(RowCase{0x7FFF, 2048}, RowCase{0x0008, 1}, RowCase{0x1FFFFF, 131072},
                                           RowCase{0x3FFFFF, 131072}),
                         [](const auto& info) { return "End" + ::zek::testing::Hex(info.param.chip_end); });

TEST_F(ImagesTest, GridHeadersAndColumnWidths) {
  StartShown();
  for (QTableView* grid : {form().HexViewer, form().EEPView, form().StringGridRdMF, form().StringGridRdEE}) {
    EXPECT_EQ(grid->model()->columnCount(), 18);
    EXPECT_EQ(grid->columnWidth(0), 70);
    EXPECT_EQ(grid->columnWidth(17), 130);
    const char* digits = "0123456789ABCDEF";
    for (int c = 1; c <= 16; ++c)
      EXPECT_EQ(grid->model()->headerData(c, Qt::Horizontal).toString().toStdString(),
                std::string("  ") + digits[c - 1]);
  }
}

TEST_F(ImagesTest, TextColumnShowsOnlyPrintableBytes) {
  StartShown();
  SelectChip(0x80, 1, 0, 0);
  const uint8_t row[16] = {0x7F, 0x80, 0x1F, 0x20, 'A', 0x00, 0xFF, 'z', '~', 0x7E, 0x81, 0x19, '0', '.', ' ', 0x9F};
  std::copy(row, row + 16, st().MainBuffer.begin());
  form().ShowMainBuffer();
  EXPECT_EQ(Cell(form().HexViewer, 0, 17),
            "\x7F..\x20"
            "A..z~~..0. .");
  EXPECT_EQ(Cell(form().HexViewer, 0, 1), "7F");
  EXPECT_EQ(Cell(form().HexViewer, 0, 2), "80");
  EXPECT_EQ(Cell(form().HexViewer, 0, 0), "0x00000000");
}

struct EepRowCase {
  uint8_t class_code;
  uint16_t eep, info;
  int rows;
  const char* first_address;
};

class EepRowsTest : public ImageTest, public ::testing::WithParamInterface<EepRowCase> {};

TEST_P(EepRowsTest, EepGridShowsEepThenInfoFromTheEepStart) {
  StartShown();
  const EepRowCase c = GetParam();
  SelectChip(c.class_code, 64, c.eep, c.info);
  form().ShowEepBuffer();
  EXPECT_EQ(Rows(form().EEPView), c.rows);
  EXPECT_EQ(Cell(form().EEPView, 0, 0), c.first_address);
  EXPECT_EQ(Cell(form().EEPView, 1, 0), Format("0x%0.8x", {st().EepStartAddress + 16}));
}

INSTANTIATE_TEST_SUITE_P(Table, EepRowsTest,
                         ::testing::Values(EepRowCase{0x00, 2048, 256, 144, "0x40000000"},
                                           EepRowCase{0x80, 1024, 0, 64, "0x00000000"}),
                         [](const auto& info) { return "Class" + ::zek::testing::Hex(info.param.class_code); });

TEST_F(ImagesTest, EepViewSumsAndChecksBoxesWhenAnyShownByteHoldsData) {
  StartShown();
  SelectChip(0x00, 64, 1024, 256);
  form().ShowEepBuffer();
  EXPECT_FALSE(form().ChkBoxErsEE->isChecked());
  EXPECT_EQ(LinesWith("Chip EEP Data ACC Sum").back(), "> 10:15:02 Chip EEP Data ACC Sum = 0xFC00");
  // A byte in the info area counts as well.
  st().EepBuffer[1024 + 255] = 0x00;
  form().ShowEepBuffer();
  EXPECT_TRUE(form().ChkBoxErsEE->isChecked());
  EXPECT_TRUE(form().ChkBoxPrgEE->isChecked());
  EXPECT_EQ(st().EepAcc16, 0xFC00);
  EXPECT_EQ(st().EepCrc16, Check16(st().EepBuffer.span(), 0, 1023));
  // An object file loads the EEP view too while its tab is shown.
  ShowEepTab();
  OpenFirst(Convert(std::vector<uint8_t>{1, 2, 3}, 0, "flash.hex", "-Intel"));
  EXPECT_FALSE(form().ChkBoxErsEE->isChecked());
}

TEST_F(ImagesTest, ReadBackViewsShowTheirTabsSumsAndGrids) {
  StartShown();
  SelectChip(0x00, 4, 512, 0);
  std::fill(st().ReadMainBuffer.begin(), st().ReadMainBuffer.begin() + 4096, 0x01);
  std::fill(st().ReadEepBuffer.begin(), st().ReadEepBuffer.begin() + 512, 0x02);
  st().Views.ReadBack->ShowReadMainData();
  EXPECT_EQ(form().ViewPageCtrl->currentWidget(), form().TabSheetRdMF);
  EXPECT_EQ(st().MainAcc32, 4096);
  EXPECT_EQ(LinesWith("Read Current Chip Data ACC").back(),
            "> 10:15:02 Read Current Chip Data ACC CheckSum = 0x00001000(0x1000).");
  EXPECT_EQ(LinesWith("Read Current Chip Data CRC").back(),
            Format("> 10:15:02 Read Current Chip Data CRC CheckSum = 0x%0.4x.",
                   {Check16(st().ReadMainBuffer.span(), 0, 4095)}));
  EXPECT_EQ(Rows(form().StringGridRdMF), 256);
  EXPECT_EQ(Cell(form().StringGridRdMF, 255, 16), "01");

  st().Views.ReadBack->ShowReadEepData();
  EXPECT_EQ(form().ViewPageCtrl->currentWidget(), form().TabSheetRdEEP);
  EXPECT_TRUE(form().ViewPageCtrl->isTabVisible(form().ViewPageCtrl->indexOf(form().TabSheetRdMF)));
  EXPECT_EQ(LinesWith("Read Chip EEP Data ACC Sum").back(), "> 10:15:02 Read Chip EEP Data ACC Sum = 0x00000400");
  EXPECT_EQ(Rows(form().StringGridRdEE), 32);
  EXPECT_EQ(Cell(form().StringGridRdEE, 0, 0), "0x40000000");
  EXPECT_EQ(Cell(form().StringGridRdEE, 31, 16), "02");
}

// The grids read the images themselves and tell their views of changes.
TEST_F(ImagesTest, GridsReadTheImageAndSignalEveryChange) {
  StartShown();
  SelectChip(0x00, 64, 1024, 0);
  QAbstractItemModel* main = form().HexViewer->model();
  QAbstractItemModel* eep = form().EEPView->model();
  int resets = 0;
  std::vector<std::pair<QModelIndex, QModelIndex>> changes;
  QObject::connect(main, &QAbstractItemModel::modelReset, [&] { ++resets; });
  QObject::connect(main, &QAbstractItemModel::dataChanged,
                   [&](const QModelIndex& a, const QModelIndex& b) { changes.emplace_back(a, b); });
  form().ShowMainBuffer();
  EXPECT_EQ(resets, 1);
  // No copy: a byte changed in the image shows at once.
  st().MainBuffer[0x1234] = 0x5C;
  EXPECT_EQ(Cell(form().HexViewer, 0x123, 5), "5C");
  EXPECT_EQ(Cell(form().HexViewer, 0x123, 17).substr(4, 1), "\\");
  // Sums recomputed after an in-place change repaint the whole grid.
  changes.clear();
  form().UpdateMainChecksums(0, 0xFFFF);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].first.row(), 0);
  EXPECT_EQ(changes[0].second.row(), 4095);

  int eep_changes = 0;
  QObject::connect(eep, &QAbstractItemModel::dataChanged, [&] { ++eep_changes; });
  form().ShowEepBuffer();
  form().EEPViewSelectCell(2, 1);
  form().EditEEP->setText("7");
  form().BitBtn2->click();
  EXPECT_EQ(eep_changes, 1);
  EXPECT_EQ(Cell(form().EEPView, 0, 2), "7");
  EXPECT_EQ(st().EepBuffer[1], 0x07);
}

// The EEP grid through real mouse events on its cells.
class EepEditorTest : public ImageTest {
 protected:
  void SetUp() override {
    StartShown();
    SelectChip(0x00, 64, 1024, 0);
    ShowEepTab();
    form().ShowEepBuffer();
    QApplication::processEvents();
  }

  void Mouse(QEvent::Type type, int row, int column) {
    QTableView* grid = form().EEPView;
    const QPoint at = grid->visualRect(grid->model()->index(row, column)).center();
    QMouseEvent event(type, at, grid->viewport()->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &event);
  }

  void DoubleClick(int row, int column) {
    Mouse(QEvent::MouseButtonPress, row, column);
    Mouse(QEvent::MouseButtonRelease, row, column);
    Mouse(QEvent::MouseButtonDblClick, row, column);
    Mouse(QEvent::MouseButtonRelease, row, column);
  }

  void Type(const char* text) {
    form().EditEEP->setText(text);
    form().BitBtn2->click();
  }
};

TEST_F(EepEditorTest, OpensOnlyOnByteCells) {
  struct Case {
    int row, column;
    bool opens;
  };
  for (const Case c : {Case{0, 0, false}, Case{3, 17, false}, Case{0, 1, true}, Case{5, 16, true}}) {
    form().PanelEdit->hide();
    DoubleClick(c.row, c.column);
    EXPECT_EQ(form().PanelEdit->isVisible(), c.opens) << c.row << "," << c.column;
  }
  // The header row is row 0 of the grid: never a byte cell.
  form().PanelEdit->hide();
  form().EEPViewSelectCell(4, 0);
  form().EEPViewDblClick();
  EXPECT_FALSE(form().PanelEdit->isVisible());
}

TEST_F(EepEditorTest, MouseDownShowsItsPositionAndPlacesTheEditorThere) {
  Mouse(QEvent::MouseButtonPress, 2, 3);
  Mouse(QEvent::MouseButtonRelease, 2, 3);
  QTableView* grid = form().EEPView;
  const QPoint in_grid = grid->viewport()->mapTo(grid, grid->visualRect(grid->model()->index(2, 3)).center());
  EXPECT_EQ(form().Status().PanelText(2), Format("X=%d,Y=%d.", {in_grid.x(), in_grid.y()}));
  form().FillCurrent1->trigger();
  EXPECT_TRUE(form().PanelEdit->isVisible());
  EXPECT_EQ(form().PanelEdit->pos(), grid->mapTo(form().TabSheetEep, in_grid));
  EXPECT_TRUE(form().EditEEP->hasFocus() || !QApplication::focusWindow());
}

TEST_F(EepEditorTest, TypedByteIsStoredAndShownAsTyped) {
  DoubleClick(2, 4);
  ASSERT_TRUE(form().PanelEdit->isVisible());
  Type("a5");
  EXPECT_FALSE(form().PanelEdit->isVisible());
  EXPECT_EQ(st().EepBuffer[2 * 16 + 3], 0xA5);
  EXPECT_EQ(st().EepEdited, 1);
  EXPECT_EQ(Cell(form().EEPView, 2, 4), "a5");
  EXPECT_EQ(Cell(form().EEPView, 2, 5), "FF");
  // The boxes wait for the next command; the sums follow at once.
  EXPECT_FALSE(form().ChkBoxPrgEE->isChecked());
  EXPECT_EQ(st().EepAcc16, static_cast<uint16_t>(0xFF * 1023 + 0xA5));
}

TEST_F(EepEditorTest, EmptyTextStoresNothingAndCancelHides) {
  DoubleClick(1, 1);
  Type("");
  EXPECT_FALSE(form().PanelEdit->isVisible());
  EXPECT_EQ(st().EepEdited, 0);
  DoubleClick(1, 1);
  form().EditEEP->setText("12");
  form().BitBtn3->click();
  EXPECT_FALSE(form().PanelEdit->isVisible());
  EXPECT_EQ(st().EepBuffer[16], 0xFF);
}

TEST_F(EepEditorTest, TextThatIsNoHexNumberShowsTheConversionError) {
  DoubleClick(1, 1);
  Type("zz");
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"'0xzz' is not a valid integer value"});
  EXPECT_EQ(st().EepBuffer[16], 0xFF);
  EXPECT_EQ(st().EepEdited, 1);
  EXPECT_FALSE(form().PanelEdit->isVisible());
}

TEST_F(EepEditorTest, SelectionMovedOffTheBytesStoresNothing) {
  DoubleClick(1, 1);
  Mouse(QEvent::MouseButtonPress, 1, 0);  // the address cell of the row
  Type("55");
  for (size_t i = 0; i < 64; ++i) ASSERT_EQ(st().EepBuffer[i], 0xFF) << i;
}

}  // namespace
}  // namespace zek::testing
