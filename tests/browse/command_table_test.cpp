#include "browse/command_table.h"

#include <gtest/gtest.h>

#include "resources/command_ids.h"

namespace browse {
namespace {

TEST(CommandTable, EnablingFollowsSelectionAndDisc) {
  const SelectionState none{0, false}, discOnly{0, true}, one{1, true}, two{2, true};
  EXPECT_FALSE(CommandEnabled(CMD_SELECT_ALL, none));
  EXPECT_TRUE(CommandEnabled(CMD_SELECT_ALL, discOnly));
  // Commands that need no disc stay enabled.
  for (int id : {CMD_OPEN_DISC, CMD_EXIT, CMD_ABOUT, CMD_HELP_CONTENTS, CMD_MAKER_WEB_PAGE, CMD_PRODUCT_WEB_PAGE,
                 CMD_OPTIONS, CMD_REMOVE_WALLPAPER})
    EXPECT_TRUE(CommandEnabled(id, none)) << id;
  // Commands whose windows come later stay greyed whatever is selected.
  for (const SelectionState& state : {none, one, two}) EXPECT_FALSE(CommandEnabled(CMD_VIEW, state));
  // Set wallpaper and Properties take exactly one selected photo; the tiled
  // wallpaper has no menu item to grey.
  for (int id : {CMD_SET_WALLPAPER, CMD_PROPERTIES}) {
    EXPECT_TRUE(CommandEnabled(id, one)) << id;
    EXPECT_FALSE(CommandEnabled(id, two)) << id;
  }
  EXPECT_TRUE(CommandAvailable(CMD_SET_WALLPAPER_TILED));
  // Copy needs a selection, Export only a disc.
  EXPECT_FALSE(CommandEnabled(CMD_COPY, discOnly));
  EXPECT_TRUE(CommandEnabled(CMD_COPY, two));
  EXPECT_FALSE(CommandEnabled(CMD_EXPORT, none));
  EXPECT_TRUE(CommandEnabled(CMD_EXPORT, discOnly));
}

TEST(CommandTable, TooltipsComeFromTheFixedMap) {
  EXPECT_EQ(TooltipStringId(CMD_VIEW), 300);
  EXPECT_EQ(TooltipStringId(CMD_SLIDE_SHOW), 301);
  EXPECT_EQ(TooltipStringId(CMD_EXPORT), 313);
  EXPECT_EQ(TooltipStringId(CMD_VIEWER_EXPORT), 313);
  EXPECT_EQ(TooltipStringId(CMD_HELP_CONTENTS), 316);
  EXPECT_EQ(TooltipStringId(CMD_ROTATE_RIGHT), 315);
  EXPECT_EQ(TooltipStringId(CMD_PROPERTIES), 0);  // its button has no tip
  EXPECT_EQ(TooltipStringId(CMD_OPEN_DISC), 0);
}

}  // namespace
}  // namespace browse
