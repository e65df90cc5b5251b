#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace varo::test {

// Points XDG_CONFIG_HOME (and so the registry store) at `dir` for the life of
// the object, then puts the old value back.
class ScopedConfigHome {
 public:
  explicit ScopedConfigHome(const std::string& dir) {
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) saved_ = old;
    ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
  }
  ~ScopedConfigHome() {
    saved_ ? ::setenv("XDG_CONFIG_HOME", saved_->c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
  }
  ScopedConfigHome(const ScopedConfigHome&) = delete;
  ScopedConfigHome& operator=(const ScopedConfigHome&) = delete;

 private:
  std::optional<std::string> saved_;
};

}  // namespace varo::test
