// A PostScript printer for tests: Wine's PostScript driver on LPT1:, whose
// output goes into a file of the test's choosing, turned into pictures with
// ps2pdf and pdftoppm.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace test_print {

constexpr char kPrinterName[] = "Lumivexa Test PostScript";

// Adds the printer once per Wine prefix and makes it the default. Empty on
// success, else what went wrong.
std::string InstallTestPrinter();

// The printer's next jobs go to this file (a Windows path); it is removed first.
void SendPrinterOutputTo(const std::string& path);

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // red, green, blue, top row first
  const std::uint8_t* at(int x, int y) const { return &rgb[(static_cast<std::size_t>(y) * width + x) * 3]; }
};

struct RenderedJob {
  std::vector<Picture> pages;
  std::string text;  // what the pages say, as pdftotext reads it
  std::string error;
};

// Renders a PostScript file at dpi dots per inch.
RenderedJob RenderPostScript(const std::string& psPath, int dpi);

}  // namespace test_print
