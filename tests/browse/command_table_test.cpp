#include "browse/command_table.h"

#include <gtest/gtest.h>

#include "resources/command_ids.h"
#include "resources/command_tooltips.h"

namespace browse {
namespace {

TEST(CommandTable, EnablingFollowsSelectionAndDisc) {
  const SelectionState none{0, false}, discOnly{0, true}, one{1, true}, two{2, true};
  EXPECT_FALSE(CommandEnabled(CMD_SELECT_ALL, none));
  EXPECT_TRUE(CommandEnabled(CMD_SELECT_ALL, discOnly));
  EXPECT_FALSE(CommandEnabled(CMD_SLIDE_SHOW, none));
  EXPECT_TRUE(CommandEnabled(CMD_VIEW, discOnly));
  // Commands that need no disc stay enabled.
  for (int id : {CMD_OPEN_DISC, CMD_EXIT, CMD_ABOUT, CMD_HELP_CONTENTS, CMD_MAKER_WEB_PAGE, CMD_PRODUCT_WEB_PAGE,
                 CMD_OPTIONS, CMD_REMOVE_WALLPAPER})
    EXPECT_TRUE(CommandEnabled(id, none)) << id;
  // Commands whose windows come later stay greyed whatever is selected.
  // Set wallpaper and Properties take exactly one selected photo.
  for (int id : {CMD_SET_WALLPAPER, CMD_PROPERTIES}) {
    EXPECT_TRUE(CommandEnabled(id, one)) << id;
    EXPECT_FALSE(CommandEnabled(id, two)) << id;
  }
  // Copy needs a selection, Export only a disc.
  EXPECT_FALSE(CommandEnabled(CMD_COPY, discOnly));
  EXPECT_TRUE(CommandEnabled(CMD_COPY, two));
  EXPECT_FALSE(CommandEnabled(CMD_EXPORT, none));
  EXPECT_TRUE(CommandEnabled(CMD_EXPORT, discOnly));
}

TEST(CommandTable, TooltipsComeFromTheFixedMap) {
  EXPECT_EQ(CommandTooltipId(CMD_VIEW), 300);
  EXPECT_EQ(CommandTooltipId(CMD_SLIDE_SHOW), 301);
  EXPECT_EQ(CommandTooltipId(CMD_EXPORT), 313);
  EXPECT_EQ(CommandTooltipId(CMD_VIEWER_EXPORT), 313);
  EXPECT_EQ(CommandTooltipId(CMD_HELP_CONTENTS), 316);
  EXPECT_EQ(CommandTooltipId(CMD_ROTATE_RIGHT), 315);
  EXPECT_EQ(CommandTooltipId(CMD_PROPERTIES), 0);  // its button has no tip
  EXPECT_EQ(CommandTooltipId(CMD_OPEN_DISC), 0);
}

}  // namespace
}  // namespace browse
