#include "tests/filelib/filelib_test_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace rhbtest {

rhb::BoxAnswer ScriptedBox::ErrorOkAbort(const std::string& text) {
  asked.push_back(text);
  if (answers.empty()) return rhb::BoxAnswer::Ok;
  rhb::BoxAnswer a = answers.front();
  answers.pop_front();
  return a;
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "rhb-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  dir_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

std::string TempDir::Path(std::string_view name) const { return dir_ + "/" + std::string(name); }

std::string TempDir::Write(std::string_view name, std::string_view content) const {
  std::string p = Path(name);
  WriteFile(p, content);
  return p;
}

std::vector<uint8_t> RandomBytes(size_t n, uint32_t seed) {
  std::mt19937 gen(seed);
  std::vector<uint8_t> v(n);
  for (auto& b : v) b = static_cast<uint8_t>(gen());
  return v;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, std::string_view content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

bool RunTool(const std::string& command, std::string* log) {
  std::string full = command + " 2>&1";
  FILE* p = popen(full.c_str(), "r");
  if (p == nullptr) return false;
  char chunk[512];
  std::string out;
  size_t k;
  while ((k = fread(chunk, 1, sizeof chunk, p)) > 0) out.append(chunk, k);
  int rc = pclose(p);
  if (log != nullptr) *log = out;
  return rc == 0;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

}  // namespace rhbtest
