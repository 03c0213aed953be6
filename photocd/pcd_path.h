// Toolkit paths: fixed 260-character buffers, built without overflow.
#pragma once
#include <cstddef>

constexpr std::size_t kPcdMaxPath = 260;

inline bool PcdIsSeparator(char c) { return c == '\\' || c == '/'; }

// A path being put together; once something does not fit, it stays invalid.
struct PcdPathBuilder {
  char text[kPcdMaxPath] = "";
  std::size_t length = 0;
  bool overflow = false;

  PcdPathBuilder& Add(const char* part);
  PcdPathBuilder& Add(const char* part, std::size_t count);
  bool ok() const { return !overflow; }
};

// Removes every "\..\" step together with the folder name before it, in place.
void PcdNormalisePath(char* path);

// Copies a normalised path into a caller buffer of kPcdMaxPath characters.
void PcdCopyNormalised(const PcdPathBuilder& path, char* out);
