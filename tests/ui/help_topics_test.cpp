// Every help context id that a dialog asks for leads to a page of the help
// sources with the paragraph it names.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "ui/help_topics.h"

namespace {

std::string HelpSource(const std::string& page) {
  std::ifstream in(std::string(LUMIVEXA_SOURCE_DIR) + "/help/" + page);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(HelpTopics, EveryDialogTopicLeadsToItsParagraph) {
  const unsigned ids[] = {2, 3, 4, 100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 700, 701, 702, 703, 704, 705, 706,
                          707, 708, 726, 727, 730, 731, 732, 733, 734, 737, 738, 739, 740, 741, 742, 743, 744};
  for (unsigned id : ids) {
    const char* topic = HelpTopicPage(id);
    ASSERT_NE(topic, nullptr) << id;
    std::string page = topic, anchor;
    if (std::size_t hash = page.find('#'); hash != std::string::npos) {
      anchor = page.substr(hash + 1);
      page.resize(hash);
    }
    const std::string html = HelpSource(page);
    ASSERT_FALSE(html.empty()) << page;
    if (!anchor.empty()) {
      EXPECT_NE(html.find("id=\"" + anchor + "\""), std::string::npos) << topic;
    }
    // The help project compiles the page into the help file.
    EXPECT_NE(HelpSource("LumivexaSE.hhp").find("\n" + page + "\n"), std::string::npos) << page;
  }
  EXPECT_EQ(HelpTopicPage(1), nullptr);
  EXPECT_STREQ(HelpTopicPage(104), "options-display.html#gamma");
}

}  // namespace
