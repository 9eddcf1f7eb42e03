#pragma once
// The open and save dialogs of the image menus, as the form stores them.

#include "station/window/window_services.h"

namespace zek {

// OpenDialog1: object files, and raw EEP data files.
inline FileDialogSpec ObjectOpenDialog() {
  FileDialogSpec spec;
  spec.Filter =
      "All Files (*.*)|*.*|All Binary Files (*.Bin)|*.Bin|All Intel Hex Files (*.Hex)|*.Hex|All Motorola Hex "
      "Files(*.S19,*.Sxx)|*.S19;*.Sx|All Hex/Binary Files (*.Hex,*.S1*,*.Bin)|*.Hex;*.S1*;*.Bin";
  spec.DefaultExt = "*.Hex;*.S1*;*.Bin";
  spec.FilterIndex = 5;
  return spec;
}

// SaveDialog1: filter 1 is raw bytes, 2 a text dump.
inline FileDialogSpec BufferSaveDialog() {
  FileDialogSpec spec;
  spec.Filter = "All Binary Files(*.BIN)|*.BIN|All Text Files(*.TXT)|*.TXT";
  spec.DefaultExt = "*.bin";
  spec.FilterIndex = 1;
  return spec;
}

}  // namespace zek
