#pragma once

#include <filesystem>
#include <string>

namespace varo::test {

// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes. Every test keeps its files in one of these.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // path()/name as a string.
  std::string File(const std::string& name) const;

  // Writes `bytes` to path()/name and returns the full path.
  std::string Write(const std::string& name, const std::string& bytes) const;
  // The whole content of path()/name ("" when missing).
  std::string Read(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

}  // namespace varo::test
