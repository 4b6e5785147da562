// The writes of the model's changes. The model finds what changed and fills
// its bytes into the live image; these build the frames that carry them.
// Both run under the model lock, so a frame holds exactly the bytes its scan
// filled in.
#pragma once

#include <memory>

#include "SendData.h"

class CChannelRecord;
class CKTV_Data;

// Link thread, with the queue empty: the write of the first changed part,
// or the level-meter read that keeps the link alive.
std::unique_ptr<CSendData> NextChangeFrame(CKTV_Data& data);
// Fills group g of the record into the live image and builds its write;
// nullptr for a group the record does not carry.
std::unique_ptr<CSendData> RecordGroupFrame(CChannelRecord& record, int nGroup);
