#include "station/window/edition_texts.h"

#include <iterator>

namespace zek {
namespace {

constexpr const char* kEnglish[] = {
#define X(kind, id, en, zh) en,
#include "station/window/edition_text_list.inc"
#undef X
};
static_assert(std::size(kEnglish) == static_cast<size_t>(Tx::Count));

}  // namespace

const EditionTexts& EnglishEdition() {
  static const EditionTexts texts{"en", kEnglish};
  return texts;
}

}  // namespace zek
