#include "ui/comctl_version_win.h"
#include "photocd/pcd_text_win.h"

#include <commctrl.h>
#include <shlwapi.h>

namespace {

// GetProcAddress returns a generic pointer; cast through void* to the real signature.
template <typename Fn>
Fn LookUp(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

ComctlVersion ProbeComctlVersion(const char* library) {
  ComctlVersion version;
  HMODULE module = LoadLibraryW(Utf16(library).c_str());
  if (!module) return version;
  auto getVersion = LookUp<HRESULT(CALLBACK*)(DLLVERSIONINFO*)>(module, "DllGetVersion");
  if (getVersion) {
    DLLVERSIONINFO info = {};
    static_assert(sizeof info == 20, "the original version record is 20 bytes");
    info.cbSize = sizeof info;
    if (SUCCEEDED(getVersion(&info))) {
      version.major = info.dwMajorVersion;
      version.minor = info.dwMinorVersion;
    }
  } else {
    version.major = 4;
  }
  FreeLibrary(module);
  return version;
}

bool IsNewComctl(ComctlVersion version) {
  return version.major > 4 || (version.major == 4 && version.minor > 70);
}

void InitAllCommonControls() {
  InitCommonControls();
  // Kept loaded for the life of the process: the classes it registers stay in use.
  HMODULE module = LoadLibraryW(L"comctl32.dll");
  if (!module) return;
  auto initEx = LookUp<BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*)>(module, "InitCommonControlsEx");
  if (!initEx) return;
  INITCOMMONCONTROLSEX init = {};
  init.dwSize = sizeof init;
  init.dwICC = ICC_WIN95_CLASSES | ICC_COOL_CLASSES;
  static_assert(sizeof init == 8 && (ICC_WIN95_CLASSES | ICC_COOL_CLASSES) == 0x4FF, "");
  initEx(&init);
}
