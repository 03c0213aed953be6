#include "settings/settings.h"

#include <cmath>
#include <cstring>

Settings g_settings;

namespace {

struct StoredField {
  const char* name;
  std::size_t offset;
  std::size_t width;
};

// Field names double as value names.
#define LUMIVEXA_STORED(field) {#field, offsetof(Settings, field), sizeof(Settings::field)}

// In the order they are read and written.
constexpr StoredField kOptionsGroup[] = {
    LUMIVEXA_STORED(AutoShrink),     LUMIVEXA_STORED(AutoEnlarge),
    LUMIVEXA_STORED(AutoFitWindow),  LUMIVEXA_STORED(Dither8),
    LUMIVEXA_STORED(Dither16),       LUMIVEXA_STORED(GammaEnable),
    LUMIVEXA_STORED(GammaFactor),    LUMIVEXA_STORED(UseDDB),
    LUMIVEXA_STORED(FullScreenMode), LUMIVEXA_STORED(SaveBrowseWindow),
    LUMIVEXA_STORED(ThumbSize),      LUMIVEXA_STORED(ThumbBorderSize),
    LUMIVEXA_STORED(LVStyle),        LUMIVEXA_STORED(DefResolution),
    LUMIVEXA_STORED(SSDelayMS),      LUMIVEXA_STORED(SSWrap),
    LUMIVEXA_STORED(SSReadAhead),    LUMIVEXA_STORED(SSSequenceMode),
    LUMIVEXA_STORED(CacheBehind),    LUMIVEXA_STORED(SameToneAllLevels),
};

constexpr StoredField kWindowGroup[] = {
    LUMIVEXA_STORED(PrintOptions),
    LUMIVEXA_STORED(BrowseWndSize),
    LUMIVEXA_STORED(ShowEnterSSMsg),
};

#undef LUMIVEXA_STORED

template <typename Visit>
void ForEachField(SettingsGroup group, Visit visit) {
  if (group == SettingsGroup::kOptions) {
    for (const StoredField& field : kOptionsGroup) visit(field);
  } else {
    for (const StoredField& field : kWindowGroup) visit(field);
  }
}

constexpr std::size_t kWidestField = sizeof(PrintOptions);

constexpr int kHide = 0;
constexpr int kShowNormal = 1;
constexpr int kShowMinimized = 2;
constexpr int kMinimize = 6;
constexpr int kShowDefault = 10;
constexpr int kLastShowCommand = 11;

bool ThumbSideUsable(std::int32_t side) { return side >= kMinThumbSide && side <= kMaxThumbSide; }

}  // namespace

void ReadSettingsGroup(Settings& settings, SettingsGroup group, SettingsStore& store) {
  auto* bytes = reinterpret_cast<unsigned char*>(&settings);
  ForEachField(group, [&](const StoredField& field) {
    unsigned char value[kWidestField];
    std::size_t length = 0;
    if (store.read(field.name, value, field.width, &length) && length <= field.width)
      std::memcpy(bytes + field.offset, value, length);
  });
  if (group == SettingsGroup::kOptions) MakeStoredOptionsSafe(settings);
}

void MakeStoredOptionsSafe(Settings& settings) {
  const Settings defaults;
  if (!ThumbSideUsable(settings.ThumbSize.width) || !ThumbSideUsable(settings.ThumbSize.height))
    settings.ThumbSize = defaults.ThumbSize;
  if (settings.ThumbBorderSize < 0 || settings.ThumbBorderSize > kMaxThumbBorder)
    settings.ThumbBorderSize = defaults.ThumbBorderSize;
  if (settings.DefResolution > 6) settings.DefResolution = defaults.DefResolution;
  if (!std::isfinite(settings.GammaFactor) || settings.GammaFactor <= 0.0)
    settings.GammaFactor = defaults.GammaFactor;
}

void WriteSettingsGroup(const Settings& settings, SettingsGroup group, SettingsStore& store) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(&settings);
  ForEachField(group, [&](const StoredField& field) {
    store.write(field.name, bytes + field.offset, field.width);
  });
}

void CopySettingsGroup(const Settings& from, Settings& to, SettingsGroup group) {
  ForEachField(group, [&](const StoredField& field) {
    std::memcpy(reinterpret_cast<unsigned char*>(&to) + field.offset,
                reinterpret_cast<const unsigned char*>(&from) + field.offset, field.width);
  });
}

int PlacementShowCommand(int storedShowCommand, int givenShowCommand) {
  if (givenShowCommand != kShowDefault) return givenShowCommand;
  if (storedShowCommand == kShowMinimized || storedShowCommand == kMinimize || storedShowCommand == kHide ||
      storedShowCommand < 0 || storedShowCommand > kLastShowCommand)
    return kShowNormal;
  return storedShowCommand;
}
