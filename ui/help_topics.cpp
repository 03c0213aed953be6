#include "ui/help_topics.h"

namespace {

struct HelpTopic {
  unsigned contextId;
  const char* page;
};

constexpr HelpTopic kTopics[] = {
    // Options sheet: Display page, then Slide show page.
    {100, "options.html#dithering"}, {101, "options.html#default-resolution"}, {102, "options.html#full-screen"},
    {103, "options.html#gamma"}, {104, "options.html#gamma"}, {105, "options.html#device-bitmaps"},
    {106, "options.html#delay"}, {107, "options.html#randomize"}, {108, "options.html#repeat"},
    {109, "options.html#read-ahead"},
    // Export dialog: the dialog, then its controls.
    {2, "export.html"}, {700, "export.html#format"}, {701, "export.html#resolution"}, {702, "export.html#format"},
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
