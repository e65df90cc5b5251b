#pragma once

#include <string>

namespace varo::radio {

enum class MessageIcon { kNone, kExclamation, kInformation, kQuestion, kStop };
enum class MessageButtons { kOk, kOkCancel, kRetryCancel, kYesNo };
enum class MessageAnswer { kOk, kCancel, kRetry, kYes, kNo };

// One modal message box as the rules ask for it. A text or caption is either
// a string-table identifier (looked up in the language module by the
// implementation) or a literal UTF-8 text chosen by the rules in the
// interface language.
struct MessageRequest {
  int textId = 0;     // string-table id of the text; 0: `text` holds it
  std::string text;   // literal text, used when textId is 0
  int captionId = 0;  // string-table id of the caption; 0: the application
                      // name ("Company" of the INI's language section)
  MessageIcon icon = MessageIcon::kNone;
  MessageButtons buttons = MessageButtons::kOk;
  bool operator==(const MessageRequest&) const = default;
};

// Shows message boxes for the rules. The Qt implementation runs a modal
// QMessageBox parented to the window in use and returns the button pressed;
// tests record the requests and answer from a script.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Shows `request` modally and returns the button the user pressed. Closing
  // the box without a button answers kCancel when the box has a Cancel
  // button and kOk for a box with OK alone.
  virtual MessageAnswer Show(const MessageRequest& request) = 0;
};

}  // namespace varo::radio
