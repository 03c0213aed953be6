// Text helpers for Windows paths ("\" separated) and locale decimal numbers.
#pragma once
#include <string>

// folder + "\" + name; no separator when folder is empty, already ends in "\" or
// name is empty.
std::string JoinPath(const std::string& folder, const std::string& name);

// The folder of a file's path: "C:\a\b.pcd" gives "C:\a", "C:\b.pcd" gives "C:\";
// empty when the path has no "\".
std::string FolderOfPath(const std::string& path);

// The extension starts at the last "." after the last "\". A non-empty extension
// replaces what follows that "." (or is appended with a "." when there is none);
// an empty one cuts the name at the ".".
std::string ReplaceExtension(const std::string& path, const std::string& extension);

// Reduces a path to its volume root: "C:\" for drive paths, "\\server\share\" for
// network paths. False for an empty path or a network path without a share.
bool VolumeRoot(const std::string& path, std::string* root);

// The leading decimal number of text after its first decimalSeparator has been
// replaced by "."; 0 when there is none.
double ParseLocaleNumber(const std::string& text, const std::string& decimalSeparator);
