// What tells one disc from another, for provenance ids, the {serial} name
// field and a library's folders: the serial number INFO.PCD records when it is
// plausible, otherwise a digest of the files that make the disc what it is.
#pragma once
#include <string>
#include <vector>

namespace cli {

// True for a serial number that names a disc: printable, usable in a file
// name, not "." or "..", and not one character repeated (blank or filler).
bool plausibleSerial(const std::string& serial);

// The disc's identity: its plausible serial number, else "pcd-" and the first
// 16 hexadecimal digits of the SHA-256 of INFO.PCD, OVERVIEW.PCD and the first
// three sectors (the headers) of every pack, so discs without a serial differ.
std::string discIdentity(const std::string& photoCdFolder, const std::vector<std::string>& packs);

}  // namespace cli
