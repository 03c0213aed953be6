// The question an export asks before it replaces a file that is already there.
#pragma once
#include <windows.h>

#include <string>

namespace imagefile {

enum class ReplaceAnswer { kYes, kYesToAll, kNo, kCancel };

// "<fileTitle> already exists. Replace it?" with Yes, Yes to all, No and
// Cancel; closing the question counts as Cancel.
ReplaceAnswer AskReplace(HINSTANCE instance, HWND owner, const std::string& fileTitle);

}  // namespace imagefile
