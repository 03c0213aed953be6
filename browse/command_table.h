// Which browse commands are enabled for a selection. Portable.
#pragma once

namespace browse {

struct SelectionState {
  int selectedCount = 0;
  bool discOpen = false;
};

// Commands whose menu items and toolbar buttons are enabled or greyed by
// CommandEnabled; every other command stays enabled.
extern const int kManagedCommands[11];

// Properties and Set wallpaper need exactly one selected photo, Copy at least one;
// View, Slide show, Print, Print all, Export and Select all need an open disc.
bool CommandEnabled(int command, const SelectionState& state);

}  // namespace browse
