// Format module for Photo CD image packs (IMGnnnn.PCD). BASE/16 to BASE are
// read from the file with the reader's own colour conversion; 4BASE, 16BASE
// and 64BASE come from the Photo CD toolkit in bands of 16 lines. The highest
// level offered is capped by the process-wide requested Photo CD level (a
// level whose extension files cannot be read gives way to the next lower
// one), and a decode reads the smallest level that covers its output size. Photos are
// delivered turned by their rotation code (quarter turns column by column).
#pragma once
#include <memory>

#include "imagefile/format_module.h"

namespace imagefile {

std::unique_ptr<FormatDecoder> createPhotoCdDecoder();

}  // namespace imagefile
