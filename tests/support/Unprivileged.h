#pragma once

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace varo::test {

// Runs `act` in a child process as an ordinary user (uid and gid 65534 when
// the tests run as root, for whom permission bits do not hold); its result
// is the child's exit status (100 when the user could not be changed, -1
// when the child did not end normally).
inline int RunUnprivileged(const std::function<int()>& act) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) {
      ::_exit(100);
    }
    ::_exit(act());
  }
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

}  // namespace varo::test
