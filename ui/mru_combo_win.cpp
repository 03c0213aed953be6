// Recent entries of a combo box kept in one registry value.
#include <string>
#include <vector>

#include "settings/settings_store_win.h"
#include "ui/mru_list.h"
#include "ui/ui_utils_win.h"

namespace {

std::string ComboItemText(HWND combo, int index) {
  LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) return {};
  std::string text(length + 1, '\0');
  SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
  text.resize(length);
  return text;
}

// The edit text while nothing or the first entry is selected, else the selection.
std::string CurrentComboText(HWND combo) {
  LRESULT selected = SendMessageA(combo, CB_GETCURSEL, 0, 0);
  if (selected > 0) return ComboItemText(combo, static_cast<int>(selected));
  std::string text(GetWindowTextLengthA(combo) + 1, '\0');
  text.resize(GetWindowTextA(combo, &text[0], static_cast<int>(text.size())));
  return text;
}

void FillCombo(HWND combo, const MruList& entries) {
  for (const std::string& entry : entries)
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
}

}  // namespace

bool LoadMruCombo(HWND combo, const char* keyPath, const char* valueName) {
  RegistrySettingsStore store(keyPath, RegistrySettingsStore::Access::kRead);
  std::vector<unsigned char> value;
  if (!store.readAll(valueName, &value)) return false;
  FillCombo(combo, DecodeMruList(value));
  SendMessageA(combo, CB_SETCURSEL, 0, 0);
  return true;
}

bool SaveMruCombo(HWND combo, bool addCurrent, std::size_t maxEntries, std::size_t maxBytes,
                  const char* keyPath, const char* valueName) {
  MruList entries;
  LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
  for (int i = 0; i < count; ++i) entries.push_back(ComboItemText(combo, i));
  if (addCurrent) {
    std::string current = CurrentComboText(combo);
    if (!current.empty()) {
      PromoteMruEntry(entries, current);
      SendMessageA(combo, CB_RESETCONTENT, 0, 0);
      FillCombo(combo, entries);
      SendMessageA(combo, CB_SETCURSEL, 0, 0);
    }
  }
  TrimMruList(entries, maxEntries, maxBytes);
  std::vector<unsigned char> value = EncodeMruList(entries);
  return RegistrySettingsStore(keyPath, RegistrySettingsStore::Access::kWrite)
      .write(valueName, value.data(), value.size());
}
