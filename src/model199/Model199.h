#pragma once

#include "radio/CloneProtocol.h"
#include "radio/RadioModel.h"

namespace varo::model199 {

// The 199-channel radio on the clone link: the wake-up 0x02 "PROGRA" sent
// byte by byte, answered by 0x06 (a first byte that is not 0x06 gets one
// more read); then "M" and the identification request 0x02 as two writes;
// reads and writes of 0x0000-0x12CF (301 blocks) and 0x1FC0-0x1FFF (4
// blocks), 305 progress steps, no final short frame.
const radio::CloneProtocol& CloneProtocol199();

// The 199-channel radio as the shared mechanism sees it ("199", Varo199V3,
// 8192 bytes, its table, codec, product offsets 0x1FD6/0x1FD7 and report).
const radio::RadioModel& Model199();

}  // namespace varo::model199
