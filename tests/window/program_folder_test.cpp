// The program folder from argument 0: its own folder, or, for a bare
// name, the PATH entry the shell found the program in.

#include "station/window/program_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <optional>

#include "tests/data/temp_dir.h"

namespace zek::testing {
namespace {

namespace fs = std::filesystem;

struct FolderCase {
  const char* name;
  const char* program_path;
  std::optional<const char*> search_path;  // "@" stands for the scratch folder; none: PATH unset
  const char* folder;                      // "" when nothing tells
};

// bin1 holds a folder of the program's name, plain a file that is not
// executable, bin2 the program, bin3 a link to it, and here (the current
// folder) another copy.
class ProgramFolderTest : public ::testing::TestWithParam<FolderCase> {
 protected:
  ProgramFolderTest() {
    fs::create_directories(root.File("bin1/DorvikLumo_ZEK"));
    for (const char* folder : {"plain", "bin2", "bin3", "here"}) fs::create_directory(root.File(folder));
    root.Write("plain/DorvikLumo_ZEK", "#!/bin/sh\n");
    fs::permissions(root.File("plain/DorvikLumo_ZEK"), fs::perms(0644));
    for (const char* program : {"bin2/DorvikLumo_ZEK", "here/DorvikLumo_ZEK"}) {
      root.Write(program, "#!/bin/sh\n");
      fs::permissions(root.File(program), fs::perms(0755));
    }
    fs::create_symlink("../bin2/DorvikLumo_ZEK", root.File("bin3/DorvikLumo_ZEK"));
    before_ = fs::current_path();
    fs::current_path(root.File("here"));
  }
  ~ProgramFolderTest() override { fs::current_path(before_); }

  std::string Expand(std::string text) const {
    for (size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at + 1))
      text.replace(at, 1, root.File("").substr(0, root.File("").size() - 1));
    return text;
  }

  TempDir root;

 private:
  fs::path before_;
};

TEST_P(ProgramFolderTest, IsWhereTheProgramWasFound) {
  const FolderCase& c = GetParam();
  const std::optional<std::string> search =
      c.search_path ? std::optional<std::string>(Expand(*c.search_path)) : std::nullopt;
  EXPECT_EQ(ProgramFolder(Expand(c.program_path), search ? search->c_str() : nullptr), Expand(c.folder));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProgramFolderTest,
    ::testing::Values(FolderCase{"Absolute", "@/bin2/DorvikLumo_ZEK", "", "@/bin2/"},
                      FolderCase{"RelativeWithDots", "../bin2/./DorvikLumo_ZEK", "@/bin3", "@/bin2/"},
                      FolderCase{"LinkByItsPath", "@/bin3/DorvikLumo_ZEK", "", "@/bin3/"},
                      FolderCase{"FirstExecutableFileInPath", "DorvikLumo_ZEK", "@/none:@/bin1:@/plain:@/bin2:@/bin3",
                                 "@/bin2/"},
                      FolderCase{"LinkInPathKeepsItsFolder", "DorvikLumo_ZEK", "@/bin3:@/bin2", "@/bin3/"},
                      FolderCase{"EmptyEntryIsTheCurrentFolder", "DorvikLumo_ZEK", "@/bin1::@/bin2", "@/here/"},
                      FolderCase{"RelativeEntry", "DorvikLumo_ZEK", "../bin3", "@/bin3/"},
                      FolderCase{"NotInPath", "DorvikLumo_ZEK", "@/bin1:@/plain", ""},
                      FolderCase{"PathUnset", "DorvikLumo_ZEK", std::nullopt, ""},
                      FolderCase{"NoProgramPath", "", "@/bin2", ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zek::testing
