#include "browse/browse_text.h"

#include "app/shell_state.h"
#include "app/ui_utils_win.h"

std::string LoadText(UINT id) { return LoadStringText(g_instance, id, 512); }

int MessageFromString(HWND owner, UINT id, UINT flags) {
  return MessageFromString(g_instance, owner, id, kAppName, flags);
}
