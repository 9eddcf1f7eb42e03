#pragma once
// A started main window, shown offscreen, with helpers to select a chip
// directly, answer the file dialogs and read the grids' cells.

#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "station/data/chip_memory_map.h"
#include "station/window/hex_grid_model.h"
#include "tests/window/window_fixture.h"

namespace zek::testing {

class ImageTest : public WindowTest {
 protected:
  // The real start-up: the window's first show runs its show handler.
  void StartShown(const EditionTexts* texts = nullptr) {
    Create({}, texts);
    form().show();
    form().Memo().Flush();
    boxes.shown.clear();
  }

  // What the chip dialog leaves behind, without the dialog.
  void SelectChip(uint8_t class_code, uint16_t flash_kb, uint16_t eep_size, uint16_t info_size) {
    st().ChipClassCode = class_code;
    st().ChipFlashSizeKB = flash_kb;
    st().EepSize = eep_size;
    st().InfoSize = info_size;
    SetMemoryMap(st());
    st().ChipSelected = 1;
  }

  void ShowEepTab() {
    QTabWidget* tabs = form().ViewPageCtrl;
    tabs->setTabVisible(tabs->indexOf(form().TabSheetEep), true);
    tabs->setCurrentWidget(form().TabSheetEep);
  }

  void OpenFirst(const std::string& path) {
    files.Answer(path);
    form().SpdBtnOpen->click();
  }
  void OpenMore(const std::string& path) {
    files.Answer(path);
    form().SpdBtnOpenMor->click();
  }

  static std::string Cell(QTableView* grid, int row, int column) {
    return grid->model()->data(grid->model()->index(row, column)).toString().toStdString();
  }
  static int Rows(QTableView* grid) { return grid->model()->rowCount(); }

  std::vector<std::string> LinesWith(const std::string& part) {
    std::vector<std::string> found;
    for (const std::string& line : MemoLines())
      if (line.find(part) != std::string::npos) found.push_back(line);
    return found;
  }

  static std::vector<uint8_t> RandomBytes(size_t n, unsigned seed) {
    std::mt19937 gen(seed);
    std::vector<uint8_t> bytes(n);
    for (auto& b : bytes) b = static_cast<uint8_t>(gen());
    return bytes;
  }

  // srec_cat turns a binary placed at `offset` into the given output form.
  std::string Convert(const std::vector<uint8_t>& bytes, uint32_t offset, const std::string& name,
                      const std::string& form_options) {
    const std::string bin = dir.Write(name + ".src", bytes);
    const std::string out = dir.File(name);
    const std::string command = "srec_cat " + bin + " -binary -offset " + std::to_string(offset) + " -o " + out + " " +
                                form_options + " >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return out;
  }
};

}  // namespace zek::testing
