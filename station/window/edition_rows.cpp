#include "station/window/edition_texts.h"

#include <iterator>

namespace zek {
namespace {

constexpr TxKind kKinds[] = {
#define X(kind, id, en, zh) TxKind::kind,
#include "station/window/edition_text_list.inc"
#undef X
};

constexpr std::string_view kNames[] = {
#define X(kind, id, en, zh) #id,
#include "station/window/edition_text_list.inc"
#undef X
};

static_assert(std::size(kKinds) == static_cast<size_t>(Tx::Count));

}  // namespace

TxKind KindOf(Tx id) { return kKinds[static_cast<int>(id)]; }
std::string_view NameOf(Tx id) { return kNames[static_cast<int>(id)]; }

}  // namespace zek
