// Object images: loading, sums and the four hex grids.

#include <QCheckBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QTabWidget>
#include <QTableView>
#include <algorithm>

#include "station/data/buffer_views.h"
#include "station/data/byte_sums.h"
#include "station/data/file_overlap.h"
#include "station/data/format.h"
#include "station/data/image_sums.h"
#include "station/data/info_lines.h"
#include "station/data/object_file_binary.h"
#include "station/data/object_file_hex.h"
#include "station/data/object_file_s19.h"
#include "station/window/hex_grid_delegate.h"
#include "station/window/hex_grid_model.h"
#include "station/window/image_file_dialogs.h"
#include "station/window/main_form.h"

namespace zek {
namespace {

constexpr char kDots[] = "...........................................";
constexpr int kAddressColumnWidth = 70;
constexpr int kTextColumnWidth = 130;
constexpr int kByteColumnWidth = 42;

// The extension's first three letters after the dot, upper case; empty
// when the name has no extension that long.
std::string ExtensionKind(const std::string& path) {
  const QString name = QFileInfo(QString::fromStdString(path)).fileName();
  const qsizetype dot = name.lastIndexOf('.');
  if (dot < 0 || name.size() - dot < 4) return {};
  return name.mid(dot + 1, 3).toUpper().toStdString();
}

// The fixed-pitch font at the largest size whose address text fits the
// 70-pixel address column.
QFont GridFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  for (int pixels = 13; pixels > 8; --pixels) {
    font.setPixelSize(pixels);
    if (QFontMetrics(font).horizontalAdvance("0x00000000") + 8 <= kAddressColumnWidth) break;
  }
  return font;
}

void ShowTab(QTabWidget* tabs, QWidget* page) {
  tabs->setTabVisible(tabs->indexOf(page), true);
  tabs->setCurrentWidget(page);
}

// Sums over the first `count` bytes; nothing at all when count is 0.
uint32_t SumOfFirst(std::span<const uint8_t> buffer, uint32_t count) {
  return count == 0 ? 0 : SumBytes(buffer, 0, count - 1);
}

}  // namespace

void TProgramZEKFrm::MakeHexGrids() {
  if (main_grid_ != nullptr) return;
  main_grid_ = new HexGridModel(st_.MainBuffer.span(), this);
  eep_grid_ = new HexGridModel(st_.EepBuffer.span(), this);
  read_main_grid_ = new HexGridModel(st_.ReadMainBuffer.span(), this);
  read_eep_grid_ = new HexGridModel(st_.ReadEepBuffer.span(), this);
  HexViewer->setModel(main_grid_);
  EEPView->setModel(eep_grid_);
  StringGridRdMF->setModel(read_main_grid_);
  StringGridRdEE->setModel(read_eep_grid_);
  BindEepEditor();
}

HexGridModel& TProgramZEKFrm::MainGrid() {
  MakeHexGrids();
  return *main_grid_;
}

HexGridModel& TProgramZEKFrm::EepGrid() {
  MakeHexGrids();
  return *eep_grid_;
}

HexGridModel& TProgramZEKFrm::ReadMainGrid() {
  MakeHexGrids();
  return *read_main_grid_;
}

HexGridModel& TProgramZEKFrm::ReadEepGrid() {
  MakeHexGrids();
  return *read_eep_grid_;
}

void TProgramZEKFrm::SetUpHexGrids() {
  MakeHexGrids();
  const QFont font = GridFont();
  for (QTableView* grid : {HexViewer, EEPView, StringGridRdMF, StringGridRdEE}) {
    grid->setFont(font);
    grid->setTextElideMode(Qt::ElideNone);
    grid->setWordWrap(false);
    grid->setItemDelegate(new HexGridDelegate(grid));
    QHeaderView* header = grid->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setHighlightSections(false);
    header->setMinimumSectionSize(24);
    header->setDefaultSectionSize(kByteColumnWidth);
    grid->setColumnWidth(0, kAddressColumnWidth);
    grid->setColumnWidth(HexGridModel::kTextColumn, kTextColumnWidth);
  }
}

bool TProgramZEKFrm::EepTabVisible() const { return ViewPageCtrl->isTabVisible(ViewPageCtrl->indexOf(TabSheetEep)); }

void TProgramZEKFrm::FileOpenBtnClick() {
  const auto answer = files_->Open(ObjectOpenDialog());
  if (!answer) return;
  const std::string& path = answer->Path;
  AddPlainLine(st_, "");
  st_.File1Loaded = 1;
  st_.File2Loaded = 0;
  st_.EepEdited = 0;
  st_.ObjectFileName = QFileInfo(QString::fromStdString(path)).fileName().toStdString();
  st_.Views.StatusBar->SetPanelText(2, path);
  AddInfoLine(Format("Load object file of \"%s\".", {path}));
  std::fill(st_.MainBuffer.begin(), st_.MainBuffer.end(), 0xFF);
  std::fill(st_.EepBuffer.begin(), st_.EepBuffer.end(), 0xFF);
  // The grids show the erased images even when the file cannot be read.
  MainGrid().BufferChanged();
  EepGrid().BufferChanged();
  LoadObjectFile(path, st_.File1Start, st_.File1End);
}

void TProgramZEKFrm::SpdBtnOpenMorClick() {
  const auto answer = files_->Open(ObjectOpenDialog());
  if (!answer) return;
  const std::string& path = answer->Path;
  st_.File2Loaded = 1;
  AddPlainLine(st_, "");
  AddInfoLine(Format("Load object file of \"%s\".", {path}));
  LoadObjectFile(path, st_.File2Start, st_.File2End);
  if (st_.File1Loaded != 1) return;
  switch (ClassifyFileOverlap(st_.File1Start, st_.File1End, st_.File2Start, st_.File2End)) {
    case FileOverlap::File1HoldsFile2:
      st_.Views.Boxes->Warning(tx_.S(Tx::OverlapFile1HoldsFile2));
      break;
    case FileOverlap::File2HoldsFile1:
      st_.Views.Boxes->Warning(tx_.S(Tx::OverlapFile2HoldsFile1));
      break;
    case FileOverlap::Cross:
      st_.Views.Boxes->Warning(tx_.S(Tx::OverlapCross));
      break;
    case FileOverlap::None:
      break;
  }
}

bool TProgramZEKFrm::LoadObjectFile(const std::string& path, uint32_t& start, uint32_t& end) {
  start = 0;
  st_.FileAcc32 = 0;
  st_.ParsedByteSum = 0;
  end = st_.FlashEndAddress;
  st_.FileLoaded = 1;
  const std::string kind = ExtensionKind(path);
  uint32_t sum = 0;
  bool known = true;
  if (kind == "HEX") {
    ReadHexFile(st_, path, start, end, sum);
  } else if (kind == "S19") {
    ReadS19File(st_, path, start, end, sum);
  } else if (kind == "BIN") {
    // With no chip the flash end is 0, which lifts the limit: the image's
    // own size then bounds the read, with the same box as the limit.
    ReadBinaryFileSum(st_, path, st_.MainBuffer.span(), end, sum);
  } else {
    FileLabel->setStyleSheet("color: red");
    FileLabel->setText("Invalid file format!");
    known = false;
  }
  st_.FileAcc32 = static_cast<int32_t>(sum);
  AddInfoLine(Format("Current File Adddress Range : 0x%0.8x~0x%0.8x.", {start, end}));
  AddInfoLine(Format("Current File ACC32 Sum : 0x%0.8x.", {st_.FileAcc32}));
  AddPlainLine(st_, "");
  ShowMainBuffer();
  // With the EEP tab hidden the sums must still be the image's own, or a
  // previous chip's would travel with this one.
  if (EepTabVisible())
    ShowEepBuffer();
  else
    RefreshEepSums(st_);
  return known;
}

void TProgramZEKFrm::ShowMainBuffer() {
  if (st_.ChipSelected) {
    AddPlainLine(st_, kDots);
    AddInfoLine(Format("Chip Start Address = 0x%0.6x.", {st_.ChipStartAddress}));
    AddInfoLine(Format("Chip End Address   = 0x%0.6x.", {st_.ChipEndAddress}));
    AddPlainLine(st_, kDots);
  }
  UpdateMainChecksums(st_.ChipStartAddress, st_.ChipEndAddress);
  FillHexViewer(st_.ChipStartAddress, st_.ChipEndAddress);
}

void TProgramZEKFrm::UpdateMainChecksums(uint32_t start, uint32_t end) {
  const auto image = st_.MainBuffer.span();
  const uint32_t sum = SumBytes(image, start, end);
  st_.MainCrc16 = Check16(image, start, end);
  st_.MainAcc16 = static_cast<uint16_t>(sum);
  st_.MainAcc32 = static_cast<int32_t>(sum);
  st_.Views.StatusBar->SetPanelText(0, Format("Acc Sum:0x%0.8x", {st_.MainAcc16}));
  st_.Views.StatusBar->SetPanelText(1, Format("CRC Sum:0x%0.4x", {st_.MainCrc16}));
  AddInfoLine(Format("Chip Main Flash Data ACC CheckSum = 0x%0.8x(0x%0.4x)", {sum, st_.MainAcc16}));
  AddInfoLine(Format("Chip Main Flash Data CRC CheckSum = 0x%0.4x", {st_.MainCrc16}));
  AddPlainLine(st_, kDots);
  // Callers may have changed the image in place (edited EEP bytes copied in).
  MainGrid().BufferChanged();
}

void TProgramZEKFrm::FillHexViewer(uint32_t start, uint32_t end) {
  MainGrid().Show(start, start, MainGridRows(start, end, kMainBufferSize));
}

void TProgramZEKFrm::ShowEepBuffer() {
  const auto eep = st_.EepBuffer.span();
  RefreshEepSums(st_);
  AddInfoLine(Format("Chip EEP Data ACC Sum = 0x%0.4x", {st_.EepAcc16}));
  const uint32_t rows = EepGridRows(st_.EepSize, st_.InfoSize, kEepBufferSize);
  EepGrid().Show(st_.EepStartAddress, 0, rows);
  const bool data = HoldsNonErased(eep, 0, uint64_t{rows} * kGridRowBytes);
  ChkBoxErsEE->setChecked(data);
  ChkBoxPrgEE->setChecked(data);
}

void TProgramZEKFrm::ShowReadMainData() {
  ShowTab(ViewPageCtrl, TabSheetRdMF);
  AddPlainLine(st_, kDots);
  const auto image = st_.ReadMainBuffer.span();
  const uint32_t sum = SumBytes(image, st_.ChipStartAddress, st_.ChipEndAddress);
  const uint16_t check = Check16(image, st_.ChipStartAddress, st_.ChipEndAddress);
  st_.MainAcc32 = static_cast<int32_t>(sum);
  AddInfoLine(Format("Read Current Chip Data ACC CheckSum = 0x%0.8x(0x%0.4x).", {sum, sum & 0xFFFF}));
  AddInfoLine(Format("Read Current Chip Data CRC CheckSum = 0x%0.4x.", {check}));
  AddPlainLine(st_, kDots);
  ReadMainGrid().Show(st_.ChipStartAddress, st_.ChipStartAddress,
                      MainGridRows(st_.ChipStartAddress, st_.ChipEndAddress, kMainBufferSize));
}

void TProgramZEKFrm::ShowReadEepData() {
  ShowTab(ViewPageCtrl, TabSheetRdEEP);
  AddInfoLine(Format("Read Chip EEP Data ACC Sum = 0x%0.8x", {SumOfFirst(st_.ReadEepBuffer.span(), st_.EepSize)}));
  ReadEepGrid().Show(st_.EepStartAddress, 0, EepGridRows(st_.EepSize, st_.InfoSize, kEepBufferSize));
}

}  // namespace zek
