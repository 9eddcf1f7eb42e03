#include "station/window/edition_texts.h"

#include <iterator>

namespace zek {
namespace {

constexpr const char* kChinese[] = {
#define X(kind, id, en, zh) zh,
#include "station/window/edition_text_list.inc"
#undef X
};
static_assert(std::size(kChinese) == static_cast<size_t>(Tx::Count));

}  // namespace

const EditionTexts& ChineseEdition() {
  static const EditionTexts texts{"zh", kChinese};
  return texts;
}

}  // namespace zek
