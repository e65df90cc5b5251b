// Replays every seed of the fuzz corpora and every input that once failed
// (fuzz/corpus/<target>/, fuzz/regressions/<target>/) through the fuzz
// targets' own bodies, in every build, so that a build without clang checks
// them too.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzHarness.h"

namespace varo::fuzz {

// The test log names a target by its folder.
void PrintTo(const Target& target, std::ostream* os) { *os << target.name; }

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> FilesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  if (!fs::is_directory(folder)) return files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  return files;
}

class FuzzReplayTest : public ::testing::TestWithParam<Target> {};

TEST_P(FuzzReplayTest, EverySeedAndRegressionKeepsItsProperties) {
  const Target& target = GetParam();
  const fs::path root = fs::path(VARO_SOURCE_DIR) / "fuzz";
  std::vector<fs::path> files = FilesIn(root / "corpus" / target.name);
  ASSERT_GE(files.size(), 3u) << "the seed corpus of " << target.name << " is missing";
  const std::vector<fs::path> regressions = FilesIn(root / "regressions" / target.name);
  files.insert(files.end(), regressions.begin(), regressions.end());
  for (const fs::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(target.run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), "")
        << file;
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplayTest, ::testing::ValuesIn(Targets()),
                         [](const ::testing::TestParamInfo<Target>& param) {
                           return std::string(param.param.name);
                         });

}  // namespace
}  // namespace varo::fuzz
