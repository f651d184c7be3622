// Canon's CR3: an ISO base media file (boxes: a size, a type, the content)
// of brand "crx ". Its moov box holds Canon's header box (a uuid box) with
// the EXIF data as TIFF blocks (CMT1: IFD0, CMT2: the EXIF directory) and a
// 160x120 thumbnail (THMB); a uuid box of its own holds a larger preview
// (PRVW, 1620x1080 on most bodies). Each box is looked at once, at most
// kMaxBoxes on each level, three levels deep.
#pragma once

#include "pictures/bounded_reads.h"
#include "pictures/preview_collector.h"

namespace tarnwell {

// Whether the first 12 bytes are an ftyp box of brand "crx ".
bool IsCr3Start(const std::uint8_t* bytes);

void ReadCr3(PreviewCollector& collector, ByteSpan file);

}  // namespace tarnwell
