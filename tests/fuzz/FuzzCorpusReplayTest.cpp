// Every fuzz target run over its checked-in corpus (tests/fuzz/corpus/<target>/): the seeds and
// the inputs of every fault a fuzz run found, so none comes back. A broken property ends the
// program (the target aborts), as it ends a fuzz run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#define VRL_FUZZ_TARGET(name) extern "C" int VrlFuzz_##name(const uint8_t* data, size_t size);
#include "FuzzTargets.inc"
#undef VRL_FUZZ_TARGET

namespace {

struct TFuzzTarget {
  const char* Name;
  int (*Run)(const uint8_t* data, size_t size);
};

const TFuzzTarget Targets[] = {
#define VRL_FUZZ_TARGET(name) {#name, VrlFuzz_##name},
#include "FuzzTargets.inc"
#undef VRL_FUZZ_TARGET
};

void PrintTo(const TFuzzTarget& target, std::ostream* os) {
  *os << target.Name;
}

class FuzzCorpusReplay : public ::testing::TestWithParam<TFuzzTarget> {};

TEST_P(FuzzCorpusReplay, EveryInputPasses) {
  const std::filesystem::path folder = std::filesystem::path(VRL_FUZZ_CORPUS_DIR) / GetParam().Name;
  std::vector<std::filesystem::path> inputs;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.is_regular_file()) inputs.push_back(entry.path());
  std::sort(inputs.begin(), inputs.end());
  ASSERT_FALSE(inputs.empty()) << folder;
  for (const auto& input : inputs) {
    std::ifstream in(input, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    std::fprintf(stderr, "%s\n", input.c_str());
    EXPECT_EQ(GetParam().Run(bytes.data(), bytes.size()), 0) << input;
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzCorpusReplay, ::testing::ValuesIn(Targets),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
