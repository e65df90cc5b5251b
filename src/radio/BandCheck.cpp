#include "radio/BandCheck.h"

#include "radio/Frequency.h"
#include "radio/TableEditor.h"
#include "radio/TextNumbers.h"

namespace varo::radio {

namespace {

bool Outside(const std::string& text, const BandLimits& limits) {
  return !text.empty() && !CheckFrequency(text, limits).inRange;
}

}  // namespace

std::vector<OutOfBandChannel> OutOfBandChannels(const GridControl& grid, const TableSpec& table,
                                                const BandLimits& limits) {
  const long rx = table.ColumnOf(ColumnRole::kRx);
  const long tx = table.ColumnOf(ColumnRole::kTx);
  std::vector<OutOfBandChannel> channels;
  for (long row = 1; row < table.Rows(); ++row) {
    OutOfBandChannel channel{row, Outside(grid.TextMatrix(row, rx), limits),
                             Outside(grid.TextMatrix(row, tx), limits)};
    if (channel.rx || channel.tx) channels.push_back(channel);
  }
  return channels;
}

std::string ChannelList(const std::vector<OutOfBandChannel>& channels, const TableSpec& table) {
  std::string list;
  for (const OutOfBandChannel& channel : channels)
    list += (list.empty() ? "" : ", ") + Trim(table.RowLabel(channel.row));
  return list;
}

std::string BandDescription(const std::string& bandText, const BandLimits& limits) {
  if (!Trim(bandText).empty()) return bandText;
  return FrequencyText(limits.lower) + " - " + FrequencyText(limits.upper) + " MHz";
}

}  // namespace varo::radio
