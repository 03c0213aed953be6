#include "ui/options_sheet_win.h"

#include <commctrl.h>

#include <string>

#include "ui/help_win.h"
#include "settings/settings_store_win.h"
#include "ui/shell_state_win.h"
#include "ui/ui_utils_win.h"
#include "resources/resource_ids.h"
#include "ui/options_values.h"
#include "ui/property_sheet_win.h"

namespace {

const DWORD kHelpIds[] = {IDC_OPT_DITHERING,    100, IDC_OPT_RESOLUTION,   101, IDC_OPT_FULL_SCREEN,  102,
                          IDC_OPT_GAMMA_ENABLE, 103, IDC_OPT_GAMMA,        104, IDC_OPT_GAMMA_SPIN,   104,
                          IDC_OPT_USE_DDB,      105, IDC_OPT_DELAY_SLIDER, 106, IDC_OPT_DELAY,        106,
                          IDC_OPT_RANDOMIZE,    107, IDC_OPT_REPEAT,       108, IDC_OPT_READ_AHEAD,   109,
                          IDC_OPT_SAME_TONE,    110,
                          0,                    kOptionsHelpTopic};

const char* const kResolutionRows[] = {"Fit to screen", "BASE/16", "BASE/4", "BASE", "4 BASE", "16 BASE", "64 BASE"};

constexpr int kRandomOrder = 2;

std::string ControlText(HWND page, int control) {
  char text[64] = "";
  GetDlgItemTextA(page, control, text, sizeof text);
  return text;
}

// What both pages do alike: centre the sheet once, remember the page, help.
class OptionsPage : public PropertyPage {
 protected:
  OptionsPage(Settings& settings, HINSTANCE instance, int number)
      : settings_(settings), instance_(instance), number_(number) {}

  virtual void initialise() = 0;
  virtual bool apply() = 0;
  virtual void onCommand(int control, int code) {}
  virtual void onScroll(HWND control) {}

  INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_INITDIALOG:
        if (!settings_.OptionsSheetCentred) {
          CentreWindow(sheet());
          settings_.OptionsSheetCentred = 1;
        }
        initialise();
        return TRUE;
      case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
      case WM_HSCROLL:
      case WM_VSCROLL:
        onScroll(reinterpret_cast<HWND>(lParam));
        return TRUE;
      case WM_NOTIFY:
        switch (reinterpret_cast<NMHDR*>(lParam)->code) {
          case PSN_SETACTIVE:
            settings_.OptionsStartPage = number_;
            return Answer(0);
          case PSN_KILLACTIVE:
            return Answer(FALSE);
          case PSN_APPLY:
            return Answer(apply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE);
        }
        return FALSE;
      case WM_HELP:
      case WM_CONTEXTMENU:
        return HandleControlHelp(message, wParam, lParam, kHelpIds);
    }
    return FALSE;
  }

  Settings& settings_;
  HINSTANCE instance_;

 private:
  int number_;
};

class DisplayPage final : public OptionsPage {
 public:
  DisplayPage(Settings& settings, HINSTANCE instance)
      : OptionsPage(settings, instance, 0), separator_(LocaleDecimalSeparator()), depth_(DisplayDepth()) {}

 private:
  void initialise() override {
    Check(IDC_OPT_FULL_SCREEN, settings_.FullScreenMode != 0);
    Check(IDC_OPT_USE_DDB, settings_.UseDDB != 0);
    Check(IDC_OPT_SAME_TONE, settings_.SameToneAllLevels != 0);
    Check(IDC_OPT_GAMMA_ENABLE, settings_.GammaEnable != 0);
    Send(IDC_OPT_GAMMA_SPIN, UDM_SETRANGE32, options::kGammaMinPosition, options::kGammaMaxPosition);
    showGamma(options::GammaPosition(settings_.GammaFactor));
    enableGamma();

    if (depth_ == 8) {
      fillList(IDC_OPT_DITHERING, {IDS_DITHER_ORDERED, IDS_DITHER_FLOYD, IDS_DITHER_TWO_PASS});
      Send(IDC_OPT_DITHERING, CB_SETCURSEL, options::Dither8Row(settings_.Dither8));
    } else if (depth_ == 16) {
      fillList(IDC_OPT_DITHERING, {IDS_DITHER_NONE, IDS_DITHER_ORDERED});
      Send(IDC_OPT_DITHERING, CB_SETCURSEL, settings_.Dither16);
    } else {
      EnableWindow(GetDlgItem(page(), IDC_OPT_DITHERING), FALSE);
    }
    for (const char* row : kResolutionRows) Send(IDC_OPT_RESOLUTION, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row));
    Send(IDC_OPT_RESOLUTION, CB_SETCURSEL, settings_.DefResolution);
  }

  void onCommand(int control, int code) override {
    if (control == IDC_OPT_GAMMA_ENABLE && code == BN_CLICKED) enableGamma();
    // Typing moves the spin along; the text stays as typed.
    if (control == IDC_OPT_GAMMA && code == EN_CHANGE && !showingGamma_)
      Send(IDC_OPT_GAMMA_SPIN, UDM_SETPOS32, 0, options::GammaPosition(typedGamma()));
  }

  void onScroll(HWND control) override {
    if (control != GetDlgItem(page(), IDC_OPT_GAMMA_SPIN)) return;
    showGamma(static_cast<int>(Send(IDC_OPT_GAMMA_SPIN, UDM_GETPOS32)));
    Send(IDC_OPT_GAMMA, EM_SETSEL, 0, -1);
  }

  bool apply() override {
    settings_.UseDDB = Checked(IDC_OPT_USE_DDB);
    settings_.SameToneAllLevels = Checked(IDC_OPT_SAME_TONE);
    settings_.GammaEnable = Checked(IDC_OPT_GAMMA_ENABLE);
    settings_.FullScreenMode = Checked(IDC_OPT_FULL_SCREEN);
    const double gamma = typedGamma();
    if (!options::GammaAcceptable(gamma)) {
      MessageFromString(instance_, page(), IDS_BAD_GAMMA, kAppName, MB_OK | MB_ICONWARNING);
      HWND field = GetDlgItem(page(), IDC_OPT_GAMMA);
      SetFocus(field);
      Send(IDC_OPT_GAMMA, EM_SETSEL, 0, -1);
      return false;
    }
    settings_.GammaFactor = gamma;
    const int row = static_cast<int>(Send(IDC_OPT_DITHERING, CB_GETCURSEL));
    if (depth_ == 8) settings_.Dither8 = options::Dither8FromRow(row);
    if (depth_ == 16 && row >= 0) settings_.Dither16 = row;
    const int resolution = static_cast<int>(Send(IDC_OPT_RESOLUTION, CB_GETCURSEL));
    if (resolution >= 0) settings_.DefResolution = static_cast<std::uint8_t>(resolution);
    return true;
  }

  void showGamma(int position) {
    showingGamma_ = true;
    SetDlgItemTextA(page(), IDC_OPT_GAMMA, options::FormatGammaPosition(position, separator_).c_str());
    showingGamma_ = false;
    Send(IDC_OPT_GAMMA_SPIN, UDM_SETPOS32, 0, position);
  }

  double typedGamma() const { return options::ParseGammaText(ControlText(page(), IDC_OPT_GAMMA), separator_); }

  void enableGamma() {
    const BOOL on = Checked(IDC_OPT_GAMMA_ENABLE);
    EnableWindow(GetDlgItem(page(), IDC_OPT_GAMMA), on);
    EnableWindow(GetDlgItem(page(), IDC_OPT_GAMMA_SPIN), on);
  }

  void fillList(int control, std::initializer_list<UINT> stringIds) {
    for (UINT id : stringIds) {
      std::string text = LoadStringText(instance_, id);
      Send(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
  }

  std::string separator_;
  int depth_;
  bool showingGamma_ = false;
};

class SlideShowPage final : public OptionsPage {
 public:
  SlideShowPage(Settings& settings, HINSTANCE instance) : OptionsPage(settings, instance, 1) {}

 private:
  void initialise() override {
    Check(IDC_OPT_REPEAT, settings_.SSWrap != 0);
    Check(IDC_OPT_RANDOMIZE, settings_.SSSequenceMode == kRandomOrder);
    Check(IDC_OPT_READ_AHEAD, settings_.SSReadAhead != 0);
    Send(IDC_OPT_DELAY_SLIDER, TBM_SETRANGE, TRUE, MAKELPARAM(0, options::kDelayPositions - 1));
    Send(IDC_OPT_DELAY_SLIDER, TBM_SETTICFREQ, 3);
    Send(IDC_OPT_DELAY_SLIDER, TBM_SETPAGESIZE, 0, 3);
    // Setting the field moves the slider and fills the label.
    showDelay(static_cast<std::uint32_t>(settings_.SSDelayMS));
  }

  void onCommand(int control, int code) override {
    std::uint32_t delay = 0;
    if (control != IDC_OPT_DELAY || code != EN_CHANGE || !options::ParseUnsignedNumber(ControlText(page(), IDC_OPT_DELAY), &delay))
      return;
    Send(IDC_OPT_DELAY_SLIDER, TBM_SETPOS, TRUE, options::NearestDelayPosition(delay));
    SetDlgItemTextA(page(), IDC_OPT_DELAY_TEXT, options::DelayText(delay).c_str());
  }

  void onScroll(HWND control) override {
    if (control != GetDlgItem(page(), IDC_OPT_DELAY_SLIDER)) return;
    const int position = static_cast<int>(Send(IDC_OPT_DELAY_SLIDER, TBM_GETPOS));
    if (position >= 0 && position < options::kDelayPositions) showDelay(options::kDelayTable[position]);
  }

  bool apply() override {
    settings_.SSWrap = Checked(IDC_OPT_REPEAT);
    settings_.SSReadAhead = Checked(IDC_OPT_READ_AHEAD);
    settings_.SSSequenceMode = Checked(IDC_OPT_RANDOMIZE) ? kRandomOrder : 0;
    std::uint32_t delay = 0;
    if (!options::ParseUnsignedNumber(ControlText(page(), IDC_OPT_DELAY), &delay)) delay = 0;
    settings_.SSDelayMS = static_cast<std::int32_t>(delay);
    return true;
  }

  void showDelay(std::uint32_t delay) { SetDlgItemTextA(page(), IDC_OPT_DELAY, std::to_string(delay).c_str()); }
};

}  // namespace

void ShowOptions(Settings& settings, HINSTANCE instance, HWND owner) {
  InitCommonControls();
  DisplayPage display(settings, instance);
  SlideShowPage slideShow(settings, instance);
  const std::vector<PROPSHEETPAGEA> pages = {display.Describe(instance, IDD_OPTIONS_DISPLAY),
                                             slideShow.Describe(instance, IDD_OPTIONS_SLIDE_SHOW)};
  const std::string caption = LoadStringText(instance, IDS_OPTIONS_CAPTION);
  settings.OptionsSheetCentred = 0;
  RunPropertySheet(instance, owner, caption.c_str(), pages, settings.OptionsStartPage);
}

namespace {

BOOL CALLBACK TellOptionsChanged(HWND window, LPARAM) {
  SendMessageA(window, OptionsChangedMessage(), 0, 0);
  return TRUE;
}

}  // namespace

UINT OptionsChangedMessage() {
  static const UINT message = RegisterWindowMessageA("LumivexaSE-OptionsChanged");
  return message;
}

void RunOptionsCommand(HINSTANCE instance, HWND owner) {
  // The sheet edits its own copy; the program's settings change in one step
  // when it closes (only the options: what other windows saved meanwhile
  // stays), and every window of the program hears of it.
  Settings working = g_settings;
  ShowOptions(working, instance, owner);
  CopySettingsGroup(working, g_settings, SettingsGroup::kOptions);
  g_settings.OptionsStartPage = working.OptionsStartPage;
  SaveSettingsGroup(g_settings, SettingsGroup::kOptions);
  EnumThreadWindows(GetCurrentThreadId(), TellOptionsChanged, 0);
}
