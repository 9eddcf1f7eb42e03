#pragma once
// A station that already holds a chip, images erased, so a project read
// that must not take its header, or must not store, shows it.

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "station/data/project_file.h"
#include "tests/data/project_bytes.h"
#include "tests/data/temp_dir.h"
#include "tests/support/fake_views.h"

namespace zek::testing {

// Everything a project's header carries into the state.
inline auto HeaderFields(const StationState& st) {
  return std::make_tuple(st.FamilyCode, st.ProjectModelName, st.ChipName, st.ObjectFileName, st.MainAcc32,
                         st.FileAcc32, st.ParsedByteSum, st.File1Start, st.File1End, st.Settings.SNGain,
                         st.ChipFlashSizeKB, st.FlashSizeKB, st.EepSize, st.InfoSize, st.ChipStartAddress,
                         st.ChipEndAddress, st.EepStartAddress, st.EepEndAddress, st.InfoStartAddress,
                         st.InfoEndAddress, st.ProjectSpareByte, st.MainAcc16, st.MainCrc16, st.EepAcc16,
                         st.EepCrc16);
}

class ProjectFixture : public ::testing::Test {
 protected:
  ProjectFixture() {
    st.FamilyCode = 0x45;
    st.ChipName = "OLD-CHIP";
    st.ChipFlashSizeKB = st.FlashSizeKB = 7;
    st.EepSize = 3;
    st.ChipStartAddress = 0x70;
    st.ChipEndAddress = 0x70 + 7 * 1024 - 1;
    st.Settings.SNGain = 9;
  }

  uint8_t Read(const ProjectBytes& bytes) { return ReadProjectFile(st, dir.Write("p.RQT", bytes)); }

  // The same through a file in memory, for loops over many files: a file
  // rewritten in place on ext4 is flushed at each close.
  uint8_t ReadInMemory(const ProjectBytes& bytes) {
    const int fd = ::memfd_create("project", MFD_CLOEXEC);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
      ADD_FAILURE() << "memfd";
      if (fd >= 0) ::close(fd);
      return 0xFF;
    }
    const uint8_t result = ReadProjectFile(st, "/proc/self/fd/" + std::to_string(fd));
    ::close(fd);
    return result;
  }

  std::string LastLine() const { return fs.memo.lines.empty() ? "" : fs.memo.lines.back(); }

  static bool Erased(const uint8_t* begin, const uint8_t* end) {
    return std::all_of(begin, end, [](uint8_t b) { return b == 0xFF; });
  }
  bool MainErasedFrom(size_t at) const { return Erased(st.MainBuffer.begin() + at, st.MainBuffer.end()); }
  bool EepErasedFrom(size_t at) const { return Erased(st.EepBuffer.begin() + at, st.EepBuffer.end()); }

  FakeStation fs;
  StationState& st = fs.st;
  TempDir dir;
};

}  // namespace zek::testing
