// The tooltip text of a toolbar command: the string id of a fixed map that the
// browse window's and the viewer's toolbars share (0: no tip).
#pragma once
#include "resources/command_ids.h"

inline int CommandTooltipId(int command) {
  switch (command) {
    case CMD_VIEW: return 300;
    case CMD_SLIDE_SHOW: return 301;
    case CMD_PRINT: return 302;
    case CMD_COPY: return 303;
    case CMD_SET_WALLPAPER: return 304;
    case CMD_REMOVE_WALLPAPER: return 305;
    case CMD_OPTIONS: return 306;
    case CMD_ABOUT: return 307;
    case CMD_PREVIOUS: return 308;
    case CMD_NEXT: return 309;
    case CMD_VIEWER_SLIDE_SHOW: return 310;
    case CMD_REDUCE: return 311;
    case CMD_ENLARGE: return 312;
    case CMD_EXPORT:
    case CMD_VIEWER_EXPORT: return 313;
    case CMD_ROTATE_LEFT: return 314;
    case CMD_ROTATE_RIGHT: return 315;
    case CMD_HELP_CONTENTS: return 316;
  }
  return 0;
}
