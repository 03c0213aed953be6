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
};

// A short English description of a status, for logs and command-line tools.
const char* PcdStatusText(PcdStatus status);
