// The settings in the real registry of the Wine prefix, under a key of the test's own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/settings_store_win.h"

namespace {

class SettingsRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    keyPath_ = "Software\\Quorvant\\Lumivexa SE Tests\\settings-" + std::to_string(GetCurrentProcessId());
    RegDeleteKeyA(HKEY_CURRENT_USER, keyPath_.c_str());
  }
  void TearDown() override {
    RegDeleteKeyA(HKEY_CURRENT_USER, keyPath_.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Quorvant\\Lumivexa SE Tests");  // once empty
  }

  const char* key() const { return keyPath_.c_str(); }

  // Type and bytes of a value as the registry API reports them.
  bool Query(const char* name, DWORD* type, std::vector<unsigned char>* bytes) {
    HKEY k;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    bool ok = RegQueryValueExA(k, name, nullptr, type, nullptr, &size) == ERROR_SUCCESS;
    bytes->assign(size, 0);
    ok = ok && RegQueryValueExA(k, name, nullptr, type, bytes->data(), &size) == ERROR_SUCCESS;
    RegCloseKey(k);
    return ok;
  }

  void Put(const char* name, const std::vector<unsigned char>& bytes) {
    HKEY k;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, key(), 0, nullptr, 0, KEY_WRITE,
                                             nullptr, &k, nullptr));
    RegSetValueExA(k, name, 0, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
    RegCloseKey(k);
  }

  std::string keyPath_;
};

TEST_F(SettingsRegistryTest, GroupsAreWrittenAsBinaryValuesOfTheFieldWidths) {
  Settings s;
  s.GammaFactor = 2.25;
  s.BrowseWndSize = {700, 500};
  ASSERT_TRUE(SaveSettingsGroup(s, SettingsGroup::kOptions, key()));
  ASSERT_TRUE(SaveSettingsGroup(s, SettingsGroup::kWindow, key()));

  const std::pair<const char*, DWORD> widths[] = {
      {"GammaFactor", 8}, {"GammaEnable", 1}, {"ThumbSize", 8}, {"DefResolution", 1},
      {"SSDelayMS", 4}, {"PrintOptions", 49}, {"BrowseWndSize", 8}, {"ShowEnterSSMsg", 1}};
  for (const auto& [name, width] : widths) {
    DWORD type = 0;
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(Query(name, &type, &bytes)) << name;
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type) << name;
    EXPECT_EQ(width, bytes.size()) << name;
  }

  Settings loaded;
  ASSERT_TRUE(LoadSettingsGroup(loaded, SettingsGroup::kOptions, key()));
  ASSERT_TRUE(LoadSettingsGroup(loaded, SettingsGroup::kWindow, key()));
  EXPECT_DOUBLE_EQ(2.25, loaded.GammaFactor);
  EXPECT_EQ(700, loaded.BrowseWndSize.width);
  EXPECT_EQ(500, loaded.BrowseWndSize.height);
}

TEST_F(SettingsRegistryTest, ShortValuesOverlayAndLongOnesAreIgnored) {
  Put("ThumbSize", {200, 0, 0, 0});
  Put("GammaFactor", std::vector<unsigned char>(12, 0x3F));
  Put("DefResolution", {5});
  Settings s;
  ASSERT_TRUE(LoadSettingsGroup(s, SettingsGroup::kOptions, key()));
  EXPECT_EQ(200, s.ThumbSize.width);
  EXPECT_EQ(96, s.ThumbSize.height);
  EXPECT_DOUBLE_EQ(1.2, s.GammaFactor);
  EXPECT_EQ(5, s.DefResolution);
}

TEST_F(SettingsRegistryTest, MissingKeyKeepsEveryValue) {
  Settings s;
  s.SSDelayMS = 1234;
  EXPECT_FALSE(LoadSettingsGroup(s, SettingsGroup::kOptions, key()));
  EXPECT_FALSE(LoadSettingsGroup(s, SettingsGroup::kWindow, key()));
  EXPECT_EQ(1234, s.SSDelayMS);
}

class PlacementTest : public SettingsRegistryTest {
 protected:
  void SetUp() override {
    SettingsRegistryTest::SetUp();
    window_ = CreateWindowExA(0, "STATIC", "placement", WS_OVERLAPPEDWINDOW, 120, 90, 300, 200,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, window_);
  }
  void TearDown() override {
    DestroyWindow(window_);
    SettingsRegistryTest::TearDown();
  }
  RECT NormalRect() {
    WINDOWPLACEMENT p{};
    p.length = sizeof p;
    GetWindowPlacement(window_, &p);
    return p.rcNormalPosition;
  }
  HWND window_ = nullptr;
};

TEST_F(PlacementTest, NothingStoredShowsWithTheGivenCommand) {
  EXPECT_EQ(SW_SHOWNORMAL, RestoreWindowPlacementValue(key(), "BrowseWndPos", window_, SW_SHOWNORMAL));
  EXPECT_TRUE(IsWindowVisible(window_));
}

TEST_F(PlacementTest, StoredPlacementIsRestoredWith44Bytes) {
  SaveWindowPlacementValue(key(), "BrowseWndPos", window_);
  DWORD type = 0;
  std::vector<unsigned char> bytes;
  ASSERT_TRUE(Query("BrowseWndPos", &type, &bytes));
  EXPECT_EQ(44u, bytes.size());

  MoveWindow(window_, 10, 20, 150, 100, FALSE);
  EXPECT_EQ(SW_SHOWNORMAL, RestoreWindowPlacementValue(key(), "BrowseWndPos", window_, SW_SHOWDEFAULT));
  RECT r = NormalRect();
  EXPECT_EQ(120, r.left);
  EXPECT_EQ(90, r.top);
  EXPECT_EQ(420, r.right);
  EXPECT_TRUE(IsWindowVisible(window_));
}

TEST_F(PlacementTest, MinimisedPlacementComesBackNormalAndAStarterCommandWins) {
  WINDOWPLACEMENT p{};
  p.length = sizeof p;
  GetWindowPlacement(window_, &p);
  p.showCmd = SW_SHOWMINIMIZED;
  std::vector<unsigned char> bytes(reinterpret_cast<unsigned char*>(&p),
                                   reinterpret_cast<unsigned char*>(&p) + sizeof p);
  Put("BrowseWndPos", bytes);

  EXPECT_EQ(SW_SHOWMINIMIZED, RestoreWindowPlacementValue(key(), "BrowseWndPos", window_, SW_SHOWDEFAULT));
  EXPECT_FALSE(IsIconic(window_));
  EXPECT_TRUE(IsWindowVisible(window_));

  RestoreWindowPlacementValue(key(), "BrowseWndPos", window_, SW_SHOWMAXIMIZED);
  EXPECT_TRUE(IsZoomed(window_));
  EXPECT_EQ(120, NormalRect().left);  // the remembered position stays
}

}  // namespace
