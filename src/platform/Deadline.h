#pragma once

#include <chrono>
#include <cstdint>
#include <limits>

namespace varo {

// A point in time after which a wait ends, for the serial port's time-outs.
// Rules:
// - A deadline made from 0 ms is unset: it never passes (a zero time-out field
//   disables that limit, as on the ports the radio programs were made for).
// - PollMilliseconds() is what poll() should wait: -1 (forever) when unset,
//   0 once passed, else the time left rounded up, so a wait that returns on
//   time-out always finds the deadline passed and a loop never spins.
// - Earlier() of two deadlines is the one that passes first; an unset one
//   never wins over a set one.
class Deadline {
 public:
  using Clock = std::chrono::steady_clock;

  Deadline() = default;  // unset

  static Deadline After(std::uint64_t milliseconds) {
    Deadline d;
    if (milliseconds > 0) {
      d.set_ = true;
      d.at_ = Clock::now() + std::chrono::milliseconds(milliseconds);
    }
    return d;
  }

  static Deadline Earlier(const Deadline& a, const Deadline& b) {
    if (!a.set_) return b;
    if (!b.set_) return a;
    return a.at_ <= b.at_ ? a : b;
  }

  bool IsSet() const { return set_; }
  bool Passed() const { return set_ && Clock::now() >= at_; }

  int PollMilliseconds() const {
    if (!set_) return -1;
    auto left = at_ - Clock::now();
    if (left <= Clock::duration::zero()) return 0;
    auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return ms > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max()
                                                : static_cast<int>(ms);
  }

 private:
  bool set_ = false;
  Clock::time_point at_{};
};

}  // namespace varo
