// The settings in the registry, under the current user's root.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "settings/settings.h"

// An open key under HKEY_CURRENT_USER; values are stored as REG_BINARY.
class RegistrySettingsStore : public SettingsStore {
 public:
  enum class Access { kRead, kWrite };  // kWrite creates the key when missing
  RegistrySettingsStore(const char* keyPath, Access access);
  ~RegistrySettingsStore() override;
  RegistrySettingsStore(const RegistrySettingsStore&) = delete;
  RegistrySettingsStore& operator=(const RegistrySettingsStore&) = delete;

  bool isOpen() const { return key_ != nullptr; }
  bool read(const char* name, void* buffer, std::size_t capacity, std::size_t* length) override;
  bool write(const char* name, const void* data, std::size_t size) override;
  // The whole value, whatever its length; false when missing.
  bool readAll(const char* name, std::vector<unsigned char>* value);

 private:
  HKEY key_ = nullptr;
};

// Read or write one group; false only when the key cannot be opened or created.
bool LoadSettingsGroup(Settings& settings, SettingsGroup group, const char* keyPath = kSettingsKeyPath);
bool SaveSettingsGroup(const Settings& settings, SettingsGroup group, const char* keyPath = kSettingsKeyPath);

// Stores the window's placement (GetWindowPlacement, 44 bytes on 32-bit Windows).
void SaveWindowPlacementValue(const char* keyPath, const char* valueName, HWND window);
// Applies a stored placement and returns its show command as stored; without one,
// shows the window with showCommand and returns that.
int RestoreWindowPlacementValue(const char* keyPath, const char* valueName, HWND window, int showCommand);
