// The Options sheet run for real under Wine, driven from inside its own loop.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "settings/settings_store_win.h"
#include "ui/ui_utils_win.h"
#include "resources/resource_ids.h"
#include "tests/support/screenshot_win.h"
#include "tests/support/timed_script_win.h"
#include "ui/options_sheet_win.h"

namespace {

constexpr char kSheetCaption[] = "Lumivexa Options";

std::string Text(HWND dialog, int control) {
  char text[128] = "";
  GetDlgItemTextA(dialog, control, text, sizeof text);
  return text;
}

HWND CurrentPage(HWND sheet) { return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }

// The user's decimal separator for the length of a test.
class DecimalSeparator {
 public:
  explicit DecimalSeparator(const char* separator) : old_(LocaleDecimalSeparator()) {
    SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator);
  }
  ~DecimalSeparator() { SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, old_.c_str()); }

 private:
  std::string old_;
};

class OptionsSheetTest : public ::testing::Test {
 protected:
  void SetUp() override { InitCommonControls(); }
  HINSTANCE instance_ = GetModuleHandleA(nullptr);
};

TEST_F(OptionsSheetTest, RefusesGammaFiveAndTakesOneCommaFiveWithTheDelayAsTyped) {
  DecimalSeparator comma(",");
  ASSERT_EQ(",", LocaleDecimalSeparator());
  Settings settings;
  HWND sheet = nullptr;
  std::string shownGamma, warning, delayLabel;
  double gammaWhileRefused = 0;
  LRESULT sliderPosition = -1;
  BOOL ditheringEnabled = TRUE;
  TimedScript script({
      [&] {  // Display page: note what it shows, then try 5.
        sheet = TimedScript::FindDialog(kSheetCaption);
        if (!sheet) return false;
        HWND page = CurrentPage(sheet);
        shownGamma = Text(page, IDC_OPT_GAMMA);
        ditheringEnabled = IsWindowEnabled(GetDlgItem(page, IDC_OPT_DITHERING));
        CheckDlgButton(page, IDC_OPT_GAMMA_ENABLE, BST_CHECKED);
        CheckDlgButton(page, IDC_OPT_SAME_TONE, BST_CHECKED);
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_OPT_GAMMA_ENABLE, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_OPT_GAMMA_ENABLE)));
        SaveScreenshot(sheet, "options-display");
        SetDlgItemTextA(page, IDC_OPT_GAMMA, "5");
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        return true;
      },
      [&] {  // The refusal.
        HWND box = TimedScript::FindDialog("Lumivexa SE");
        if (!box) return false;
        warning = Text(box, 0xFFFF);
        gammaWhileRefused = settings.GammaFactor;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
      },
      [&] {  // Still open: type 1,5 and go on to the Slide Show page.
        if (TimedScript::FindDialog("Lumivexa SE") || !IsWindow(sheet)) return false;
        SetDlgItemTextA(CurrentPage(sheet), IDC_OPT_GAMMA, "1,5");
        SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
        return true;
      },
      [&] {
        HWND page = CurrentPage(sheet);
        SetDlgItemTextA(page, IDC_OPT_DELAY, "7500");
        sliderPosition = SendDlgItemMessageA(page, IDC_OPT_DELAY_SLIDER, TBM_GETPOS, 0, 0);
        delayLabel = Text(page, IDC_OPT_DELAY_TEXT);
        SaveScreenshot(sheet, "options-slide-show");
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        return true;
      },
  });
  ShowOptions(settings, instance_, nullptr);
  ASSERT_TRUE(script.finished()) << "stopped before step " << script.stepsDone() + 1;

  EXPECT_EQ("1,20", shownGamma);
  EXPECT_EQ("The gamma value must be between 0.10 and 3.00", warning);
  EXPECT_DOUBLE_EQ(1.2, gammaWhileRefused);
  EXPECT_DOUBLE_EQ(1.5, settings.GammaFactor);
  EXPECT_EQ(1, settings.GammaEnable);
  EXPECT_EQ(1, settings.SameToneAllLevels);
  EXPECT_EQ(11, sliderPosition);  // 8000: as near to 7500 as 7000, and later
  EXPECT_EQ("(8 seconds)", delayLabel);
  EXPECT_EQ(7500, settings.SSDelayMS);
  EXPECT_EQ(1, settings.OptionsStartPage);
  if (DisplayDepth() == 24) {
    EXPECT_FALSE(ditheringEnabled);
    EXPECT_EQ(4, settings.Dither8);
    EXPECT_EQ(1, settings.Dither16);
  }
}

// Keeps the program's stored options as they were before the test.
class StoredOptions {
 public:
  StoredOptions() : existed_(LoadSettingsGroup(saved_, SettingsGroup::kOptions)) {}
  ~StoredOptions() {
    if (existed_)
      SaveSettingsGroup(saved_, SettingsGroup::kOptions);
    else
      RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKeyPath);
  }

 private:
  Settings saved_;
  bool existed_;
};

TEST_F(OptionsSheetTest, CancelStillRewritesTheOptionsGroupUnchanged) {
  StoredOptions keep;
  const Settings before = g_settings;
  g_settings.SSDelayMS = 4000;
  {
    RegistrySettingsStore store(kSettingsKeyPath, RegistrySettingsStore::Access::kWrite);
    ASSERT_TRUE(store.isOpen());
    store.write("SSDelayMS", "\x01", 1);
  }
  TimedScript script({
      [&] {
        HWND sheet = TimedScript::FindDialog(kSheetCaption);
        if (!sheet) return false;
        SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
        SetDlgItemTextA(CurrentPage(sheet), IDC_OPT_DELAY, "9000");
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        return true;
      },
  });
  RunOptionsCommand(instance_, nullptr);
  ASSERT_TRUE(script.finished());

  EXPECT_EQ(4000, g_settings.SSDelayMS);
  EXPECT_EQ(1, g_settings.OptionsStartPage);
  Settings stored;
  stored.SSDelayMS = 0;
  ASSERT_TRUE(LoadSettingsGroup(stored, SettingsGroup::kOptions));
  EXPECT_EQ(4000, stored.SSDelayMS);
  g_settings = before;
}

}  // namespace
