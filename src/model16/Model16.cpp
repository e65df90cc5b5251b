#include "model16/Model16.h"

#include "model16/ChannelCodec.h"
#include "model16/ChannelPlan.h"
#include "model16/ChannelTable.h"
#include "model16/Layout.h"
#include "model16/MemoryImage.h"
#include "model16/Report.h"

namespace varo::model16 {

const radio::CloneProtocol& CloneProtocol16() {
  static const radio::CloneProtocol protocol = [] {
    radio::CloneProtocol p;
    p.imageSize = kImageSize;
    p.wakeUp = {0x02, 'P', 'R', 'O', 'G', 'R', 'A', 'M'};
    p.wakeUpAnswer = radio::CloneProtocol::WakeUpAnswer::kAnyByte;
    p.readSpans = {{0x000, 0x3F8}};
    p.writeSpans = {{0x000, 0x3E0}};
    p.finalWrite = radio::AddressSpan{kCallTone, kCallTone + 1};
    return p;
  }();
  return protocol;
}

const radio::RadioModel& Model16() {
  static const radio::RadioModel model{
      "16",           "Varo16",  "Varo16.ini",        kImageSize,
      NewImage,       &CloneProtocol16(), &Table16(), ImageToTable,
      TableToImage,   {kTypeIndex, kBandIndex},       &Report16(),
      &OptionFields16(), MoveChannels16,
  };
  return model;
}

}  // namespace varo::model16
