#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace varo::radiosim {

// A fault the simulated radio shows on purpose. Frame faults name the clone
// frame they hit by its 0-based number in the session (the first read or write
// command after the handshake is frame 0) and strike again in every session.
struct Fault {
  enum class Kind {
    kNone,
    kSilent,      // never answers anything, as a radio that is switched off
    kGarbage,     // answers every handshake step with wrong bytes (two for
                  // the wake-up) and never enters clone mode
    kShortReply,  // the reply to frame N is one byte short
    kNoAck,       // frame N is not acknowledged (a write frame is not taken)
    kStall,       // from frame N on the radio answers nothing until the port
                  // is closed
    kVanish,      // at frame N the radio disappears: the pseudo-terminal is
                  // closed, as when the cable is pulled
    kLose,        // write frame N is acknowledged but not stored, a fault the
                  // clone protocol cannot see
  };
  Kind kind = Kind::kNone;
  int frame = 0;
};

// "silent", "garbage", "short:N", "noack:N", "stall:N", "vanish:N", "lose:N" or
// "none";
// nothing for anything else.
std::optional<Fault> ParseFault(const std::string& text);

// What the radio does about one byte it received.
struct Reaction {
  std::vector<std::uint8_t> reply;  // bytes to send back, in order
  unsigned delayMs = 0;             // time the radio takes before it answers
  bool vanish = false;              // the radio disappears now
  bool writeCompleted = false;      // the last frame of a write was taken
};

// One radio model behind the pseudo-terminal: its memory and its side of the
// clone protocol, fed byte by byte. Implementations keep no clock and no
// thread; the SimulatedRadio that owns one serialises every call.
class RadioModel {
 public:
  virtual ~RadioModel() = default;

  // "16" or "199"; what --model names.
  virtual std::string Name() const = 0;

  virtual std::size_t MemorySize() const = 0;
  virtual const std::vector<std::uint8_t>& Memory() const = 0;
  // `memory` must hold exactly MemorySize() bytes; returns false otherwise and
  // keeps the memory as it was.
  virtual bool SetMemory(const std::vector<std::uint8_t>& memory) = 0;

  virtual Reaction Receive(std::uint8_t byte) = 0;
  // The programmer closed the port: the radio leaves clone mode and waits for
  // the next wake-up.
  virtual void EndSession() = 0;

  // A fleet of radios behind one cable (FleetRadio): whether the dealer
  // unplugs this radio now, the session that just ended having finished its
  // programming; and the next radio taking its place, false when the fleet
  // has none left. A single radio stays for ever.
  virtual bool Unplugged() const { return false; }
  virtual bool NextRadio() { return false; }
};

}  // namespace varo::radiosim
