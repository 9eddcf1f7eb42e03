#pragma once
// The edition's user-interface texts. One code serves both editions; each
// executable links exactly one table (English or Simplified Chinese), and
// windows and logic take their differing texts from it. Texts are UTF-8.

#include <string>
#include <string_view>

namespace zek {

enum class Tx : int {
#define X(kind, id, en, zh) id,
#include "station/window/edition_text_list.inc"
#undef X
  Count
};

enum class TxKind { Main, Settings, Text };

struct EditionTexts {
  const char* Edition;  // "en" or "zh"
  const char* const* Table;  // indexed by Tx

  const char* operator[](Tx id) const { return Table[static_cast<int>(id)]; }
  std::string S(Tx id) const { return Table[static_cast<int>(id)]; }
};

// Row facts shared by both tables: kind and identifier (the control's
// object name for captions).
TxKind KindOf(Tx id);
std::string_view NameOf(Tx id);

// Defined in the edition libraries; an executable links one of them.
const EditionTexts& EnglishEdition();
const EditionTexts& ChineseEdition();

}  // namespace zek
