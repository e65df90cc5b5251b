#pragma once

namespace varo {
struct PortOpenError;
}

namespace varo::radio {

// String-table identifiers of the clone link's messages.
inline constexpr int kMsgCommunicationError = 61451;  // shown with Retry and Cancel
inline constexpr int kMsgPortOpenFailed = 61453;
inline constexpr int kMsgProgramInterrupt = 61454;

// The English texts of those messages, as the English language module holds
// them; "" for any other identifier. A user interface looks the text up in its
// language module by identifier; the command line prints these.
const char* CloneMessageText(int id);

// What the clone link needs from its surroundings: the Process dialog's
// progress and cancel flag, the event pump that keeps the interface alive, the
// message boxes and the clock. The link calls it on its own thread only.
class CloneHost {
 public:
  enum class Buttons { kOk, kRetryCancel };
  enum class Answer { kOk, kRetry, kCancel };

  virtual ~CloneHost() = default;

  // One block is done; `position` counts the blocks done so far (1, 2, ...).
  virtual void StepProgress(int position) = 0;
  // Dispatches at most one pending event (the Cancel button among them).
  virtual void PumpEvent() = 0;
  // The cancel flag of the Process dialog.
  virtual bool CancelRequested() = 0;
  // Shows message `id` with `buttons` and returns the button pressed.
  virtual Answer ShowMessage(int id, Buttons buttons) = 0;
  // Message 61453 for a port that could not be opened. By default the plain
  // message; a host that can say more adds `error`'s reason and what to do
  // about it (PortOpenAdvice) as a second line.
  virtual void ShowPortOpenFailed(const PortOpenError& error);
  // The pauses the protocol asks for. Blocks the thread for `ms` milliseconds.
  virtual void Sleep(unsigned ms);
};

}  // namespace varo::radio
