// Recent entries of a combo box kept in one registry value.
#include <string>
#include <vector>

#include "settings/settings_store_win.h"
#include "ui/mru_list.h"
#include "ui/ui_utils_win.h"

namespace {

std::string ComboItemText(HWND combo, int index) {
  LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) return {};
  std::wstring text(length + 1, L'\0');
  SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
  text.resize(length);
  return Utf8(text);
}

// The edit text while nothing or the first entry is selected, else the selection.
std::string CurrentComboText(HWND combo) {
  LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  if (selected > 0) return ComboItemText(combo, static_cast<int>(selected));
  return WindowText(combo);
}

void FillCombo(HWND combo, const MruList& entries) {
  for (const std::string& entry : entries)
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf16(entry).c_str()));
}

}  // namespace

bool LoadMruCombo(HWND combo, const char* keyPath, const char* valueName) {
  MruList entries;
  if (!LoadStoredMruList(keyPath, valueName, entries)) return false;
  FillCombo(combo, entries);
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
  return true;
}

bool LoadStoredMruList(const char* keyPath, const char* valueName, MruList& entries) {
  RegistrySettingsStore store(keyPath, RegistrySettingsStore::Access::kRead);
  std::vector<unsigned char> value;
  if (!store.readAll(valueName, &value)) return false;
  entries = DecodeMruList(value);
  for (std::string& entry : entries) entry = Utf8FromStoredText(entry);
  return true;
}

bool SaveMruCombo(HWND combo, bool addCurrent, std::size_t maxEntries, std::size_t maxBytes,
                  const char* keyPath, const char* valueName) {
  MruList entries;
  LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (int i = 0; i < count; ++i) entries.push_back(ComboItemText(combo, i));
  if (addCurrent) {
    std::string current = CurrentComboText(combo);
    if (!current.empty()) {
      PromoteMruEntry(entries, current);
      SendMessageW(combo, CB_RESETCONTENT, 0, 0);
      FillCombo(combo, entries);
      SendMessageW(combo, CB_SETCURSEL, 0, 0);
    }
  }
  TrimMruList(entries, maxEntries, maxBytes);
  std::vector<unsigned char> value = EncodeMruList(entries);
  return RegistrySettingsStore(keyPath, RegistrySettingsStore::Access::kWrite)
      .write(valueName, value.data(), value.size());
}
