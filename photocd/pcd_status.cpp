#include "pcd_status.h"

const char* PcdStatusText(PcdStatus status) {
  switch (status) {
    case kPcdOk: return "success";
    case kPcdEndOfFile: return "unexpected end of file";
    case kPcdBadSignature: return "not a Photo CD file, or damaged data";
    case kPcdInvalidArgument: return "invalid argument";
    case kPcdBadVersion: return "unsupported format version or resolution class";
    case kPcdReadFailed: return "read failed";
    case kPcdCloseFailed: return "close failed";
    case kPcdSeekFailed: return "seek failed";
    case kPcdOpenFailed: return "file could not be opened";
    case kPcdExtensionUnavailable: return "image pack extension not available";
    case kPcdNotSupported: return "not supported in this build";
    case kPcdExtensionMismatch: return "extension file does not match its description";
    case kPcdOutOfMemory: return "out of memory";
    case kPcdRowNoSync: return "no sync";
    case kPcdRowBadCode: return "bits that start no code";
    case kPcdRowPastData: return "past the end of the data";
    case kPcdRowUnreadable: return "sectors unreadable";
    case kPcdRowTableUnreadable: return "row table unreadable";
    case kPcdCodeTableUnreadable: return "code table unreadable";
    case kPcdRowOverrun: return "codes run past the row";
    default: return "unknown status";
  }
}
