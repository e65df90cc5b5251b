#include "radiosim/SimulatedRadio.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "radiosim/CloneRadio.h"

namespace varo::radiosim {

namespace {

// While no programmer holds the port open the master reports a hang-up on
// every poll; the radio then looks again after this long.
constexpr std::chrono::milliseconds kHangUpRecheck{2};

std::string SystemError(const std::string& what) { return what + ": " + std::strerror(errno); }

bool WriteFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes,
                         std::string& error) {
  const std::string temp = path + ".tmp";
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    error = SystemError(temp);
    return false;
  }
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  const bool ok = done == bytes.size() && ::fsync(fd) == 0;
  if (!ok) error = SystemError(temp);
  ::close(fd);
  if (ok && ::rename(temp.c_str(), path.c_str()) == 0) return true;
  if (ok) error = SystemError(path);
  ::unlink(temp.c_str());
  return false;
}

}  // namespace

std::unique_ptr<RadioModel> MakeRadioModel(const std::string& name, Fault fault, int fleet,
                                           int faulty) {
  RadioConfig config;
  if (name == "16") {
    config = Radio16Config();
  } else if (name == "199") {
    config = Radio199Config();
  } else {
    return nullptr;
  }
  if (fleet > 0) return std::make_unique<FleetRadio>(std::move(config), fleet, fault, faulty);
  return std::make_unique<CloneRadio>(std::move(config), fault);
}

SimulatedRadio::SimulatedRadio(std::unique_ptr<RadioModel> model, SimOptions options)
    : model_(std::move(model)), options_(std::move(options)) {}

SimulatedRadio::~SimulatedRadio() {
  Stop();
  CloseAll();
}

bool SimulatedRadio::Open(std::string& error) {
  if (master_ >= 0) return true;
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (master_ < 0) {
    error = SystemError("posix_openpt");
    return false;
  }
  char name[128];
  if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0 ||
      ::ptsname_r(master_, name, sizeof name) != 0) {
    error = SystemError("pseudo-terminal");
    CloseAll();
    return false;
  }
  devicePath_ = name;
  // Raw from the start, so nothing is echoed or translated before the
  // programmer sets its own line settings.
  termios tio{};
  if (::tcgetattr(master_, &tio) == 0) {
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    ::tcsetattr(master_, TCSANOW, &tio);
  }
  int wake[2];
  if (::pipe2(wake, O_NONBLOCK | O_CLOEXEC) != 0) {
    error = SystemError("pipe");
    CloseAll();
    return false;
  }
  wakeRead_ = wake[0];
  wakeWrite_ = wake[1];

  if (!MakeLink(error)) {
    CloseAll();
    return false;
  }
  return true;
}

bool SimulatedRadio::MakeLink(std::string& error) {
  if (options_.linkPath.empty()) return true;
  struct stat st {};
  if (::lstat(options_.linkPath.c_str(), &st) == 0) {
    if (!S_ISLNK(st.st_mode)) {
      error = options_.linkPath + ": exists and is not a symbolic link";
      return false;
    }
    ::unlink(options_.linkPath.c_str());
  }
  if (::symlink(devicePath_.c_str(), options_.linkPath.c_str()) != 0) {
    error = SystemError(options_.linkPath);
    return false;
  }
  linkMade_ = true;
  return true;
}

std::string SimulatedRadio::PortPath() const {
  return options_.linkPath.empty() ? devicePath_ : options_.linkPath;
}

void SimulatedRadio::RemoveLink() {
  if (!linkMade_) return;
  // Only our own link: someone may have put another one there meanwhile.
  char target[256];
  ssize_t n = ::readlink(options_.linkPath.c_str(), target, sizeof target - 1);
  if (n >= 0 && devicePath_ == std::string(target, static_cast<std::size_t>(n))) {
    ::unlink(options_.linkPath.c_str());
  }
  linkMade_ = false;
}

void SimulatedRadio::CloseAll() {
  RemoveLink();
  for (int* fd : {&master_, &wakeRead_, &wakeWrite_}) {
    if (*fd >= 0) ::close(*fd);
    *fd = -1;
  }
}

void SimulatedRadio::Run() {
  if (master_ < 0) return;
  Serve();
}

void SimulatedRadio::Start() {
  if (master_ < 0 || thread_.joinable()) return;
  thread_ = std::thread([this] { Serve(); });
}

void SimulatedRadio::Stop() {
  stop_.store(true);
  if (wakeWrite_ >= 0) {
    const char q = 'q';
    [[maybe_unused]] ssize_t n = ::write(wakeWrite_, &q, 1);
  }
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void SimulatedRadio::RequestSave() {
  saveRequested_.store(true);
  if (wakeWrite_ >= 0) {
    const char s = 's';
    [[maybe_unused]] ssize_t n = ::write(wakeWrite_, &s, 1);
  }
}

std::vector<std::uint8_t> SimulatedRadio::Memory() const {
  std::lock_guard lock(mutex_);
  return model_->Memory();
}

bool SimulatedRadio::SetMemory(const std::vector<std::uint8_t>& memory) {
  std::lock_guard lock(mutex_);
  return model_->SetMemory(memory);
}

std::vector<std::uint8_t> SimulatedRadio::Received() const {
  std::lock_guard lock(mutex_);
  return received_;
}

void SimulatedRadio::ClearReceived() {
  std::lock_guard lock(mutex_);
  received_.clear();
}

std::string SimulatedRadio::SaveError() const {
  std::lock_guard lock(mutex_);
  return saveError_;
}

std::vector<std::vector<std::uint8_t>> SimulatedRadio::Unplugged() const {
  std::lock_guard lock(mutex_);
  return unplugged_;
}

void SimulatedRadio::Unplug(Clock::time_point now) {
  {
    std::lock_guard lock(mutex_);
    unplugged_.push_back(model_->Memory());
  }
  RemoveLink();
  input_.clear();
  output_.clear();
  nextRadioAt_ = now + std::chrono::milliseconds(options_.fleetGapMs);
}

void SimulatedRadio::PlugNext(Clock::time_point now) {
  if (!nextRadioAt_ || now < *nextRadioAt_) return;
  bool next = false;
  {
    std::lock_guard lock(mutex_);
    next = model_->NextRadio();
  }
  if (!next) {
    nextRadioAt_ = Clock::time_point::max();  // the fleet is done
    return;
  }
  nextRadioAt_.reset();
  std::string ignored;  // a file put in the link's place meanwhile stays
  MakeLink(ignored);
}

void SimulatedRadio::Save() {
  if (options_.savePath.empty()) return;
  std::vector<std::uint8_t> memory = Memory();
  std::string error;
  const bool ok = WriteFileAtomically(options_.savePath, memory, error);
  std::lock_guard lock(mutex_);
  saveError_ = ok ? std::string() : error;
}

void SimulatedRadio::Vanish() {
  // The wake-up pipe stays: Stop() may be writing to it from another thread.
  RemoveLink();
  ::close(master_);
  master_ = -1;
  input_.clear();
  output_.clear();
  vanished_.store(true);
}

void SimulatedRadio::Serve() {
  // The paced radio sleeps until each byte is due; the default timer slack
  // would let every such wake-up come up to 50 us late.
  ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
  while (!stop_.load() && !vanished_.load()) {
    Clock::time_point now = Clock::now();
    PlugNext(now);
    if (nextRadioAt_) input_.clear();  // no radio on the cable
    HandleDueInput(now);
    if (vanished_.load()) break;
    SendDueOutput(now);
    if (saveRequested_.exchange(false)) Save();

    // Sleep until the next paced byte is due, a byte arrives or we are woken.
    std::optional<Clock::time_point> deadline;
    if (!input_.empty()) deadline = input_.front().due;
    if (!output_.empty())
      deadline = std::min(deadline.value_or(output_.front().due), output_.front().due);
    if (hungUp_) deadline = std::min(deadline.value_or(now + kHangUpRecheck), now + kHangUpRecheck);
    if (nextRadioAt_ && *nextRadioAt_ != Clock::time_point::max())
      deadline = std::min(deadline.value_or(*nextRadioAt_), *nextRadioAt_);
    timespec wait{};
    timespec* waitPtr = nullptr;
    if (deadline) {
      auto ns = std::max<std::int64_t>(
          0,
          std::chrono::duration_cast<std::chrono::nanoseconds>(*deadline - Clock::now()).count());
      wait.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
      wait.tv_nsec = static_cast<long>(ns % 1'000'000'000);
      waitPtr = &wait;
    }
    pollfd fds[2] = {{wakeRead_, POLLIN, 0}, {master_, POLLIN, 0}};
    const nfds_t count = hungUp_ ? 1 : 2;
    if (::ppoll(fds, count, waitPtr, nullptr) < 0 && errno != EINTR) break;

    if (fds[0].revents & POLLIN) {
      char drain[64];
      while (::read(wakeRead_, drain, sizeof drain) > 0) {
      }
    }
    if (hungUp_) {
      // A programmer has opened the port again once the hang-up is gone.
      pollfd check{master_, POLLIN, 0};
      if (::poll(&check, 1, 0) >= 0 && !(check.revents & POLLHUP)) hungUp_ = false;
    }
    if (!hungUp_) TakeInput(Clock::now());
  }
}

void SimulatedRadio::TakeInput(Clock::time_point now) {
  std::uint8_t buffer[256];
  for (;;) {
    ssize_t n = ::read(master_, buffer, sizeof buffer);
    if (n > 0) {
      std::lock_guard lock(mutex_);
      received_.insert(received_.end(), buffer, buffer + n);
      for (ssize_t i = 0; i < n; ++i) {
        Clock::time_point due = now;
        if (options_.paced) {
          due = std::max(now, lastInput_) + kByteTime;
          lastInput_ = due;
        }
        input_.push_back({buffer[i], due});
      }
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) return;
    // EIO: the last programmer closed the port; the session is over.
    bool unplugged = false;
    {
      std::lock_guard lock(mutex_);
      model_->EndSession();
      unplugged = !nextRadioAt_ && model_->Unplugged();
    }
    input_.clear();
    output_.clear();
    hungUp_ = true;
    if (unplugged) Unplug(now);
    return;
  }
}

void SimulatedRadio::HandleDueInput(Clock::time_point now) {
  bool completed = false;
  std::size_t used = 0;
  while (used < input_.size() && input_[used].due <= now) {
    Reaction reaction;
    {
      std::lock_guard lock(mutex_);
      reaction = model_->Receive(input_[used].byte);
    }
    // The radio answers counting from the byte's arrival, not from when this
    // thread got round to it: a late wake-up must not delay every reply.
    const Clock::time_point arrived = input_[used].due;
    ++used;
    if (reaction.vanish) {
      Vanish();
      return;
    }
    // Paced, a reply leaves whole at the moment its last byte would have
    // crossed a 9600 baud line. The programmer reads every reply whole, so it
    // completes its read at the same moment as over the line; but no byte
    // waits for another wake-up of this thread, which a busy machine may
    // delay past the programmer's 30 ms interval between the bytes of one
    // reply (a stall no real line shows).
    const Clock::time_point start = arrived + std::chrono::milliseconds(reaction.delayMs);
    Clock::time_point due = start;
    if (options_.paced && !reaction.reply.empty()) {
      due = std::max(start, lastOutput_) +
            kByteTime * static_cast<std::int64_t>(reaction.reply.size());
      lastOutput_ = due;
    }
    for (std::uint8_t byte : reaction.reply) output_.push_back({byte, due});
    if (reaction.writeCompleted) {
      completedWrites_.fetch_add(1);
      completed = true;
    }
  }
  input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(used));
  if (completed) {
    // The acknowledge goes out first; the radio stores its memory afterwards.
    SendDueOutput(now);
    Save();
  }
}

void SimulatedRadio::SendDueOutput(Clock::time_point now) {
  std::size_t due = 0;
  std::uint8_t buffer[256];
  while (due < output_.size() && due < sizeof buffer && output_[due].due <= now) {
    buffer[due] = output_[due].byte;
    ++due;
  }
  if (due == 0) return;
  ssize_t n = ::write(master_, buffer, due);
  if (n < 0) {
    if (errno == EAGAIN || errno == EINTR) return;
    output_.clear();  // nobody is listening
    return;
  }
  bytesSent_.fetch_add(static_cast<std::size_t>(n));
  output_.erase(output_.begin(), output_.begin() + n);
}

}  // namespace varo::radiosim
