// What a long shift's information log costs the station: lines of the
// length a stand-alone report writes are added through the real main
// window (the text box and the lines kept for the close-time log), and the
// process's resident memory is read before and after, as bytes held per
// line and per byte of log text. "Clear Information" then empties the log;
// what the process keeps afterwards is the allocator's, not the log's.
//
//   bench_info_log_growth [LINES]   (default 200000)

#include <malloc.h>
#include <stdlib.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "station/data/format.h"
#include "station/data/info_lines.h"
#include "station/window/edition_texts.h"
#include "station/window/program.h"

namespace {

// Start-up's box for the missing firmware file would wait for an operator.
class NoBoxes : public zek::MessageBoxView {
 public:
  void Information(const std::string&) override {}
  void Warning(const std::string&) override {}
  zek::BoxChoice ErrorOkAbort(const std::string&) override { return zek::BoxChoice::Abort; }
  void Plain(const std::string&) override {}
};

long ResidentBytes() {
  long pages = 0, resident = 0;
  std::ifstream("/proc/self/statm") >> pages >> resident;
  return resident * sysconf(_SC_PAGESIZE);
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  const long lines = argc > 1 ? std::atol(argv[1]) : 200000;
  if (lines <= 0) {
    std::fprintf(stderr, "usage: bench_info_log_growth [LINES]\n");
    return 2;
  }
  char pattern[] = "/tmp/zek-log-bench-XXXXXX";
  const std::filesystem::path dir = mkdtemp(pattern);
  // No port and no firmware file: start-up stays quiet.
  std::filesystem::create_directories(dir / "sys/class/tty");
  setenv("ZEK_SYSFS_ROOT", (dir / "sys").c_str(), 1);
  setenv("ZEK_COM_DIR", (dir / "com").c_str(), 1);
  zek::MainFormOptions options;
  options.ProgramPath = (dir / "DorvikLumo_ZEK").string();
  options.StartTimers = false;
  long text_bytes = 0;
  {
    zek::StationProgram program(zek::EnglishEdition(), options);
    zek::StationState& st = program.State();
    NoBoxes boxes;
    st.Views.Boxes = &boxes;
    zek::TProgramZEKFrm& form = program.Main();
    form.show();
    QApplication::processEvents();
    form.Memo().Flush();
    malloc_trim(0);
    const long before = ResidentBytes();
    const size_t first = form.Memo().LineCount();
    for (long i = 0; i < lines; ++i) {
      // As long as a stand-alone report's line: "> hh:mm:ss C3: ..." of about 45 characters.
      zek::AddInfoLine(st, zek::Format(" C%d: Chip %d Programming OK!", {int(i % 10) + 1, int(i)}));
      // The box takes its lines in one batch per turn of the event loop.
      if (i % 100 == 99) QApplication::processEvents();
    }
    QApplication::processEvents();
    form.Memo().Flush();
    const auto kept = form.Memo().Lines();
    for (size_t i = first; i < kept.size(); ++i) text_bytes += static_cast<long>(kept[i].size()) + 1;
    const long after = ResidentBytes();
    form.ClearInformation1Click();
    QApplication::processEvents();
    malloc_trim(0);
    const long cleared = ResidentBytes();
    const double per_line = double(after - before) / double(lines);
    std::printf("lines added            %ld (%.1f characters a line)\n", lines, double(text_bytes) / double(lines));
    std::printf("resident growth        %.1f MB, %.0f bytes a line\n", double(after - before) / 1e6, per_line);
    std::printf("held per byte of text  %.1f\n", double(after - before) / double(text_bytes));
    std::printf("one autosave then      %.1f MB (the whole log)\n", double(text_bytes) / 1e6);
    std::printf("after Clear Information %.1f MB above the start\n", double(cleared - before) / 1e6);
  }
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
  return 0;
}
