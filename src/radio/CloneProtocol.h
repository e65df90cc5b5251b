#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/SerialPort.h"

namespace varo::radio {

// A stretch of the memory image, [begin, end), in radio addresses.
struct AddressSpan {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::size_t size() const { return end - begin; }
};

// How a radio model speaks the clone protocol: the data the clone link runs
// on. Everything not named here is common to the radios: 9600 8N1, a buffer
// clearing before every frame, an identification request 0x02 answered with
// the radio's identification, the acknowledge 0x06, read frames "R" hi lo n
// answered with a 4-byte header and n data bytes, write frames "W" hi lo n
// followed by n data bytes.
struct CloneProtocol {
  // How the radio's answer to the wake-up word is judged.
  enum class WakeUpAnswer {
    // Any byte, or none within the time-out, goes on to the identification;
    // only a failing port (an error, not a time-out) counts as a failed try.
    kAnyByte,
    // It must be 0x06; when the first byte is not (and the port did not
    // fail), one more byte is read. Anything else counts as a failed try.
    kAckInTwoReads,
  };

  std::size_t imageSize = 0;

  // Sent one byte at a time; before each byte a 2 ms pause and a clearing of
  // both buffers.
  std::vector<std::uint8_t> wakeUp;
  WakeUpAnswer wakeUpAnswer = WakeUpAnswer::kAnyByte;
  // Sent after an accepted answer, one byte at a time, each followed by a
  // 1 ms pause, before the identification request.
  std::vector<std::uint8_t> afterWakeUp;
  std::size_t identificationLength = 8;

  // Frames carry frameLength bytes; two frames make one block, and the
  // Process dialog steps once per block. The spans are walked in order, frame
  // by frame; a span's length is a multiple of frameLength. A final half block
  // gets no progress step.
  std::size_t frameLength = 8;
  std::vector<AddressSpan> readSpans;
  std::vector<AddressSpan> writeSpans;
  // A short frame sent after all write blocks (command, then its data at once,
  // without a pause or a buffer clearing), acknowledged like any other.
  std::optional<AddressSpan> finalWrite;

  SerialPort::Timeouts timeouts{30, 500, 90, 50, 50};
  std::size_t inQueue = 1024;
  std::size_t outQueue = 512;

  // Handshake tries: a try that fails at the wake-up answer is repeated up to
  // maxAttempts times before the Retry/Cancel message; a handshake whose last
  // acknowledge is missing after more than attemptsBeforeInterrupt tries gives
  // the Program Interrupt message instead.
  int maxAttempts = 15;
  int attemptsBeforeInterrupt = 5;
  // Event pump passes before each handshake try (with a 1 ms pause each) and
  // after each block (without).
  int handshakePumpPasses = 6;
  int blockPumpPasses = 5;

  // Frames and progress steps of a complete read or write.
  std::size_t ReadFrames() const { return Frames(readSpans); }
  std::size_t WriteFrames() const { return Frames(writeSpans); }
  int ReadBlocks() const { return static_cast<int>(ReadFrames() / 2); }
  int WriteBlocks() const { return static_cast<int>(WriteFrames() / 2); }

 private:
  std::size_t Frames(const std::vector<AddressSpan>& spans) const {
    std::size_t bytes = 0;
    for (const AddressSpan& s : spans) bytes += s.size();
    return frameLength ? bytes / frameLength : 0;
  }
};

}  // namespace varo::radio
