#include "ini/IniProfile.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <optional>
#include <string_view>

#include "ini/FileText.h"
#include "platform/ProgramFiles.h"

namespace varo {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    auto b = static_cast<unsigned char>(text[i]);
    std::size_t more;
    if (b < 0x80) {
      ++i;
      continue;
    } else if (b >= 0xC2 && b <= 0xDF) {
      more = 1;
    } else if (b >= 0xE0 && b <= 0xEF) {
      more = 2;
    } else if (b >= 0xF0 && b <= 0xF4) {
      more = 3;
    } else {
      return false;
    }
    if (i + more >= text.size()) return false;
    for (std::size_t k = 1; k <= more; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += more + 1;
  }
  return true;
}

// Case-blind equality for INI names and values. In UTF-8 no byte below 0x80
// occurs inside a multibyte character, so every ASCII letter may be folded.
// In GBK a lead byte (0x81-0xFE) is followed by a trail byte that may look
// like an ASCII letter; that trail byte is compared exactly, as the system's
// multibyte comparison does.
bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  const bool gbk = !(IsValidUtf8(a) && IsValidUtf8(b));
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (gbk && static_cast<unsigned char>(a[i]) >= 0x81 && i + 1 < a.size()) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (FoldAscii(text[i]) != FoldAscii(prefix[i])) return false;
  }
  return true;
}

// Cuts `value` at the first occurrence of `marker`, dropping the marker too.
void CutAt(std::string& value, std::string_view marker) {
  std::size_t at = value.find(marker);
  if (at != std::string::npos) value.erase(at);
}

// Where a file name is read from and written to: a path as it stands, a bare
// name where the suite keeps that settings file (the program directory, or
// the user's settings folder when the suite is installed read-only).
SettingsFilePaths Locate(const std::string& fileName) {
  if (fileName.find('/') != std::string::npos) return {fileName, fileName};
  return LocateSettingsFile(fileName);
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

bool IsCommentKey(std::string_view key) {
  char c = key.front();
  return c == ';' || c == '/' || c == '\\' || c == '*';
}

}  // namespace

IniProfile::IniProfile(int slotStep) : slotStep_(slotStep > 0 ? slotStep : 1) {}

IniProfile::~IniProfile() { Close(); }

bool IniProfile::Open(const std::string& fileName, bool autoSave, bool ignoreCase,
                      bool backupOnAutoSave) {
  if (IsOpen()) {
    Save(false);
    Release();
  }
  autoSave_ = autoSave;
  ignoreCase_ = ignoreCase;
  backupOnAutoSave_ = backupOnAutoSave;
  if (fileName.empty()) return false;
  const SettingsFilePaths paths = Locate(fileName);
  // The user's own copy of an installed file goes into a folder that may not
  // exist yet.
  makeFolder_ = paths.read != paths.write;

  std::optional<std::string> bytes = ReadFileBytes(paths.read);
  if (!bytes) {
    // Only a file that does not exist yet is created; one that exists but
    // cannot be read is left alone.
    if (::access(paths.read.c_str(), F_OK) == 0 || ::access(paths.write.c_str(), F_OK) == 0 ||
        (makeFolder_ && !MakeDirectories(FolderOf(paths.write))) ||
        !WriteFileBytes(paths.write, std::string()))
      return false;
    bytes.emplace();
  }

  path_ = paths.write;
  slots_.assign(static_cast<std::size_t>(slotStep_), Slot{});
  sectionNames_.assign(1, std::string());
  lastSection_ = 0;
  modified_ = false;
  saveFailed_ = false;

  std::string_view text = *bytes;
  // Editors that save UTF-8 may put a byte-order mark first; left in, it
  // would turn a first "[Setup]" into a key of the nameless section.
  byteOrderMark_ = text.substr(0, kByteOrderMark.size()) == kByteOrderMark;
  if (byteOrderMark_) text.remove_prefix(kByteOrderMark.size());
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = Trim(text.substr(start, end - start));
    start = end + 1;

    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      AppendSection(std::string(line.substr(1, line.size() - 2)));
      continue;
    }
    std::size_t eq = line.find('=');
    std::string_view key = Trim(line.substr(0, eq));
    std::string_view value =
        eq == std::string_view::npos ? std::string_view() : Trim(line.substr(eq + 1));
    if (key.empty() || IsCommentKey(key)) continue;
    Slot& slot = slots_[static_cast<std::size_t>(lastSection_)];
    slot.keys.emplace_back(key);
    slot.values.emplace_back(value);
  }
  return true;
}

std::string IniProfile::GetValue(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const {
  int s = FindSection(section);
  if (s < 0) return defaultValue;
  const Slot& slot = slots_[static_cast<std::size_t>(s)];
  int k = FindKey(slot, key);
  if (k < 0) return std::string(Trim(defaultValue));
  std::string value = slot.values[static_cast<std::size_t>(k)];
  CutAt(value, "//");
  CutAt(value, "\t;");
  CutAt(value, "/*");
  return value;
}

void IniProfile::SetValue(const std::string& section, const std::string& key,
                          const std::string& value) {
  if (!IsOpen()) return;
  int s = FindSection(section);
  if (s < 0) {
    modified_ = true;
    s = AppendSection(section);
  }
  Slot& slot = slots_[static_cast<std::size_t>(s)];
  int k = FindKey(slot, key);
  if (k < 0) {
    modified_ = true;
    slot.keys.push_back(key);
    slot.values.push_back(value);
    return;
  }
  std::string& old = slot.values[static_cast<std::size_t>(k)];
  if (!Equal(old, value)) modified_ = true;
  old = value;
}

void IniProfile::AddSection(const std::string& section) {
  if (!IsOpen() || FindSection(section) >= 0) return;
  modified_ = true;
  AppendSection(section);
}

std::string IniProfile::Text() const {
  std::string text;
  for (int i = 0; i <= lastSection_ && IsOpen(); ++i) {
    const std::string& name = sectionNames_[static_cast<std::size_t>(i)];
    // The leading section has no header. A later section named "" keeps its
    // "[]" header, or its keys would join the section before it when the file
    // is read again.
    if (!name.empty() || i > 0) text += "[" + name + "]\n";
    const Slot& slot = slots_[static_cast<std::size_t>(i)];
    for (std::size_t k = 0; k < slot.keys.size(); ++k) {
      text += slot.keys[k];
      if (!slot.keys[k].empty()) text += '=';
      text += slot.values[k];
      text += '\n';
    }
  }
  // A first key beginning with the bytes of a byte-order mark (blanks stood
  // before them in the file) would lose them to the mark when the text is
  // read again; a mark in front keeps the key as it is.
  if (IsOpen() && (byteOrderMark_ || text.starts_with(kByteOrderMark))) {
    text.insert(0, kByteOrderMark);
  }
  return text;
}

std::string IniProfile::Save(bool makeBackup) {
  if (!IsOpen() || !modified_) return std::string();
  if (makeBackup) {
    std::string backup = backupPath_.empty() ? ChooseBackupPath() : backupPath_;
    // A failed copy is not fatal: the file is still written, and no backup
    // path is reported for a copy that does not exist.
    if (CopyFileBytes(path_, backup)) backupPath_ = backup;
  }
  if (makeFolder_) MakeDirectories(FolderOf(path_));
  saveFailed_ = !WriteFileBytes(path_, Text());
  return saveFailed_ ? std::string() : backupPath_;
}

void IniProfile::Close() {
  if (IsOpen() && autoSave_) Save(backupOnAutoSave_);
  Release();
}

void IniProfile::Release() {
  slots_.clear();
  sectionNames_.clear();
  lastSection_ = 0;
  path_.clear();
  backupPath_.clear();
  modified_ = false;
  saveFailed_ = false;
  byteOrderMark_ = false;
  makeFolder_ = false;
}

std::vector<std::string> IniProfile::SectionNames() const { return sectionNames_; }

int IniProfile::FindSection(const std::string& section) const {
  for (std::size_t i = 0; i < sectionNames_.size(); ++i) {
    if (Equal(sectionNames_[i], section)) return static_cast<int>(i);
  }
  return -1;
}

int IniProfile::FindKey(const Slot& slot, const std::string& key) const {
  for (std::size_t i = slot.keys.size(); i-- > 0;) {
    if (Equal(slot.keys[i], key)) return static_cast<int>(i);
  }
  return -1;
}

bool IniProfile::Equal(const std::string& a, const std::string& b) const {
  return ignoreCase_ ? EqualNoCase(a, b) : a == b;
}

int IniProfile::AppendSection(const std::string& section) {
  ++lastSection_;
  GrowFor(lastSection_);
  slots_[static_cast<std::size_t>(lastSection_)] = Slot{};
  sectionNames_.push_back(section);
  return lastSection_;
}

void IniProfile::GrowFor(int sectionIndex) {
  while (static_cast<std::size_t>(sectionIndex) >= slots_.size()) {
    slots_.resize(slots_.size() + static_cast<std::size_t>(slotStep_));
  }
}

std::string IniProfile::ChooseBackupPath() const {
  std::size_t slash = path_.rfind('/');
  const std::string dir = slash == std::string::npos ? std::string(".") : path_.substr(0, slash);
  const std::string name = slash == std::string::npos ? path_ : path_.substr(slash + 1);
  // Backups and siblings such as "Varo16.ini.007" or "Varo16.exe" share the
  // file's name up to its last '.'; the highest number found in the last three
  // characters of any of them decides the next one.
  const std::string stem = name.substr(0, name.rfind('.'));

  int highest = 0;
  if (DIR* d = ::opendir(dir.c_str())) {
    while (const dirent* entry = ::readdir(d)) {
      std::string_view other = entry->d_name;
      if (!StartsWithNoCase(other, stem)) continue;
      std::string_view tail = other.substr(other.size() >= 3 ? other.size() - 3 : 0);
      int number = 0;
      for (char c : tail) {
        if (c < '0' || c > '9') break;
        number = number * 10 + (c - '0');
      }
      if (number > highest) highest = number;
    }
    ::closedir(d);
  }
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, ".%.3d", highest + 1);
  return path_ + suffix;
}

}  // namespace varo
