// One libFuzzer program per target of FuzzHarness.h; VARO_FUZZ_TARGET names
// it ("ini", "lang", "dat", "cells").
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "FuzzHarness.h"

namespace {

const varo::fuzz::Target& ThisTarget() {
  for (const varo::fuzz::Target& t : varo::fuzz::Targets()) {
    if (std::strcmp(t.name, VARO_FUZZ_TARGET) == 0) return t;
  }
  std::fprintf(stderr, "no fuzz target named %s\n", VARO_FUZZ_TARGET);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const varo::fuzz::Target& target = ThisTarget();
  const std::string broke = target.run(data, size);
  if (!broke.empty()) {
    std::fprintf(stderr, "fuzz target %s: %s\n", target.name, broke.c_str());
    std::abort();
  }
  return 0;
}
