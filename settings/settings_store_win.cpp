#include "settings/settings_store_win.h"

RegistrySettingsStore::RegistrySettingsStore(const char* keyPath, Access access) {
  LONG result;
  if (access == Access::kRead) {
    result = RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key_);
  } else {
    result = RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, const_cast<char*>(""), 0, KEY_WRITE,
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
  if (RegQueryValueExA(key_, name, nullptr, nullptr, scratch.data(), &size) != ERROR_SUCCESS ||
      size > capacity)
    return false;
  std::copy(scratch.begin(), scratch.begin() + size, static_cast<unsigned char*>(buffer));
  *length = size;
  return true;
}

bool RegistrySettingsStore::write(const char* name, const void* data, std::size_t size) {
  return key_ && RegSetValueExA(key_, name, 0, REG_BINARY, static_cast<const BYTE*>(data),
                                static_cast<DWORD>(size)) == ERROR_SUCCESS;
}

bool RegistrySettingsStore::readAll(const char* name, std::vector<unsigned char>* value) {
  DWORD size = 0;
  if (!key_ || RegQueryValueExA(key_, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
    return false;
  value->assign(size, 0);
  if (size == 0) return true;
  if (RegQueryValueExA(key_, name, nullptr, nullptr, value->data(), &size) != ERROR_SUCCESS)
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
  if (!store.read(valueName, &placement, sizeof placement, &length)) {
    ShowWindow(window, showCommand);
    return showCommand;
  }
  placement.length = sizeof placement;
  int stored = static_cast<int>(placement.showCmd);
  placement.showCmd = PlacementShowCommand(stored, showCommand);
  SetWindowPlacement(window, &placement);
  return stored;
}
