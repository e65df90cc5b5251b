#pragma once

#include <string>
#include <vector>

#include "radio/CloneProtocol.h"
#include "radio/MemoryImage.h"
#include "radio/RadioModel.h"

namespace varo::radio {

// Comparing what a radio holds with what a document would write into it:
// after a write, a read of the radio must bring back every byte the write
// sent. A cable that echoes or an acknowledgement the radio sends for a frame
// it did not store passes the clone protocol unnoticed; a comparison finds it.

// The bytes a comparison looks at: those a write sends (its spans and its
// final short frame) that a read brings back. Other bytes belong to the radio
// alone and may differ.
std::vector<AddressSpan> ComparedSpans(const CloneProtocol& protocol);

// A table cell that differs, with both texts as the table shows them.
struct ChannelDifference {
  long row = 0;
  long col = 0;
  std::string document;
  std::string radio;
  bool operator==(const ChannelDifference&) const = default;
};

// A row of the report's options page that differs ("Squelch Level:").
struct OptionDifference {
  std::string label;
  std::string document;
  std::string radio;
  bool operator==(const OptionDifference&) const = default;
};

struct ImageComparison {
  std::vector<ChannelDifference> channels;
  std::vector<OptionDifference> options;
  // Differing bytes that neither the table nor the options page shows (scan
  // settings, bits the program keeps as they are), as runs of addresses.
  std::vector<AddressSpan> otherBytes;

  bool Matches() const { return channels.empty() && options.empty() && otherBytes.empty(); }
  std::size_t Places() const { return channels.size() + options.size() + otherBytes.size(); }
};

// Compares `radio` with `document` over ComparedSpans() of the model's
// protocol: the channels decoded as the table shows them (in the language
// `chinese` names), the options by the rows of the model's report, and the
// bytes left over by address. Both images are taken as the program writes
// them (channels decoded and stored again), so a radio read and not written
// since matches its document although the program stores an unprogrammed
// channel's settings bits its own way.
ImageComparison CompareImages(const RadioModel& model, const MemoryImage& document,
                              const MemoryImage& radio, bool chinese);

// The comparison in words, one line each: the summary first ("The radio
// matches the document." or "The radio differs from the document in 2
// places:"), then every difference ("Channel 3, QT/DQT Dec: document 67.0,
// radio 71.9").
std::vector<std::string> FormatComparison(const ImageComparison& comparison,
                                          const TableSpec& table, bool chinese);

// The same for two documents named `first` and `second` (file names, or the
// open document and a file): "A.dat and B.dat match." or "A.dat and B.dat
// differ in 2 places:", then "Channel 3, QT/DQT Dec: A.dat 67.0, B.dat
// 71.9" and so on.
std::vector<std::string> FormatDocumentComparison(const ImageComparison& comparison,
                                                  const TableSpec& table, bool chinese,
                                                  const std::string& first,
                                                  const std::string& second);

}  // namespace varo::radio
