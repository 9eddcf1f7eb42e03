// Loading and writing a 2 MiB image against the outside tools, measured in
// the same run; the figures are the ratios printed at the end (ours over
// the tool's, wall time; the tools' times include starting their process).
//   build/bench/filelib/filelib_bench

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "filelib/DorvikRHB.h"

namespace {

constexpr size_t kImageBytes = 2 * 1024 * 1024;

struct Files {
  std::string dir, bin, hex;
  std::vector<uint8_t> image;
  std::vector<uint8_t> buffer = std::vector<uint8_t>(0x400000 + 0x100);

  Files() {
    dir = (std::filesystem::temp_directory_path() / "rhb-bench").string();
    std::filesystem::create_directories(dir);
    bin = dir + "/img.bin";
    hex = dir + "/img.hex";
    std::mt19937 gen(1);
    image.resize(kImageBytes);
    for (auto& b : image) b = static_cast<uint8_t>(gen());
    std::ofstream(bin, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), kImageBytes);
    Run("srec_cat " + bin + " -binary -o " + hex + " -intel -obs=16");
  }
  ~Files() { std::filesystem::remove_all(dir); }

  static void Run(const std::string& cmd) {
    if (std::system((cmd + " >/dev/null 2>&1").c_str()) != 0) {
      std::fprintf(stderr, "failed: %s\n", cmd.c_str());
      std::exit(1);
    }
  }
};

Files& TheFiles() {
  static Files f;
  return f;
}

void BM_ExeOpenFile_HEX_RoutAndRT(benchmark::State& state) {
  Files& f = TheFiles();
  for (auto _ : state) {
    uint32_t start = 0, end = 0;
    int32_t r = ExeOpenFile_HEX_RoutAndRT(f.hex.c_str(), f.buffer.data(), &start, &end);
    if (r != 0 || end != kImageBytes - 1) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(f.buffer.data());
  }
}

void BM_ObjcopyIhexToBinary(benchmark::State& state) {
  Files& f = TheFiles();
  for (auto _ : state) Files::Run("objcopy -I ihex -O binary " + f.hex + " " + f.dir + "/objcopy.bin");
}

void BM_SaveBinaryToMotFileRT(benchmark::State& state) {
  Files& f = TheFiles();
  std::string out = f.dir + "/ours.s19";
  for (auto _ : state) SaveBinaryToMotFileRT(out.c_str(), f.image.data(), 0, kImageBytes - 1);
}

void BM_SrecCatWritesSRecords(benchmark::State& state) {
  Files& f = TheFiles();
  for (auto _ : state)
    Files::Run("srec_cat " + f.bin + " -binary -o " + f.dir + "/srec_cat.s19 -motorola -obs=32");
}

BENCHMARK(BM_ExeOpenFile_HEX_RoutAndRT)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ObjcopyIhexToBinary)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveBinaryToMotFileRT)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SrecCatWritesSRecords)->Unit(benchmark::kMillisecond)->UseRealTime();

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> times;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) times[r.benchmark_name()] = r.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto ratio = [&](const char* ours, const char* ref) {
    auto a = reporter.times.find(ours), b = reporter.times.find(ref);
    if (a == reporter.times.end() || b == reporter.times.end() || b->second <= 0) return;
    std::printf("ratio %s / %s = %.3f\n", ours, ref, a->second / b->second);
  };
  ratio("BM_ExeOpenFile_HEX_RoutAndRT/real_time", "BM_ObjcopyIhexToBinary/real_time");
  ratio("BM_SaveBinaryToMotFileRT/real_time", "BM_SrecCatWritesSRecords/real_time");
  benchmark::Shutdown();
  return 0;
}
