// The two steps every command that turns a photo into something runs with a
// progress window (export, copy, print, wallpaper): decode it, and write the
// result under a temporary name that is renamed over the file only when whole.
// Between steps both move the bar, pump the window and stop on its Cancel.
#pragma once
#include <windows.h>

#include <climits>
#include <string>

#include "imagefile/image_reader.h"
#include "imagefile/image_writer.h"
#include "ui/progress_window_win.h"

// Rows per decode step: (displayed height + 50) / 100, at least one.
constexpr int kHundredthOfTheImage = 0;
// One step for the whole image.
constexpr int kWholeImage = INT_MAX;

// The bar runs from base to base + span as the step goes from 0 to complete.
struct BarSpan {
  int base = 0;
  int span = 10000;
};

enum class DecodeOutcome { kComplete, kCannotStart, kFailed, kCancelled };

// Begins the request and decodes rows at a time until the page is complete.
// Whatever the outcome the decode is finished; an incomplete one is released.
DecodeOutcome DecodeWithProgress(imagefile::ImageReader& reader, const imagefile::DecodeRequest& request, int rows,
                                 ProgressWindow& progress, BarSpan bar = {});

enum class WriteOutcome { kWritten, kCancelled, kOpenFailed, kWriteFailed, kCloseFailed, kRenameFailed };

// Writes the writer's source (set by the caller) to temporary, rows at a time,
// then renames it over output. On any other outcome the temporary file is gone
// and output is as it was.
WriteOutcome WriteWithProgress(imagefile::ImageWriter& writer, const std::string& temporary, const std::string& output,
                               int rows, ProgressWindow& progress, BarSpan bar = {});
