// Loading a 2 MiB image from Intel HEX and S-record text, against the
// outside tools converting the same files to binary in the same run.
// Prints our time / the tool's time for each format (goal: at most 1.0,
// aim 0.5).

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "station/data/chip_memory_map.h"
#include "station/data/object_file_hex.h"
#include "station/data/object_file_s19.h"

extern char** environ;

namespace {

constexpr size_t kImageSize = 0x200000;

struct Files {
  ~Files() {
    std::error_code ignored;
    if (!dir.empty()) std::filesystem::remove_all(dir, ignored);
  }
  std::filesystem::path dir;
  std::string bin, hex, s19, out;
  std::vector<uint8_t> image;
};

int Spawn(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  // The tools' chatter (srec_cat warns of a missing start address) would
  // bury the table.
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid;
  int failed = posix_spawnp(&pid, argv[0], &quiet, nullptr, argv.data(), environ);
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

// The files of the comparison, made once: the image as srec_cat writes it
// with 16 data bytes a record.
const Files& TheFiles() {
  static Files f;
  static bool made = [] {
    char pattern[] = "/tmp/zek-bench-XXXXXX";
    f.dir = mkdtemp(pattern);
    f.bin = (f.dir / "img.bin").string();
    f.hex = (f.dir / "img.hex").string();
    f.s19 = (f.dir / "img.s19").string();
    f.out = (f.dir / "out.bin").string();
    f.image.resize(kImageSize);
    std::mt19937 random(2026);
    for (uint8_t& b : f.image) b = static_cast<uint8_t>(random());
    std::ofstream(f.bin, std::ios::binary).write(reinterpret_cast<const char*>(f.image.data()), kImageSize);
    MustSpawn({"srec_cat", f.bin, "-binary", "-o", f.hex, "-intel", "-obs=16"});
    MustSpawn({"srec_cat", f.bin, "-binary", "-o", f.s19, "-motorola", "-obs=16"});
    return true;
  }();
  (void)made;
  return f;
}

// A 2048 KiB part of class 0x00, so the whole image is flash.
zek::StationState& Station() {
  static zek::StationState st;
  static bool once = [] {
    zek::ResetBuffers(st);
    st.ChipFlashSizeKB = 2048;
    zek::SetMemoryMap(st);
    return true;
  }();
  (void)once;
  return st;
}

template <typename Reader>
void LoadWith(benchmark::State& state, const std::string& path, Reader read) {
  zek::StationState& st = Station();
  for (auto _ : state) {
    uint32_t lowest = 0, highest = 0, sum = 0;
    read(st, path, lowest, highest, sum);
    benchmark::DoNotOptimize(sum);
  }
  if (!std::equal(TheFiles().image.begin(), TheFiles().image.end(), st.MainBuffer.begin())) {
    state.SkipWithError("image differs from the source");
  }
}

void BM_ReadHexFile(benchmark::State& state) { LoadWith(state, TheFiles().hex, zek::ReadHexFile); }
void BM_ObjcopyIhexToBinary(benchmark::State& state) {
  const Files& f = TheFiles();
  for (auto _ : state) MustSpawn({"objcopy", "-I", "ihex", "-O", "binary", f.hex, f.out});
}
void BM_ReadS19File(benchmark::State& state) { LoadWith(state, TheFiles().s19, zek::ReadS19File); }
void BM_SrecCatS19ToBinary(benchmark::State& state) {
  const Files& f = TheFiles();
  for (auto _ : state) MustSpawn({"srec_cat", f.s19, "-motorola", "-o", f.out, "-binary"});
}

BENCHMARK(BM_ReadHexFile)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ObjcopyIhexToBinary)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadS19File)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SrecCatS19ToBinary)->UseRealTime()->Unit(benchmark::kMillisecond);

// Keeps each benchmark's real time per iteration, then prints the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      if (r.run_type == Run::RT_Iteration && !r.error_occurred) seconds_[r.run_name.function_name] = r.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    Ratio("ReadHexFile / objcopy -I ihex -O binary", "BM_ReadHexFile", "BM_ObjcopyIhexToBinary");
    Ratio("ReadS19File / srec_cat -motorola -o -binary", "BM_ReadS19File", "BM_SrecCatS19ToBinary");
  }

 private:
  void Ratio(const char* label, const std::string& ours, const std::string& theirs) {
    if (!seconds_.count(ours) || !seconds_.count(theirs)) return;
    std::printf("ratio %s: %.3f (at most 1.0, aim 0.5)\n", label, seconds_[ours] / seconds_[theirs]);
  }
  std::map<std::string, double> seconds_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  TheFiles();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
