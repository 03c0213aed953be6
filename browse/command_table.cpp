#include "browse/command_table.h"

#include "resources/command_ids.h"

namespace browse {

const int kManagedCommands[11] = {CMD_PROPERTIES, CMD_SET_WALLPAPER, CMD_COPY,       CMD_VIEW,
                                 CMD_SLIDE_SHOW, CMD_PRINT,         CMD_PRINT_ALL,  CMD_EXPORT,
                                 CMD_SELECT_ALL, CMD_REMOVE_WALLPAPER, CMD_OPTIONS};

namespace {

// Viewers.
const int kNotYetAvailable[] = {CMD_VIEW, CMD_SLIDE_SHOW};

struct Tooltip {
  int command;
  int stringId;
};
const Tooltip kTooltips[] = {
    {CMD_VIEW, 300},          {CMD_PRINT, 302},    {CMD_SET_WALLPAPER, 304}, {CMD_REMOVE_WALLPAPER, 305},
    {CMD_REDUCE, 311},        {CMD_ENLARGE, 312},  {CMD_OPTIONS, 306},       {CMD_COPY, 303},
    {CMD_NEXT, 309},          {CMD_PREVIOUS, 308}, {CMD_ABOUT, 307},         {CMD_EXPORT, 313},
    {CMD_VIEWER_EXPORT, 313}, {CMD_VIEWER_SLIDE_SHOW, 310}, {CMD_SLIDE_SHOW, 301},
    {CMD_ROTATE_LEFT, 314},   {CMD_ROTATE_RIGHT, 315},      {CMD_HELP_CONTENTS, 316},
};

}  // namespace

bool CommandAvailable(int command) {
  for (int id : kNotYetAvailable)
    if (id == command) return false;
  return true;
}

bool CommandEnabled(int command, const SelectionState& state) {
  if (!CommandAvailable(command)) return false;
  switch (command) {
    case CMD_PROPERTIES:
    case CMD_SET_WALLPAPER:
      return state.selectedCount == 1;
    case CMD_COPY:
      return state.selectedCount >= 1;
    case CMD_VIEW:
    case CMD_SLIDE_SHOW:
    case CMD_PRINT:
    case CMD_PRINT_ALL:
    case CMD_EXPORT:
    case CMD_SELECT_ALL:
      return state.discOpen;
  }
  return true;
}

int TooltipStringId(int command) {
  for (const Tooltip& tip : kTooltips)
    if (tip.command == command) return tip.stringId;
  return 0;
}

}  // namespace browse
