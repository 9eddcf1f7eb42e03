// The main window with a 2 MiB image: loading an Intel HEX file through
// LoadObjectFile until the main grid has painted its first page (rows set,
// sums shown), against objcopy converting the same file to binary in the
// same run (goal: ratio at most 1.0, aim 0.5); and scrolling the grid from
// its first row to its last offscreen, every row painted once, as time per
// frame.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <QApplication>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "station/data/chip_memory_map.h"
#include "station/data/views.h"
#include "station/window/hex_grid_model.h"
#include "station/window/program.h"

extern char** environ;

namespace {

constexpr size_t kImageSize = 0x200000;

int Spawn(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid;
  const int failed = posix_spawnp(&pid, argv[0], &quiet, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&quiet);
  if (failed != 0) return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void MustSpawn(const std::vector<std::string>& args) {
  if (Spawn(args) != 0) {
    std::fprintf(stderr, "failed: %s (srec_cat and objcopy must be on PATH)\n", args[0].c_str());
    std::exit(1);
  }
}

// Boxes would wait for an operator; the bench counts them instead.
class CountingBoxes : public zek::MessageBoxView {
 public:
  void Information(const std::string&) override { ++shown; }
  void Warning(const std::string&) override { ++shown; }
  zek::BoxChoice ErrorOkAbort(const std::string&) override {
    ++shown;
    return zek::BoxChoice::Abort;
  }
  void Plain(const std::string&) override { ++shown; }
  int shown = 0;
};

struct Bench {
  std::filesystem::path dir;
  std::string bin, hex, out;
  std::vector<uint8_t> image;
  CountingBoxes boxes;
  std::unique_ptr<zek::StationProgram> program;

  ~Bench() {
    program.reset();
    std::error_code ignored;
    if (!dir.empty()) std::filesystem::remove_all(dir, ignored);
  }
};

// The files, and a shown main window with a 2048 KiB part of class 0x00
// selected, so the whole image is flash and the main grid has 131,072 rows.
Bench& TheBench() {
  static Bench b;
  static bool made = [] {
    char pattern[] = "/tmp/zek-bench-XXXXXX";
    b.dir = mkdtemp(pattern);
    b.bin = (b.dir / "img.bin").string();
    b.hex = (b.dir / "img.hex").string();
    b.out = (b.dir / "out.bin").string();
    b.image.resize(kImageSize);
    std::mt19937 random(2026);
    for (uint8_t& byte : b.image) byte = static_cast<uint8_t>(random());
    std::ofstream(b.bin, std::ios::binary).write(reinterpret_cast<const char*>(b.image.data()), kImageSize);
    MustSpawn({"srec_cat", b.bin, "-binary", "-o", b.hex, "-intel", "-obs=16"});

    // No serial port is found and no firmware file: start-up stays quiet.
    std::filesystem::create_directories(b.dir / "sys/class/tty");
    setenv("ZEK_SYSFS_ROOT", (b.dir / "sys").c_str(), 1);
    setenv("ZEK_COM_DIR", (b.dir / "com").c_str(), 1);
    zek::MainFormOptions options;
    options.ProgramPath = (b.dir / "DorvikLumo_ZEK").string();
    options.StartTimers = false;
    b.program = std::make_unique<zek::StationProgram>(zek::EnglishEdition(), options);
    zek::StationState& st = b.program->State();
    st.Views.Boxes = &b.boxes;
    zek::TProgramZEKFrm& form = b.program->Main();
    form.show();
    st.ChipFlashSizeKB = 2048;
    zek::SetMemoryMap(st);
    st.ChipSelected = 1;
    form.ViewPageCtrl->setCurrentWidget(form.TabSheetFlash);
    QApplication::processEvents();
    b.boxes.shown = 0;  // the missing firmware file at start-up
    return true;
  }();
  (void)made;
  return b;
}

void BM_LoadHexUntilGridPaints(benchmark::State& state) {
  Bench& b = TheBench();
  zek::TProgramZEKFrm& form = b.program->Main();
  for (auto _ : state) {
    uint32_t start = 0, end = 0;
    form.LoadObjectFile(b.hex, start, end);
    form.Memo().Flush();
    form.HexViewer->viewport()->repaint();
  }
  const zek::StationState& st = b.program->State();
  if (!std::equal(b.image.begin(), b.image.end(), st.MainBuffer.begin())) state.SkipWithError("image differs");
  if (form.HexViewer->model()->rowCount() != 131072) state.SkipWithError("main grid rows");
  if (b.boxes.shown != 0) state.SkipWithError("a message box was shown");
  form.Memo().Clear();
}

void BM_ObjcopyIhexToBinary(benchmark::State& state) {
  const Bench& b = TheBench();
  for (auto _ : state) MustSpawn({"objcopy", "-I", "ihex", "-O", "binary", b.hex, b.out});
}

// One iteration scrolls a page at a time from the first row to the last.
void BM_ScrollMainGridTopToBottom(benchmark::State& state) {
  Bench& b = TheBench();
  zek::TProgramZEKFrm& form = b.program->Main();
  QTableView* grid = form.HexViewer;
  QScrollBar* bar = grid->verticalScrollBar();
  // The view sets its scroll range once the event loop runs after a reset.
  QApplication::processEvents();
  int64_t frames = 0;
  int64_t rows_shown = 0;
  for (auto _ : state) {
    bar->setValue(0);
    const int page = std::max(1, bar->pageStep());
    for (int top = 0;; top += page) {
      bar->setValue(top);
      grid->viewport()->repaint();
      ++frames;
      rows_shown += page;
      if (top >= bar->maximum()) break;
    }
  }
  if (rows_shown / state.iterations() < grid->model()->rowCount()) {
    state.SkipWithError("rows left unpainted");
  }
  state.counters["frames"] = static_cast<double>(frames) / static_cast<double>(state.iterations());
  state.counters["per_frame"] =
      benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_RepaintSamePage(benchmark::State& state) {
  Bench& b = TheBench();
  QTableView* grid = b.program->Main().HexViewer;
  QApplication::processEvents();
  for (auto _ : state) grid->viewport()->repaint();
}

BENCHMARK(BM_LoadHexUntilGridPaints)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ObjcopyIhexToBinary)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintSamePage)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScrollMainGridTopToBottom)->UseRealTime()->Unit(benchmark::kMillisecond);

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      if (r.run_type == Run::RT_Iteration && !r.error_occurred)
        seconds_[r.run_name.function_name] = r.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    if (seconds_.count("BM_LoadHexUntilGridPaints") && seconds_.count("BM_ObjcopyIhexToBinary")) {
      std::printf("ratio LoadObjectFile + first grid page / objcopy -I ihex -O binary: %.3f (at most 1.0, aim 0.5)\n",
                  seconds_["BM_LoadHexUntilGridPaints"] / seconds_["BM_ObjcopyIhexToBinary"]);
    }
  }

 private:
  std::map<std::string, double> seconds_;
};

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  TheBench();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  // The window goes before the application object.
  TheBench().program.reset();
  return 0;
}
