// Small builders for the Photo CD files the tests need, written into a
// temporary folder that disappears with the test.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Writes bytes to a path relative to the folder, creating its folders.
  std::string Write(const std::string& relative, const Bytes& bytes) const;
  // The folder joined with a toolkit path (backslashes allowed).
  std::string Join(const std::string& relative) const { return path_.string() + "/" + relative; }

 private:
  std::filesystem::path path_;
};

void PutBigEndian16(Bytes& bytes, std::size_t offset, std::uint16_t value);
void PutBigEndian32(Bytes& bytes, std::size_t offset, std::uint32_t value);

Bytes DiscInfoBytes(std::uint8_t major, std::uint8_t minor, std::uint32_t creation, std::uint32_t second);

struct PackFields {
  std::uint16_t version = 0x0100;
  std::uint8_t attributeByte = 0;  // rotation, resolution class, bits 5-6
  std::uint16_t k = 0;
  std::uint16_t n = 0;
  std::uint8_t interleave = 0;
  std::size_t size = 0x1000;       // sectors 0 and 1; smaller sizes cut the IPI block short
};
Bytes ImagePackBytes(const PackFields& fields);

// INFO.IPE with the level flags and the two record positions.
Bytes InfoIpeBytes(std::uint8_t levelFlags, std::uint32_t textPosition, std::uint32_t levelPosition,
                   std::size_t size);
