#include "platform/ProgramFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string_view>

namespace varo {
namespace {

std::mutex& DirectoryMutex() {
  static std::mutex mutex;
  return mutex;
}

std::string& OverrideDirectory() {
  static std::string dir;
  return dir;
}

std::string WithSlash(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

std::string ExecutableDirectory() {
  char buffer[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n > 0) {
    std::string path(buffer, static_cast<std::size_t>(n));
    std::size_t slash = path.rfind('/');
    if (slash != std::string::npos) return path.substr(0, slash + 1);
  }
  if (::getcwd(buffer, sizeof buffer)) return WithSlash(buffer);
  return "./";
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

// Reads the whole of `fd`; EINTR is retried. Returns the number of bytes read.
std::size_t ReadFully(int fd, void* buffer, std::size_t size) {
  std::size_t got = 0;
  while (got < size) {
    ssize_t n = ::read(fd, static_cast<char*>(buffer) + got, size - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  return got;
}

bool InGroup(gid_t gid) {
  if (::getegid() == gid) return true;
  const int count = ::getgroups(0, nullptr);
  if (count <= 0) return false;
  std::vector<gid_t> groups(static_cast<std::size_t>(count));
  const int got = ::getgroups(count, groups.data());
  for (int i = 0; i < got; ++i) {
    if (groups[static_cast<std::size_t>(i)] == gid) return true;
  }
  return false;
}

bool Exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

}  // namespace

std::string ProgramDirectory() {
  std::lock_guard<std::mutex> lock(DirectoryMutex());
  if (!OverrideDirectory().empty()) return OverrideDirectory();
  static const std::string executableDir = ExecutableDirectory();
  return executableDir;
}

void SetProgramDirectory(const std::string& dir) {
  std::lock_guard<std::mutex> lock(DirectoryMutex());
  OverrideDirectory() = dir.empty() ? std::string() : WithSlash(dir);
}

std::optional<std::string> FindFileNoCase(const std::string& dir, const std::string& name) {
  if (name.empty()) return std::nullopt;
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return std::nullopt;
  std::optional<std::string> found;
  while (const dirent* entry = ::readdir(d)) {
    std::string_view other = entry->d_name;
    if (other == name) {
      found = name;
      break;
    }
    if (!found && EqualNoCase(other, name)) found = std::string(other);
  }
  ::closedir(d);
  if (!found) return std::nullopt;
  return (dir.empty() ? std::string() : WithSlash(dir)) + *found;
}

namespace {

// "$<variable>/varo", else "<home>/<underHome>/varo"; a relative value does
// not count, as the XDG rules ask.
std::string XdgVaroDirectory(const char* variable, const char* underHome) {
  const char* xdg = std::getenv(variable);
  if (xdg && xdg[0] == '/') return std::string(xdg) + "/varo";
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + "/" + underHome + "/varo";
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && pw->pw_dir[0] == '/')
    return std::string(pw->pw_dir) + "/" + underHome + "/varo";
  return "/tmp/varo";
}

}  // namespace

std::string UserSettingsDirectory() { return XdgVaroDirectory("XDG_CONFIG_HOME", ".config"); }

std::string UserDataDirectory() { return XdgVaroDirectory("XDG_DATA_HOME", ".local/share"); }

bool MakeDirectories(const std::string& dir) {
  for (std::size_t at = 1; at <= dir.size(); ++at) {
    if (at != dir.size() && dir[at] != '/') continue;
    const std::string part = dir.substr(0, at);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  struct stat st {};
  return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FolderWritable(const std::string& dir) {
  struct stat st {};
  if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  // The kernel's answer covers ACLs and read-only mounts; for root it is yes
  // everywhere else, so the folder's own bits decide then.
  if (::faccessat(AT_FDCWD, dir.c_str(), W_OK | X_OK, AT_EACCESS) != 0) return false;
  if (::geteuid() != 0) return true;
  if (st.st_uid == 0) return (st.st_mode & S_IWUSR) != 0;
  if (InGroup(st.st_gid)) return (st.st_mode & S_IWGRP) != 0;
  return (st.st_mode & S_IWOTH) != 0;
}

SettingsFilePaths LocateSettingsFile(const std::string& name) {
  const std::string programDir = ProgramDirectory();
  // Found without regard to letter case, as the suite's other files are.
  const std::string installed = FindFileNoCase(programDir, name).value_or(programDir + name);
  // /usr is read-only, shareable data by the file system hierarchy's rules:
  // a suite installed there keeps its files as installed even for root, to
  // whom its folder is writable.
  const bool underUsr = programDir.rfind("/usr/", 0) == 0;
  if (!underUsr && FolderWritable(programDir)) return {installed, installed};
  const std::string own = UserSettingsDirectory() + "/" + name;
  return {Exists(own) ? own : installed, own};
}

const char* SuiteVersion() { return VARO_VERSION; }

bool AnswerVersion(int argc, char** argv, const char* program) {
  if (argc < 2 || std::strcmp(argv[1], "--version") != 0) return false;
  std::printf("%s %s\n", program, SuiteVersion());
  std::fflush(stdout);
  return true;
}

const char* ExecutableSuffix() { return ""; }

bool IsProgramFile(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
}

bool StartProgram(const std::string& path, const std::vector<std::string>& args) {
  if (path.empty()) return false;
  // Everything the children need is prepared before fork: between fork and
  // exec only async-signal-safe calls are made.
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(path.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  // The grandchild reports a failed exec through this pipe; a successful exec
  // closes its end (close-on-exec), so the parent reads end-of-file.
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return false;

  pid_t child = ::fork();
  if (child < 0) {
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    return false;
  }
  if (child == 0) {
    // The middle process exits at once, so the program is adopted by init and
    // never becomes our zombie; setsid detaches it from our terminal and
    // process group.
    ::close(pipeFds[0]);
    pid_t grandchild = ::fork();
    if (grandchild != 0) ::_exit(grandchild < 0 ? 1 : 0);
    ::setsid();
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::execv(path.c_str(), argv.data());
    int error = errno;
    ssize_t ignored = ::write(pipeFds[1], &error, sizeof error);
    (void)ignored;
    ::_exit(127);
  }

  ::close(pipeFds[1]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  std::size_t got = ReadFully(pipeFds[0], &error, sizeof error);
  ::close(pipeFds[0]);
  const bool middleOk = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return middleOk && got == 0;
}

}  // namespace varo
