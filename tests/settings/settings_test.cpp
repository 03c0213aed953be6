#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "tests/settings/memory_settings_store.h"

namespace {

std::vector<unsigned char> Bytes(std::initializer_list<int> list) {
  return std::vector<unsigned char>(list.begin(), list.end());
}

template <typename T>
std::vector<unsigned char> BytesOf(const T& value) {
  std::vector<unsigned char> out(sizeof value);
  std::memcpy(out.data(), &value, sizeof value);
  return out;
}

TEST(SettingsTest, PrintBlockBytesAndDefaults) {
  std::vector<unsigned char> expected;
  auto append = [&](float f) {
    auto b = BytesOf(f);
    expected.insert(expected.end(), b.begin(), b.end());
  };
  for (int i = 0; i < 4; ++i) append(1.0f);
  for (int flag : {1, 0, 1, 0, 0, 0, 1, 1, 1}) expected.push_back(static_cast<unsigned char>(flag));
  expected.insert(expected.end(), {300 & 0xFF, 300 >> 8, 0, 0});
  for (float f : {1.2f, 6.0f, 6.0f, 1.0f, 1.0f}) append(f);
  ASSERT_EQ(49u, expected.size());
  EXPECT_EQ(expected, BytesOf(Settings().PrintOptions));
}

TEST(SettingsTest, WritesEachGroupWithExactWidthsAndNothingElse) {
  MemorySettingsStore store;
  WriteSettingsGroup(Settings(), SettingsGroup::kOptions, store);
  const std::pair<const char*, std::size_t> options[] = {
      {"AutoShrink", 4}, {"AutoEnlarge", 4}, {"AutoFitWindow", 4}, {"Dither8", 4},
      {"Dither16", 4}, {"GammaEnable", 1}, {"GammaFactor", 8}, {"UseDDB", 1},
      {"FullScreenMode", 4}, {"SaveBrowseWindow", 4}, {"ThumbSize", 8},
      {"ThumbBorderSize", 4}, {"LVStyle", 4}, {"DefResolution", 1}, {"SSDelayMS", 4},
      {"SSWrap", 4}, {"SSReadAhead", 4}, {"SSSequenceMode", 4}, {"CacheBehind", 4},
      {"SameToneAllLevels", 1}};
  ASSERT_EQ(std::size(options), store.values.size());
  for (const auto& [name, width] : options) EXPECT_EQ(width, store.values[name].size()) << name;
  EXPECT_EQ(Bytes({0x88, 0x13, 0, 0}), store.values["SSDelayMS"]);
  EXPECT_EQ(Bytes({96, 0, 0, 0, 96, 0, 0, 0}), store.values["ThumbSize"]);

  MemorySettingsStore window;
  WriteSettingsGroup(Settings(), SettingsGroup::kWindow, window);
  ASSERT_EQ(3u, window.values.size());
  EXPECT_EQ(49u, window.values["PrintOptions"].size());
  EXPECT_EQ(Bytes({0x80, 2, 0, 0, 0x90, 1, 0, 0}), window.values["BrowseWndSize"]);
  EXPECT_EQ(Bytes({1}), window.values["ShowEnterSSMsg"]);
}

TEST(SettingsTest, ShortValueOverwritesOnlyItsFirstBytes) {
  MemorySettingsStore store;
  store.values["ThumbSize"] = Bytes({120, 0, 0, 0});
  store.values["SSDelayMS"] = Bytes({0x10});  // 5000 = 0x1388 becomes 0x1310
  Settings s;
  ReadSettingsGroup(s, SettingsGroup::kOptions, store);
  EXPECT_EQ(120, s.ThumbSize.width);
  EXPECT_EQ(96, s.ThumbSize.height);
  EXPECT_EQ(0x1310, s.SSDelayMS);
}

TEST(SettingsTest, LongerOrMissingValuesKeepTheField) {
  MemorySettingsStore store;
  store.values["GammaFactor"] = std::vector<unsigned char>(12, 0x40);
  store.values["PrintOptions"] = std::vector<unsigned char>(50, 0);
  Settings s;
  ReadSettingsGroup(s, SettingsGroup::kOptions, store);
  ReadSettingsGroup(s, SettingsGroup::kWindow, store);
  EXPECT_DOUBLE_EQ(1.2, s.GammaFactor);
  EXPECT_EQ(BytesOf(Settings().PrintOptions), BytesOf(s.PrintOptions));
}

TEST(SettingsTest, GroupsRoundTripAndStayApart) {
  Settings changed;
  changed.GammaFactor = 2.5;
  changed.DefResolution = 6;
  changed.BrowseWndSize = {800, 600};
  changed.PrintOptions.renderingDpi = 600;
  changed.ShowEnterSSMsg = 0;
  MemorySettingsStore store;
  WriteSettingsGroup(changed, SettingsGroup::kOptions, store);

  Settings loaded;
  ReadSettingsGroup(loaded, SettingsGroup::kWindow, store);
  EXPECT_EQ(640, loaded.BrowseWndSize.width);  // the window group was never written
  ReadSettingsGroup(loaded, SettingsGroup::kOptions, store);
  EXPECT_DOUBLE_EQ(2.5, loaded.GammaFactor);
  EXPECT_EQ(6, loaded.DefResolution);

  WriteSettingsGroup(changed, SettingsGroup::kWindow, store);
  ReadSettingsGroup(loaded, SettingsGroup::kWindow, store);
  EXPECT_EQ(800, loaded.BrowseWndSize.width);
  EXPECT_EQ(600, int{loaded.PrintOptions.renderingDpi});  // a copy: the field is unaligned
  EXPECT_EQ(0, loaded.ShowEnterSSMsg);
}

TEST(SettingsTest, RestoredPlacementIsNeverMinimisedAndStarterWins) {
  constexpr int kNormal = 1, kMinimized = 2, kMaximized = 3, kMinimize = 6, kDefault = 10;
  EXPECT_EQ(kMaximized, PlacementShowCommand(kMaximized, kDefault));
  EXPECT_EQ(kNormal, PlacementShowCommand(kMinimized, kDefault));
  EXPECT_EQ(kNormal, PlacementShowCommand(kMinimize, kDefault));
  EXPECT_EQ(kMaximized, PlacementShowCommand(kNormal, kMaximized));
  EXPECT_EQ(kMinimized, PlacementShowCommand(kNormal, kMinimized));
  // A stored hidden window, or no show command at all, comes back normal.
  EXPECT_EQ(kNormal, PlacementShowCommand(0, kDefault));
  EXPECT_EQ(kNormal, PlacementShowCommand(1234, kDefault));
}

TEST(SettingsTest, StoredValuesTheProgramCannotUseFallBackToDefaults) {
  MemorySettingsStore store;
  Settings wild;
  wild.ThumbSize = {0x7FFFFFFF, 96};
  wild.ThumbBorderSize = -3;
  wild.DefResolution = 200;
  wild.GammaFactor = -1.0;
  WriteSettingsGroup(wild, SettingsGroup::kOptions, store);
  Settings loaded;
  loaded.ThumbSize = {150, 120};  // what was there before must not survive either
  ReadSettingsGroup(loaded, SettingsGroup::kOptions, store);
  EXPECT_EQ(96, loaded.ThumbSize.width);
  EXPECT_EQ(96, loaded.ThumbSize.height);
  EXPECT_EQ(8, loaded.ThumbBorderSize);
  EXPECT_EQ(3, loaded.DefResolution);
  EXPECT_DOUBLE_EQ(1.2, loaded.GammaFactor);

  // Unusual but usable values stay.
  Settings usable;
  usable.ThumbSize = {kMaxThumbSide, kMinThumbSide};
  usable.ThumbBorderSize = 0;
  usable.GammaFactor = 5.0;
  WriteSettingsGroup(usable, SettingsGroup::kOptions, store);
  ReadSettingsGroup(loaded, SettingsGroup::kOptions, store);
  EXPECT_EQ(kMaxThumbSide, loaded.ThumbSize.width);
  EXPECT_EQ(kMinThumbSide, loaded.ThumbSize.height);
  EXPECT_EQ(0, loaded.ThumbBorderSize);
  EXPECT_DOUBLE_EQ(5.0, loaded.GammaFactor);
}

}  // namespace
