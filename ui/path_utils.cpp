#include "ui/path_utils.h"

#include <cstdlib>

std::string JoinPath(const std::string& folder, const std::string& name) {
  std::string out = folder;
  if (!out.empty() && out.back() != '\\' && !name.empty()) out += '\\';
  return out + name;
}

std::string FolderOfPath(const std::string& path) {
  const std::size_t slash = path.rfind('\\');
  if (slash == std::string::npos) return std::string();
  // A drive's root keeps its separator: "C:" alone is that drive's current folder.
  return path.substr(0, slash == 2 && path[1] == ':' ? 3 : slash);
}

std::string ReplaceExtension(const std::string& path, const std::string& extension) {
  std::size_t lastSlash = path.rfind('\\');
  std::size_t dot = path.rfind('.');
  bool hasDot = dot != std::string::npos && (lastSlash == std::string::npos || dot > lastSlash);
  if (extension.empty()) return hasDot ? path.substr(0, dot) : path;
  return (hasDot ? path.substr(0, dot) : path) + "." + extension;
}

bool VolumeRoot(const std::string& path, std::string* root) {
  if (path.empty()) return false;
  std::string withSlash = path.back() == '\\' ? path : path + "\\";
  if (withSlash.size() >= 3 && withSlash[1] == ':') {
    *root = withSlash.substr(0, 3);
    return true;
  }
  // \\server\share\ ends at the fourth backslash.
  std::size_t at = std::string::npos;
  for (int found = 0; found < 4; ++found) {
    at = withSlash.find('\\', at == std::string::npos ? 0 : at + 1);
    if (at == std::string::npos) return false;
  }
  *root = withSlash.substr(0, at + 1);
  return true;
}

double ParseLocaleNumber(const std::string& text, const std::string& decimalSeparator) {
  std::string plain = text;
  std::size_t at = decimalSeparator.empty() ? std::string::npos : plain.find(decimalSeparator);
  if (at != std::string::npos) plain.replace(at, decimalSeparator.size(), ".");
  // strtod follows the C locale's separator; the program never changes it from ".".
  return std::strtod(plain.c_str(), nullptr);
}
