#pragma once

#include <sys/resource.h>

#include <csignal>

namespace varo::test {

// Runs `act` as if the disk filled up after `bytes` bytes of any file: a
// file size limit makes writes beyond it fail (SIGXFSZ ignored), then the
// old limit is put back. Returns what `act` returned.
template <class Act>
auto WithDiskFullAfter(rlim_t bytes, Act act) {
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  rlimit tight = saved;
  tight.rlim_cur = bytes;
  ::setrlimit(RLIMIT_FSIZE, &tight);
  auto result = act();
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  return result;
}

}  // namespace varo::test
