// The shell's folder browser, opened on the nearest existing folder.
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <string>

#include "ui/ui_utils_win.h"

namespace {

// Absolute, without a trailing "\", cut back to a folder that exists.
std::wstring NearestExistingFolder(const std::string& path) {
  wchar_t full[MAX_PATH];
  const DWORD length = GetFullPathNameW(Utf16(path).c_str(), MAX_PATH, full, nullptr);
  std::wstring folder = length > 0 && length < MAX_PATH ? std::wstring(full, length) : std::wstring();
  if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  while (!folder.empty() && GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) {
    const std::size_t lastSlash = folder.rfind(L'\\');
    if (lastSlash == std::wstring::npos) break;
    folder.resize(lastSlash);
  }
  return folder;
}

int CALLBACK SelectStartFolder(HWND browser, UINT message, LPARAM, LPARAM folder) {
  if (message == BFFM_INITIALIZED) SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, folder);
  return 0;
}

}  // namespace

bool BrowseForFolder(HWND owner, std::string& path, const char* title) {
  const std::wstring start = NearestExistingFolder(path);
  const std::wstring caption = Utf16(title);
  wchar_t displayName[MAX_PATH];
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.pszDisplayName = displayName;
  info.lpszTitle = caption.c_str();
  // The resizable style offers "Make New Folder"; it needs OLE on this thread.
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  info.lpfn = SelectStartFolder;
  info.lParam = reinterpret_cast<LPARAM>(start.c_str());
  HRESULT ole = OleInitialize(nullptr);
  LPITEMIDLIST chosen = SHBrowseForFolderW(&info);
  if (SUCCEEDED(ole)) OleUninitialize();
  if (!chosen) return false;
  wchar_t folder[MAX_PATH];
  bool ok = SHGetPathFromIDListW(chosen, folder) != FALSE;
  CoTaskMemFree(chosen);
  if (ok) path = Utf8(folder);
  return ok;
}
