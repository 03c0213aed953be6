#include "browse/command_table.h"

#include "resources/command_ids.h"

namespace browse {

const int kManagedCommands[11] = {CMD_PROPERTIES, CMD_SET_WALLPAPER, CMD_COPY,       CMD_VIEW,
                                 CMD_SLIDE_SHOW, CMD_PRINT,         CMD_PRINT_ALL,  CMD_EXPORT,
                                 CMD_SELECT_ALL, CMD_REMOVE_WALLPAPER, CMD_OPTIONS};

bool CommandEnabled(int command, const SelectionState& state) {
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

}  // namespace browse
