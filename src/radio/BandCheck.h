#pragma once

#include <string>
#include <vector>

#include "radio/ChannelTable.h"
#include "radio/GridControl.h"
#include "radio/ProductBand.h"

namespace varo::radio {

// The channels of a table whose receive or transmit frequency lies outside a
// band: after the band changes (Product Information, a read), the programmer
// marks them and names them, and a write asks before it sends them. The table
// editor checks each frequency as it is typed, but a change of band does not
// re-check what the table already holds.

struct OutOfBandChannel {
  long row = 0;
  bool rx = false;  // the receive frequency lies outside
  bool tx = false;  // the transmit frequency lies outside
  bool operator==(const OutOfBandChannel&) const = default;
};

// Every row of `table` with a frequency outside `limits` (both edges inside
// the band), in row order. Empty cells are no frequency and never outside.
std::vector<OutOfBandChannel> OutOfBandChannels(const GridControl& grid, const TableSpec& table,
                                                const BandLimits& limits);

// The channels as the table labels them, joined by ", " ("3, 5, 12"; the
// priority channel is "Pr").
std::string ChannelList(const std::vector<OutOfBandChannel>& channels, const TableSpec& table);

// The band for messages: its INI text ("136 - 174MHz") when there is one,
// else the limits in MHz ("136.00000 - 174.00000 MHz").
std::string BandDescription(const std::string& bandText, const BandLimits& limits);

}  // namespace varo::radio
