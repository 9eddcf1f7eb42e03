#include "tools/unit-sim/sim_options.h"

#include <charconv>
#include <string_view>

namespace zek::sim {
namespace {

constexpr int kMaxUnits = 32;

bool ToInt(std::string_view s, long lo, long hi, long& v) {
  int base = 10;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    s.remove_prefix(2);
    base = 16;
  }
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
  return !s.empty() && ec == std::errc() && end == s.data() + s.size() && v >= lo && v <= hi;
}

struct FaultOption {
  std::string_view flag;
  FaultKind kind;
};

constexpr FaultOption kFaultOptions[] = {
    {"--fail", FaultKind::Status},     {"--bad-check", FaultKind::BadCheck}, {"--silent", FaultKind::Silence},
    {"--garbage", FaultKind::Garbage}, {"--hangup", FaultKind::HangUp},       {"--late", FaultKind::Late},
};

// "K" or "K=STATUS" of --ng-every.
bool ParseNgEvery(std::string_view v, SimOptions& o) {
  long every = 0, status = o.ng_status;
  auto eq = v.find('=');
  if (!ToInt(v.substr(0, eq), 1, 1000000, every)) return false;
  if (eq != std::string_view::npos && !ToInt(v.substr(eq + 1), 0, 255, status)) return false;
  o.ng_every = static_cast<int>(every);
  o.ng_status = static_cast<uint8_t>(status);
  return true;
}

}  // namespace

std::string SimUsage() {
  return "usage: dorvik410-sim [options] [NAME...]\n"
         "Serves simulated Dorvik410 units over pseudo-terminals; each unit's\n"
         "link DIR/NAME points at its terminal (names default to COM1..COMn).\n"
         "  -n, --units N          number of units (1-32; default: the names given, else 1)\n"
         "  --dir DIR              folder for the links (default $ZEK_COM_DIR)\n"
         "  --unpaced              answer at once instead of at 1,000,000 baud\n"
         "  --identity TEXT        identity text (default \"DorvikLumqo-ZEK V2.05, Dorvik410\")\n"
         "  --upgradable           identity mode byte 0x35 (takes a firmware upgrade)\n"
         "  --ok-status 0|6        status of a plain success (default 6)\n"
         "  --used-chips           chips of stand-alone runs arrive unerased\n"
         "  --runs N               stand-alone runs per unit once reset into off-line mode\n"
         "  --dump DIR             at stop, write DIR/NAME.download (a complete download's main image)\n"
         "                         and DIR/NAME.received (every byte the station sent)\n"
         "                         and DIR/NAME.chip (as many bytes of the chip's flash)\n"
         "  --run-gap MS           pause between runs (default 500)\n"
         "  --report-gap MS        pause between a run's reports (default 20)\n"
         "  --ng-every K[=STATUS]  every K-th run ends NG with STATUS (default 0x4A)\n"
         "Faults, each [UNIT:]STEP[@BLOCK] and repeatable:\n"
         "  --fail F=STATUS        answer the step with STATUS instead of doing it\n"
         "  --bad-check F          answer with a wrong check\n"
         "  --silent F             do nothing, answer nothing\n"
         "  --garbage F=N          send N bytes of noise before the answer\n"
         "  --hangup F             drop the line instead of answering\n"
         "  --late F=MS            answer MS milliseconds late (at most 60000)\n"
         "STEP: any identity config download download-eep blank erase program\n"
         "      write-eep verify verify-eep protect option read read-eep chip-id\n"
         "      info read-option firmware finish reset\n"
         "Stops on SIGINT or SIGTERM and removes its links.\n";
}

bool ParseSimOptions(int argc, char** argv, const char* env_dir, SimOptions& o, std::string& error) {
  long units = 0;
  if (env_dir) o.dir = env_dir;
  for (int i = 1; i < argc; ++i) {
    std::string_view a = argv[i];
    auto value = [&](std::string_view& v) {
      if (i + 1 >= argc) {
        error = std::string(a) + " needs a value";
        return false;
      }
      v = argv[++i];
      return true;
    };
    auto fail = [&](std::string msg) {
      if (error.empty()) error = std::move(msg);
      return false;
    };
    std::string_view v;
    long n = 0;
    if (a == "-h" || a == "--help") {
      o.help = true;
    } else if (a == "--unpaced") {
      o.paced = false;
    } else if (a == "--upgradable") {
      o.unit.upgradable = true;
    } else if (a == "--used-chips") {
      o.unit.used_chips = true;
    } else if (a == "-n" || a == "--units") {
      if (!value(v) || !ToInt(v, 1, kMaxUnits, units)) return fail("bad unit count");
    } else if (a == "--dir") {
      if (!value(v)) return false;
      o.dir = v;
    } else if (a == "--dump") {
      if (!value(v)) return false;
      o.dump_dir = v;
    } else if (a == "--identity") {
      if (!value(v)) return false;
      o.unit.identity = v;
    } else if (a == "--ok-status") {
      if (!value(v) || !ToInt(v, 0, 6, n) || (n != 0 && n != 6)) return fail("--ok-status takes 0 or 6");
      o.unit.ok_status = static_cast<uint8_t>(n);
    } else if (a == "--runs" || a == "--run-gap" || a == "--report-gap") {
      if (!value(v) || !ToInt(v, 0, 100000000, n)) return fail("bad value of " + std::string(a));
      (a == "--runs" ? o.runs : a == "--run-gap" ? o.run_gap_ms : o.report_gap_ms) = static_cast<int>(n);
    } else if (a == "--ng-every") {
      if (!value(v) || !ParseNgEvery(v, o)) return fail("bad value of --ng-every");
    } else if (!a.empty() && a[0] == '-') {
      const FaultOption* fo = nullptr;
      for (const FaultOption& f : kFaultOptions) {
        if (f.flag == a) fo = &f;
      }
      if (!fo) return fail("unknown option " + std::string(a));
      if (!value(v)) return false;
      auto fault = ParseFault(fo->kind, v, error);
      if (!fault) return false;
      o.faults.push_back(*fault);
    } else {
      o.names.emplace_back(a);
    }
  }
  if (o.help) return true;
  if (o.names.size() > kMaxUnits) {
    error = "at most 32 units";
    return false;
  }
  if (units && !o.names.empty() && static_cast<size_t>(units) != o.names.size()) {
    error = "the unit count and the names given differ";
    return false;
  }
  for (long u = static_cast<long>(o.names.size()); u < std::max(units, 1L); ++u) {
    o.names.push_back("COM" + std::to_string(u + 1));
  }
  for (const std::string& name : o.names) {
    if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..") {
      error = "bad link name '" + name + "'";
      return false;
    }
  }
  if (o.dir.empty()) {
    error = "no folder for the links: give --dir or set ZEK_COM_DIR";
    return false;
  }
  return true;
}

}  // namespace zek::sim
