#include "model199/Model199.h"

#include "model199/ChannelCodec.h"
#include "model199/ChannelPlan.h"
#include "model199/ChannelTable.h"
#include "model199/Layout.h"
#include "model199/MemoryImage.h"
#include "model199/Report.h"

namespace varo::model199 {

const radio::CloneProtocol& CloneProtocol199() {
  static const radio::CloneProtocol protocol = [] {
    radio::CloneProtocol p;
    p.imageSize = kImageSize;
    p.wakeUp = {0x02, 'P', 'R', 'O', 'G', 'R', 'A'};
    p.wakeUpAnswer = radio::CloneProtocol::WakeUpAnswer::kAckInTwoReads;
    p.afterWakeUp = {'M'};
    p.readSpans = {{kRecordBase, kChannelAreaEnd}, {kSettingsBase, kSettingsEnd}};
    p.writeSpans = p.readSpans;
    return p;
  }();
  return protocol;
}

const radio::RadioModel& Model199() {
  static const radio::RadioModel model{
      "199",        "Varo199V3",          "Varo199V3.ini", kImageSize,
      NewImage,     &CloneProtocol199(),  &Table199(),     ImageToTable,
      TableToImage, {kTypeIndex, kBandIndex},              &Report199(),
      &OptionFields199(), MoveChannels199,
  };
  return model;
}

}  // namespace varo::model199
