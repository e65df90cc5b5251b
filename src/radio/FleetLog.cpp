#include "radio/FleetLog.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "platform/ProgramFiles.h"

namespace varo::radio {

namespace {

constexpr char kOk[] = "ok";
constexpr char kFailed[] = "failed";

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

// The fields of each line of a CSV text; a quoted field may hold line breaks.
std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
  std::vector<std::vector<std::string>> lines;
  std::vector<std::string> fields;
  std::string field;
  bool quoted = false;
  bool any = false;  // the line has begun
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c != '"') {
        field += c;
      } else if (i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else {
        quoted = false;
      }
      continue;
    }
    any = true;
    if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.push_back(std::move(field));
      field.clear();
    } else if (c == '\n') {
      fields.push_back(std::move(field));
      field.clear();
      lines.push_back(std::move(fields));
      fields.clear();
      any = false;
    } else if (c != '\r') {
      field += c;
    }
  }
  if (any || quoted) {
    fields.push_back(std::move(field));
    lines.push_back(std::move(fields));
  }
  return lines;
}

bool ParseHex(const std::string& text, std::vector<std::uint8_t>& bytes) {
  if (text.size() % 2 != 0) return false;
  const auto digit = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  bytes.clear();
  for (std::size_t i = 0; i < text.size(); i += 2) {
    const int high = digit(text[i]), low = digit(text[i + 1]);
    if (high < 0 || low < 0) return false;
    bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
  }
  return true;
}

std::string SystemError(const std::string& path) { return path + ": " + std::strerror(errno); }

bool WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Makes the log at `path` holding its header, unless it exists. The header is
// written into a new file of its own and linked into place, so the log never
// exists without it; where links are not possible it is created exclusively.
// The new file is made exclusively under a unique name: a file shared by two
// writers (two threads of one program) could be truncated by one after the
// other had linked it as the log and appended to it.
bool CreateLog(const std::string& path, std::string& error) {
  const std::string header = std::string(kFleetLogHeader) + "\n";
  static std::atomic<unsigned> made{0};
  const std::string temp =
      path + ".new." + std::to_string(::getpid()) + "." + std::to_string(made.fetch_add(1));
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd >= 0) {
    const bool written = WriteAll(fd, header) && ::fsync(fd) == 0;
    ::close(fd);
    const int linked = written ? ::link(temp.c_str(), path.c_str()) : -1;
    const int linkError = errno;
    ::unlink(temp.c_str());
    if (linked == 0 || (written && linkError == EEXIST)) return true;
    if (!written) {
      error = SystemError(temp);
      return false;
    }
  }
  const int direct = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (direct < 0) {
    if (errno == EEXIST) return true;
    error = SystemError(path);
    return false;
  }
  const bool written = WriteAll(direct, header);
  if (!written) error = SystemError(path);
  ::close(direct);
  return written;
}

}  // namespace

std::string DefaultFleetLogPath() { return UserDataDirectory() + "/" + kFleetLogName; }

std::string HexBytes(const std::vector<std::uint8_t>& bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (std::uint8_t b : bytes) hex += {kDigits[b >> 4], kDigits[b & 0x0F]};
  return hex;
}

std::string LocalTimeText(std::time_t when) {
  std::tm local{};
  ::localtime_r(&when, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
  const long offset = local.tm_gmtoff / 60;
  const long minutes = offset < 0 ? -offset : offset;
  char zone[40];
  std::snprintf(zone, sizeof zone, "%c%02ld:%02ld", offset < 0 ? '-' : '+', minutes / 60,
                minutes % 60);
  return std::string(text) + zone;
}

std::string FleetLogLine(const FleetRecord& r) {
  return CsvField(r.time) + ',' + (r.ok ? kOk : kFailed) + ',' + HexBytes(r.identification) +
         ',' + CsvField(r.file) + ',' + CsvField(r.sha256) + ',' + CsvField(r.reason) + '\n';
}

bool AppendFleetLog(const std::string& path, const FleetRecord& record, std::string& error) {
  const std::size_t slash = path.rfind('/');
  if (slash != std::string::npos && slash > 0 && !MakeDirectories(path.substr(0, slash))) {
    error = SystemError(path.substr(0, slash));
    return false;
  }
  int fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CLOEXEC);
  if (fd < 0 && errno == ENOENT) {
    if (!CreateLog(path, error)) return false;
    fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CLOEXEC);
  }
  if (fd < 0) {
    error = SystemError(path);
    return false;
  }
  // Programs of the suite logging at the same time take turns, so that one
  // never sees another's line half written and takes it for a broken one.
  ::flock(fd, LOCK_EX);
  std::string line = FleetLogLine(record);
  struct stat st {};
  char last = '\n';
  if (::fstat(fd, &st) == 0 && st.st_size > 0 && ::pread(fd, &last, 1, st.st_size - 1) == 1 &&
      last != '\n') {
    line.insert(0, 1, '\n');
  }
  // One write: appended whole, after whatever another program appended.
  const ssize_t n = ::write(fd, line.data(), line.size());
  ::flock(fd, LOCK_UN);
  const bool ok = n == static_cast<ssize_t>(line.size()) && ::fsync(fd) == 0;
  if (!ok) error = SystemError(path);
  ::close(fd);
  return ok;
}

std::vector<FleetRecord> ParseFleetLog(const std::string& text) {
  std::vector<FleetRecord> records;
  for (std::vector<std::string>& f : ParseCsv(text)) {
    if (f.size() != 6 || (f[1] != kOk && f[1] != kFailed)) continue;
    FleetRecord r;
    if (!ParseHex(f[2], r.identification)) continue;
    r.time = std::move(f[0]);
    r.ok = f[1] == kOk;
    r.file = std::move(f[3]);
    r.sha256 = std::move(f[4]);
    r.reason = std::move(f[5]);
    records.push_back(std::move(r));
  }
  return records;
}

}  // namespace varo::radio
