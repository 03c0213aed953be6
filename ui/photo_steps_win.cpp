#include "ui/photo_steps_win.h"
#include "photocd/pcd_text_win.h"

#include <algorithm>

namespace {

void MoveBar(ProgressWindow& progress, BarSpan bar, int done) {
  progress.setPosition(bar.base + static_cast<int>(static_cast<long long>(done) * bar.span / 10000));
  progress.pump();
}

}  // namespace

DecodeOutcome DecodeWithProgress(imagefile::ImageReader& reader, const imagefile::DecodeRequest& request, int rows,
                                 ProgressWindow& progress, BarSpan bar) {
  if (!reader.beginDecode(request)) return DecodeOutcome::kCannotStart;
  if (rows == kHundredthOfTheImage) rows = std::max(1, (reader.displayedHeight() + 50) / 100);
  DecodeOutcome outcome = DecodeOutcome::kComplete;
  while (reader.progress() < 10000) {
    if (progress.cancelled()) {
      outcome = DecodeOutcome::kCancelled;
      break;
    }
    if (!reader.step(rows)) {
      outcome = DecodeOutcome::kFailed;
      break;
    }
    MoveBar(progress, bar, reader.progress());
  }
  reader.finish(true);
  return outcome;
}

WriteOutcome WriteWithProgress(imagefile::ImageWriter& writer, const std::string& temporary, const std::string& output,
                               int rows, ProgressWindow& progress, BarSpan bar) {
  writer.setOutput(temporary);
  WriteOutcome outcome = WriteOutcome::kWritten;
  if (writer.open() != 0) outcome = WriteOutcome::kOpenFailed;
  while (outcome == WriteOutcome::kWritten && writer.rowsWritten() < writer.source().height) {
    if (progress.cancelled())
      outcome = WriteOutcome::kCancelled;
    else if (writer.writeRows(rows) != 0)
      outcome = WriteOutcome::kWriteFailed;
    else
      MoveBar(progress, bar, writer.progress());
  }
  if (outcome == WriteOutcome::kWritten && writer.close() != 0) outcome = WriteOutcome::kCloseFailed;
  if (outcome != WriteOutcome::kWritten) {
    writer.abandon();
  } else if (!MoveFileExW(Utf16(temporary).c_str(), Utf16(output).c_str(), MOVEFILE_REPLACE_EXISTING)) {
    outcome = WriteOutcome::kRenameFailed;
  }
  if (outcome != WriteOutcome::kWritten) DeleteFileW(Utf16(temporary).c_str());
  return outcome;
}
