// A folder tree copied file by file into a fresh folder (std::filesystem::copy's
// recursive form copies nothing from Wine's CD drive); false when a file did not copy.
#pragma once
#include <filesystem>

inline bool CopyFolder(const std::filesystem::path& from, const std::filesystem::path& to) {
  namespace fs = std::filesystem;
  std::error_code error;
  bool copied = true;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(from, error)) {
    const fs::path target = to / entry.path().lexically_relative(from);
    std::error_code ignored;
    fs::create_directories(entry.is_directory(ignored) ? target : target.parent_path(), ignored);
    if (entry.is_regular_file(ignored))
      copied = fs::copy_file(entry.path(), target, ignored) && copied;
  }
  return copied && !error;
}
