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

// What GetValue gives for a value that is not stored: a lone NUL, which no
// stored string can be (control characters are kept as %XX).
const std::string kAbsent(1, '\0');

std::string EncodeString(const std::string& value) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const auto c = static_cast<unsigned char>(value[i]);
    const bool atEnd = i == 0 || i + 1 == value.size();
    const bool escape = c < 0x20 || c == 0x7F || c == '%' || c == ';' || c == '*' ||
                        (c == '/' && i > 0 && value[i - 1] == '/') || (c == ' ' && atEnd);
    if (escape) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string DecodeString(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
        HexDigit(text[i + 2]) >= 0) {
      out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
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

std::optional<std::string> Registry::QueryString(const std::string& name) const {
  if (name.empty()) return std::nullopt;
  StoreLock lock(false);
  IniProfile ini;
  if (!lock.Held() || !OpenStore(ini)) return std::nullopt;
  const std::string value = ini.GetValue(keyPath_, name, kAbsent);
  if (value == kAbsent) return std::nullopt;
  return DecodeString(value);
}

bool Registry::SetString(const std::string& name, const std::string& value) {
  if (name.empty()) return false;
  StoreLock lock(true);
  IniProfile ini;
  if (!lock.Held() || !OpenStore(ini)) return false;
  const std::string text = EncodeString(value);
  // Compared byte for byte: the store ignores letter case, a folder does not.
  const bool changed = ini.GetValue(keyPath_, name, kAbsent) != text;
  ini.SetValue(keyPath_, name, text);
  return !changed || WriteStore(ini);
}

std::string Registry::StorePath() { return StoreDirectory() + "/registry.ini"; }

}  // namespace varo
