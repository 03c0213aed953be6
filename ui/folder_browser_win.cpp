// The shell's folder browser, opened on the nearest existing folder.
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <cstring>

#include "ui/ui_utils_win.h"

namespace {

// Absolute, without a trailing "\", cut back to a folder that exists.
void NearestExistingFolder(const char* path, char* folder) {
  if (GetFullPathNameA(path, MAX_PATH, folder, nullptr) == 0 || std::strlen(folder) >= MAX_PATH)
    folder[0] = '\0';
  std::size_t length = std::strlen(folder);
  if (length > 0 && folder[length - 1] == '\\') folder[length - 1] = '\0';
  while (GetFileAttributesA(folder) == INVALID_FILE_ATTRIBUTES) {
    char* lastSlash = std::strrchr(folder, '\\');
    if (!lastSlash) break;
    *lastSlash = '\0';
  }
}

int CALLBACK SelectStartFolder(HWND browser, UINT message, LPARAM, LPARAM folder) {
  if (message == BFFM_INITIALIZED) SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, folder);
  return 0;
}

}  // namespace

bool BrowseForFolder(HWND owner, char* path, const char* title) {
  char start[MAX_PATH] = "";
  NearestExistingFolder(path, start);
  char displayName[MAX_PATH];
  BROWSEINFOA info{};
  info.hwndOwner = owner;
  info.pszDisplayName = displayName;
  info.lpszTitle = title;
  // The resizable style offers "Make New Folder"; it needs OLE on this thread.
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  info.lpfn = SelectStartFolder;
  info.lParam = reinterpret_cast<LPARAM>(start);
  HRESULT ole = OleInitialize(nullptr);
  LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
  if (SUCCEEDED(ole)) OleUninitialize();
  if (!chosen) return false;
  char folder[MAX_PATH];
  bool ok = SHGetPathFromIDListA(chosen, folder) != FALSE;
  CoTaskMemFree(chosen);
  if (ok) std::strcpy(path, folder);
  return ok;
}
