// The fixture of the printing tests under Wine: the test printer with its
// output file, photos of the sample disc, and a script for the dialogs the
// print opens (the system print dialog is confirmed, the setup dialog is
// handed to the test).
#pragma once
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "print/print_win.h"
#include "tests/support/dialog_hook_win.h"
#include "tests/print/test_printer_win.h"

namespace test_print {

// A rectangle of a rendered page, in its pixels.
struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// Whether a rendered pixel holds ink rather than paper white.
inline bool Inked(const std::uint8_t* p) { return p[0] < 235 || p[1] < 235 || p[2] < 235; }
// The smallest box holding every pixel that is not paper white.
Box InkedBox(const Picture& page);
// Mean difference per colour value between the printed box and the photo at
// path decoded to the box's size and turned, over 6 x 6 blocks so that the printer's and our resampling of
// fine detail do not count. About 10 for the photo itself, above 60 for another.
double DifferenceFromPhoto(const Picture& page, const Box& box, const std::string& path,
                           imaging::QuarterTurns turn = imaging::kNoTurn);

// Runs step on the setup dialog every 50 ms inside its own message loop until
// step returns true.
void RepeatOnDialog(HWND dialog, std::function<bool(HWND)> step);
// True once pagination has ended and the page count shows.
bool Paginated(HWND setupDialog);

// Answers the dialogs of one print: the system print dialog with OK, the setup
// dialog with onSetup, message boxes with OK.
class PrintDialogs {
 public:
  explicit PrintDialogs(std::function<void(HWND dialog)> onSetup);
  int printDialogs() const { return printDialogs_; }
  int messages() const { return static_cast<int>(messageTexts_.size()); }
  const std::vector<std::string>& messageTexts() const { return messageTexts_; }

 private:
  void OnDialog(HWND dialog);

  std::function<void(HWND dialog)> onSetup_;
  int printDialogs_ = 0;
  std::vector<std::string> messageTexts_;
  DialogHook hook_;
};

// Makes the test printer the default and sends its output to a file of the
// running test; the file's Windows path, or empty with a failure recorded.
std::string PrepareTestPrinter();

class PrintTest : public ::testing::Test {
 protected:
  void SetUp() override;

  // Photo n (1-based) of the sample disc, sized as its image pack says.
  static print::PrintPhoto DiscPhoto(int n);
  print::PrintRequest Request() const;
  bool Printed() const { return GetFileAttributesA(output_.c_str()) != INVALID_FILE_ATTRIBUTES; }

  std::string output_;  // the PostScript the printer writes
};

}  // namespace test_print
