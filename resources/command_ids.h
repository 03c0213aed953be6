// Command ids shared by menu items, accelerators, toolbar buttons, tooltips and
// the status-bar help strings (the string with the same id).
#pragma once

#define CMD_VIEW 32770
#define CMD_PRINT 32771
#define CMD_SET_WALLPAPER_TILED 32772
#define CMD_SET_WALLPAPER 32773
#define CMD_REMOVE_WALLPAPER 32774
#define CMD_REDUCE 32775
#define CMD_ENLARGE 32776
#define CMD_FIT_TO_SCREEN 32778
#define CMD_EXIT 32780
#define CMD_CLOSE 32781
#define CMD_OPTIONS 32782
#define CMD_COPY 32783
#define CMD_FULL_SCREEN 32784
#define CMD_NEXT 32785
#define CMD_PREVIOUS 32786
#define CMD_FIRST 32788
#define CMD_LAST 32789
#define CMD_ABOUT 32790
#define CMD_LEVEL_BASE 32791
#define CMD_LEVEL_16BASE 32792
#define CMD_LEVEL_64BASE 32793
#define CMD_LEVEL_4BASE 32794
#define CMD_LEVEL_BASE_4 32795
#define CMD_LEVEL_BASE_16 32797
#define CMD_PRINT_ALL 32798
#define CMD_SELECT_ALL 32799
#define CMD_EXPORT 32800
#define CMD_OPEN_DISC 32801
#define CMD_TOGGLE_FIT 32802
#define CMD_VIEWER_SLIDE_SHOW 32804
#define CMD_SLIDE_SHOW 32805
#define CMD_VIEWER_EXPORT 32806
#define CMD_PROPERTIES 32807
#define CMD_ROTATE_LEFT 32808
#define CMD_ROTATE_RIGHT 32809
#define CMD_MAKER_WEB_PAGE 32811
#define CMD_PRODUCT_WEB_PAGE 32812
#define CMD_HELP_CONTENTS 32813

// Commands of our own, kept clear of the ranges above.
#define CMD_OPEN_DISC_IMAGE 40100
#define CMD_OPEN_FOLDER 40101
#define CMD_RECENT_IMAGE_FIRST 40110  // 40110..40113: the recent disc images and folders in the File menu
#define CMD_RECENT_IMAGE_LAST 40113
