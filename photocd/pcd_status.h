// Status codes returned by every Photo CD toolkit operation.
#pragma once
#include <cstdint>

using PcdStatus = std::uint16_t;

enum : PcdStatus {
  kPcdOk = 0,
  kPcdEndOfFile = 5,             // a read met the end of the file where sector data was expected
  kPcdBadSignature = 3000,       // wrong signature, empty image pack name, row not found, refused INFO.IC
  kPcdInvalidArgument = 3001,    // missing handle/buffer, level/format/photo/rectangle out of range
  kPcdBadVersion = 3002,         // format version below 5, or resolution class 3
  kPcdReadFailed = 3007,
  kPcdCloseFailed = 3008,
  kPcdSeekFailed = 3009,
  kPcdOpenFailed = 3010,
  kPcdExtensionUnavailable = 3012,
  kPcdNotSupported = 3013,
  kPcdExtensionMismatch = 3015,  // an extension file did not match its description
  kPcdOutOfMemory = 3016,
  // Damage a decode went around (PcdGetDamage): the rest of the photo decodes.
  kPcdFirstDamage = 3100,
  kPcdRowNoSync = 3100,           // a residual row is not where its table points, nor near its neighbours
  kPcdRowBadCode = 3101,          // a row's bits stop making codes
  kPcdRowPastData = 3102,         // a row lies (or its codes run) past the end of the data
  kPcdRowUnreadable = 3103,       // a row's sectors could not be read
  kPcdRowTableUnreadable = 3104,  // rows found by their syncs instead
  kPcdCodeTableUnreadable = 3105, // the level's residuals cannot be decoded
  kPcdRowOverrun = 3107,          // a row's codes do not end where the next row's sync begins
  kPcdLastDamage = 3107,
};

inline bool PcdIsDamage(PcdStatus status) { return status >= kPcdFirstDamage && status <= kPcdLastDamage; }

// A short English description of a status, for logs and command-line tools.
const char* PcdStatusText(PcdStatus status);
