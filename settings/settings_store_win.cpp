#include "settings/settings_store_win.h"

#include "photocd/pcd_text_win.h"

RegistrySettingsStore::RegistrySettingsStore(const char* keyPath, Access access) {
  LONG result;
  if (access == Access::kRead) {
    result = RegOpenKeyExW(HKEY_CURRENT_USER, Utf16(keyPath).c_str(), 0, KEY_READ, &key_);
  } else {
    result = RegCreateKeyExW(HKEY_CURRENT_USER, Utf16(keyPath).c_str(), 0, nullptr, 0, KEY_WRITE,
                             nullptr, &key_, nullptr);
  }
  if (result != ERROR_SUCCESS) key_ = nullptr;
}

RegistrySettingsStore::~RegistrySettingsStore() {
  if (key_) RegCloseKey(key_);
}

bool RegistrySettingsStore::read(const char* name, void* buffer, std::size_t capacity,
                                 std::size_t* length) {
  if (!key_) return false;
  // Through a scratch copy: a value longer than capacity must leave buffer as it was.
  std::vector<unsigned char> scratch(capacity ? capacity : 1);
  DWORD size = static_cast<DWORD>(capacity);
  if (RegQueryValueExW(key_, Utf16(name).c_str(), nullptr, nullptr, scratch.data(), &size) != ERROR_SUCCESS ||
      size > capacity)
    return false;
  std::copy(scratch.begin(), scratch.begin() + size, static_cast<unsigned char*>(buffer));
  *length = size;
  return true;
}

bool RegistrySettingsStore::write(const char* name, const void* data, std::size_t size) {
  return key_ && RegSetValueExW(key_, Utf16(name).c_str(), 0, REG_BINARY, static_cast<const BYTE*>(data),
                                static_cast<DWORD>(size)) == ERROR_SUCCESS;
}

bool RegistrySettingsStore::readAll(const char* name, std::vector<unsigned char>* value) {
  DWORD size = 0;
  if (!key_ || RegQueryValueExW(key_, Utf16(name).c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
    return false;
  value->assign(size, 0);
  if (size == 0) return true;
  if (RegQueryValueExW(key_, Utf16(name).c_str(), nullptr, nullptr, value->data(), &size) != ERROR_SUCCESS)
    return false;
  value->resize(size);
  return true;
}

bool LoadSettingsGroup(Settings& settings, SettingsGroup group, const char* keyPath) {
  RegistrySettingsStore store(keyPath, RegistrySettingsStore::Access::kRead);
  if (!store.isOpen()) return false;
  ReadSettingsGroup(settings, group, store);
  return true;
}

bool SaveSettingsGroup(const Settings& settings, SettingsGroup group, const char* keyPath) {
  RegistrySettingsStore store(keyPath, RegistrySettingsStore::Access::kWrite);
  if (!store.isOpen()) return false;
  WriteSettingsGroup(settings, group, store);
  return true;
}

void SaveWindowPlacementValue(const char* keyPath, const char* valueName, HWND window) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(window, &placement)) return;
  RegistrySettingsStore(keyPath, RegistrySettingsStore::Access::kWrite)
      .write(valueName, &placement, sizeof placement);
}

int RestoreWindowPlacementValue(const char* keyPath, const char* valueName, HWND window,
                                int showCommand) {
  RegistrySettingsStore store(keyPath, RegistrySettingsStore::Access::kRead);
  WINDOWPLACEMENT placement{};
  std::size_t length = 0;
  // A placement cut short is no placement: its rectangle would be half zeros.
  if (!store.read(valueName, &placement, sizeof placement, &length) || length < sizeof placement) {
    ShowWindow(window, showCommand);
    return showCommand;
  }
  placement.length = sizeof placement;
  int stored = static_cast<int>(placement.showCmd);
  placement.showCmd = PlacementShowCommand(stored, showCommand);
  SetWindowPlacement(window, &placement);
  return stored;
}
