#include "ui/help_topics.h"

namespace {

struct HelpTopic {
  unsigned contextId;
  const char* page;
};

constexpr HelpTopic kTopics[] = {
    {kOptionsHelpTopic, "options.html"}, {kFormatOptionsHelpTopic, "format-options.html"},
    // Options sheet: Display page, then Slide show page.
    {100, "options-display.html#dithering"}, {101, "options-display.html#default-resolution"}, {102, "options-display.html#full-screen"},
    {103, "options-display.html#gamma"}, {104, "options-display.html#gamma"}, {105, "options-display.html#device-bitmaps"},
    {106, "options-slide-show.html#delay"}, {107, "options-slide-show.html#randomize"}, {108, "options-slide-show.html#repeat"},
    {109, "options-slide-show.html#read-ahead"}, {110, "options-display.html#same-tone"},
    // Export dialog: the dialog, then its controls.
    {kExportHelpTopic, "export.html"}, {700, "export.html#format"}, {701, "export.html#resolution"}, {702, "export.html#format"},
    {703, "export.html#rotation"}, {704, "export.html#rotation"}, {705, "export.html#rotation"},
    {706, "export.html#rotation"}, {707, "export.html#folder"}, {708, "export.html#folder"},
    // JPEG and TIFF option dialogs.
    {726, "format-options.html#defaults"}, {727, "format-options.html#defaults"},
    {730, "format-options.html#quality"}, {731, "format-options.html#progressive"},
    {732, "format-options.html#optimize"}, {733, "format-options.html#sampling"},
    {734, "format-options.html#smoothing"}, {737, "format-options.html#compression"},
    {738, "format-options.html#compression"}, {739, "format-options.html#compression"},
    {740, "format-options.html#compression"}, {741, "format-options.html#compression"},
    {742, "format-options.html#compression"}, {743, "format-options.html#dpi"}, {744, "format-options.html#dpi"},
};

}  // namespace

const char* HelpTopicPage(unsigned contextId) {
  for (const HelpTopic& topic : kTopics)
    if (topic.contextId == contextId) return topic.page;
  return nullptr;
}
