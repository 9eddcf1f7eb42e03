#pragma once
// Drives the chip dialog as the operator does: clicks parts by name (the
// series first, then the part), then OK or Cancel.

#include <QListWidget>
#include <QPushButton>
#include <algorithm>
#include <string>
#include <vector>

#include "station/data/chip_table.h"
#include "station/window/chip_select_form.h"
#include "tests/window/window_fixture.h"

namespace zek::testing {

inline void ClickPart(TChipSelectForm& form, const std::string& name) {
  for (int series = 0; series < kChipSeriesCount; ++series) {
    const auto parts = ChipSeriesParts[series];
    const auto it = std::find(parts.begin(), parts.end(), name);
    if (it == parts.end()) continue;
    form.ListBoxSeries->setCurrentRow(series);
    form.ListBoxChips->setCurrentRow(static_cast<int>(it - parts.begin()));
    return;
  }
  ADD_FAILURE() << "no part " << name;
}

enum class Close { Ok, Cancel };

// The next showing of the chip dialog clicks `names` in turn and closes.
inline void ScriptChipDialog(ScriptedDialogs& dialogs, std::vector<std::string> names, Close close) {
  dialogs.script = [names, close](QDialog& dialog) {
    auto& form = dynamic_cast<TChipSelectForm&>(dialog);
    for (const std::string& name : names) ClickPart(form, name);
    (close == Close::Ok ? form.BitBtnOK : form.BitBtnCancel)->click();
  };
}

}  // namespace zek::testing
