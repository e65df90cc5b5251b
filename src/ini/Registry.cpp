#include "ini/Registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "ini/FileText.h"
#include "ini/IniProfile.h"
#include "platform/ProgramFiles.h"

namespace varo {
namespace {

std::string StoreDirectory() { return UserSettingsDirectory(); }

// Holds an advisory lock on the store for one read or one read-modify-write,
// so that two programs setting values at once do not lose each other's
// change. The store itself is replaced by rename, so a reader never sees a
// half-written file.
class StoreLock {
 public:
  explicit StoreLock(bool exclusive) {
    if (!MakeDirectories(StoreDirectory())) return;
    fd_ = ::open((Registry::StorePath() + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) return;
    while (::flock(fd_, exclusive ? LOCK_EX : LOCK_SH) != 0) {
      if (errno != EINTR) {
        ::close(fd_);
        fd_ = -1;
        return;
      }
    }
  }
  ~StoreLock() {
    if (fd_ >= 0) ::close(fd_);
  }
  StoreLock(const StoreLock&) = delete;
  StoreLock& operator=(const StoreLock&) = delete;

  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

bool OpenStore(IniProfile& ini) { return ini.Open(Registry::StorePath(), false, true, false); }

bool WriteStore(const IniProfile& ini) { return ReplaceFileBytes(ini.Path(), ini.Text()); }

std::optional<std::uint32_t> ParseDword(const std::string& text) {
  if (text.empty() || text.size() > 10) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (value > 0xFFFFFFFFu) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

}  // namespace

Registry::Registry(std::string keyPath) : keyPath_(std::move(keyPath)) {
  StoreLock lock(true);
  IniProfile ini;
  if (!lock.Held() || !OpenStore(ini)) return;
  ini.AddSection(keyPath_);
  if (ini.IsModified()) WriteStore(ini);
}

std::optional<std::uint32_t> Registry::QueryDword(const std::string& name) const {
  // An empty name (the key's default value) has no place in the store.
  if (name.empty()) return std::nullopt;
  StoreLock lock(false);
  IniProfile ini;
  if (!lock.Held() || !OpenStore(ini)) return std::nullopt;
  return ParseDword(ini.GetValue(keyPath_, name, ""));
}

bool Registry::SetDword(const std::string& name, std::uint32_t value) {
  if (name.empty()) return false;
  StoreLock lock(true);
  IniProfile ini;
  if (!lock.Held() || !OpenStore(ini)) return false;
  ini.SetValue(keyPath_, name, std::to_string(value));
  return !ini.IsModified() || WriteStore(ini);
}

std::string Registry::StorePath() { return StoreDirectory() + "/registry.ini"; }

}  // namespace varo
