// A SettingsStore over a map, with the registry's length rules.
#pragma once
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "settings/settings.h"

class MemorySettingsStore : public SettingsStore {
 public:
  std::map<std::string, std::vector<unsigned char>> values;

  bool read(const char* name, void* buffer, std::size_t capacity, std::size_t* length) override {
    auto found = values.find(name);
    if (found == values.end() || found->second.size() > capacity) return false;
    if (!found->second.empty()) std::memcpy(buffer, found->second.data(), found->second.size());
    *length = found->second.size();
    return true;
  }
  bool write(const char* name, const void* data, std::size_t size) override {
    auto* bytes = static_cast<const unsigned char*>(data);
    values[name].assign(bytes, bytes + size);
    return true;
  }
};
