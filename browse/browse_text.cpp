#include "browse/browse_text.h"

#include "ui/shell_state_win.h"
#include "ui/ui_utils_win.h"

std::string LoadText(UINT id) { return LoadStringText(g_instance, id, 512); }

int MessageFromString(HWND owner, UINT id, UINT flags) {
  return MessageFromString(g_instance, owner, id, kAppName, flags);
}
