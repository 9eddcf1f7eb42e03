// Saving buffers and EEP data files.

#include <QCheckBox>
#include <algorithm>

#include "station/data/buffer_views.h"
#include "station/data/format.h"
#include "station/data/info_lines.h"
#include "station/data/object_file_binary.h"
#include "station/data/raw_file.h"
#include "station/link/hex_dump.h"
#include "station/window/image_file_dialogs.h"
#include "station/window/main_form.h"

namespace zek {
namespace {

// Filter 1 writes raw bytes, any other a text dump; both from offset 0.
void WriteMainImage(const FileDialogAnswer& answer, std::span<const uint8_t> image, uint32_t end) {
  if (answer.FilterIndex == 1) {
    WriteBinaryFile(answer.Path, image, 0, end);
  } else {
    WriteHexDump(answer.Path, image, end);
  }
}

// The EEP area only, as raw bytes whatever filter was chosen.
void WriteEepArea(const std::string& path, std::span<const uint8_t> eep, uint16_t eep_size) {
  if (eep_size == 0) {
    WriteBinaryFile(path, eep, 1, 0);  // an empty file
  } else {
    WriteBinaryFile(path, eep, 0, eep_size - 1u);
  }
}

}  // namespace

void TProgramZEKFrm::FileSaveBtnClick() {
  if (st_.FileLoaded == 0) {
    st_.Views.Boxes->Plain("No data to be saved!");
    return;
  }
  // Without a chip there is no chip range to save (nor EEP area, in the
  // saves below).
  if (!ChipGuard()) return;
  const auto answer = files_->Save(BufferSaveDialog());
  if (!answer) {
    st_.Views.Boxes->Plain("No data to be saved!");
    return;
  }
  WriteMainImage(*answer, st_.MainBuffer.span(), st_.ChipEndAddress);
  st_.Views.Boxes->Plain(Format("Mian Buffer data has been saved to file of \"%s\".", {answer->Path}));
}

void TProgramZEKFrm::SaveReadOutData1Click() {
  if (!ChipGuard()) return;
  const auto answer = files_->Save(BufferSaveDialog());
  if (!answer) {
    st_.Views.Boxes->Plain("No data to be saved!");
    return;
  }
  WriteMainImage(*answer, st_.ReadMainBuffer.span(), st_.ChipEndAddress);
  st_.Views.Boxes->Plain(Format("Read out Main Data has been saved to file of \"%s\".", {answer->Path}));
}

void TProgramZEKFrm::SaveEepData1Click() {
  if (!ChipGuard()) return;
  const auto answer = files_->Save(BufferSaveDialog());
  if (!answer) return;
  WriteEepArea(answer->Path, st_.EepBuffer.span(), st_.EepSize);
  st_.Views.Boxes->Plain(Format("EEP dtat has been saved to file of \"%s\"!", {answer->Path}));
}

void TProgramZEKFrm::SaveReadOutEEP1Click() {
  if (!ChipGuard()) return;
  const auto answer = files_->Save(BufferSaveDialog());
  if (!answer) return;
  WriteEepArea(answer->Path, st_.ReadEepBuffer.span(), st_.EepSize);
  st_.Views.Boxes->Plain(Format("Read EEP dtat has been saved to file of \"%s\"!", {answer->Path}));
}

void TProgramZEKFrm::LoadEepData1Click() {
  if (!IdleGuard()) return;
  const auto answer = files_->Open(ObjectOpenDialog());
  if (!answer) return;
  AddInfoLine(Format("Load EEP Data file of \"%s\" at ", {answer->Path}) + st_.TimeSource->ShortDate() + "," +
              st_.TimeSource->LongTime());
  const uint32_t areas = uint32_t{st_.EepSize} + st_.InfoSize;
  auto eep = st_.EepBuffer.span();
  const RawFileRead read = ReadRawFile(answer->Path, eep.first(std::min<size_t>(areas, eep.size())));
  if (read.Longer) st_.Views.Boxes->Plain("File is out of buffer!!!");
  ShowEepBuffer();
  const bool eep_data = HoldsNonErased(eep, 0, st_.EepSize);
  ChkBoxErsEE->setChecked(eep_data);
  ChkBoxPrgEE->setChecked(eep_data);
  const bool info_data = HoldsNonErased(eep, st_.EepSize, st_.InfoSize);
  ChkBoxErsInf->setChecked(info_data);
  ChkBoxPrgInf->setChecked(info_data);
}

}  // namespace zek
