#include "tools/unit-sim/unit_faults.h"

#include <charconv>

namespace zek::sim {
namespace {

bool Matches(const Fault& f, const Command& c) {
  if (f.step != Step::Any && f.step != c.step) return false;
  return f.block < 0 || f.block == c.block;
}

// Decimal, or hexadecimal after "0x".
std::optional<long> ParseNumber(std::string_view s) {
  int base = 10;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    s.remove_prefix(2);
    base = 16;
  }
  long v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
  if (ec != std::errc() || end != s.data() + s.size() || s.empty()) return std::nullopt;
  return v;
}

bool NeedsValue(FaultKind k) { return k == FaultKind::Status || k == FaultKind::Garbage || k == FaultKind::Late; }

long ValueLimit(FaultKind k) {
  if (k == FaultKind::Status) return 0xFF;
  return k == FaultKind::Late ? 60000 : 0x4000;
}

}  // namespace

const Fault* FaultTable::Find(FaultKind kind, const Command& c) const {
  for (const Fault& f : faults_) {
    if (f.kind == kind && Matches(f, c)) return &f;
  }
  return nullptr;
}

const Fault* FaultTable::FindNamed(FaultKind kind, Step step) const {
  for (const Fault& f : faults_) {
    if (f.kind == kind && f.step == step) return &f;
  }
  return nullptr;
}

std::optional<Fault> ParseFault(FaultKind kind, std::string_view text, std::string& error) {
  Fault f;
  f.kind = kind;
  std::string_view rest = text;
  if (auto colon = rest.find(':'); colon != std::string_view::npos) {
    auto unit = ParseNumber(rest.substr(0, colon));
    if (!unit || *unit < 1 || *unit > 255) {
      error = "bad unit number in '" + std::string(text) + "'";
      return std::nullopt;
    }
    f.unit = static_cast<int>(*unit);
    rest.remove_prefix(colon + 1);
  }
  std::string_view value;
  if (auto eq = rest.find('='); eq != std::string_view::npos) {
    value = rest.substr(eq + 1);
    rest = rest.substr(0, eq);
    if (!NeedsValue(kind)) {
      error = "no value is taken in '" + std::string(text) + "'";
      return std::nullopt;
    }
  } else if (NeedsValue(kind)) {
    error = "a value (=N) is needed in '" + std::string(text) + "'";
    return std::nullopt;
  }
  if (auto at = rest.find('@'); at != std::string_view::npos) {
    auto block = ParseNumber(rest.substr(at + 1));
    if (!block || *block < 0 || *block > 0xFFFF) {
      error = "bad block index in '" + std::string(text) + "'";
      return std::nullopt;
    }
    f.block = static_cast<int>(*block);
    rest = rest.substr(0, at);
  }
  auto step = StepFromName(rest);
  if (!step) {
    error = "unknown step '" + std::string(rest) + "'";
    return std::nullopt;
  }
  f.step = *step;
  if (NeedsValue(kind)) {
    auto v = ParseNumber(value);
    if (!v || *v < 0 || *v > ValueLimit(kind)) {
      error = "bad value in '" + std::string(text) + "'";
      return std::nullopt;
    }
    f.value = static_cast<uint16_t>(*v);
  }
  return f;
}

}  // namespace zek::sim
