// The process-wide preferences record and its storage as binary values.
//
// Each stored field is kept in the value of the same name, as exactly the bytes
// of the field (little-endian, the field's own width). Loading overlays what is
// stored onto the current values; anything missing keeps its value.
#pragma once
#include <cstddef>
#include <cstdint>

#include "settings/print_options.h"

#if !defined(__BYTE_ORDER__) || __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "stored settings are the fields' in-memory bytes, which must be little-endian"
#endif

// Key under the current user's root that holds every value of the program.
constexpr char kSettingsKeyPath[] = "Software\\Quorvant\\Lumivexa SE";

struct PixelSize {
  std::int32_t width;
  std::int32_t height;
};

// Field names are the names of their stored values.
struct Settings {
  PixelSize BrowseWndSize{640, 400};   // window group; outer size when SaveBrowseWindow is 1
  std::int32_t SaveBrowseWindow = 2;   // 1 size only, 2 whole placement, other nothing
  std::int32_t AutoShrink = 0;         // kept, unused
  std::int32_t AutoEnlarge = 0;        // kept, unused
  std::int32_t AutoFitWindow = 0;      // viewer refits its zoom on resize
  std::int32_t Dither8 = 4;            // 1 ordered, 2 Floyd-Steinberg, 4 two-pass
  std::int32_t Dither16 = 1;           // 0 none, 1 ordered
  ::PrintOptions PrintOptions;         // window group
  std::uint8_t GammaEnable = 0;
  double GammaFactor = 1.2;            // 0.10 .. 3.00
  std::uint8_t UseDDB = 0;
  std::uint8_t SameToneAllLevels = 0;  // viewer: base levels roll highlights off as the higher ones do
  std::int32_t FullScreenMode = 0;
  PixelSize ThumbSize{96, 96};         // thumbnail box inside the border
  std::int32_t ThumbBorderSize = 8;
  std::int32_t LVStyle = 4;            // kept, unused
  std::uint8_t DefResolution = 3;      // 0 fit to screen, 1 BASE/16 .. 6 BASE*64
  std::int32_t SSReadAhead = 1;
  std::int32_t SSDelayMS = 5000;
  std::int32_t SSSequenceMode = 0;     // 0 in sequence, 2 random
  std::int32_t SSWrap = 1;
  std::int32_t CacheBehind = 1;
  std::uint8_t ShowEnterSSMsg = 1;     // window group
  // Not stored: live for the process only.
  std::int32_t OptionsSheetCentred = 0;
  std::int32_t OptionsStartPage = 0;   // 0 Display, 1 Slide Show
};

// The one instance, constant-initialised with the defaults before any code runs.
// Read and changed in place on the user-interface thread.
extern Settings g_settings;

enum class SettingsGroup {
  kOptions,  // written whenever the Options dialog closes
  kWindow,   // "PrintOptions", "BrowseWndSize", "ShowEnterSSMsg": written at exit
};

// Named binary values: the registry key in the program, memory in tests.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // Copies the named value into buffer and sets *length when it exists and is
  // at most capacity bytes long; false otherwise (buffer untouched).
  virtual bool read(const char* name, void* buffer, std::size_t capacity, std::size_t* length) = 0;
  // Stores size bytes under name; false when the write failed.
  virtual bool write(const char* name, const void* data, std::size_t size) = 0;
};

// Overlays the group's stored values onto settings: a value shorter than its
// field replaces only the field's first bytes; a longer or missing one is skipped.
// Stored values that would break the program fall back to their defaults (see
// MakeStoredOptionsSafe).
void ReadSettingsGroup(Settings& settings, SettingsGroup group, SettingsStore& store);
// Writes every value of the group with exactly its field's width; single
// failures are ignored.
void WriteSettingsGroup(const Settings& settings, SettingsGroup group, SettingsStore& store);
// Copies the group's fields from one record to another, leaving the rest.
void CopySettingsGroup(const Settings& from, Settings& to, SettingsGroup group);

// Limits of the thumbnail cell: up to twice the larger thumbnail a disc holds
// (192 x 128), so that the cell arithmetic and the image list always work.
constexpr int kMinThumbSide = 16;
constexpr int kMaxThumbSide = 384;
constexpr int kMaxThumbBorder = 32;

// Puts back the default of each options-group field whose stored value the
// program cannot use: a thumbnail size or border outside the limits above, a
// default resolution above 64 BASE, a gamma factor that is no positive number.
// Every usable value stays as it is.
void MakeStoredOptionsSafe(Settings& settings);

// Show command used when restoring a stored window placement: never minimised
// or hidden, and an explicit show command from the starter beats the stored one.
int PlacementShowCommand(int storedShowCommand, int givenShowCommand);
