#include "radio/ImageCompare.h"

#include <algorithm>
#include <cstdio>

#include "radio/MemoryGrid.h"

namespace varo::radio {

namespace {

// The document's and the radio's memory as a user sees them.
struct Decoded {
  std::vector<std::string> cells;  // rows 1.., columns 1..
  std::vector<ReportRow> options;
  bool operator==(const Decoded&) const = default;
};

Decoded Decode(const RadioModel& model, const MemoryImage& image, bool chinese) {
  MemoryGrid grid(model.table->Rows(), model.table->Cols());
  model.imageToTable(image, grid, chinese);
  Decoded decoded;
  for (long row = 1; row < grid.Rows(); ++row)
    for (long col = 1; col < grid.Cols(); ++col) decoded.cells.push_back(grid.TextMatrix(row, col));
  if (model.report && model.report->options) decoded.options = model.report->options(image, chinese);
  return decoded;
}

// The image as the program writes it: its channels decoded and stored again.
// How a radio's memory stores a channel that the table shows the same way
// (the settings bits of an unprogrammed channel, both busy-lock bits set)
// then makes no difference; everything the table does not stand for stays.
MemoryImage AsWritten(const RadioModel& model, const MemoryImage& image) {
  MemoryGrid grid(model.table->Rows(), model.table->Cols());
  model.imageToTable(image, grid, false);
  MemoryImage written = image;
  model.tableToImage(grid, written);
  return written;
}

std::string Hex(std::size_t address) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%03zX", address);
  return text;
}

std::string WithoutColon(std::string label) {
  while (!label.empty() && (label.back() == ':' || label.back() == ' ')) label.pop_back();
  return label;
}

std::string Shown(const std::string& text, bool chinese) {
  if (!text.empty()) return text;
  return chinese ? "（空）" : "(empty)";
}

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  return first == std::string::npos ? "" : text.substr(first);
}

}  // namespace

std::vector<AddressSpan> ComparedSpans(const CloneProtocol& protocol) {
  std::vector<AddressSpan> sent = protocol.writeSpans;
  if (protocol.finalWrite) sent.push_back(*protocol.finalWrite);
  std::vector<AddressSpan> compared;
  for (const AddressSpan& w : sent) {
    for (const AddressSpan& r : protocol.readSpans) {
      const std::size_t begin = std::max(w.begin, r.begin);
      const std::size_t end = std::min(w.end, r.end);
      if (begin < end) compared.push_back({begin, end});
    }
  }
  std::sort(compared.begin(), compared.end(),
            [](const AddressSpan& a, const AddressSpan& b) { return a.begin < b.begin; });
  return compared;
}

ImageComparison CompareImages(const RadioModel& model, const MemoryImage& document,
                              const MemoryImage& radio, bool chinese) {
  // The radio as far as it is compared: outside the spans it counts as the
  // document, so only the compared bytes can make a difference. Both sides
  // are taken as the program writes them.
  const std::vector<AddressSpan> spans = ComparedSpans(*model.protocol);
  const MemoryImage mine = AsWritten(model, document);
  MemoryImage seen = document;
  for (const AddressSpan& span : spans)
    for (std::size_t a = span.begin; a < span.end && a < seen.size() && a < radio.size(); ++a)
      seen[a] = radio[a];
  seen = AsWritten(model, seen);
  std::vector<std::size_t> differing;
  for (const AddressSpan& span : spans)
    for (std::size_t a = span.begin; a < span.end && a < seen.size(); ++a)
      if (seen[a] != mine[a]) differing.push_back(a);
  ImageComparison result;
  if (differing.empty()) return result;

  const Decoded ours = Decode(model, mine, chinese);
  const Decoded theirs = Decode(model, seen, chinese);
  const long cols = model.table->Cols() - 1;
  for (std::size_t i = 0; i < ours.cells.size(); ++i) {
    if (ours.cells[i] == theirs.cells[i]) continue;
    const long at = static_cast<long>(i);
    result.channels.push_back({at / cols + 1, at % cols + 1, ours.cells[i], theirs.cells[i]});
  }
  for (std::size_t i = 0; i < ours.options.size() && i < theirs.options.size(); ++i) {
    if (ours.options[i].second == theirs.options[i].second) continue;
    result.options.push_back(
        {ours.options[i].first, ours.options[i].second, theirs.options[i].second});
  }

  // A byte whose change shows nowhere, neither taken alone into the document
  // nor taken alone out of the radio, is listed by its address.
  for (std::size_t a : differing) {
    MemoryImage probe = mine;
    probe[a] = seen[a];
    if (!(Decode(model, probe, chinese) == ours)) continue;
    probe = seen;
    probe[a] = mine[a];
    if (!(Decode(model, probe, chinese) == theirs)) continue;
    if (!result.otherBytes.empty() && result.otherBytes.back().end == a) {
      ++result.otherBytes.back().end;
    } else {
      result.otherBytes.push_back({a, a + 1});
    }
  }
  return result;
}

namespace {

// The comparison's lines after `summary`, each difference with the two
// sides' values after their labels.
std::vector<std::string> DifferenceLines(const ImageComparison& comparison, const TableSpec& table,
                                         bool chinese, std::string summary,
                                         const std::string& first, const std::string& second) {
  std::vector<std::string> lines{std::move(summary)};
  const std::string doc = first + " ";
  const std::string radio = second + " ";
  const std::string comma = chinese ? "，" : ", ";
  const std::string colon = chinese ? "：" : ": ";
  for (const ChannelDifference& d : comparison.channels) {
    lines.push_back((chinese ? "信道 " : "Channel ") + Trimmed(table.RowLabel(d.row)) + comma +
                    table.Column(d.col).header.In(chinese) + colon + doc +
                    Shown(d.document, chinese) + comma + radio + Shown(d.radio, chinese));
  }
  for (const OptionDifference& d : comparison.options) {
    lines.push_back(WithoutColon(d.label) + colon + doc + Shown(d.document, chinese) + comma +
                    radio + Shown(d.radio, chinese));
  }
  for (const AddressSpan& span : comparison.otherBytes) {
    const std::string where =
        span.size() == 1 ? Hex(span.begin) : Hex(span.begin) + "-" + Hex(span.end - 1);
    lines.push_back(chinese ? "存储地址 " + where + "：信道表和可选功能中未显示的设置不同"
                            : "Memory " + where +
                                  ": settings that neither the table nor the options show");
  }
  return lines;
}

std::string PlacesText(std::size_t places) {
  return std::to_string(places) + (places == 1 ? " place:" : " places:");
}

}  // namespace

std::vector<std::string> FormatComparison(const ImageComparison& comparison,
                                          const TableSpec& table, bool chinese) {
  if (comparison.Matches()) {
    return {chinese ? "电台与文档一致。" : "The radio matches the document."};
  }
  const std::size_t places = comparison.Places();
  return DifferenceLines(comparison, table, chinese,
                         chinese ? "电台与文档有 " + std::to_string(places) + " 处不同："
                                 : "The radio differs from the document in " + PlacesText(places),
                         chinese ? "文档" : "document", chinese ? "电台" : "radio");
}

std::vector<std::string> FormatDocumentComparison(const ImageComparison& comparison,
                                                  const TableSpec& table, bool chinese,
                                                  const std::string& first,
                                                  const std::string& second) {
  const std::string both = first + (chinese ? " 与 " : " and ") + second;
  if (comparison.Matches()) return {both + (chinese ? " 一致。" : " match.")};
  const std::size_t places = comparison.Places();
  return DifferenceLines(comparison, table, chinese,
                         chinese ? both + " 有 " + std::to_string(places) + " 处不同："
                                 : both + " differ in " + PlacesText(places),
                         first, second);
}

}  // namespace varo::radio
