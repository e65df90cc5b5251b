#pragma once

#include "radio/CloneProtocol.h"
#include "radio/RadioModel.h"

namespace varo::model16 {

// The 16-channel radio on the clone link: the wake-up 0x02 "PROGRAM" sent
// byte by byte, any answer taken; reads of 0x000-0x3F7 (63 blocks and half of
// the 64th; 0x3F8-0x3FF are never read); writes of 0x000-0x3DF in 62 blocks,
// then the call tone byte at 0x3F0 in a one-byte frame of its own.
const radio::CloneProtocol& CloneProtocol16();

// The 16-channel radio as the shared mechanism sees it ("16", Varo16,
// 1024 bytes, its table, codec, product offsets 0x3D2/0x3D3 and report).
const radio::RadioModel& Model16();

}  // namespace varo::model16
